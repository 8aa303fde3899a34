// Abridged theory of the Galilean satellites after J. H. Lieske, "Theory of motion of Jupiter's
// Galilean satellites", Astronomy and Astrophysics 56, 333-352 (1977): linear mean arguments
// from JD 2443000.5 and the largest periodic terms. Typed once; do not edit.
// clang-format off
#include "ephemerides/satellite_tables.h"

namespace kestrova {

const TLinearArg kGalileanMeanArgs[kGalileanArgCount] = {
    {106.07859L, 203.4889553630644L},      // l1
    {175.733787L, 101.3747245566245L},     // l2
    {120.5613855L, 50.31760915340462L},    // l3
    {84.455823L, 21.57107087517961L},      // l4
    {82.380231L, 0.16102275L},             // pi1
    {128.960393L, 0.04645644L},            // pi2
    {187.550171L, 0.00712408L},            // pi3
    {335.309254L, 0.00183939L},            // pi4
    {308.365749L, -0.1328061L},            // omega1
    {100.438938L, -0.03261535L},           // omega2
    {118.908928L, -0.00717678L},           // omega3
    {322.746564L, -0.00176018L},           // omega4
    {316.500101L, -0.00000248L},           // psi
    {184.415351L, 0.17356902L},            // Phi
    {30.2380210168L, 0.08309256178969453L},  // G
    {31.9785280244L, 0.033459733896L},     // G'
    {13.470395L, 0},                       // Pi
};

namespace {

constexpr TGalileanTerm kIoRadius[] = {
    {-41279, {{kL1, 2}, {kL2, -2}}, 0},
};
constexpr TGalileanTerm kIoLongitude[] = {
    {-5596, {{kPi3, 1}, {kPi4, -1}}, 0},
    {-2198, {{kPi1, 1}, {kPi2, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {1321, {{kPhi, 1}}, 0},
    {-1157, {{kL1, 1}, {kL2, -2}, {kPi4, 1}}, 0},
    {-1940, {{kL1, 1}, {kL2, -2}, {kPi3, 1}}, 0},
    {-791, {{kL1, 1}, {kL2, -2}, {kPi2, 1}}, 0},
    {791, {{kL1, 1}, {kL2, -2}, {kPi2, -1}}, 0},
    {82363, {{kL1, 2}, {kL2, -2}}, 0},
};
constexpr TGalileanTerm kIoLatitude[] = {
    {7038, {{kL1, 1}, {kOm1, -1}}, 0},
    {1835, {{kL1, 1}, {kOm2, -1}}, 0},
};

constexpr TGalileanTerm kEuropaRadius[] = {
    {-3187, {{kL2, 1}, {kPi3, -1}}, 0},
    {-1738, {{kL2, 1}, {kPi4, -1}}, 0},
    {93748, {{kL1, 1}, {kL2, -1}}, 0},
};
constexpr TGalileanTerm kEuropaLongitude[] = {
    {-1158, {{kPsi, 2}, {kPiJ, -2}}, 0},
    {1715, {{kOm3, 1}, {kPsi, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {-1846, {{kGJ, 1}}, 0},
    {2397, {{kPi3, 1}, {kPi4, -1}}, 0},
    {-3172, {{kPhi, 1}}, 0},
    {-1993, {{kL2, 1}, {kL3, -1}}, 0},
    {1844, {{kL2, 1}, {kPi2, -1}}, 0},
    {6394, {{kL2, 1}, {kPi3, -1}}, 0},
    {3451, {{kL2, 1}, {kPi4, -1}}, 0},
    {4159, {{kL1, 1}, {kL2, -2}, {kPi4, 1}}, 0},
    {7571, {{kL1, 1}, {kL2, -2}, {kPi3, 1}}, 0},
    {-1491, {{kL1, 1}, {kL2, -2}, {kPi2, 1}}, 0},
    {-185640, {{kL1, 1}, {kL2, -1}}, 0},
    {-803, {{kL1, 1}, {kL3, -1}}, 0},
    {915, {{kL1, 2}, {kL2, -2}}, 0},
};
constexpr TGalileanTerm kEuropaLatitude[] = {
    {81575, {{kL2, 1}, {kOm2, -1}}, 0},
    {4512, {{kL2, 1}, {kOm3, -1}}, 0},
    {-3286, {{kL2, 1}, {kPsi, -1}}, 0},
};

constexpr TGalileanTerm kGanymedeRadius[] = {
    {-14691, {{kL3, 1}, {kPi3, -1}}, 0},
    {-1758, {{kL3, 2}, {kL4, -2}}, 0},
    {-7894, {{kL3, 1}, {kPi4, -1}}, 0},
    {6333, {{kL2, 1}, {kL3, -1}}, 0},
};
constexpr TGalileanTerm kGanymedeLongitude[] = {
    {-1488, {{kPsi, 2}, {kPiJ, -2}}, 0},
    {411, {{kPsi, 1}, {kOm3, -1}}, 0},
    {346, {{kPsi, 1}, {kOm4, -1}}, 0},
    {-2338, {{kGJ, 1}}, 0},
    {6558, {{kPi3, 1}, {kPi4, -1}}, 0},
    {523, {{kPi1, 1}, {kPi3, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {314, {{kPhi, 1}}, 0},
    {-943, {{kL3, 1}, {kL4, -1}}, 0},
    {29387, {{kL3, 1}, {kPi3, -1}}, 0},
    {15800, {{kL3, 1}, {kPi4, -1}}, 0},
    {3218, {{kL3, 2}, {kL4, -2}}, 0},
    {226, {{kL3, 3}, {kL4, -3}}, 0},
    {-12038, {{kL2, 1}, {kL3, -1}}, 0},
    {-662, {{kL1, 1}, {kL2, -2}, {kPi4, 1}}, 0},
    {-1246, {{kL1, 1}, {kL2, -2}, {kPi3, 1}}, 0},
    {699, {{kL1, 1}, {kL2, -2}, {kPi2, 1}}, 0},
    {217, {{kL1, 1}, {kL3, -1}}, 0},
};
constexpr TGalileanTerm kGanymedeLatitude[] = {
    {-2793, {{kL3, 1}, {kOm2, -1}}, 0},
    {32387, {{kL3, 1}, {kOm3, -1}}, 0},
    {6871, {{kL3, 1}, {kOm4, -1}}, 0},
    {-16876, {{kL3, 1}, {kPsi, -1}}, 0},
    {321, {{kL3, 1}, {kPsi, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
};

constexpr TGalileanTerm kCallistoRadius[] = {
    {1656, {{kL4, 1}, {kPi3, -1}}, 0},
    {-73328, {{kL4, 1}, {kPi4, -1}}, 0},
    {182, {{kL4, 1}, {kPiJ, -1}}, 0},
    {-541, {{kL4, 1}, {kPi4, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {-269, {{kL4, 2}, {kPi4, -2}}, 0},
    {974, {{kL3, 1}, {kL4, -1}}, 0},
};
constexpr TGalileanTerm kCallistoLongitude[] = {
    {-407, {{kPsi, 2}, {kPi4, -2}}, 0},
    {309, {{kPsi, 1}, {kPi4, -2}, {kOm4, 1}}, 0},
    {-4840, {{kPsi, 2}, {kPiJ, -2}}, 0},
    {2074, {{kPsi, 1}, {kOm4, -1}}, 0},
    {-5606, {{kGJ, 1}}, 0},
    {-204, {{kGJ, 2}}, 0},
    {-495, {{kGS, 5}, {kGJ, -2}}, 52.14459669292L},
    {234, {{kPi4, 1}, {kPiJ, -1}}, 0},
    {-6112, {{kPi3, 1}, {kPi4, -1}}, 0},
    {-3318, {{kL4, 1}, {kPi3, -1}}, 0},
    {146673, {{kL4, 1}, {kPi4, -1}}, 0},
    {178, {{kL4, 1}, {kPiJ, -1}, {kGJ, -1}}, 0},
    {-363, {{kL4, 1}, {kPiJ, -1}}, 0},
    {1085, {{kL4, 1}, {kPi4, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {672, {{kL4, 2}, {kPi4, -2}}, 0},
    {218, {{kL4, 2}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {167, {{kL4, 2}, {kPsi, -1}, {kOm4, -1}}, 0},
    {-142, {{kL4, 2}, {kPsi, -2}}, 0},
    {148, {{kL3, 1}, {kL4, -2}, {kPi4, 1}}, 0},
    {-390, {{kL3, 1}, {kL4, -1}}, 0},
    {-195, {{kL3, 2}, {kL4, -2}}, 0},
    {185, {{kL3, 3}, {kL4, -7}, {kPi4, 4}}, 0},
};
constexpr TGalileanTerm kCallistoLatitude[] = {
    {773, {{kL4, 1}, {kPsi, 1}, {kPiJ, -2}, {kGJ, -2}}, 0},
    {-5075, {{kL4, 1}, {kOm3, -1}}, 0},
    {44300, {{kL4, 1}, {kOm4, -1}}, 0},
    {-76493, {{kL4, 1}, {kPsi, -1}}, 0},
};

}  // namespace

const TGalileanTheory kGalileanTheories[4] = {
    {kL1, 0.002819347L, kIoRadius, kIoLongitude, kIoLatitude},
    {kL2, 0.004485872L, kEuropaRadius, kEuropaLongitude, kEuropaLatitude},
    {kL3, 0.007155352L, kGanymedeRadius, kGanymedeLongitude, kGanymedeLatitude},
    {kL4, 0.012585436L, kCallistoRadius, kCallistoLongitude, kCallistoLatitude},
};

}  // namespace kestrova
