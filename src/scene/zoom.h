// The zoom bar's scale: its positions 1..150 and the scene's Dim, exponential so that every
// step zooms by the same factor.
#pragma once

namespace kestrova {

inline constexpr int kZoomPositionMin = 1;
inline constexpr int kZoomPositionMax = 150;

// Dim = 0.003 e^(p/15) for the bar position p.
long double DimOfPosition(int position);
// The position of a Dim: Trunc(15 ln(Dim / 0.003)), clamped to the bar (a Dim that is no
// positive number stands at the bar's start).
int PositionOfDim(long double dim);

}  // namespace kestrova
