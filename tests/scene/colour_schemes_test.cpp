// Colours of the schemes and the darker shade of a colour.
#include "scene/colour_schemes.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(ColourSchemes, ScaleColorScalesEachComponentAndDropsTheTopByte) {
  struct Case {
    TColor color;
    int32_t percent;
    TColor expected;
  };
  const Case cases[] = {
      {0x80FF40, 50, 0x407F20},  {0xFFFFFF, 200, 0xFFFFFF},   {0x010101, 50, 0x000000},
      {0x7F3F1F, 100, 0x7F3F1F}, {0x12345678, 100, 0x345678}, {0x102030, 150, 0x183048},
      {0x80FF40, 0, 0x000000},   {0x80FF40, -50, 0x000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleColor(c.color, c.percent), c.expected)
        << std::hex << c.color << " " << std::dec << c.percent;
  }
}

TEST(ColourSchemes, BackgroundAndElementColours) {
  const TColor bg = 0x102030, own = 0x00C0FF;
  struct Case {
    uint8_t scheme;
    TColor background, element;
  };
  const Case cases[] = {
      {0, 0xFFFFFF, 0x000000}, {1, 0x000000, 0xFFFFFF}, {2, bg, own}, {3, 0xFFFFFF, own}};
  for (const Case& c : cases) {
    EXPECT_EQ(SchemeBackground(c.scheme, bg), c.background) << int(c.scheme);
    EXPECT_EQ(SchemeColor(c.scheme, own), c.element) << int(c.scheme);
  }
}

}  // namespace
}  // namespace kestrova
