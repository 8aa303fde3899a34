// The recording surface keeps each call with the state in force.
#include "scene/recording_surface.h"

#include <gtest/gtest.h>

#include <array>

namespace kestrova {
namespace {

TEST(RecordingSurface, EntriesCarryTheirCoordinatesAndTheStateInForce) {
  TRecordingSurface surface(13);
  surface.SetClipRect({5, 6, 100, 50});
  surface.SetPenColor(0x0000FF);
  surface.SetPenStyle(PenStyle::None);
  surface.SetBrushColor(0x00FF00);
  surface.SetBrushStyle(BrushStyle::Solid);
  surface.Ellipse(1, 2, 6, 7);
  surface.SetFontColor(0xFF0000);
  surface.SetBrushStyle(BrushStyle::Hollow);
  surface.TextOut(9, 2 - surface.TextHeight("0") / 2, "Sun");
  const TPixel crowd[] = {{3, 4, 0x111111}, {5, 6, 0x222222}};
  surface.SetPixels(crowd, 2);

  const std::vector<TSurfaceCall>& calls = surface.Calls();
  ASSERT_EQ(calls.size(), 11u);
  EXPECT_EQ(calls[0].Op, SurfaceOp::Clip);
  EXPECT_EQ((std::array{calls[0].X1, calls[0].Y1, calls[0].X2, calls[0].Y2}),
            (std::array{5, 6, 105, 56}));

  TSurfaceCall ellipse;
  ellipse.Op = SurfaceOp::Ellipse;
  ellipse.X1 = 1, ellipse.Y1 = 2, ellipse.X2 = 6, ellipse.Y2 = 7;
  ellipse.PenColor = 0x0000FF, ellipse.Pen = PenStyle::None;
  ellipse.BrushColor = 0x00FF00, ellipse.Brush = BrushStyle::Solid;
  EXPECT_EQ(calls[5], ellipse);

  const auto texts = surface.CallsOf(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "Sun");
  EXPECT_EQ(texts[0].Y1, -4);
  EXPECT_EQ(texts[0].FontColor, 0xFF0000u);
  EXPECT_EQ(texts[0].Brush, BrushStyle::Hollow);

  const auto pixels = surface.CallsOf(SurfaceOp::Pixel);
  ASSERT_EQ(pixels.size(), 2u);
  EXPECT_EQ(pixels[1].X1, 5);
  EXPECT_EQ(pixels[1].Color, 0x222222u);
  EXPECT_EQ(ToString(pixels[1]).substr(0, 22), "Pixel(5,6) 0x222222 pe");
}

}  // namespace
}  // namespace kestrova
