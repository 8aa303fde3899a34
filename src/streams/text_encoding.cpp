// Text conversions for the files the program reads and writes.
#include "streams/text_encoding.h"

#include <cstdint>

namespace kestrova {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 80..9F; the undefined ones keep their own number (as the platform that wrote
// the old documents maps them).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t Windows1252Char(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one character at text[pos] and advances pos past it; an invalid sequence advances by
// one byte and yields kReplacement with ok = false.
char32_t DecodeUtf8(std::string_view text, size_t& pos, bool& ok) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t b0 = byte(pos);
  ok = true;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  size_t len;
  char32_t cp;
  char32_t min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    ok = false;
    return kReplacement;
  }
  if (text.size() - pos < len) {
    ++pos;
    ok = false;
    return kReplacement;
  }
  for (size_t i = 1; i < len; ++i) {
    const uint8_t b = byte(pos + i);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      ok = false;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    ok = false;
    return kReplacement;
  }
  pos += len;
  return cp;
}

}  // namespace

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const uint8_t b = static_cast<uint8_t>(c);
    if (b < 0x80) {
      out += c;
    } else if (b < 0xA0) {
      AppendUtf8(out, kHighControls[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    bool ok;
    const char32_t cp = DecodeUtf8(utf8, pos, ok);
    if (!ok) {
      out += '?';
    } else if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
    } else {
      char mapped = '?';
      for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == cp) {
          mapped = static_cast<char>(0x80 + i);
          break;
        }
      }
      out += mapped;
    }
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const size_t units = bytes.size() / 2;
  const auto unit = [&](size_t i) -> char32_t {
    return static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  };
  for (size_t i = 0; i < units; ++i) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

std::string SanitizeUtf8(std::string_view text) {
  size_t pos = 0;
  bool valid = true;
  while (valid && pos < text.size()) DecodeUtf8(text, pos, valid);
  if (valid) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    bool ok;
    const char32_t cp = DecodeUtf8(text, pos, ok);
    if (ok) {
      out.append(text.substr(start, pos - start));
    } else {
      AppendUtf8(out, cp);
    }
  }
  return out;
}

}  // namespace kestrova
