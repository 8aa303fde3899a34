// The 8-bit code pages of RTF text (Windows-1252 by default) as QString, for the RTF codec.
// Windows-1252 here agrees byte for byte with streams/text_encoding.h, which does the same for
// the value stream's UTF-8 strings.
#pragma once

#include <QString>
#include <string_view>

namespace kestrova {

// Windows-1252 bytes to text. The five bytes that code page leaves undefined (81, 8D, 8F, 90,
// 9D) become the control characters of the same number, so that encoding gives them back.
QString DecodeWindows1252(std::string_view bytes);

// The Windows-1252 byte of one UTF-16 unit, or -1 when there is none.
int Windows1252Byte(char16_t unit);

// Bytes of a Windows code page (1250..1258, 874, and the East Asian 932, 936, 949, 950) to
// text. A code page the platform cannot decode is read as 1252.
QString DecodeCodePage(std::string_view bytes, int codePage);

}  // namespace kestrova
