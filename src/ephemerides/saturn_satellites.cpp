// Positions of twelve satellites of Saturn from classical element theories. Mimas to Helene
// have elements on Saturn's equator and are carried to the ecliptic of 1950; Rhea to Phoebe
// have ecliptic elements from the start. Kepler's equation gives the position, precession the
// step to 2000.
#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_math.h"
#include "ephemerides/satellite_tables.h"
#include "ephemerides/satellites.h"
#include "numerics/mathematics.h"
#include "numerics/precision.h"

namespace kestrova {

namespace {

// The time arguments of the several theories, each with its own origin.
struct TTimeArgs {
  Extended t1, t2;    // days and years from JD 2411093.0
  Extended W0;        // degrees, the Mimas-Tethys libration
  Extended t4, t5;    // days and years from JD 2411368.0
  Extended t6, T7;    // days and centuries from JD 2415020.0
  Extended TH;        // tropical years from 1900 (Hyperion)
  Extended t10, t11;  // days and centuries from JD 2409786.0
  Extended tP;        // days from JD 2433282.5 (Phoebe)
};

TTimeArgs TimeArgs(Extended jd) {
  TTimeArgs ta;
  ta.t1 = jd - 2411093.0L;
  ta.t2 = ta.t1 / 365.25L;
  ta.W0 = 5.0616L * ((jd - 2433282.423L) / 365.25L + 1950 - 1866.06L);
  ta.t4 = jd - 2411368.0L;
  ta.t5 = ta.t4 / 365.25L;
  ta.t6 = jd - 2415020.0L;
  ta.T7 = ta.t6 / 36525;
  ta.TH = (jd - 2433282.42345905L) / 365.2422L + 50;
  ta.t10 = jd - 2409786.0L;
  ta.t11 = ta.t10 / 36525;
  ta.tP = jd - 2433282.5L;
  return ta;
}

// The elements of every satellite, in either precision (Extended for positions, double for
// the orbit rings); the time arguments are formed in Extended either way.
template <class Real>
struct TSaturnTheory {
  using M = TMath<Real>;
  using TElements = TElementsOf<Real>;

  static Real SinD(Real x) { return M::Sin(M::DegToRad(x)); }
  static Real CosD(Real x) { return M::Cos(M::DegToRad(x)); }
  static Real TanD(Real x) { return M::Tan(M::DegToRad(x)); }

  // An orbit on Saturn's equator: angles in degrees, counted as ChangeElementPlane takes them.
  struct TEquatorOrbit {
    Real a, n, e, gamma, node, lambda, peri;
    TEquatorOrbit(Extended a_, Extended n_, Extended e_, Extended gamma_)
        : a(static_cast<Real>(a_)),
          n(static_cast<Real>(n_)),
          e(static_cast<Real>(e_)),
          gamma(static_cast<Real>(gamma_)),
          node(0),
          lambda(0),
          peri(0) {}
  };

  static TEquatorOrbit MimasOrbit(const TTimeArgs& ta) {
    TEquatorOrbit o{0.00124171L, 381.994516L, 0.01986L, 1.57L};
    o.node = 49.4L - 365.025L * ta.t2;
    o.lambda = 128.839L + o.n * ta.t1 - 43.415L * SinD(ta.W0) - 0.714L * SinD(3 * ta.W0) -
               0.020L * SinD(5 * ta.W0);
    o.peri = 107 + 365.56L * ta.t2;
    return o;
  }

  static TEquatorOrbit EnceladusOrbit(const TTimeArgs& ta) {
    TEquatorOrbit o{0.00158935L, 262.7319052L, 0.00532L, 0.036L};
    o.node = 145 - 152.7L * ta.t2;
    o.lambda = 200.155L + o.n * ta.t1 + (15.38L / 60) * SinD(59.4L + 32.73L * ta.t2) +
               (13.04L / 60) * SinD(119.2L + 93.18L * ta.t2);
    o.peri = 312.7L + 123.42L * ta.t2;
    return o;
  }

