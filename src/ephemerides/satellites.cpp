// The pieces the three satellite theories share: the axis rotation, the change of an orbit's
// reference plane, the complex-series accumulator and the final step from 1950 to 2000.
#include "ephemerides/satellites.h"

#include <cmath>

#include "ephemerides/precession.h"
#include "numerics/mathematics.h"

namespace kestrova {

void RotateAboutAxis(int axis, TVector& v, Extended angle) {
  v = MatVec(RotMatrix(axis, angle), v);
}

TPlaneElements ChangeElementPlane(Extended n, Extended j, Extended node, Extended gamma,
                                  Extended pericentre, Extended meanLongitude) {
  const Extended f = DegToRad(node - n);
  const Extended sf = Sin(f), cf = Cos(f);
  const Extended sj = Sin(DegToRad(j)), cj = Cos(DegToRad(j));
  const Extended sg = Sin(DegToRad(gamma)), cg = Cos(DegToRad(gamma));

  // M: along the reference plane from n to the orbit's node there; U: along the orbit from
  // that node to its node on the equator.
  const Extended y = sf * sg;
  const Extended x = cf * cj * sg + sj * cg;
  const Extended m = ArcTan2(y, x);
  const Extended u = ArcTan2(sf * sj, cf * sj * cg + cj * sg);

  TPlaneElements out;
  if (y == 0) {
    // The two nodes on one line, or the orbit in the equator: the sine rule is 0 / 0 and the
    // inclinations simply add or subtract.
    out.Inclination = cf > 0 ? j + gamma : std::fabs(j - gamma);
  } else {
    // sin F sin gamma / sin M is the length of (x, y). Taken directly it keeps its digits
    // where M nears 180 degrees, there sin M is tiny and carries the rounding of pi.
    out.Inclination = RadToDeg(ArcSin(std::hypot(x, y)));
  }
  out.Node = n + RadToDeg(m);
  // The argument of pericentre and the mean anomaly are the same in both planes.
  out.PericentreLongitude = n + RadToDeg(m) + RadToDeg(u) + (pericentre - node);
  out.MeanLongitude = out.PericentreLongitude + (meanLongitude - pericentre);
  return out;
}

void AddComplexTerm(int32_t sign, Extended& re, Extended& im, Extended amplitude, Extended phase) {
  re += sign * amplitude * Cos(phase);
  im += sign * amplitude * Sin(phase);
}

TVector Equator1950ToEcliptic2000(const TVector& v) {
  // Precession from 1950 to 2000 and the turn onto the ecliptic of 2000 are fixed rotations,
  // composed once from the images of the three axes; every orbit point then costs one product.
  static const TMatrix kTurn = [] {
    TMatrix m = MatZero();
    m.M[3][3] = 1;
    const TVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int c = 0; c < 3; ++c) {
      const TVector w =
          EquToEcl(PrecessBetween(axes[c], JD1950Jan1, JD2000Jan1).Rect, MeanObliquity(JD2000Jan1));
      m.M[0][c] = w.x;
      m.M[1][c] = w.y;
      m.M[2][c] = w.z;
    }
    return m;
  }();
  return MatVec(kTurn, v);
}

}  // namespace kestrova
