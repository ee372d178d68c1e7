#!/usr/bin/python3
"""Fits the correction polynomial (Poly01..Poly10) of water vapour to IAPWS-IF97.

Superheated steam and the vapour part of humid gas use the plain Redlich-Kwong
law, which is up to 2.5 % off for steam at process pressures. The ten
coefficients correct Z as a polynomial in Tr and Pr; they are fitted by least
squares on the relative density error over the vapour region.

    steam_fit.py                   fit from steam-reference.csv, write the SQL
    steam_fit.py --new-reference   recompute the reference points first
                                   (needs Debian's python3-iapws)

Output: ../db/32-steam-correction.sql and a table of the remaining errors.
"""
import csv
import os
import sys

import numpy as np

from zephrin_gas import correction_terms, density, reduced, z_plain

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.join(HERE, "steam-reference.csv")
OUTPUT = os.path.join(HERE, "..", "db", "32-steam-correction.sql")

# Water vapour as in FluidsGas (Id 1000).
MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA = 18.015, 1164.8, 3200.1

PRESSURES_BAR = [0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 3, 5, 7, 10, 15, 20, 30, 40, 50, 60,
                 70, 80, 90, 100, 120, 140, 160]
TEMPERATURES_C = list(range(0, 551, 10))
SUPERHEAT_K = 5.0


def make_reference():
    from iapws import IAPWS97
    rows = []
    for p in PRESSURES_BAR:
        t_sat = IAPWS97(P=p / 10.0, x=1).T
        for t_c in TEMPERATURES_C:
            t_k = t_c + 273.15
            if t_k < t_sat + SUPERHEAT_K:
                continue
            rows.append((p, t_c, t_sat - 273.15, IAPWS97(P=p / 10.0, T=t_k).rho))
    with open(REFERENCE, "w", newline="") as f:
        f.write("# Water vapour densities from IAPWS-IF97 (python3-iapws), "
                "saturation + %.0f K and above\n" % SUPERHEAT_K)
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["pressure_bar", "temperature_c", "saturation_c", "density_kg_m3"])
        for p, t, t_sat, r in rows:
            w.writerow([repr(p), t, "%.3f" % t_sat, "%.7g" % r])


def read_reference():
    with open(REFERENCE) as f:
        lines = [l for l in f if not l.startswith("#")]
    return [(float(r["pressure_bar"]), float(r["temperature_c"]), float(r["saturation_c"]),
             float(r["density_kg_m3"])) for r in csv.DictReader(lines)]


def fit(points):
    # Z the density needs: rho = 100 p M / (Z R T)  ->  Z_ref = rho_plain / rho_ref * Z_plain.
    # Weighting by 1/Z_ref makes the residual the relative density error.
    a, b = [], []
    for p, t_c, _, rho_ref in points:
        t_k = t_c + 273.15
        z_ref = density(t_k, p, MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA) / rho_ref \
            * z_plain(t_k, p, CRIT_TEMP_R, CRIT_PRESS_PSIA)
        tr, pr = reduced(t_k, p, CRIT_TEMP_R, CRIT_PRESS_PSIA)
        a.append([x / z_ref for x in correction_terms(tr, pr)])
        b.append((z_ref - z_plain(t_k, p, CRIT_TEMP_R, CRIT_PRESS_PSIA)) / z_ref)
    coef, *_ = np.linalg.lstsq(np.array(a), np.array(b), rcond=None)
    # Six significant digits are what the SQL keeps; fit quality is judged on those.
    return [float("%.6g" % c) for c in coef]


def report(points, coef):
    """Largest density error per pressure band, all points and 20 K or more superheat."""
    def worst(sel, poly):
        return max((abs(density(t + 273.15, p, MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA, poly)
                        / r - 1) * 100 for p, t, _, r in sel), default=0.0)
    print("largest density error in %        all points        superheat >= 20 K")
    print("pressure band                   plain   fitted      plain   fitted")
    for lo, hi in [(0.0, 1.0), (1.0, 20.0), (20.0, 80.0), (80.0, 161.0)]:
        band = [pt for pt in points if lo <= pt[0] < hi]
        far = [pt for pt in band if pt[1] - pt[2] >= 20.0]
        print("%6.2f - %6.1f bar           %7.3f  %7.3f    %7.3f  %7.3f"
              % (lo, hi, worst(band, None), worst(band, coef), worst(far, None), worst(far, coef)))


def write_sql(coef):
    with open(OUTPUT, "w") as f:
        f.write("-- Correction polynomial of water vapour (Id 1000), fitted to IAPWS-IF97 densities\n"
                "-- of the vapour region by tools/steam_fit.py (reference points in\n"
                "-- tools/steam-reference.csv). Generated: edit the script, not this file.\n")
        cols = ",\n    ".join("Poly%02d = %s" % (i + 1, "%.6g" % c) for i, c in enumerate(coef))
        f.write("UPDATE FluidsGas SET\n    %s\nWHERE FluidId = 1000;\n" % cols)


def main():
    if "--new-reference" in sys.argv[1:] or not os.path.exists(REFERENCE):
        make_reference()
    points = read_reference()
    coef = fit(points)
    report(points, coef)
    write_sql(coef)


if __name__ == "__main__":
    main()
