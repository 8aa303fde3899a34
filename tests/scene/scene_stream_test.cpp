#include "scene/scene_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

#include "ephemerides/kepler_orbits.h"
#include "support/scene_date.h"

namespace kestrova {
namespace {

constexpr int32_t kSentinel = -424242;
const TOrbitalElements kCeres{2451545.0L, 10.6L, 80.3L, 153.9L, 2.766L, 0.2141L, 0.0785L, 200};

std::vector<uint8_t> Written(const std::function<void(ValueWriter&)>& write) {
  MemorySink sink;
  ValueWriter writer(sink);
  write(writer);
  writer.WriteInteger(kSentinel);  // each reader must stop right before it
  writer.Finish();
  return sink.Bytes();
}

void WriteElements(ValueWriter& w, const TOrbitalElements& e) {
  for (Extended x : {e.Epoch, e.Inclination, e.Node, e.PerihelionLongitude, e.SemiMajorAxis,
                     e.DailyMotion, e.Eccentricity, e.MeanLongitude}) {
    w.WriteFloat(x);
  }
}

// A current-form block written value by value, for the damaged variants WriteScene never
// produces.
struct Block16 {
  Extended jd = 2460000.5L;
  int32_t earth_satellites = 1;
  int32_t asteroid_count = 0;

