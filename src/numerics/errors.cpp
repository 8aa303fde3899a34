#include "numerics/errors.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kestrova {

std::string FormatGeneral(Extended x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15Lg", x);
  return buf;
}

namespace {

// The length of the UTF-8 sequence at text[i], or 0 when it is none (a stray byte, an
// overlong form, a surrogate, a cut sequence).
size_t Utf8Length(std::string_view text, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  size_t n;
  unsigned min;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0) {
    n = 2;
    min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    n = 3;
    min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  unsigned cp = c & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

std::string EscapedUpTo(std::string_view text, size_t max) {
  std::string out;
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++chars) {
    if (chars == max) return out + "...";
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t n = Utf8Length(text, i);
    if (n == 0 || c < 0x20 || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

}  // namespace

std::string Escaped(std::string_view text) {
  return EscapedUpTo(text, std::string_view::npos);
}

std::string Excerpt(std::string_view text, size_t max) {
  return EscapedUpTo(text, max);
}

std::string Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    out.assign(buf.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

}  // namespace kestrova
