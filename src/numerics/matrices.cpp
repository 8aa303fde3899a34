#include "numerics/matrices.h"

#include <cmath>

#include "numerics/mathematics.h"

namespace kestrova {

Extended VecLength(const TVector& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

TVector VecAdd(const TVector& a, const TVector& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}

TVector VecSub(const TVector& a, const TVector& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

TVector VecScale(const TVector& v, Extended s) {
  return {s * v.x, s * v.y, s * v.z};
}

TSpherical RectToSph(const TVector& v) {
  TSpherical s;
  s.R = VecLength(v);
  s.Lat = Pi / 2 - ArcCos(v.z / s.R);
  s.Lon = ArcTan2(v.y, v.x);
  return s;
}

TVector SphToRect(const TSpherical& s) {
  const Extended c = std::sin(Pi / 2 - s.Lat);
  const Extended d = std::cos(Pi / 2 - s.Lat);
  return {s.R * c * std::cos(s.Lon), s.R * c * std::sin(s.Lon), s.R * d};
}

TMatrix MatZero() {
  return TMatrix{};
}

TMatrix MatMul(const TMatrix& a, const TMatrix& b) {
  TMatrix c;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      Extended sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.M[i][k] * b.M[k][j];
      c.M[i][j] = sum;
    }
  }
  return c;
}

TVector MatVec(const TMatrix& m, const TVector& v) {
  return {m.M[0][0] * v.x + m.M[0][1] * v.y + m.M[0][2] * v.z + m.M[0][3],
          m.M[1][0] * v.x + m.M[1][1] * v.y + m.M[1][2] * v.z + m.M[1][3],
          m.M[2][0] * v.x + m.M[2][1] * v.y + m.M[2][2] * v.z + m.M[2][3]};
}

TMatrix RotMatrix(int axis, Extended angle) {
  TMatrix m = MatZero();
  m.M[3][3] = 1;
  const Extended c = std::cos(angle);
  const Extended s = std::sin(angle);
  switch (axis) {
    case 0:
      m.M[0][0] = 1;
      m.M[1][1] = c;
      m.M[1][2] = -s;
      m.M[2][1] = s;
      m.M[2][2] = c;
      break;
    case 1:
      m.M[0][0] = c;
      m.M[0][2] = s;
      m.M[1][1] = 1;
      m.M[2][0] = -s;
      m.M[2][2] = c;
      break;
    case 2:
      m.M[0][0] = c;
      m.M[0][1] = -s;
      m.M[1][0] = s;
      m.M[1][1] = c;
      m.M[2][2] = 1;
      break;
    default:
      break;
  }
  return m;
}

}  // namespace kestrova