  void Write(ValueWriter& w) const {
    w.WriteFloat(jd);
    for (int32_t c = 1; c <= 5; ++c) w.WriteInteger(c);
    for (int b = 0; b < 10; ++b) w.WriteBoolean(b % 2 == 0);
    w.WriteInteger(1);
    w.WriteFloat(3);
    w.WriteInteger(9);
    for (Extended a : {10.0L, 20.0L, 30.0L}) w.WriteFloat(a);
    w.WriteInteger(0);
    const int32_t satellites[9] = {earth_satellites, 0, 0, 0, 4, 12, 5, 0, 0};
    for (int32_t n : satellites) {
      w.WriteBoolean(true);
      w.WriteInteger(0x111111);
      for (int k = 0; k < 3; ++k) w.WriteFloat(0);
      w.WriteInteger(n);
      for (int32_t j = 0; j < std::min(n, 20); ++j) {
        w.WriteBoolean(true);
        w.WriteInteger(0x222222);
        for (int k = 0; k < 3; ++k) w.WriteFloat(0);
      }
    }
    w.WriteInteger(0);  // no lines
    w.WriteInteger(asteroid_count);
    w.WriteInteger(0x333333);
    w.WriteInteger(0x444444);
  }
};

// The 1.5 form (with_directions false) or the 1.0 form, each with one minor body.
void WriteOlderBlock(ValueWriter& w, bool v10, Extended jd) {
  if (v10) {
    w.WriteInteger(0x0A0A0A);  // GridColor
    w.WriteFloat(jd);
    w.WriteBoolean(false);  // ShowOrbits
    w.WriteBoolean(true);   // ShowNames
  } else {
    w.WriteFloat(jd);
    for (int32_t c : {0x0A0A0A, 0x0B0B0B, 0x0C0C0C, 0x0D0D0D, 0x0E0E0E}) w.WriteInteger(c);
    for (int b = 0; b < 8; ++b) w.WriteBoolean(b == 3);  // ShowRotAxis only
  }
  w.WriteInteger(1);
  w.WriteFloat(0.5L);
  w.WriteInteger(kMars);
  for (Extended a : {1.0L, 2.0L, 3.0L}) w.WriteFloat(a);
  w.WriteInteger(2);
  for (int32_t i = 0; i < 9; ++i) w.WriteBoolean(i != kVenus);
  for (int32_t i = 0; i < 9; ++i) w.WriteInteger(0x000100 * i);
  w.WriteInteger(1);
  w.WriteString("Ceres");
  w.WriteInteger(0x00AA00);
  w.WriteBoolean(false);
  if (!v10) w.WriteInteger(kMinorBodyId);
  WriteElements(w, kCeres);
  w.WriteInteger(0x123123);  // ObjectColors[11]
}

int32_t SatelliteCount(const TSolarSystem& s, TColor color) {
  int32_t n = 0;
  for (int32_t i = 0; i < 9; ++i) {
    for (int32_t j = 0; j < s.Planet(i).Satellites.Count(); ++j) {
      n += s.Planet(i).Satellites.Get(j).Color == color;
    }
  }
  return n;
}

TEST(SceneStream, RoundTripRestoresTheSceneButNotPositionsOrSatelliteColours) {
  TSolarSystem a{TestStartDate()};
  a.SetDate({5, 3, 2024, 12, 34, 56, 0});
  a.SetGridColor(0x010203);
  a.SetBgColor(0x040506);
  a.SetSunColor(0x070809);
  a.SetPerpendicularColor(0x0A0B0C);
  a.SetAxesColor(0x0D0E0F);
  a.SetShowOrbits(false);
  a.SetShowLineOfNodes(true);
  a.SetShowSatellites(false);
  a.SetShowDirections(false);
  a.SetGridMode(1);
  a.SetDim(7.5L);
  a.SetCenterObject(kSaturn);
  a.SetRotX(10);
  a.SetRotY(-20.25L);
  a.SetRotZ(300);
  a.SetPlane(TPlane::XZ);
  a.SetObjectColor(kMars, 0xABCDEF);
  a.Planet(kVenus).Visible = false;
  TSatellite& io = a.Planet(kJupiter).Satellites.Get(0);
  io.Visible = false;
  io.Color = 0x999999;
  a.DirectionList().Add(std::make_unique<TDirection>(kEarth, 0x00FF00, kMars));
  a.DirectionList().Add(std::make_unique<TDirection>(9, 0x0000FF, kPluto)).Visible = false;
  a.AsteroidsList().Add(std::make_unique<TAsteroid>("Ceres", kCeres, 0x00AA00));
  a.AsteroidsList().Add(std::make_unique<TAsteroid>("Hidden", kCeres, 0x00BB00)).Visible = false;
  a.SetObjectColor(11, 0x111111);
  a.SetObjectColor(12, 0x222222);
  io.Color = 0x999999;
  a.Planet(kPluto).Pos = {9, 9, 9};  // written, never read back

  const auto bytes = Written([&](ValueWriter& w) { WriteScene(a, w); });
  TSolarSystem b{TestStartDate()};
  int repaints = 0;
  b.SetRepaintHook([&] { ++repaints; });
  MemorySource source(bytes);
  ValueReader reader(source);
  ReadScene(b, reader);
  EXPECT_EQ(reader.ReadInteger(), kSentinel);

  EXPECT_EQ(b.SceneDate(), a.SceneDate());
  EXPECT_EQ(b.GridColor(), 0x010203u);
  EXPECT_EQ(b.BgColor(), 0x040506u);
  EXPECT_EQ(b.SunColor(), 0x070809u);
  EXPECT_EQ(b.PerpendicularColor(), 0x0A0B0Cu);
  EXPECT_EQ(b.AxesColor(), 0x0D0E0Fu);
  EXPECT_FALSE(b.ShowOrbits());
  EXPECT_TRUE(b.ShowNames());
  EXPECT_TRUE(b.ShowLineOfNodes());
  EXPECT_FALSE(b.ShowApsides());
  EXPECT_FALSE(b.ShowSatellites());
  EXPECT_FALSE(b.ShowDirections());
  EXPECT_EQ(b.GridMode(), 1);
  EXPECT_EQ(b.Dim(), 7.5L);
  EXPECT_EQ(b.CenterObject(), kSaturn);
  EXPECT_NEAR(b.RotX(), 10, 1e-15L);
  EXPECT_NEAR(b.RotY(), -20.25L, 1e-15L);
  EXPECT_NEAR(b.RotZ(), 300, 1e-13L);
  EXPECT_EQ(b.Plane(), TPlane::XZ);
  EXPECT_EQ(b.Planet(kMars).Color, 0xABCDEFu);
  EXPECT_EQ(b.GetObjectColor(kMars), 0xABCDEFu);
  EXPECT_FALSE(b.Planet(kVenus).Visible);
  EXPECT_TRUE(b.Planet(kEarth).Visible);
  EXPECT_FALSE(b.Planet(kJupiter).Satellites.Get(0).Visible);
  EXPECT_EQ(SatelliteCount(b, 0x222222), 22);  // Io's own colour is gone
  EXPECT_EQ(b.GetObjectColor(12), 0x222222u);
  ASSERT_EQ(b.DirectionList().Count(), 2);
  EXPECT_EQ(b.DirectionList().Get(1).ToId, kPluto);
  EXPECT_FALSE(b.DirectionList().Get(1).Visible);
  ASSERT_EQ(b.AsteroidsList().Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const TOEObject& o = b.AsteroidsList().Get(i);
    EXPECT_TRUE(o.Visible);  // hidden minor bodies come back visible
    EXPECT_EQ(o.Color, 0x111111u);
    EXPECT_EQ(o.Elements, kCeres);
    EXPECT_EQ(o.Pos, KeplerPosition(kCeres, DateToJD(b.SceneDate())));  // recomputed
  }
  EXPECT_EQ(b.AsteroidsList().Get(1).Name, "Hidden");
  const Extended jd = DateToJD(b.SceneDate());
  EXPECT_EQ(b.Planet(kPluto).Pos, KeplerPosition(MeanPlanetElements(kPluto, 0, jd), jd));
  EXPECT_EQ(b.CenterPos(), b.Planet(kSaturn).Pos);
  EXPECT_EQ(repaints, 1);
}

// A Dim out of range is the setter's to ignore; the values after it still apply.
TEST(SceneStream, DimOutOfRangeIsIgnoredWhileReadingGoesOn) {
  TSolarSystem a{TestStartDate()};
  a.SetDim(7.5L);
  a.SetCenterObject(kNeptune);
  a.SetPlane(TPlane::ZY);
  auto bytes = Written([&](ValueWriter& w) { WriteScene(a, w); });
  uint8_t dim[11] = {static_cast<uint8_t>(ValueTag::Extended80)};
  const Extended old_dim = 7.5L, new_dim = 500;
  std::memcpy(dim + 1, &old_dim, 10);
  auto at = std::search(bytes.begin(), bytes.end(), dim, dim + 11);
  ASSERT_NE(at, bytes.end());
  std::memcpy(&*at + 1, &new_dim, 10);

  TSolarSystem b{TestStartDate()};
  MemorySource source(bytes);
  ValueReader reader(source);
  ReadScene(b, reader);
  EXPECT_EQ(reader.ReadInteger(), kSentinel);
  EXPECT_EQ(b.Dim(), 2);
  EXPECT_EQ(b.CenterObject(), kNeptune);
  EXPECT_EQ(b.Plane(), TPlane::ZY);
}

// The older forms leave the lines and ShowDirections alone, show the satellites in their
// initial colour, and do not recompute after the minor bodies.
TEST(SceneStream, OlderFormsKeepLinesAndSetSatellites) {
  for (bool v10 : {false, true}) {
    SCOPED_TRACE(v10 ? "1.0" : "1.5");
    TSolarSystem s{TestStartDate()};
    int repaints = 0;
    s.SetRepaintHook([&] { ++repaints; });
    s.DirectionList().Add(std::make_unique<TDirection>(kEarth, 0x00FF00, kMars));
    s.SetShowDirections(false);
    s.SetShowSatellites(false);
    s.SetShowApsides(true);
    s.SetBgColor(0x010101);
    s.SetSunColor(0x020202);
    s.SetObjectColor(12, 0x445566);

    const auto bytes = Written([&](ValueWriter& w) { WriteOlderBlock(w, v10, 2451545.0L); });
    MemorySource source(bytes);
    ValueReader reader(source);
    if (v10) {
      ReadScene10(s, reader);
    } else {
      ReadScene15(s, reader);
    }
    EXPECT_EQ(reader.ReadInteger(), kSentinel);

    ASSERT_EQ(s.DirectionList().Count(), 1);
    EXPECT_FALSE(s.ShowDirections());
    EXPECT_TRUE(s.ShowSatellites());
    EXPECT_EQ(SatelliteCount(s, 0x008080), 22);
    EXPECT_EQ(s.GridColor(), 0x0A0A0Au);
    EXPECT_EQ(s.BgColor(), v10 ? 0x000000u : 0x0B0B0Bu);
    EXPECT_EQ(s.SunColor(), v10 ? 0x00FFFFu : 0x0C0C0Cu);
    EXPECT_EQ(s.AxesColor(), v10 ? 0x0A0A0Au : 0x0E0E0Eu);
    EXPECT_EQ(s.PerpendicularColor(), v10 ? 0x0A0A0Au : 0x0D0D0Du);
    EXPECT_FALSE(s.ShowApsides());
    EXPECT_EQ(s.ShowRotAxis(), !v10);
    EXPECT_EQ(s.ShowOrbits(), false);
    EXPECT_EQ(s.ShowNames(), v10);
    EXPECT_EQ(s.SceneDate(), (TDateRec{1, 1, 2000, 12, 0, 0, 0}));
    EXPECT_EQ(s.Dim(), 0.5L);
    EXPECT_EQ(s.CenterObject(), kMars);
    EXPECT_EQ(s.Plane(), TPlane::ZY);
    EXPECT_FALSE(s.Planet(kVenus).Visible);
    EXPECT_EQ(s.Planet(kPluto).Color, 0x000800u);
    ASSERT_EQ(s.AsteroidsList().Count(), 1);
    EXPECT_EQ(s.AsteroidsList().Get(0).Color, 0x123123u);
    EXPECT_EQ(s.AsteroidsList().Get(0).Pos, TVector{});
    EXPECT_EQ(repaints, 1);
  }
}

TEST(SceneStream, DamagedBlocksEndWithTheirError) {
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  enum Error { kDate, kList, kInvalid };
  struct Case {
    const char* what;
    Block16 block;
    Error error;
  };
  const Case cases[] = {
      {"date no number", {nan, 1, 0}, kDate},
      {"date before the range", {-1, 1, 0}, kDate},
      {"date after the range", {1e30L, 1, 0}, kDate},
      {"two moons", {2460000.5L, 2, 0}, kList},
      {"two billion moons", {2460000.5L, 2000000000, 0}, kList},
      // The colour Integer that follows stands where the first name is due.
      {"two billion minor bodies", {2460000.5L, 1, 2000000000}, kInvalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemorySink sink;
    ValueWriter writer(sink);
    c.block.Write(writer);
    writer.Finish();
    TSolarSystem s{TestStartDate()};
    const TDateRec before = s.SceneDate();
    MemorySource source(sink.Bytes());
    ValueReader reader(source);
    if (c.error == kList) {
      EXPECT_THROW(ReadScene(s, reader), EListError);
    } else {
      EXPECT_THROW(ReadScene(s, reader), EInvalidValue);
    }
    if (c.error == kDate) {
      EXPECT_EQ(s.SceneDate(), before);
    }
  }
}

// Every truncation of every form ends in a stream error, never in a crash or a hang.
TEST(SceneStream, TruncatedBlocksEndWithAReadError) {
  TSolarSystem a{TestStartDate()};
  a.DirectionList().Add(std::make_unique<TDirection>(kEarth, 0x00FF00, kMars));
  a.AsteroidsList().Add(std::make_unique<TAsteroid>("Ceres", kCeres, 0x00AA00));
  using Reader = void (*)(TSolarSystem&, ValueReader&);
  struct Form {
    Reader read;
    std::vector<uint8_t> bytes;
  };
  const Form forms[] = {
      {ReadScene, Written([&](ValueWriter& w) { WriteScene(a, w); })},
      {ReadScene15, Written([](ValueWriter& w) { WriteOlderBlock(w, false, 2451545.0L); })},
      {ReadScene10, Written([](ValueWriter& w) { WriteOlderBlock(w, true, 2451545.0L); })},
  };
  TSolarSystem s{TestStartDate()};
  for (const Form& f : forms) {
    const size_t full = f.bytes.size() - 5;  // without the sentinel
    for (size_t n = 0; n < full; n += 1 + full / 16) {
      SCOPED_TRACE(n);
      MemorySource source(f.bytes.data(), n);
      ValueReader reader(source);
      EXPECT_THROW(f.read(s, reader), EReadError);
    }
  }
}

}  // namespace
}  // namespace kestrova
