// Writes a QTextDocument as RTF: fonts, sizes, bold, italic, underline, text colours,
// paragraph alignment, bullets, tabs and line breaks. The output is 7-bit ASCII in lines ended
// by CR LF, so that it travels through the value stream as plain Strings.
#pragma once

#include <string>

class QTextDocument;

namespace kestrova {

std::string WriteRtf(const QTextDocument& document);

}  // namespace kestrova