  static TEquatorOrbit TethysOrbit(const TTimeArgs& ta) {
    TEquatorOrbit o{0.00197069L, 190.697920278L, 0.000212L, 1.1121L};
    o.node = 111.41L - 72.24754L * ta.t2;
    o.lambda = 284.9982L + o.n * ta.t1 + 2.0751L * SinD(ta.W0) + 0.0341L * SinD(3 * ta.W0) +
               0.001L * SinD(5 * ta.W0);
    o.peri = 97 + 72.29L * ta.t2;
    return o;
  }

  static TEquatorOrbit DioneOrbit(const TTimeArgs& ta) {
    TEquatorOrbit o{0.00252413L, 131.534920026L, 0.001715L, 0.0289L};
    o.node = 228 - 30.6197L * ta.t2;
    o.lambda = 255.1183L + o.n * ta.t1 - (0.88L / 60) * SinD(59.4L + 32.73L * ta.t2) -
               (0.75L / 60) * SinD(119.2L + 93.18L * ta.t2);
    o.peri = 173.6L + 30.8381L * ta.t2;
    return o;
  }

  static TElements OnEcliptic(const TEquatorOrbit& o, const TPlanetEquator& eq) {
    const TPlaneElementsOf<Real> p =
        ChangeElementPlaneOf<Real>(static_cast<Real>(eq.Node), static_cast<Real>(eq.Inclination),
                                   o.node, o.gamma, o.peri, o.lambda);
    TElements el;
    el.Inclination = p.Inclination;
    el.Node = p.Node;
    el.PerihelionLongitude = p.PericentreLongitude;
    el.MeanLongitude = p.MeanLongitude;
    el.SemiMajorAxis = o.a;
    el.DailyMotion = o.n;
    el.Eccentricity = o.e;
    return el;
  }

  static TElements Rhea(const TTimeArgs& ta, const TPlanetEquator& eq) {
    const Extended p = 305 + 10.2077L * ta.t2;
    const Extended w3 = 44.5L - 0.5219L * ta.t5;
    const Extended w4 = 276.49L + 0.5219L * ta.t5;
    const Extended a = 356.87L - 10.2077L * ta.t2;
    const Extended k = 57.29578L * SinD(0.3305L);
    const Extended s = 0.00021L * SinD(p) + 0.001L * SinD(w4);
    const Extended c = 0.00021L * CosD(p) + 0.001L * CosD(w4);

    TElements el;
    el.PerihelionLongitude = RadToDeg(ArcTan2(s, c));
    // c / cos(peri) is the length of (c, s); with c = 0 the quotient is 0 / 0.
    el.Eccentricity = c != 0 ? c / CosD(el.PerihelionLongitude) : std::sqrt(s * s + c * c);
    el.Inclination = eq.Inclination - 0.0455L + k * CosD(a) + 0.0201L * CosD(w3);
    el.Node = eq.Node - 0.0078L + (k * SinD(a) + 0.0201L * SinD(w3)) / SinD(eq.Inclination);
    el.MeanLongitude = 359.4727L + 79.69004007L * ta.t1 + k * SinD(a) * TanD(eq.Inclination / 2);
    el.SemiMajorAxis = 0.003524L;
    el.DailyMotion = 79.69004007L;
    return el;
  }

  static TElements Titan(const TTimeArgs& ta, const TPlanetEquator& eq) {
    const Extended b = 41.28L - 0.5219L * ta.t5;
    const Extended k = 57.29578L * SinD(0.299L);
    TElements el;
    el.Inclination = eq.Inclination - 0.6204L + k * CosD(b);
    el.Node = eq.Node - 0.1418L + k * SinD(b) / SinD(eq.Inclination);
    el.MeanLongitude = 261.3121L + 22.57697385L * ta.t4 + k * SinD(b) * TanD(eq.Inclination / 2);
    el.PerihelionLongitude = 275.837L + 0.5219L * ta.t5;
    el.SemiMajorAxis = 0.00816765L;
    el.DailyMotion = 22.57697385L;
    el.Eccentricity = 0.028815L;
    return el;
  }

