// Abridged GUST86 theory of the five main satellites of Uranus: J. Laskar and R. A. Jacobson,
// "GUST86. An analytical ephemeris of the Uranian satellites", Astronomy and Astrophysics 188,
// 212-224 (1987). Mean longitudes and the leading terms of k + i h and q + i p, t in days from
// JD 2444239.5; sidereal periods and mass ratios for Kepler's third law. Typed once; do not
// edit.
// clang-format off
#include "ephemerides/satellite_tables.h"

namespace kestrova {

namespace {

constexpr TSineTerm kMirandaLambda[] = {
    {0.02547217L, 1.32L, -0.000218167L},
    {-0.00308831L, 2.64L, -0.000436336L},
    {-0.0003181L, 3.97L, -0.000654502L},
};
constexpr TSineTerm kArielLambda[] = {
    {-0.0018605L, 1.32L, -0.000218167L},
    {0.00021999L, 2.64L, -0.000436336L},
};
constexpr TSineTerm kUmbrielLambda[] = {
    {0.00066057L, 1.32L, -0.000218167L},
};

constexpr TComplexTerm kMirandaKH[] = {
    {+1, 0.00131238L, 0.61L, 0.00015273L},
    {-1, 0.00012331L, 0.15L, 0.08606L},
    {-1, 0.0001941L, 6.04L, 0.709L},
};
constexpr TComplexTerm kMirandaQP[] = {
    {+1, 0.03787171L, 5.7L, 0.000154449L},
};
constexpr TComplexTerm kArielKH[] = {
    {+1, 0.00118763L, 2.41L, 0.00004727824L},
    {+1, 0.00086159L, 2.07L, 0.00002179316L},
};
constexpr TComplexTerm kArielQP[] = {
    {+1, 0.00035825L, 0.4L, -0.00004782474L},
    {+1, 0.00029008L, 0.59L, -0.00002156628L},
};
constexpr TComplexTerm kUmbrielKH[] = {
    {-1, 0.00022795L, 2.41L, 0.00004727824L},
    {+1, 0.00390469L, 2.07L, 0.00002179132L},
    {+1, 0.00030917L, 0.74L, 0.00001580524L},
    {+1, 0.00022192L, 0.43L, 0.0000029363068L},
    {+1, 0.00054923L, 5.71L, -0.01157L},
};
constexpr TComplexTerm kUmbrielQP[] = {
    {+1, 0.00111336L, 0.59L, -0.00002156628L},
    {+1, 0.00035014L, 1.75L, -0.00001401373L},
};
constexpr TComplexTerm kTitaniaKH[] = {
    {+1, 0.00093281L, 0.74L, 0.00001580524L},
    {+1, 0.00112089L, 0.43L, 0.0000029363068L},
    {+1, 0.00079343L, 1.82L, -0.0069008L},
};
constexpr TComplexTerm kTitaniaQP[] = {
    {+1, 0.00068572L, 1.75L, -0.00001401373L},
    {+1, 0.00037832L, 4.21L, -0.0000019713918L},
};
constexpr TComplexTerm kOberonKH[] = {
    {-1, 0.00075868L, 0.74L, 0.00001580524L},
    {+1, 0.00139734L, 0.43L, 0.0000029363068L},
    {+1, 0.00098726L, 1.82L, -0.0069008L},
};
constexpr TComplexTerm kOberonQP[] = {
    {-1, 0.00059633L, 1.75L, -0.00001401373L},
    {+1, 0.00045169L, 4.21L, -0.0000019713918L},
};

}  // namespace

const TUranusMoonTheory kUranusMoonTheories[5] = {
    {0.23805158L, 4.44519055L, kMirandaLambda, kMirandaKH, kMirandaQP,
     1.41347925L, 7.5e-7L, 4.44352267L},
    {3.09804641L, 2.49295252L, kArielLambda, kArielKH, kArielQP,
     2.52037935L, 1.49e-5L, 2.49254257L},
    {2.28540169L, 1.51614811L, kUmbrielLambda, kUmbrielKH, kUmbrielQP,
     4.1441772L, 1.45e-5L, 1.5159549L},
    {0.85635879L, 0.72171851L, {}, kTitaniaKH, kTitaniaQP,
     8.7058717L, 3.97e-5L, 0.72166316L},
    {-0.9155918L, 0.46669212L, {}, kOberonKH, kOberonQP,
     13.4632389L, 3.45e-5L, 0.46658054L},
};

}  // namespace kestrova
