// The pieces the three satellite theories share: the axis rotation, the change of an orbit's
// reference plane, the complex-series accumulator and the final step from 1950 to 2000.
#include "ephemerides/satellites.h"

#include <cmath>

#include "ephemerides/precession.h"
#include "ephemerides/satellite_math.h"
#include "numerics/mathematics.h"

namespace kestrova {

void RotateAboutAxis(int axis, TVector& v, Extended angle) {
  v = MatVec(RotMatrix(axis, angle), v);
}

TPlaneElements ChangeElementPlane(Extended n, Extended j, Extended node, Extended gamma,
                                  Extended pericentre, Extended meanLongitude) {
  const TPlaneElementsOf<Extended> p =
      ChangeElementPlaneOf<Extended>(n, j, node, gamma, pericentre, meanLongitude);
  return {p.Node, p.Inclination, p.PericentreLongitude, p.MeanLongitude};
}

void AddComplexTerm(int32_t sign, Extended& re, Extended& im, Extended amplitude, Extended phase) {
  AddComplexTermOf<Extended>(sign, re, im, amplitude, phase);
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
