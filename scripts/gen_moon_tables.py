#!/usr/bin/env python3
"""Writes the coefficient tables of the lunar theory (DE404 fit) as a C++ source.

Usage: scripts/gen_moon_tables.py REFERENCE_DIR

REFERENCE_DIR holds moon/ with the six series, the mean arguments, the least-squares corrections
and the explicit terms. The output, src/ephemerides/moon_tables.cpp, is committed; run this only
when a table changes. Every number is carried over as written; the script only checks the
tables' shape and that the corrections quoted twice agree.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_tables import OUT, rows  # noqa: E402

# Order of the mean arguments; the explicit terms multiply them in this order.
ARGUMENTS = ["Ve", "Ea", "Ma", "Ju", "Sa", "L", "D", "lp", "l", "F"]
# kMoonHighestMultiple of moon_tables.h: the multiple-angle tables of the evaluation reach these.
HIGHEST = [26, 29, 8, 3, 5, 1, 6, 4, 5, 4]
HIGHEST_POWER = 10

TARGETS = {
    "lon": "kLon", "lat": "kLat", "lon_T1": "kLonT1", "lon_T2": "kLonT2", "lon_T3": "kLonT3",
    "lat_T1": "kLatT1", "dist_T2": "kDistT2", "dist_T3": "kDistT3",
}
# The accumulators each stage may add to.
GROUP_TARGETS = {
    "A": {"lon", "lon_T1", "lon_T2", "lon_T3", "dist_T2", "dist_T3"},
    "B": {"lat_T1", "lon", "lon_T1"},
    "C": {"lon", "lat"},
}

SERIES = [
    # file, C++ name, element type, value columns, line count
    ("lr.csv", "kMoonLr", "TMoonLine4", ["lon_hi", "lon_lo", "dist_hi", "dist_lo"], 118),
    ("mb.csv", "kMoonMb", "TMoonLine2", ["lat_hi", "lat_lo"], 77),
    ("lrt.csv", "kMoonLrt", "TMoonLine4", ["lon_hi", "lon_lo", "dist_hi", "dist_lo"], 38),
    ("bt.csv", "kMoonBt", "TMoonLine1", ["lat"], 16),
    ("lrt2.csv", "kMoonLrt2", "TMoonLine2", ["lon", "dist"], 25),
    ("bt2.csv", "kMoonBt2", "TMoonLine1", ["lat"], 12),
]


def real(text):
    """An extended-precision literal written with the source's digits."""
    text = text.strip()
    if not any(ch in text for ch in ".eE"):
        text += ".0"
    return text + "L"


def mean_arguments(ref):
    data = rows(os.path.join(ref, "moon", "mean_elements.csv"))
    coefs = {a: {} for a in ARGUMENTS}
    for r in data:
        if r["variant"] == "published":
            continue
        power = int(r["power"])
        assert power not in coefs[r["argument"]], (r["argument"], power)
        coefs[r["argument"]][power] = r["coefficient"]
    out = ["// Mean arguments in seconds of arc: c0 + c1 T (reduced modulo a turn), then",
           "// T^2 (c2 + T (c3 + ...)); Count is the number of coefficients from c2 on. The rates",
           "// of L, D, l and F are the adopted ones.",
           "const TMoonMeanArgument kMoonMeanArguments[kMoonArgumentCount] = {"]
    for a in ARGUMENTS:
        c = coefs[a]
        top = max(c)
        assert sorted(c) == list(range(top + 1)) and top <= HIGHEST_POWER, a
        higher = [real(c[p]) for p in range(2, top + 1)]
        higher = ",\n      ".join(", ".join(higher[i:i + 5]) for i in range(0, len(higher), 5))
        out.append("    // %s" % a)
        out.append("    {%s, %s, %d," % (real(c[0]), real(c[1]), top - 1))
        out.append("     {%s}}," % higher)
    out.append("};\n")
    return out


def series(ref):
    out = []
    for name, cname, ctype, cols, count in SERIES:
        data = rows(os.path.join(ref, "moon", name))
        assert len(data) == count, (name, len(data))
        out.append("// %s: multipliers of D, l', l, F, then %s." % (name, ", ".join(cols)))
        out.append("const %s %s[%d] = {" % (ctype, cname, count))
        for r in data:
            mult = [int(r[k]) for k in ("D", "lp", "l", "F")]
            assert any(mult), (name, r)
            assert all(abs(m) <= top for m, top in zip(mult, HIGHEST[6:])), (name, r)
            vals = [str(int(r[k])) for k in cols]
            out.append("    {{%s}, %s}," % (", ".join(map(str, mult)), ", ".join(vals)))
        out.append("};\n")
    return out


def explicit_terms(ref):
    z = {int(r["index"]): float(r["value"]) for r in rows(os.path.join(ref, "moon", "z.csv"))}
    assert sorted(z) == list(range(25))
    data = rows(os.path.join(ref, "moon", "explicit_terms.csv"))
    assert len(data) == 95
    groups = {"A": [], "B": [], "C": []}
    counts = {"A": 30, "B": 29, "C": 36}  # as declared in moon_tables.h
    for r in data:
        assert r["target"] in GROUP_TARGETS[r["group"]], r
        for col, zcol in (("cos_amp", "z_cos"), ("sin_amp", "z_sin")):
            if r[zcol]:
                assert float(r[col]) == z[int(r[zcol])], r
        groups[r["group"]].append(r)
    out = []
    for g, terms in groups.items():
        assert len(terms) == counts[g], (g, len(terms))
        out.append("// Group %s: target; multipliers of Ve, Ea, Ma, Ju, Sa, L, D, l', l, F; phase" % g)
        out.append("// (arcsec); amplitudes of cos and sin; same argument as the term before.")
        out.append("const TMoonExplicitTerm kMoonExplicit%s[%d] = {" % (g, len(terms)))
        prev = None
        for r in terms:
            mult = [int(r[a]) for a in ARGUMENTS]
            assert all(abs(m) <= top for m, top in zip(mult, HIGHEST)), r
            key = (mult, float(r["phase_arcsec"]))
            same = "true" if key == prev else "false"
            prev = key
            out.append("    {TMoonExplicitTerm::%s, {%s}, %s," % (
                TARGETS[r["target"]], ", ".join(map(str, mult)), real(r["phase_arcsec"])))
            out.append("     %s, %s, %s}," % (real(r["cos_amp"]), real(r["sin_amp"]), same))
        out.append("};\n")
    return out


def moon(ref):
    out = ["// Generated by scripts/gen_moon_tables.py from S. L. Moshier's lunar theory adjusted to",
           "// DE404 (after ELP2000-85 of M. Chapront-Touze and J. Chapront); do not edit.\n"]
    out.append('#include "ephemerides/moon_tables.h"\n\nnamespace kestrova {\n')
    out.append("// clang-format off\n")
    out += mean_arguments(ref)
    out += series(ref)
    out += explicit_terms(ref)
    out.append("// clang-format on\n")
    out.append("}  // namespace kestrova\n")
    path = os.path.join(OUT, "moon_tables.cpp")
    with open(path, "w") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    moon(sys.argv[1])