  static TElements Hyperion(const TTimeArgs& ta, const TPlanetEquator& eq) {
    const Extended eta = 93.13L + 0.562039L * ta.t6;
    const Extended zeta = 148.72L - 19.184L * ta.TH;
    const Extended a1 = 105.31L - 2.392L * ta.TH;
    const Extended a2 = 38.73L - 0.5353L * ta.TH;
    const Extended a3 = 13 + 24.44L * ta.TH;
    const Extended j = eq.Inclination;
    TElements el;
    el.SemiMajorAxis = 0.009904L - 0.00003422L * CosD(eta);
    el.Eccentricity = 0.10441L - 0.00401L * CosD(eta) + 0.00009L * CosD(zeta - eta) +
                      0.02321L * CosD(zeta) - 0.00009L * CosD(zeta + eta) -
                      0.0011L * CosD(2 * zeta) + 0.00013L * CosD(31.9L + 61.7524L * ta.TH);
    el.Inclination = j - 0.747L + 0.62L * CosD(a1) + 0.315L * CosD(a2) - 0.018L * CosD(a3);
    el.Node = eq.Node + (-0.061L + 0.62L * SinD(a1) + 0.315L * SinD(a2) - 0.018L * SinD(a3)) /
                            SinD(j - 0.747L);
    el.MeanLongitude = 176.7481L + 16.9199514L * ta.t6 + 0.1507L * SinD(a1) + 9.089L * SinD(eta) +
                       0.007L * SinD(2 * eta) - 0.014L * SinD(3 * eta) + 0.192L * SinD(zeta - eta) -
                       0.091L * SinD(zeta) + 0.211L * SinD(zeta + eta) -
                       0.013L * SinD(176 + 12.22L * ta.TH) + 0.017L * SinD(8 + 24.44L * ta.TH);
    el.PerihelionLongitude = 69.993L - 18.6702L * ta.TH + 0.1507L * SinD(a1) - 0.47L * SinD(eta) -
                             13.36L * SinD(zeta) + 2.16L * SinD(2 * zeta) +
                             0.07L * SinD(31.9L + 61.7524L * ta.TH);
    el.DailyMotion = 16.9199514L;
    return el;
  }

  static TElements Iapetus(const TTimeArgs& ta) {
    const Extended t11 = ta.t11;
    const Extended t7 = ta.T7;
    const Extended e0 = 0.0288184L + 0.000575L * t11;
    const Extended i0 = 18.45959L - 0.9555L * t11 - 0.072L * t11 * t11 + 0.0054L * t11 * t11 * t11;
    const Extended node0 = 143.1294L - 3.797L * t11 + 0.116L * t11 * t11 + 0.008L * t11 * t11 * t11;
    const Extended ell = 76.19854L + 4.53795711L * ta.t10;
    const Extended peri0 = 352.905L + 11.65L * t11;
    const Extended a0 = 0.02380984L;

    // Solar and Titan arguments that drive the perturbations.
    const Extended psi = 4.367L - 0.195L * t7;
    const Extended theta = 146.819L - 3.918L * t7;
    const Extended phi = 60.470L + 1.521L * t7;
    const Extended bigPhi = 205.055L - 2.091L * t7;
    const Extended ls = 267.263L + 1222.114L * t7;
    const Extended gs = 91.796L + 0.562L * t7;
    const Extended lt = 261.319L + 22.576974L * ta.t4;
    const Extended pt = 277.102L + 0.001389L * ta.t4;

    Extended arg[kIapetusArgCount];
    arg[kIaMu] = ell - peri0;
    arg[kIaL] = ls - gs;
    arg[kIaM] = lt - pt;
    arg[kIaG] = peri0 - node0 - psi;
    arg[kIaG1] = gs - theta;
    arg[kIaG2] = pt - bigPhi;
    arg[kIaG3] = peri0 - node0 - phi;
    arg[kIaPsi] = psi;
    arg[kIaPhi] = phi;

    Extended sum[kIapetusElementCount] = {};
    for (const TIapetusTerm& term : kIapetusTerms) {
      Extended x = 0;
      for (const TArgMult& a : term.args) {
        if (a.mult == 0) break;
        x += a.mult * arg[a.arg];
      }
      sum[term.element] += term.amplitude * (term.sine ? SinD(x) : CosD(x));
    }

    TElements el;
    el.SemiMajorAxis = a0 + a0 * 1e-5L * sum[kIaA];
    el.Eccentricity = e0 + 1e-5L * sum[kIaE];
    el.Inclination = i0 + sum[kIaI];
    el.MeanLongitude = ell + sum[kIaLon];
    // Divided by the mean e0 and i0, as the series were reduced with them.
    el.PerihelionLongitude = peri0 + sum[kIaPeri] / e0;
    el.Node = node0 + sum[kIaNode] / SinD(i0);
    el.DailyMotion = 4.53795711L;
    return el;
  }

