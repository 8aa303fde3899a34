#include "ephemerides/kepler_batch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ephemerides/kepler_orbits.h"

namespace kestrova {
namespace {

TOrbitalElements Elements(Extended epoch, Extended a, Extended e, Extended i, Extended node,
                          Extended peri, Extended meanLongitude) {
  TOrbitalElements el;
  el.Epoch = epoch;
  el.SemiMajorAxis = a;
  el.Eccentricity = e;
  el.Inclination = i;
  el.Node = node;
  el.PerihelionLongitude = peri;
  el.MeanLongitude = meanLongitude;
  el.DailyMotion = 0.9856262L / (a * std::sqrt(a));
  return el;
}

// Orbits of real bodies (rounded elements of Ceres, Pallas, Eros, Icarus, Phaethon, an Atira,
// Encke, Halley, Hale-Bopp and Sedna) and made-up extremes: every eccentricity from a circle to
// almost a parabola, semi-major axes from 0.05 to 10000 AU, epochs two centuries off.
std::vector<TOrbitalElements> Orbits() {
  std::vector<TOrbitalElements> orbits = {
      Elements(2460600.5L, 2.7675L, 0.0789L, 10.59L, 80.25L, 153.9L, 214.1L),
      Elements(2460600.5L, 2.7700L, 0.2301L, 34.93L, 172.9L, 123.0L, 280.6L),
      Elements(2460600.5L, 1.4580L, 0.2227L, 10.83L, 304.3L, 123.2L, 92.5L),
      Elements(2460600.5L, 1.0780L, 0.8270L, 22.80L, 87.95L, 119.1L, 33.3L),
      Elements(2460600.5L, 1.2710L, 0.8898L, 22.26L, 265.2L, 227.5L, 71.0L),
      Elements(2460600.5L, 0.7410L, 0.3223L, 25.62L, 103.9L, 356.7L, 123.4L),
      Elements(2460200.5L, 2.2150L, 0.8471L, 11.35L, 334.2L, 161.0L, 200.0L),
      Elements(2446480.5L, 17.834L, 0.9671L, 162.3L, 58.42L, 169.8L, 328.0L),
      Elements(2450539.5L, 186.0L, 0.9951L, 89.43L, 282.5L, 53.8L, 53.8L),
      Elements(2460600.5L, 506.0L, 0.8496L, 11.93L, 144.4L, 240.0L, 598.6L),
      // Open orbits, their perihelion distance in the place of a: NEOWISE made parabolic,
      // 'Oumuamua and Borisov, before and after perihelion.
      Elements(2459035.5L, 0.2946L, 1.0L, 128.9L, 61.01L, 98.29L, 110.0L),
      Elements(2458061.5L, 0.2552L, 1.2011L, 122.7L, 24.60L, 266.4L, 200.0L),
      Elements(2458800.5L, 2.0065L, 3.3566L, 44.05L, 308.1L, 157.3L, 150.0L),
  };
  for (const Extended e : {0.0L, 0.3L, 0.7999L, 0.8L, 0.95L, 0.999L})
    for (const Extended a : {0.05L, 1.0L, 100.0L, 10000.0L})
      for (const Extended epoch : {2460600.5L, 2460600.5L - 73050, 2460600.5L + 73050})
        orbits.push_back(Elements(epoch, a, e, 3 + 50 * e, 17 * a, 250, 250.001L + 3 * e));
  // The vector path's eccentricities with the mean anomaly all round the circle, where its
  // first steps are longest (near perihelion of the most eccentric) and where they are shortest.
  for (const Extended e : {0.01L, 0.15L, 0.35L, 0.5L, 0.65L, 0.75L, 0.7999L})
    for (int m = -180; m < 180; m += 5)
      for (const Extended off : {0.0L, 0.25L})
        orbits.push_back(Elements(2460600.5L, 2.5L, e, 7, 40, 100, 100 + m + off));
  return orbits;
}

// Each position of the batch, on the vector path and the one-by-one path, agrees with the
// extended computation to 1e-12 of the distance: at dates of the present, of the start and end
// of the program's range, and at perihelion passages.
TEST(KeplerBatch, AgreesWithTheExtendedComputation) {
  const std::vector<TOrbitalElements> orbits = Orbits();
  TKeplerBatch batch;
  batch.Prepare(orbits.size(), [&](size_t i) -> const TOrbitalElements& { return orbits[i]; });
  ASSERT_EQ(batch.Size(), orbits.size());
  std::vector<TVectorD> out(orbits.size());
  Extended worst = 0;
  for (const Extended jd : {2460676.5L, 2451545.0L, 0.5L, 3999999.5L, 2460600.5L}) {
    batch.Positions(TKeplerBatch::Date(jd), 0, orbits.size(), out.data());
    for (size_t i = 0; i < orbits.size(); ++i) {
      const TVector want = KeplerPosition(orbits[i], jd);
      const Extended off = VecLength(VecSub(ToVector(out[i]), want)) / VecLength(want);
      worst = std::fmax(worst, off);
      EXPECT_LT(off, 1e-12L) << "orbit " << i << " JD " << jd;
    }
  }
  RecordProperty("worst", testing::PrintToString(static_cast<double>(worst)));
}

// A range gives the positions of its own orbits, first at out[0]; ranges cut anywhere give
// the whole.
TEST(KeplerBatch, RangesTogetherGiveTheWhole) {
  const std::vector<TOrbitalElements> orbits = Orbits();
  TKeplerBatch batch;
  batch.Prepare(orbits.size(), [&](size_t i) -> const TOrbitalElements& { return orbits[i]; });
  const TKeplerBatch::TDate date = TKeplerBatch::Date(2460676.5L);
  std::vector<TVectorD> whole(orbits.size()), pieces(orbits.size());
  batch.Positions(date, 0, orbits.size(), whole.data());
  for (size_t begin = 0; begin < orbits.size(); begin += 7)
    batch.Positions(date, begin, std::min(begin + 7, orbits.size()), &pieces[begin]);
  EXPECT_EQ(whole, pieces);
}

// Elements that give no position give none here either, and do not disturb their neighbours;
// an orbit turned open (its a read as the perihelion distance) is placed one by one.
TEST(KeplerBatch, ElementsThatAreNoNumbers) {
  std::vector<TOrbitalElements> orbits = Orbits();
  orbits[3].Eccentricity = std::nanl("");
  orbits[5].DailyMotion = std::numeric_limits<Extended>::infinity();
  orbits[6].SemiMajorAxis = std::nanl("");
  orbits[7].Eccentricity = 1.5L;
  TKeplerBatch batch;
  batch.Prepare(orbits.size(), [&](size_t i) -> const TOrbitalElements& { return orbits[i]; });
  std::vector<TVectorD> out(orbits.size());
  const Extended jd = 2460676.5L;
  batch.Positions(TKeplerBatch::Date(jd), 0, orbits.size(), out.data());
  for (size_t i : {size_t(3), size_t(5), size_t(6)}) EXPECT_FALSE(std::isfinite(out[i].x)) << i;
  for (size_t i : {size_t(2), size_t(4), size_t(7)}) {
    const TVector want = KeplerPosition(orbits[i], jd);
    EXPECT_LT(VecLength(VecSub(ToVector(out[i]), want)), 1e-12L * VecLength(want)) << i;
  }
}

}  // namespace
}  // namespace kestrova
