// The planet theory behind the Plan404 call record: S. L. Moshier's trigonometric and
// polynomial series fitted to DE404, and the Kepler orbits that take over from them beyond the
// ends of their fit intervals.
//
// The series are evaluated in double precision, against the rule of Extended elsewhere: the
// record carries doubles, and the theory's check values come from a double evaluation whose
// rounding of the large mean-motion products (up to 2e10 seconds of arc) they carry. An
// Extended evaluation is closer to the exact sums but differs from those values by up to
// 2e-11 rad at the ends of the range, while the double one reproduces them to the last bit.
// The difference is four orders of magnitude below the fit's own residuals (0.1" and more).
#include "ephemerides/planet_theory.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <mutex>

#include "ephemerides/kepler_orbits.h"
#include "ephemerides/planet_theory_tables.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

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
    sn[0] = std::sin(a);
    cn[0] = std::cos(a);
    FillAngleMultiples(sn, cn, std::max(count, 2));
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

// The series' position as a J2000.0 ecliptic vector, AU.
TVector SeriesEcliptic(const TPlanetSeries& s, double jd) {
  const TSeriesPoint p = EvaluateSeries(s, jd);
  const double rcb = p.R * std::cos(p.B);
  return {rcb * std::cos(p.L), rcb * std::sin(p.L), p.R * std::sin(p.B)};
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

// Beyond the ends of a fit.
//
// The series stay close to the numerical ephemeris for a while past the ends of their fit
// (they are smooth functions of time), and then drift off as the polynomial parts grow. A mean
// Kepler orbit does not drift but misses the planet by its perturbations, and the mean elements
// of the date (or Pluto's fixed osculating ones) miss it by much more at the ends of the fit:
// 0.1 to 0.26 AU for Saturn to Neptune, 38 AU for Pluto at -3000. So each end has its joined
// orbit: the mean elements of the date plus constant offsets, fitted by least squares to the
// series over the last period inside the fit. The series answer for a margin past the end;
// over the next span the answer passes from the series to the joined orbit along a smooth
// weight; beyond that the joined orbit answers alone. At both switches the two sides agree to
// the rounding of the arithmetic.
//
// Mercury to Neptune and the barycentre keep to their joined orbits as closely 100 years past
// the ends as inside (within their perturbations, 1e-5 AU for Mercury to 0.09 AU for Neptune),
// so their series are kept for 15 years; Pluto's series leave its joined orbit from about ten
// years on (0.04 AU at 15 years, 0.2 to 0.8 AU at 20 to 30 years), so they are left sooner.
struct TBeyondFit {
  double Margin;  // days of the series past the end
  double Blend;   // days of passing over to the joined orbit
};
constexpr TBeyondFit kBeyondFit = {15 * 365.25, 15 * 365.25};
constexpr TBeyondFit kPlutoBeyondFit = {8 * 365.25, 8 * 365.25};

const TBeyondFit& BeyondFit(int32_t libraryPlanet) {
  return libraryPlanet == 9 ? kPlutoBeyondFit : kBeyondFit;
}

// Offsets of the joined orbit from the mean elements: mean longitude, semi-major axis (AU),
// eccentricity, inclination, node and perihelion longitude (degrees where angles), and for
// Pluto the mean motion (degrees per day from the end of the fit): its elements are osculating
// ones of 1990 whose mean motion has drifted by 50 degrees from the series at -3000, while the
// others' mean longitudes come from mean elements that hold over millennia.
constexpr int kJoinParameters = 7;
struct TJoinedOrbit {
  Extended From;  // the end of the fit, JD
  std::array<Extended, kJoinParameters> d;
};

TOrbitalElements JoinedElements(int32_t libraryPlanet, const TJoinedOrbit& j, Extended jd) {
  const auto& d = j.d;
  TOrbitalElements el = MeanPlanetElements(kSystemPlanet[libraryPlanet - 1], 1, jd);
  el.MeanLongitude += d[0] + d[6] * (jd - j.From);
  el.SemiMajorAxis += d[1];
  el.Eccentricity += d[2];
  el.Inclination += d[3];
  el.Node += d[4];
  el.PerihelionLongitude += d[5];
  return el;
}

TVector JoinedPosition(int32_t libraryPlanet, const TJoinedOrbit& j, Extended jd) {
  return KeplerPosition(JoinedElements(libraryPlanet, j, jd), jd);
}

// Solves the n by n system a x = b in place by elimination with partial pivoting.
template <int N>
void SolveLinear(std::array<std::array<Extended, N>, N>& a, std::array<Extended, N>& b) {
  for (int col = 0; col < N; ++col) {
    int pivot = col;
    for (int row = col + 1; row < N; ++row)
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
    std::swap(a[col], a[pivot]);
    std::swap(b[col], b[pivot]);
    if (a[col][col] == 0) continue;
    for (int row = col + 1; row < N; ++row) {
      const Extended f = a[row][col] / a[col][col];
      for (int k = col; k < N; ++k) a[row][k] -= f * a[col][k];
      b[row] -= f * b[col];
    }
  }
  for (int col = N - 1; col >= 0; --col) {
    Extended sum = b[col];
    for (int k = col + 1; k < N; ++k) sum -= a[col][k] * b[k];
    b[col] = a[col][col] == 0 ? 0 : sum / a[col][col];
  }
}

// The offsets that bring the joined orbit closest to the series over the last period inside the
// fit at one end: Gauss-Newton steps, damped after Marquardt so that an element the samples
// hardly see (the node of an orbit in the ecliptic) stays where it is.
TJoinedOrbit FitJoinedOrbit(int32_t libraryPlanet, bool lastEnd) {
  const TPlanetSeries& s = *kPlanetSeries[libraryPlanet - 1];
  const double end = lastEnd ? s.FitLastJD : s.FitFirstJD;
  const Extended period =
      360 / MeanPlanetElements(kSystemPlanet[libraryPlanet - 1], 1, end).DailyMotion;
  constexpr int kSamples = 64;
  std::array<Extended, kSamples> dates;
  std::array<TVector, kSamples> series;
  for (int k = 0; k < kSamples; ++k) {
    const double t = end + (lastEnd ? -1 : 1) * static_cast<double>(period * k / (kSamples - 1));
    dates[k] = t;
    series[k] = SeriesEcliptic(s, t);
  }
  const Extended a = s.Distance;
  // Steps of the numerical derivatives: about a millionth of a degree or of the orbit's size.
  const std::array<Extended, kJoinParameters> h = {1e-6L, 1e-6L * a, 1e-7L,         1e-6L,
                                                   1e-6L, 1e-6L,     1e-6L / period};
  const int parameters = libraryPlanet == 9 ? kJoinParameters : kJoinParameters - 1;
  TJoinedOrbit j{end, {}};
  auto& d = j.d;
  for (int iteration = 0; iteration < 12; ++iteration) {
    std::array<std::array<Extended, kJoinParameters>, kJoinParameters> normal{};
    std::array<Extended, kJoinParameters> rhs{};
    for (int k = 0; k < kSamples; ++k) {
      const TVector p = JoinedPosition(libraryPlanet, j, dates[k]);
      const TVector r = VecSub(series[k], p);
      std::array<TVector, kJoinParameters> column{};
      for (int i = 0; i < parameters; ++i) {
        TJoinedOrbit up = j;
        up.d[i] += h[i];
        column[i] = VecScale(VecSub(JoinedPosition(libraryPlanet, up, dates[k]), p), 1 / h[i]);
      }
      for (int i = 0; i < kJoinParameters; ++i) {
        const TVector& ci = column[i];
        rhs[i] += ci.x * r.x + ci.y * r.y + ci.z * r.z;
        for (int m = 0; m < kJoinParameters; ++m) {
          const TVector& cm = column[m];
          normal[i][m] += ci.x * cm.x + ci.y * cm.y + ci.z * cm.z;
        }
      }
    }
    for (int i = 0; i < kJoinParameters; ++i) normal[i][i] *= 1 + 1e-6L;
    SolveLinear<kJoinParameters>(normal, rhs);
    bool settled = true;
    for (int i = 0; i < kJoinParameters; ++i) {
      d[i] += rhs[i];
      if (std::fabs(rhs[i]) > 1e-4L * h[i]) settled = false;
    }
    if (settled) break;
  }
  return j;
}

// The joined orbit of each body and end, fitted when first needed.
const TJoinedOrbit& JoinedOrbit(int32_t libraryPlanet, bool lastEnd) {
  static std::array<std::once_flag, 18> fitted;
  static std::array<TJoinedOrbit, 18> offsets;
  const size_t i = static_cast<size_t>(2 * (libraryPlanet - 1) + (lastEnd ? 1 : 0));
  std::call_once(fitted[i], [&] { offsets[i] = FitJoinedOrbit(libraryPlanet, lastEnd); });
  return offsets[i];
}

// Rises from 0 to 1 as u goes from 0 to 1, with level ends (and level first derivatives, so
// that the speed too changes smoothly): 6u^5 - 15u^4 + 10u^3.
Extended SmoothStep(Extended u) {
  return u * u * u * (u * (u * 6 - 15) + 10);
}

void BeyondFitIntoRecord(int32_t libraryPlanet, TPlan404Data& rec) {
  const TPlanetSeries& s = *kPlanetSeries[libraryPlanet - 1];
  const bool lastEnd = rec.JD > s.FitLastJD;
  const double beyond = lastEnd ? rec.JD - s.FitLastJD : s.FitFirstJD - rec.JD;
  const TBeyondFit& b = BeyondFit(libraryPlanet);
  if (beyond <= b.Margin) {
    SeriesIntoRecord(s, rec);
    return;
  }
  const Extended jd = rec.JD;
  TVector v = JoinedPosition(libraryPlanet, JoinedOrbit(libraryPlanet, lastEnd), jd);
  if (beyond < b.Margin + b.Blend) {
    const Extended w = SmoothStep((beyond - b.Margin) / b.Blend);
    const TVector series = SeriesEcliptic(s, rec.JD);
    v = VecAdd(series, VecScale(VecSub(v, series), w));
  }
  PutEquatorial(v.x, v.y, v.z, std::cos(kEps0), std::sin(kEps0), rec);
  const Extended r = VecLength(v);
  rec.Lon = static_cast<double>(Norm2Pi(ArcTan2(v.y, v.x)));
  rec.Lat = static_cast<double>(ArcSin(v.z / r));
  rec.R = static_cast<double>(r);
}

}  // namespace

TPlan404Switches Plan404SwitchDates(int32_t planet, bool lastEnd) {
  const TPlanetSeries& s = *kPlanetSeries[planet - 1];
  const TBeyondFit& b = BeyondFit(planet);
  if (lastEnd) return {s.FitLastJD, s.FitLastJD + b.Margin, s.FitLastJD + b.Margin + b.Blend};
  return {s.FitFirstJD, s.FitFirstJD - b.Margin, s.FitFirstJD - b.Margin - b.Blend};
}

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
  if (record->JD >= s.FitFirstJD && record->JD <= s.FitLastJD) {
    SeriesIntoRecord(s, *record);
  } else if (std::isnan(record->JD)) {
    // No date: the answer is no number, rather than a fit on the way to it.
    SeriesIntoRecord(s, *record);
  } else {
    BeyondFitIntoRecord(planet, *record);
  }
  return 0;
}

}  // namespace kestrova
