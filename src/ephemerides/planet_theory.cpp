// The planet theory behind the Plan404 call record: S. L. Moshier's trigonometric and
// polynomial series fitted to DE404, and the mean Kepler orbits that stand in for them
// outside their fit intervals.
//
// The series are evaluated in double precision, against the rule of Extended elsewhere: the
// record carries doubles, and the theory's check values come from a double evaluation whose
// rounding of the large mean-motion products (up to 2e10 seconds of arc) they carry. An
// Extended evaluation is closer to the exact sums but differs from those values by up to
// 2e-11 rad at the ends of the range, while the double one reproduces them to the last bit.
// The difference is four orders of magnitude below the fit's own residuals (0.1" and more).
#include "ephemerides/planet_theory.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/planet_theory_tables.h"
#include "numerics/mathematics.h"

namespace kestrova {

static_assert(offsetof(TPlan404Data, Lon) == 8 && offsetof(TPlan404Data, X) == 32 &&
                  offsetof(TPlan404Data, Planet) == 56,
              "TPlan404Data must keep the library's field offsets");

namespace {

constexpr double kArcsec = 4.8481368110953599359e-6;  // radians
constexpr double kTurn = 1296000.0;                   // seconds of arc
constexpr double kJ2000 = 2451545.0;
constexpr double kTimescale = 3652500.0;  // days in 10000 Julian years
constexpr double kTwoPi = 6.283185307179586476925;
// The obliquity of J2000.0 (84381.448 seconds of arc) that carries the J2000.0 ecliptic to the
// equator; the theory's check values use this value.
constexpr Extended kEps0 = 84381.448L * 4.84813681109536e-06L;

double ModTurn(double x) {
  return x - kTurn * std::floor(x / kTurn);
}

constexpr int kMaxArgs = 12;
constexpr int kMaxHarmonic = 24;

// sin and cos of the multiples 1..MaxHarmonic of every argument the series uses.
struct TMultiples {
  double Sin[kMaxArgs][kMaxHarmonic];
  double Cos[kMaxArgs][kMaxHarmonic];
};

// Argument n (0-based) in radians.
double Argument(const TPlanetSeries& s, int n, double T, double t) {
  if (!s.MeanElements) {
    const TLinearArgument& a = kLinearArguments[n];
    // Only the product is reduced; adding the phase afterwards is how the fit was made.
    return (ModTurn(a.Frequency * T) + a.Phase) * kArcsec;
  }
  const TMeanElementArgument& a = kMeanElementArguments[n];
  double higher = 0;
  if (a.Count > 2) {
    higher = a.C[a.Count - 1];
    for (int k = a.Count - 2; k >= 2; --k) higher = higher * t + a.C[k];
  }
  return (ModTurn(a.C[1] * t + a.C[0]) + higher * (t * t)) * kArcsec;
}

// The multiples by angle addition; the first two are formed even when only one is used.
void FillMultiples(const TPlanetSeries& s, double T, double t, TMultiples& m) {
  for (int n = 0; n < kMaxArgs; ++n) {
    const int count = s.MaxHarmonic[n];
    if (count <= 0) continue;
    double* sn = m.Sin[n];
    double* cn = m.Cos[n];
    const double a = Argument(s, n, T, t);
    const double s1 = std::sin(a);
    const double c1 = std::cos(a);
    sn[0] = s1;
    cn[0] = c1;
    sn[1] = 2 * s1 * c1;
    cn[1] = c1 * c1 - s1 * s1;
    for (int k = 2; k < count; ++k) {
      sn[k] = s1 * cn[k - 1] + c1 * sn[k - 1];
      cn[k] = c1 * cn[k - 1] - s1 * sn[k - 1];
    }
  }
}

// Heliocentric longitude and latitude (radians, longitude not reduced) and radius (AU) on the
// J2000.0 ecliptic.
struct TSeriesPoint {
  double L, B, R;
};

TSeriesPoint EvaluateSeries(const TPlanetSeries& s, double jd) {
  const double T = (jd - kJ2000) / kTimescale;
  const double t = (jd - kJ2000) / 36525.0;
  TMultiples m;
  FillMultiples(s, T, t, m);

  const int8_t* arg = s.Args;
  const double* lon = s.Lon;
  const double* lat = s.Lat;
  const double* rad = s.Rad;
  double sl = 0;
  double sb = 0;
  double sr = 0;
  for (;;) {
    const int np = *arg++;
    if (np < 0) break;
    if (np == 0) {
      const int nt = *arg++;
      double pl = *lon++;
      double pb = *lat++;
      double pr = *rad++;
      for (int k = 0; k < nt; ++k) {
        pl = pl * T + *lon++;
        pb = pb * T + *lat++;
        pr = pr * T + *rad++;
      }
      // Whole turns only; in the barycentre's units (0.0001") a turn is not 1296000.
      sl += s.MeanElements ? pl : ModTurn(pl);
      sb += pb;
      sr += pr;
      continue;
    }
    double sv = 0;
    double cv = 0;
    bool first = true;
    for (int i = 0; i < np; ++i) {
      const int h = *arg++;
      const int n = *arg++ - 1;
      if (h == 0) continue;
      const int k = std::abs(h) - 1;
      const double su = h < 0 ? -m.Sin[n][k] : m.Sin[n][k];
      const double cu = m.Cos[n][k];
      if (first) {
        sv = su;
        cv = cu;
        first = false;
      } else {
        const double next = su * cv + cu * sv;
        cv = cu * cv - su * sv;
        sv = next;
      }
    }
    const int nt = *arg++;
    double al = *lon++, bl = *lon++;
    double ab = *lat++, bb = *lat++;
    double ar = *rad++, br = *rad++;
    for (int k = 0; k < nt; ++k) {
      al = al * T + *lon++;
      bl = bl * T + *lon++;
      ab = ab * T + *lat++;
      bb = bb * T + *lat++;
      ar = ar * T + *rad++;
      br = br * T + *rad++;
    }
    sl += al * cv + bl * sv;
    sb += ab * cv + bb * sv;
    sr += ar * cv + br * sv;
  }

  const double a = s.Distance;
  if (!s.MeanElements) return {kArcsec * sl, kArcsec * sb, kArcsec * a * sr + a};
  const double unit = kArcsec * s.TruncLevel;
  return {Argument(s, 2, T, t) + unit * sl, unit * sb, a * (1 + unit * sr)};
}

// The J2000.0 ecliptic vector turned to the J2000.0 equator.
template <class Real>
void PutEquatorial(Real x, Real y, Real z, Real cosEps, Real sinEps, TPlan404Data& rec) {
  rec.X = static_cast<double>(x);
  rec.Y = static_cast<double>(y * cosEps - z * sinEps);
  rec.Z = static_cast<double>(y * sinEps + z * cosEps);
}

void SeriesIntoRecord(const TPlanetSeries& s, TPlan404Data& rec) {
  const TSeriesPoint p = EvaluateSeries(s, rec.JD);
  const double l = p.L - kTwoPi * std::floor(p.L / kTwoPi);
  const double rcb = p.R * std::cos(p.B);
  const double eps = static_cast<double>(kEps0);
  PutEquatorial(rcb * std::cos(l), rcb * std::sin(l), p.R * std::sin(p.B), std::cos(eps),
                std::sin(eps), rec);
  rec.Lon = l;
  rec.Lat = p.B;
  rec.R = p.R;
}

// System planet numbers of library planets 1..9.
constexpr int32_t kSystemPlanet[9] = {kMercury, kVenus,  kEarth,   kMars, kJupiter,
                                      kSaturn,  kUranus, kNeptune, kPluto};

void MeanOrbitIntoRecord(int32_t libraryPlanet, TPlan404Data& rec) {
  const Extended jd = rec.JD;
  const TOrbitalElements el = MeanPlanetElements(kSystemPlanet[libraryPlanet - 1], 1, jd);
  const TVector v = KeplerPosition(el, jd);
  PutEquatorial(v.x, v.y, v.z, std::cos(kEps0), std::sin(kEps0), rec);
  const Extended r = VecLength(v);
  rec.Lon = static_cast<double>(Norm2Pi(ArcTan2(v.y, v.x)));
  rec.Lat = static_cast<double>(ArcSin(v.z / r));
  rec.R = static_cast<double>(r);
}

}  // namespace

int Plan404Series(TPlan404Data* record) {
  const int32_t planet = record->Planet;
  if (planet < 1 || planet > 9) return -1;
  SeriesIntoRecord(*kPlanetSeries[planet - 1], *record);
  return 0;
}

extern "C" int Plan404(TPlan404Data* record) {
  const int32_t planet = record->Planet;
  if (planet < 1 || planet > 9) return -1;
  const TPlanetSeries& s = *kPlanetSeries[planet - 1];
  // A NaN date fails both comparisons and takes the mean orbit.
  if (record->JD >= s.FitFirstJD && record->JD <= s.FitLastJD) {
    SeriesIntoRecord(s, *record);
  } else {
    MeanOrbitIntoRecord(planet, *record);
  }
  return 0;
}

}  // namespace kestrova
