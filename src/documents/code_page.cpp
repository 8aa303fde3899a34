// Windows code pages for RTF text and 8-bit document strings.
#include "documents/code_page.h"

#include <QStringDecoder>

namespace kestrova {
namespace {

// Bytes 80..9F of Windows-1252; the rest of the code page is Latin-1.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
    text.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : char16_t{b}));
  }
  return text;
}

int Windows1252Byte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
  for (int i = 0; i < 32; ++i) {
    if (kHigh1252[i] == unit) return 0x80 + i;
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
