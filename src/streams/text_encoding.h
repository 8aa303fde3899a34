// Conversions between the program's UTF-8 text and the encodings that files bring in: the 8-bit
// Windows-1252 set of old documents and UTF-16LE. Every result is valid UTF-8, whatever the input.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// The character of one Windows-1252 byte (the undefined ones keep their own number).
char16_t Windows1252Char(unsigned char byte);

// 8-bit Windows-1252 text as UTF-8. The five byte values the set leaves undefined (81, 8D, 8F,
// 90, 9D) become the control characters of the same number, so no byte is lost.
std::string Windows1252ToUtf8(std::string_view text);

// UTF-8 text in Windows-1252; characters the set cannot hold become '?'. Invalid UTF-8 sequences
// count as one unrepresentable character each.
std::string Utf8ToWindows1252(std::string_view utf8);

// UTF-16LE code units (2 bytes each; an odd last byte is ignored) as UTF-8. Unpaired surrogates
// become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// The text with every invalid UTF-8 sequence (stray continuation bytes, truncated or overlong
// forms, surrogates, code points above U+10FFFF) replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// True when every byte is 7-bit ASCII.
bool IsAscii(std::string_view text);

}  // namespace kestrova
