// Input quoted in messages: escaped and cut short.
#include "numerics/errors.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

TEST(Excerpt, QuotedInputIsOneShortPrintableLine) {
  struct Case {
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"2451545.x", "2451545.x"},
      {"bell\a and\nline", "bell\\x07 and\\x0Aline"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"caf\xC3\xA9 \xE9t\xE9", "caf\xC3\xA9 \\xE9t\\xE9"},  // UTF-8 kept, stray Latin-1 bytes not
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                   // a surrogate is no UTF-8
      {"cut \xC3", "cut \\xC3"},
      {std::string(80, 'z'), std::string(80, 'z')},
      {std::string(81, 'z'), std::string(80, 'z') + "..."},
      {std::string(10 << 20, '7'), std::string(80, '7') + "..."},
      {std::string(79, 'a') + "\xC3\xA9\xC3\xA9", std::string(79, 'a') + "\xC3\xA9..."},
  };
  for (const Case& c : cases) EXPECT_EQ(Excerpt(c.text), c.shown) << c.text.substr(0, 40);
  EXPECT_EQ(Escaped(std::string(200, 'n') + "\r"), std::string(200, 'n') + "\\x0D");
}

}  // namespace
}  // namespace kestrova
