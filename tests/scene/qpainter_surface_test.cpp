// The QPainter surface keeps the pixel conventions the scene's drawings rely on.
#include "scene/qpainter_surface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace kestrova {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

QImage Paint(int w, int h, const std::function<void(TSurface&)>& draw,
             QImage::Format format = QImage::Format_RGB32) {
  QImage image(w, h, format);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TQPainterSurface surface(painter);
    draw(surface);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}

bool Painted(const QImage& image, int x, int y) {
  return image.pixel(x, y) != 0xFFFFFFFFu;
}

// Rows of '#' (painted) and '.' (white).
std::vector<std::string> Art(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += Painted(image, x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

struct TBox {
  int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
  bool operator==(const TBox&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TBox& b) {
  return out << "(" << b.l << "," << b.t << ")-(" << b.r << "," << b.b << ")";
}

TBox PaintedBox(const QImage& image) {
  TBox box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Painted(image, x, y))
        box = {std::min(box.l, x), std::min(box.t, y), std::max(box.r, x), std::max(box.b, y)};
  return box;
}

void SetPen(TSurface& s, TColor color, PenStyle style, int32_t width) {
  s.SetPenColor(color);
  s.SetPenStyle(style);
  s.SetPenWidth(width);
}

void SetBrush(TSurface& s, TColor color, BrushStyle style) {
  s.SetBrushColor(color);
  s.SetBrushStyle(style);
}

void Solid(TSurface& s, TColor pen, TColor brush) {
  SetPen(s, pen, PenStyle::Solid, 1);
  SetBrush(s, brush, BrushStyle::Solid);
}

TEST(QPainterSurface, MarkerDiscsAreRoundAndStayInsideTheirBox) {
  // The two marker shapes of the scene: DotRadius 2 as (x-2, y-2, x+2, y+2) and as
  // (x-2, y-2, x+3, y+3), drawn without a pen.
  const QImage dots = Paint(12, 7, [](TSurface& s) {
    SetPen(s, 0, PenStyle::None, 1);
    SetBrush(s, 0, BrushStyle::Solid);
    s.Ellipse(1, 1, 5, 5);
    s.Ellipse(6, 1, 11, 6);
  });
  EXPECT_EQ(Art(dots), (std::vector<std::string>{
                           "............",
                           "..##...###..",
                           ".####.#####.",
                           ".####.#####.",
                           "..##..#####.",
                           ".......###..",
                           "............",
                       }));
}

TEST(QPainterSurface, EllipseLeavesRightAndBottomBoxEdgesUnpaintedAndIsSymmetric) {
  struct Case {
    int x1, y1, x2, y2;
  };
  const Case boxes[] = {{3, 3, 4, 4},   {3, 3, 5, 5},   {3, 3, 6, 6},   {3, 3, 8, 8},
                        {3, 3, 12, 12}, {2, 5, 32, 16}, {1, 1, 42, 42}, {10, 4, 4, 10}};
  for (const bool pen : {true, false}) {
    for (const bool fill : {true, false}) {
      if (!pen && !fill) continue;
      for (const Case& c : boxes) {
        SCOPED_TRACE(::testing::Message() << "box " << c.x1 << "," << c.y1 << "," << c.x2 << ","
                                          << c.y2 << " pen " << pen << " fill " << fill);
        const QImage image = Paint(48, 48, [&](TSurface& s) {
          SetPen(s, kRed, pen ? PenStyle::Solid : PenStyle::None, 1);
          SetBrush(s, kBlue, fill ? BrushStyle::Solid : BrushStyle::Hollow);
          s.Ellipse(c.x1, c.y1, c.x2, c.y2);
        });
        const TBox expected{std::min(c.x1, c.x2), std::min(c.y1, c.y2), std::max(c.x1, c.x2) - 1,
                            std::max(c.y1, c.y2) - 1};
        EXPECT_EQ(PaintedBox(image), expected);
        for (int y = expected.t; y <= expected.b; ++y) {
          for (int x = expected.l; x <= expected.r; ++x) {
            const int mx = expected.l + expected.r - x, my = expected.t + expected.b - y;
            ASSERT_EQ(image.pixel(x, y), image.pixel(mx, y)) << x << "," << y;
            ASSERT_EQ(image.pixel(x, y), image.pixel(x, my)) << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(QPainterSurface, EllipseOutlineTakesThePenAndInteriorTheBrush) {
  for (const BrushStyle brush : {BrushStyle::Solid, BrushStyle::Hollow}) {
    const QImage image = Paint(24, 24, [&](TSurface& s) {
      SetPen(s, kRed, PenStyle::Solid, 1);
      SetBrush(s, kBlue, brush);
      s.Ellipse(1, 1, 22, 22);
    });
    const QRgb inside = brush == BrushStyle::Solid ? qRgb(0, 0, 255) : qRgb(255, 255, 255);
    EXPECT_EQ(image.pixel(11, 11), inside);
    // Each row is closed by the outline at both ends, with the interior between.
    for (int y = 1; y <= 21; ++y) {
      int l = 0, r = 23;
      while (!Painted(image, l, y)) ++l;
      while (!Painted(image, r, y)) --r;
      EXPECT_EQ(image.pixel(l, y), qRgb(255, 0, 0)) << y;
      EXPECT_EQ(image.pixel(r, y), qRgb(255, 0, 0)) << y;
    }
    for (int x = 0; x < 24; ++x) {
      for (int y = 0; y < 24; ++y) {
        const QRgb p = image.pixel(x, y);
        ASSERT_TRUE(p == qRgb(255, 0, 0) || p == inside || p == qRgb(255, 255, 255));
      }
    }
  }
}

TEST(QPainterSurface, LineLeavesItsEndPixelUnpainted) {
  struct Case {
    int x1, y1, x2, y2;
  };
  const Case lines[] = {{2, 5, 12, 5},  {12, 5, 2, 5},  {5, 1, 5, 13}, {5, 13, 5, 1},
                        {1, 1, 13, 13}, {13, 1, 1, 13}, {2, 3, 13, 8}, {3, 13, 6, 1}};
  for (const Case& c : lines) {
    SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
    const QImage image = Paint(15, 15, [&](TSurface& s) {
      Solid(s, 0, 0);
      s.MoveTo(c.x1, c.y1);
      s.LineTo(c.x2, c.y2);
    });
    EXPECT_TRUE(Painted(image, c.x1, c.y1));
    EXPECT_FALSE(Painted(image, c.x2, c.y2));
    int count = 0;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 15; ++x) count += Painted(image, x, y);
    EXPECT_EQ(count, std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1)));
  }
}

TEST(QPainterSurface, LinesChainFromTheCurrentPoint) {
  const QImage image = Paint(10, 10, [](TSurface& s) {
    Solid(s, 0, 0);
    s.MoveTo(1, 1);
    s.LineTo(6, 1);
    SetPen(s, 0, PenStyle::None, 1);
    s.LineTo(6, 4);  // moves without painting
    SetPen(s, 0, PenStyle::Solid, 1);
    s.LineTo(6, 8);
  });
  EXPECT_EQ(Art(image), (std::vector<std::string>{
                            "..........",
                            ".#####....",
                            "..........",
                            "..........",
                            "......#...",
                            "......#...",
                            "......#...",
                            "......#...",
                            "..........",
                            "..........",
                        }));
}

TEST(QPainterSurface, LineFromFarOutsideCrossesThePicture) {
  // Points far off the picture come from zooming in on a long orbit.
  const QImage image = Paint(20, 20, [](TSurface& s) {
    Solid(s, 0, 0);
    s.MoveTo(-2000000000, 7);
    s.LineTo(2000000000, 7);
    s.MoveTo(4, 2000000000);
    s.LineTo(4, -2000000000);
  });
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(Painted(image, i, 7)) << i;
    EXPECT_TRUE(Painted(image, 4, i)) << i;
  }
}

TEST(QPainterSurface, NothingIsAntialiased) {
  const QImage image = Paint(60, 60, [](TSurface& s) {
    Solid(s, kRed, kRed);
    s.MoveTo(1, 2);
    s.LineTo(57, 31);
    s.LineTo(13, 58);
    s.Ellipse(20, 5, 51, 27);
    SetBrush(s, kRed, BrushStyle::Hollow);
    s.Ellipse(3, 30, 40, 59);
  });
  std::set<QRgb> colours;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) colours.insert(image.pixel(x, y));
  EXPECT_EQ(colours, (std::set<QRgb>{qRgb(255, 0, 0), qRgb(255, 255, 255)}));
}

TEST(QPainterSurface, RectanglesExcludeRightAndBottomEdgesAndFramesStayInside) {
  const QImage image = Paint(16, 12, [](TSurface& s) {
    SetBrush(s, kBlue, BrushStyle::Solid);
    s.FillRect(1, 1, 4, 3);
    SetPen(s, kRed, PenStyle::Solid, 2);
    s.Rectangle(6, 2, 14, 10);
  });
  EXPECT_EQ(Art(image), (std::vector<std::string>{
                            "................",
                            ".###............",
                            ".###..########..",
                            "......########..",
                            "......########..",
                            "......########..",
                            "......########..",
                            "......########..",
                            "......########..",
                            "......########..",
                            "................",
                            "................",
                        }));
  EXPECT_EQ(image.pixel(7, 3), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(8, 4), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(11, 7), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(12, 8), qRgb(255, 0, 0));
}

TEST(QPainterSurface, ClipRectangleHoldsForEveryOperation) {
  const TRect clip{5, 4, 10, 8};
  const QImage image = Paint(20, 16, [&](TSurface& s) {
    s.SetClipRect(clip);
    Solid(s, 0, 0);
    s.FillRect(-100, -100, 100, 100);
  });
  const QImage shapes = Paint(20, 16, [&](TSurface& s) {
    s.SetClipRect(clip);
    Solid(s, 0, 0);
    s.Ellipse(-30, -30, 50, 50);
    s.MoveTo(0, 0);
    s.LineTo(20, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 20; ++x) s.SetPixel(x, y, 0);
  });
  const QImage crowd = Paint(20, 16, [&](TSurface& s) {
    s.SetClipRect(clip);
    std::vector<TPixel> pixels;
    for (int y = -3; y < 20; ++y)
      for (int x = -3; x < 24; ++x) pixels.push_back({x, y, 0});
    s.SetPixels(pixels.data(), pixels.size());
  });
  for (const QImage* im : {&image, &shapes, &crowd}) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 5 && x < 15 && y >= 4 && y < 12;
        ASSERT_EQ(Painted(*im, x, y), inside) << x << "," << y;
      }
    }
  }
}

