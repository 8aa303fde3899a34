// Vectors, spherical positions and 4x4 matrices: the plain value types every position is held in.
#pragma once

#include "numerics/extended.h"

namespace kestrova {

// Rectangular coordinates, in AU unless stated otherwise.
struct TVector {
  Extended x = 0;
  Extended y = 0;
  Extended z = 0;
  friend bool operator==(const TVector&, const TVector&) = default;
};

// Spherical coordinates: longitude (or right ascension) and latitude (or declination) in
// radians, distance in the unit of the vector it came from.
struct TSpherical {
  Extended Lon = 0;
  Extended Lat = 0;
  Extended R = 0;
  friend bool operator==(const TSpherical&, const TSpherical&) = default;
};

// A position in both forms, as the frame and ephemeris operations return it.
struct TRectSph {
  TVector Rect;
  TSpherical Sph;
};

// Rectangular coordinates in double precision, for what is only drawn (orbit rings, the pixels
// of a whole catalogue); everything else is held in TVector.
struct TVectorD {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const TVectorD&, const TVectorD&) = default;
};
inline TVector ToVector(const TVectorD& v) {
  return {v.x, v.y, v.z};
}
inline TVectorD ToVectorD(const TVector& v) {
  return {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
}

// Row by row: M[i][j] is row i, column j. Rotations sit in the upper-left 3x3 block, a
// translation in column 3; row 3 is (0, 0, 0, 1) in every matrix the program builds.
struct TMatrix {
  Extended M[4][4] = {};
};

Extended VecLength(const TVector& v);
TVector VecAdd(const TVector& a, const TVector& b);
TVector VecSub(const TVector& a, const TVector& b);
TVector VecScale(const TVector& v, Extended s);

// Lon = ArcTan2(y, x) in -pi..pi, Lat = pi/2 - ArcCos(z / R). v must not be zero.
TSpherical RectToSph(const TVector& v);
TVector SphToRect(const TSpherical& s);
// Reinterpretations between the two layouts, for callers that keep one in the other.
inline TVector AsVector(const TSpherical& s) {
  return {s.Lon, s.Lat, s.R};
}
inline TSpherical AsSpherical(const TVector& v) {
  return {v.x, v.y, v.z};
}

TMatrix MatZero();
TMatrix MatMul(const TMatrix& a, const TMatrix& b);
// The point v transformed by M (rotation plus translation; row 3 unused).
TVector MatVec(const TMatrix& m, const TVector& v);
// Right-handed rotation of the point about axis 0 (x), 1 (y) or 2 (z); any other axis gives
// a matrix that maps every point to the origin.
TMatrix RotMatrix(int axis, Extended angle);

}  // namespace kestrova