  static TElements Phoebe(const TTimeArgs& ta) {
    const Extended years = ta.tP / 365.25L;
    TElements el;
    el.Inclination = 173.949L - 0.02L * years;
    el.Node = 245.998L - 0.41353L * years;
    el.MeanLongitude = 277.872L - 0.6541068L * ta.tP;
    el.PerihelionLongitude = 280.165L - 0.19586L * years;
    el.SemiMajorAxis = 0.0865752L;
    el.DailyMotion = 0.6541068L;
    el.Eccentricity = 0.16326L;
    return el;
  }

  // Satellite 156..167 on the ecliptic of 1950, epoch jd, with Saturn's equator eq.
  static TElements Elements(int32_t id, Extended jd, const TPlanetEquator& eq) {
    const TTimeArgs ta = TimeArgs(jd);
    TElements el;
    switch (id) {
      case 156:
        el = OnEcliptic(MimasOrbit(ta), eq);
        break;
      case 157:
        el = OnEcliptic(EnceladusOrbit(ta), eq);
        break;
      case 158:
      case 159:
      case 160: {
        // Telesto and Calypso librate about Tethys's L4 and L5 points.
        TEquatorOrbit o = TethysOrbit(ta);
        if (id == 159) o.lambda += 60;
        if (id == 160) o.lambda -= 60;
        el = OnEcliptic(o, eq);
        break;
      }
      case 161:
      case 162: {
        TEquatorOrbit o = DioneOrbit(ta);  // Helene sits at Dione's L4 point
        if (id == 162) o.lambda += 60;
        el = OnEcliptic(o, eq);
        break;
      }
      case 163:
        el = Rhea(ta, eq);
        break;
      case 164:
        el = Titan(ta, eq);
        break;
      case 165:
        el = Hyperion(ta, eq);
        break;
      case 166:
        el = Iapetus(ta);
        break;
      default:
        el = Phoebe(ta);
        break;
    }
    el.Epoch = static_cast<Real>(jd);
    return el;
  }
};

}  // namespace

TPlanetEquator SaturnEquator(Extended jd, const TObliquity& eps) {
  const TVector pole = EquToEcl(PlanetPole(kSaturn, jd).Rect, eps);
  return {RadToDeg(ArcTan2(pole.y, pole.x)) + 90, 90 - RadToDeg(ArcSin(pole.z))};
}

TOrbitalElements SaturnMoonElements(int32_t id, Extended jd, const TObliquity& eps1950) {
  if (id < 156 || id > 167) return {};
  return TSaturnTheory<Extended>::Elements(id, jd, SaturnEquator(jd, eps1950));
}

TOrbitalElementsD SaturnMoonElementsD(int32_t id, Extended jd, const TPlanetEquator& equator) {
  if (id < 156 || id > 167) return {};
  return TSaturnTheory<double>::Elements(id, jd, equator);
}

void SaturnMoonPosition(int32_t id, Extended jd, const TObliquity& eps1950, TVector& v) {
  if (id < 156 || id > 167) {
    v = {};
    return;
  }
  const TVector ecl1950 = KeplerPosition(SaturnMoonElements(id, jd, eps1950), jd);
  v = Equator1950ToEcliptic2000(EclToEqu(ecl1950, eps1950));
}

}  // namespace kestrova