TEST(QPainterSurface, FastPixelPathPaintsWhatQPainterPaints) {
  // The same crowd, once straight into a 32-bit image and once through QPainter on an image
  // format that the fast path does not handle.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coord(-20, 140);
  std::uniform_int_distribution<TColor> colour(0, 0xFFFFFF);
  std::vector<TPixel> pixels;
  for (int i = 0; i < 5000; ++i) pixels.push_back({coord(random), coord(random), colour(random)});
  const auto draw = [&](TSurface& s) {
    s.SetClipRect({10, 15, 90, 70});
    s.SetPixels(pixels.data(), pixels.size());
    s.SetPixel(50, 50, 0x123456);
    s.SetPixel(5, 5, 0x123456);
  };
  const QImage fast = Paint(120, 100, draw);
  const QImage painted = Paint(120, 100, draw, QImage::Format_RGB888);
  EXPECT_EQ(fast, painted);
  EXPECT_EQ(fast.pixel(50, 50), qRgb(0x56, 0x34, 0x12));
  EXPECT_FALSE(Painted(fast, 5, 5));
}

// A crowd on a window or a pixmap goes through a layer drawn at once: the same pixels as one
// fillRect each, clip and overlapping colours included.
TEST(QPainterSurface, CrowdOnAPixmapPaintsWhatQPainterPaints) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coord(-20, 140);
  std::uniform_int_distribution<TColor> colour(0, 0xFFFFFF);
  std::vector<TPixel> pixels;
  for (int i = 0; i < 20000; ++i) pixels.push_back({coord(random), coord(random), colour(random)});
  // The clip's corners, and a pixel beside each.
  for (const TPixel p :
       {TPixel{10, 15, kRed}, TPixel{9, 15, kRed}, TPixel{99, 84, kBlue}, TPixel{99, 85, kBlue}})
    pixels.push_back(p);
  const auto draw = [&](TSurface& s) {
    s.SetClipRect({10, 15, 90, 70});
    s.SetPixels(pixels.data(), pixels.size());
  };
  QPixmap pixmap(120, 100);
  pixmap.fill(Qt::white);
  {
    QPainter painter(&pixmap);
    TQPainterSurface surface(painter);
    draw(surface);
  }
  const QImage painted = Paint(120, 100, draw, QImage::Format_RGB888);
  EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_RGB32), painted);
  EXPECT_EQ(painted.pixel(10, 15), qRgb(0xFF, 0, 0));
  EXPECT_EQ(painted.pixel(99, 84), qRgb(0, 0, 0xFF));
  EXPECT_FALSE(Painted(painted, 9, 15));
  EXPECT_FALSE(Painted(painted, 99, 85));
}

