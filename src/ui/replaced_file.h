// Writing a whole file at once so that it is either replaced completely or not at all: the
// bytes go to a temporary file beside it, which is renamed over it only when every byte has
// been written.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace kestrova {

// Raises EKestrovaError "Error Opening File <path>!" when the file cannot be created, and
// `writeError` when the bytes cannot all be written or the file cannot be replaced.
void WriteReplacedFile(const QString& path, const QByteArray& bytes, const std::string& writeError);

}  // namespace kestrova
