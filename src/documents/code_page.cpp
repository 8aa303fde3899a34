// Windows code pages for RTF text and 8-bit document strings.
#include "documents/code_page.h"

#include <QStringDecoder>

#include "streams/text_encoding.h"

namespace kestrova {
namespace {

const char* CodePageName(int codePage) {
  switch (codePage) {
    case 874:
      return "windows-874";
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "windows-949";
    case 950:
      return "Big5";
    case 1250:
      return "windows-1250";
    case 1251:
      return "windows-1251";
    case 1253:
      return "windows-1253";
    case 1254:
      return "windows-1254";
    case 1255:
      return "windows-1255";
    case 1256:
      return "windows-1256";
    case 1257:
      return "windows-1257";
    case 1258:
      return "windows-1258";
    default:
      return nullptr;
  }
}

}  // namespace

QString DecodeWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    text.append(QChar(Windows1252Char(b)));
  }
  return text;
}

int Windows1252Byte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
  for (int b = 0x80; b < 0xA0; ++b) {
    if (Windows1252Char(static_cast<unsigned char>(b)) == unit) return b;
  }
  return -1;
}

QString DecodeCodePage(std::string_view bytes, int codePage) {
  if (const char* name = CodePageName(codePage)) {
    QStringDecoder decoder(name);
    if (decoder.isValid()) {
      QString text =
          decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
      if (!decoder.hasError()) return text;
    }
  }
  return DecodeWindows1252(bytes);
}

}  // namespace kestrova
