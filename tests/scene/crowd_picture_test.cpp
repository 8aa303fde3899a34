// A whole catalogue's crowd is written straight into a picture's memory, from every core at once;
// elsewhere it goes through the surface's pixel calls in the list's order. Both must paint the
// same picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "scene/colour_schemes.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

constexpr int32_t kSide = 1000;
constexpr TColor kCrowdColor = 0x40A0A0;

// The scene painted on a device: an image the surface writes into, or a pixmap it may not.
template <class Device>
QImage Picture(TSolarSystem& scene, Device& device) {
  device.fill(Qt::white);
  {
    QPainter painter(&device);
    TQPainterSurface surface(painter);
    scene.Paint(surface, TViewport{TRect{0, 0, kSide, kSide}, 0, 2});
  }
  if constexpr (std::is_same_v<Device, QPixmap>) {
    return device.toImage().convertToFormat(QImage::Format_RGB32);
  } else {
    return device.convertToFormat(QImage::Format_RGB32);
  }
}

// Enough bodies for a share on each core, from the Sun's neighbourhood out beyond the picture,
// many of them on pixels the others also take.
TEST(CrowdPicture, StraightIntoThePictureAsThroughThePixelCalls) {
  TSolarSystem scene(TestStartDate());
  scene.SetDate({1, 6, 2020, 0, 0, 0, 0});
  scene.SetDim(2.5L);
  // No text: QPainter smooths letters differently on the two formats.
  scene.SetGridMode(0);
  scene.SetShowNames(false);
  TFullList& full = scene.AsteroidsFullList();
  constexpr int kBodies = 250000;
  full.Reserve(kBodies);
  for (int64_t i = 0; i < kBodies; ++i) {
    TOrbitalElements el;
    el.Epoch = 2460600.5L;
    el.SemiMajorAxis = 0.5L + 14.5L * ((i * 7919) % 10007) / 10007.0L;
    el.Eccentricity = 0.3L * ((i * 104729) % 997) / 997.0L;
    el.Inclination = (i * 31) % 40;
    el.Node = (i * 137) % 360;
    el.PerihelionLongitude = (i * 59) % 360;
    el.MeanLongitude = (i * 263) % 360;
    el.DailyMotion = 0.9856262L / (el.SemiMajorAxis * std::sqrt(el.SemiMajorAxis));
    full.Add(el);
  }
  scene.SetObjectColor(kMinorBodyColorIndex, kCrowdColor);
  scene.Recompute();
  for (const TPlane plane : {TPlane::XY, TPlane::D3}) {
    scene.SetPlane(plane);
    QImage image(kSide, kSide, QImage::Format_RGB32);
    QPixmap pixmap(kSide, kSide);
    const QImage straight = Picture(scene, image);
    const QImage painted = Picture(scene, pixmap);
    EXPECT_EQ(straight, painted) << int(plane);
    const TColor drawn = SchemeColor(2, kCrowdColor);
    const QRgb word = qRgb(drawn & 0xFF, (drawn >> 8) & 0xFF, (drawn >> 16) & 0xFF);
    int crowd = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) crowd += straight.pixel(x, y) == word;
    EXPECT_GT(crowd, 10000) << int(plane);
  }
}

}  // namespace
}  // namespace kestrova
