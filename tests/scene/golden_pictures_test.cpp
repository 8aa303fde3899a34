// Whole pictures as "Save as bitmap" makes them, compared pixel by pixel with the pictures in
// tests/data/golden. They catch any change of the drawing, wanted or not: after a wanted one,
// regenerate them with
//   KESTROVA_UPDATE_GOLDEN=1 build/bin/kestrova_tests_scene --gtest_filter='GoldenPicture*'
// and look at the new pictures before committing them. Labels use Liberation Sans (the face
// "Arial" resolves to with fonts-liberation) at a fixed pixel size.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

constexpr int32_t kSide = 200;

std::string GoldenPath(const std::string& name) {
  return std::string(KESTROVA_TEST_DATA) + "/golden/" + name + ".png";
}

// The picture at 1 January 2000 12:00 UT. Satellites are left out: their theories are checked
// on their own, and these pictures should not change with them.
std::unique_ptr<TSolarSystem> GoldenScene() {
  auto scene = std::make_unique<TSolarSystem>(TestStartDate());
  scene->SetDate({1, 1, 2000, 12, 0, 0, 0});
  scene->SetShowSatellites(false);
  return scene;
}

TOrbitalElements MinorBodyElements(Extended a, Extended e, Extended i, Extended node, Extended peri,
                                   Extended meanLongitude) {
  TOrbitalElements el;
  el.Epoch = 2451545.0L;
  el.SemiMajorAxis = a;
  el.Eccentricity = e;
  el.Inclination = i;
  el.Node = node;
  el.PerihelionLongitude = peri;
  el.MeanLongitude = meanLongitude;
  el.DailyMotion = 0.9856076686L / std::pow(a, 1.5L);
  return el;
}

void CheckGolden(const std::string& name, TSolarSystem& scene) {
  const QImage picture = RenderPicture(scene, kSide);
  const std::string path = GoldenPath(name);
  if (std::getenv("KESTROVA_UPDATE_GOLDEN") != nullptr) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "PNG")) << path;
    GTEST_SKIP() << "wrote " << path;
  }
  const QImage golden =
      QImage(QString::fromStdString(path), "PNG").convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(golden.isNull()) << "missing " << path;
  ASSERT_EQ(golden.size(), picture.size());
  int differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if ((golden.pixel(x, y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF) && differing++ == 0) {
        firstX = x;
        firstY = y;
      }
  if (differing > 0) {
    const std::string actual =
        (std::filesystem::temp_directory_path() / (name + "_actual.png")).string();
    picture.save(QString::fromStdString(actual), "PNG");
    ADD_FAILURE() << name << ": " << differing << " pixels differ, the first at (" << firstX << ", "
                  << firstY << "); this run's picture is " << actual;
  }
}

TEST(GoldenPicture, OnePerProjection) {
  struct Case {
    const char* name;
    TPlane plane;
    Extended dim;
  };
  for (const Case& c : {Case{"plane_xy", TPlane::XY, 2}, Case{"plane_xz", TPlane::XZ, 6},
                        Case{"plane_zy", TPlane::ZY, 40}, Case{"plane_3d", TPlane::D3, 2}}) {
    SCOPED_TRACE(c.name);
    auto scene = GoldenScene();
    scene->SetPlane(c.plane);
    scene->SetDim(c.dim);
    CheckGolden(c.name, *scene);
  }
}

TEST(GoldenPicture, EveryMarking) {
  auto scene = GoldenScene();
  scene->SetDim(1.9L);
  scene->SetRotX(70);
  scene->SetRotZ(20);
  scene->SetShowRotAxis(true);
  scene->SetShowRotation(true);
  scene->SetShowPerpendiculars(true);
  scene->SetShowApsides(true);
  scene->SetShowLineOfNodes(true);
  scene->AsteroidsList().Add(
      std::make_unique<TAsteroid>("Picked", MinorBodyElements(1.6L, 0.3L, 12, 80, 150, 20), 0));
  for (int i = 0; i < 300; ++i) {
    scene->AsteroidsFullList().Add(
        MinorBodyElements(1.3L + 0.002L * i, 0.1L, i % 15, i * 7, i * 13, i * 37));
  }
  scene->DirectionList().Add(std::make_unique<TDirection>(0, 0x00FF80, 3));
  scene->DirectionList().Add(std::make_unique<TDirection>(9, 0xFF80FF, 2));
  scene->SetObjectColor(kMinorBodyColorIndex, 0x40A0A0);
  scene->Recompute();
  CheckGolden("every_marking", *scene);
}

// Below the golden pictures' size the header no longer fits at its usual size. Only the header
// depends on the shown date: the pixels that change with it are the header's, and they must
// stay inside the picture (not run off its right edge) and in its top quarter (not over the
// plot), or be left out.
TEST(SmallPicture, HeaderStaysInsideAndAboveThePlot) {
  auto scene = GoldenScene();
  for (const int32_t side : {50, 80, 120}) {
    const QImage a = RenderPicture(*scene, side, {1, 1, 2000, 12, 0, 0, 0});
    const QImage b = RenderPicture(*scene, side, {28, 12, 1987, 23, 59, 59, 0});
    int right = -1, bottom = -1;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        if (a.pixel(x, y) == b.pixel(x, y)) continue;
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
    }
    SCOPED_TRACE(side);
    EXPECT_LT(right, side - 1);
    EXPECT_LT(bottom, side / 4);
    // Pictures of a few hundred pixels are common enough to keep the date on them.
    if (side >= 120) {
      EXPECT_GT(right, side / 2);
    }
  }
}

}  // namespace
}  // namespace kestrova
