// The exported picture in each colour scheme an animation may ask for: the scheme's background
// fills it and the header reads on it, in the complement of that background.
#include "scene/picture_render.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "scene/colour_schemes.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

TEST(PictureRenderTest, EachSchemeHasItsBackgroundAndAHeaderThatReadsOnIt) {
  TSolarSystem scene(TestStartDate());
  const TDateRec date{1, 1, 2000, 12, 0, 0, 0};
  scene.SetDate(date);
  scene.SetBgColor(0x402010);
  struct TCase {
    uint8_t Scheme;
    QRgb Background;  // 0xAARRGGBB
    QRgb Header;
  };
  const TCase cases[] = {
      {0, 0xffffffff, 0xff000000},  // black on white
      {1, 0xff000000, 0xffffffff},  // white on black
      {2, 0xff102040, 0xffefdfbf},  // the configured background 0x00BBGGRR and its complement
      {3, 0xffffffff, 0xff000000},  // the configured colours on white
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.Scheme));
    const QImage picture = RenderPicture(scene, 300, date, c.Scheme);
    EXPECT_EQ(picture.pixel(299, 299), c.Background);
    // The header's first line starts at (12, 9): the smoothed letters come near the text
    // colour in many of its pixels.
    const auto near = [](QRgb a, QRgb b) {
      return std::abs(qRed(a) - qRed(b)) < 100 && std::abs(qGreen(a) - qGreen(b)) < 100 &&
             std::abs(qBlue(a) - qBlue(b)) < 100;
    };
    int header = 0;
    for (int y = 9; y < 22; ++y)
      for (int x = 12; x < 150; ++x) header += near(picture.pixel(x, y), c.Header);
    EXPECT_GT(header, 20);
  }
}

}  // namespace
}  // namespace kestrova
