// The description block of orbit documents: the description's rich text as RTF lines in the
// value stream. The text passes through the file "~tmp.rtf" in the program folder on every
// writing and reading, and the file stays there afterwards.
//
// A temporary file that cannot be created or opened raises EKestrovaError with the platform's
// message ("Cannot create file ...", "Cannot open file ..."), one that fails later EWriteError or
// EReadError; the document code reports it.
#pragma once

#include <filesystem>

#include "streams/value_stream.h"

class QTextDocument;

namespace kestrova {

inline constexpr const char* kTempRtfName = "~tmp.rtf";

// programFolder / "~tmp.rtf".
std::filesystem::path TempRtfPath(const std::filesystem::path& programFolder);

// Empties the text (hiding the window is the window's part).
void ClearDescription(QTextDocument& description);

// Writes an Integer N and N Strings, the lines of the text's RTF; N is never 0.
void WriteDescription(const QTextDocument& description, ValueWriter& writer,
                      const std::filesystem::path& programFolder);

// Reads an Integer N and N Strings (none when N <= 0) and takes them as the text's RTF.
void ReadDescription(QTextDocument& description, ValueReader& reader,
                     const std::filesystem::path& programFolder);

// The description file of a version 1.0 document: loads it and returns true when it exists
// (the caller then shows the window); otherwise empties the text and returns false.
bool LoadDescriptionFile(QTextDocument& description, const std::filesystem::path& path);

}  // namespace kestrova
