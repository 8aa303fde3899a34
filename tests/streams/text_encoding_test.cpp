// Conversions of 8-bit and UTF-16 text into the program's UTF-8 and back.
#include "streams/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

TEST(TextEncoding, Windows1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_EQ(SanitizeUtf8(utf8), utf8);
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
  EXPECT_EQ(Windows1252ToUtf8("\x80\x9F\xA0\xFF"), "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
}

TEST(TextEncoding, UnrepresentableTextBecomesQuestionMarks) {
  // Greek alpha, a four-byte emoji, and a stray continuation byte.
  EXPECT_EQ(Utf8ToWindows1252("a\xCE\xB1z\xF0\x9F\x98\x80\x80\xE2\x82\xAC"), "a?z??\x80");
}

TEST(TextEncoding, InvalidUtf8IsReplaced) {
  struct Case {
    const char* what;
    std::string in;
    std::string out;
  };
  const std::string r = "\xEF\xBF\xBD";
  const Case cases[] = {
      {"valid stays", "a\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF",
       "a\xC3\xA9\xE2\x82\xAC\xF4\x8F\xBF\xBF"},
      {"overlong slash", "\xC0\xAF", r + r},
      {"overlong three bytes", "\xE0\x80\xAF", r + r + r},
      {"surrogate", "\xED\xA0\x80", r + r + r},
      {"above U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"truncated at the end", "ab\xE2\x82", "ab" + r + r},
      {"lead before ASCII", "\xC3x", r + "x"},
      {"NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(SanitizeUtf8(c.in), c.out) << c.what;
}

}  // namespace
}  // namespace kestrova
