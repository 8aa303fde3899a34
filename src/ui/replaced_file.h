// A file written whole from bytes in memory, through the program's replacing file: an existing
// file is replaced only once every byte of the new one is on disk.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace kestrova {

// Raises EKestrovaError "Error Opening File <path>!" when the file cannot be created, and
// `writeError` when the bytes cannot all be written or the file cannot be replaced.
void WriteReplacedFile(const QString& path, const QByteArray& bytes, const std::string& writeError);

}  // namespace kestrova
