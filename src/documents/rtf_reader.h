// Reads RTF into a QTextDocument: what our writer writes, and the RTF of common word
// processors and rich-edit controls (font and colour tables, \uN and \'xx escapes, bullets of
// \pntext/\pn and \ls lists, \plain and \pard resets, alignment, tabs and line breaks).
//
// Reading never fails: unknown control words are ignored, a damaged or truncated text yields
// the plain text it holds, and input that is not RTF at all is taken as plain text.
#pragma once

#include <string_view>

class QTextDocument;

namespace kestrova {

// Groups nested deeper than this share the state of the deepest one, so that neither memory
// nor time grows with hostile nesting.
inline constexpr int kMaxRtfGroupDepth = 256;

// Replaces the document's text with the text of the RTF bytes; the undo history is cleared.
void ReadRtf(std::string_view rtf, QTextDocument& document);

}  // namespace kestrova