TEST(QPainterSurface, HighDensityImagesArePaintedInLogicalPixels) {
  // A window's back buffer on a high-density screen: 20 device pixels show 10 logical ones.
  QImage image(20, 20, QImage::Format_RGB32);
  image.setDevicePixelRatio(2);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TQPainterSurface s(painter);
    s.SetClipRect({0, 0, 10, 10});
    SetBrush(s, kBlue, BrushStyle::Solid);
    s.FillRect(0, 0, 5, 10);
    const TPixel corner{9, 9, kRed};
    s.SetPixels(&corner, 1);
  }
  EXPECT_EQ(image.pixel(9, 19), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(10, 19), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(18, 18), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
}

TEST(QPainterSurface, LabelsUseArialResolvedToAMetricCompatibleFace) {
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  TQPainterSurface surface(painter);
  EXPECT_EQ(painter.font().family(), "Arial");
  EXPECT_EQ(QFontInfo(painter.font()).family(), "Liberation Sans");
  EXPECT_GT(surface.TextHeight("0"), 5);
}

TEST(QPainterSurface, TextSitsBelowRightOfItsPointWithTransparentBackground) {
  int h = 0;
  const QImage zero = Paint(60, 40, [&](TSurface& s) {
    h = s.TextHeight("0");
    s.SetFontColor(kRed);
    SetBrush(s, kBlue, BrushStyle::Hollow);
    s.TextOut(10, 12, "0 0");
  });
  const TBox box = PaintedBox(zero);
  EXPECT_GE(box.l, 10);
  EXPECT_GE(box.t, 12);
  EXPECT_LT(box.b, 12 + h);
  EXPECT_LE(box.l, 12);  // the glyph starts at the point, not somewhere to its right
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x) EXPECT_NE(zero.pixel(x, y), qRgb(0, 0, 255));
  }

  // A solid brush paints the text's box, as high as TextHeight.
  const QImage boxed = Paint(60, 40, [&](TSurface& s) {
    s.SetFontColor(kRed);
    SetBrush(s, kBlue, BrushStyle::Solid);
    s.TextOut(10, 12, " ");
  });
  const TBox filled = PaintedBox(boxed);
  EXPECT_EQ(filled.l, 10);
  EXPECT_EQ(filled.t, 12);
  EXPECT_EQ(filled.b, 12 + h - 1);
  EXPECT_EQ(boxed.pixel(10, 12), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace kestrova
