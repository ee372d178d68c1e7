#!/usr/bin/python3
"""Fits the correction polynomial (Poly01..Poly10) of water vapour to IAPWS-IF97.

Superheated steam and the vapour part of humid gas use the plain Redlich-Kwong
law, which is up to 8 % off for steam near saturation at process pressures. The
ten coefficients correct Z as a polynomial in Tr and Pr. They are fitted for the
smallest worst-case density error over what users size (1 to 160 bar, 5 K
superheat to 600 degC), keeping the vapour below 1 bar (humid gas) within
0.3 %; then, among the fits whose worst case lies within 5 % of that smallest
one, the one with the smallest mean error. Both steps are linear programs on
the relative density error, linearised in Z.

    steam_fit.py                   fit from steam-reference.csv, write the SQL
    steam_fit.py --new-reference   recompute the reference points first
                                   (needs Debian's python3-iapws)

Needs python3-numpy and python3-scipy. Output: ../db/32-steam-correction.sql,
whose header states the accuracy reached, and a table of the remaining errors.
The engine's tests hold the shipped coefficients to that accuracy over the
reference points.
"""
import csv
import math
import os
import sys

import numpy as np
from scipy.optimize import linprog

from zephrin_gas import correction_terms, density, reduced, z_plain

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.join(HERE, "steam-reference.csv")
OUTPUT = os.path.join(HERE, "..", "db", "32-steam-correction.sql")

# Water vapour as in FluidsGas (Id 1000).
MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA = 18.015, 1164.8, 3200.1

# The sized range and, below it, the vapour pressures of humid gas.
PRESSURES_BAR = [1, 2, 3, 5, 7, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140,
                 150, 160]
LOW_PRESSURES_BAR = [0.01, 0.02, 0.05, 0.1, 0.2, 0.5]
SUPERHEATS_K = [5.0, 7.5, 10.0, 15.0, 20.0, 30.0]  # near the line, where the law is worst
TEMPERATURES_C = range(0, 601, 10)
LOW_PRESSURE_BOUND = 0.003
# The smallest worst case alone pins the coefficients down: the whole range then sits near
# that error. A few hundredths of a per cent more of it buy a far smaller typical error.
WORST_CASE_SLACK = 1.05
# The stated accuracy: the worst error rounded up to this step (in %).
STATED_STEP = 0.05


def make_reference():
    from iapws import IAPWS97
    from iapws.iapws97 import _TSat_P
    rows = []
    for p in LOW_PRESSURES_BAR + PRESSURES_BAR:
        t_sat = _TSat_P(p / 10.0) - 273.15
        temps = sorted(set([round(t_sat + s, 3) for s in SUPERHEATS_K] +
                           [float(t) for t in TEMPERATURES_C if t >= t_sat + SUPERHEATS_K[0]]))
        for t_c in temps:
            rows.append((p, t_c, t_sat, IAPWS97(P=p / 10.0, T=t_c + 273.15).rho))
    with open(REFERENCE, "w", newline="") as f:
        f.write("# Water vapour densities from IAPWS-IF97 (python3-iapws): %g to %g bar, "
                "saturation + %g K up to %d degC\n"
                % (LOW_PRESSURES_BAR[0], PRESSURES_BAR[-1], SUPERHEATS_K[0], TEMPERATURES_C[-1]))
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["pressure_bar", "temperature_c", "saturation_c", "density_kg_m3"])
        for p, t, t_sat, r in rows:
            w.writerow([repr(p), "%g" % t, "%.3f" % t_sat, "%.7g" % r])


def read_reference():
    with open(REFERENCE) as f:
        lines = [l for l in f if not l.startswith("#")]
    return [(float(r["pressure_bar"]), float(r["temperature_c"]), float(r["saturation_c"]),
             float(r["density_kg_m3"])) for r in csv.DictReader(lines)]


def linearised(points):
    """Rows of the relative density error as linear functions of the coefficients.

    rho = 100 p M / (Z R T), so Z_ref = rho_plain / rho_ref * Z_plain, and
    rho / rho_ref - 1 = Z_ref / Z - 1 ~ (Z_ref - Z_plain - sum c_k x_k) / Z_ref.
    """
    a, b = [], []
    for p, t_c, _, rho_ref in points:
        t_k = t_c + 273.15
        zp = z_plain(t_k, p, CRIT_TEMP_R, CRIT_PRESS_PSIA)
        z_ref = density(t_k, p, MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA) / rho_ref * zp
        tr, pr = reduced(t_k, p, CRIT_TEMP_R, CRIT_PRESS_PSIA)
        a.append([x / z_ref for x in correction_terms(tr, pr)])
        b.append((z_ref - zp) / z_ref)
    return np.array(a), np.array(b)


def smallest_worst_case(a, b, al, bl):
    """The coefficients with the smallest worst error e over the rows a, b, the low-pressure
    rows al, bl held within their bound, as a linear program: |b - a c| <= e."""
    n, m = a.shape[1], len(b)
    one = np.ones((m, 1))
    zl = np.zeros((len(bl), 1))
    res = linprog(np.r_[np.zeros(n), 1.0],
                  A_ub=np.vstack([np.hstack([-a, -one]), np.hstack([a, -one]),
                                  np.hstack([-al, zl]), np.hstack([al, zl])]),
                  b_ub=np.r_[-b, b, LOW_PRESSURE_BOUND - bl, LOW_PRESSURE_BOUND + bl],
                  bounds=[(None, None)] * n + [(0, None)], method="highs")
    if not res.success:
        sys.exit("worst-case fit failed: " + res.message)
    return [float(c) for c in res.x[:n]], res.x[-1]


def fit(sized, low):
    a, b = linearised(sized)
    al, bl = linearised(low)
    n, m = a.shape[1], len(b)
    free = [(None, None)] * n

    # 1: the smallest worst case over the sized range, low points within bound.
    _, worst = smallest_worst_case(a, b, al, bl)

    # 2: within that worst case (and its slack), the smallest sum of errors: |b - a c| <= s.
    eye = np.eye(m)
    zlm = np.zeros((len(bl), m))
    res = linprog(np.r_[np.zeros(n), np.ones(m)],
                  A_ub=np.vstack([np.hstack([-a, -eye]), np.hstack([a, -eye]),
                                  np.hstack([-al, zlm]), np.hstack([al, zlm])]),
                  b_ub=np.r_[-b, b, LOW_PRESSURE_BOUND - bl, LOW_PRESSURE_BOUND + bl],
                  bounds=free + [(0, worst * WORST_CASE_SLACK)] * m, method="highs")
    if not res.success:
        sys.exit("mean-error fit failed: " + res.message)
    return [float(c) for c in res.x[:n]], worst * 100


def best_far_from_line(sized, low):
    """The smallest worst error in % any fit reaches from 10 K superheat up, the points nearer
    the line left free, as the calculator computes it."""
    far = far_from_line(sized)
    a, b = linearised(far)
    al, bl = linearised(low)
    coef, _ = smallest_worst_case(a, b, al, bl)
    return max(map(abs, errors(far, coef)))


def errors(points, coef):
    """Density error in % of each point, as the calculator computes the density."""
    return [(density(t + 273.15, p, MOL_WEIGHT, CRIT_TEMP_R, CRIT_PRESS_PSIA, coef) / r - 1) * 100
            for p, t, _, r in points]


def far_from_line(points):
    """The points 10 K or more above the saturation line."""
    return [pt for pt in points if pt[1] - pt[2] >= 10.0 - 1e-6]


def stated(value):
    return math.ceil(value / STATED_STEP - 1e-9) * STATED_STEP


def report(sized, low, coef):
    print("largest density error in %        plain   fitted")
    bands = [("below 1 bar", low)] + [
        ("%g - %g bar" % (lo, hi), [pt for pt in sized if lo <= pt[0] < hi])
        for lo, hi in [(1.0, 20.0), (20.0, 80.0), (80.0, 161.0)]]
    for name, band in bands:
        print("%-30s %7.3f  %7.3f" % (name, max(map(abs, errors(band, None))),
                                      max(map(abs, errors(band, coef)))))
    far = far_from_line(sized)
    e_far = errors(far, coef)
    print("sized range, 10 K superheat and more: %.3f %% worst, %d of %d points within 0.5 %%"
          % (max(map(abs, e_far)), sum(abs(e) <= 0.5 for e in e_far), len(far)))


def write_sql(sized, low, coef, smallest):
    sized_worst = stated(max(map(abs, errors(sized, coef))))
    low_worst = stated(max(map(abs, errors(low, coef))))
    far = far_from_line(sized)
    e_far = errors(far, coef)
    within = sum(abs(e) <= 0.5 for e in e_far)
    with open(OUTPUT, "w") as f:
        f.write("-- Correction polynomial of water vapour (Id 1000), fitted to IAPWS-IF97 densities\n"
                "-- of the vapour region by tools/steam_fit.py (reference points in\n"
                "-- tools/steam-reference.csv). Generated: edit the script, not this file.\n"
                "--\n"
                "-- Accuracy of the superheated-steam density against IAPWS-IF97: within %.2f %%\n"
                "-- from 1 to 160 bar, 5 K superheat to 600 degC (no fit of the ten terms gets\n"
                "-- below about %.1f %% there), %d of the %d reference points from 10 K superheat\n"
                "-- up within 0.5 %%; within %.2f %% below 1 bar from 5 K superheat up.\n"
                "-- From 10 K superheat up the worst error is %.2f %%: no fit of the ten terms\n"
                "-- gets below about %.1f %% there even with the points nearer the line left\n"
                "-- free, so 0.5 %% is out of reach of this correction.\n"
                % (sized_worst, smallest, within, len(far), low_worst, max(map(abs, e_far)),
                   best_far_from_line(sized, low)))
        cols = ",\n    ".join("Poly%02d = %s" % (i + 1, repr(c)) for i, c in enumerate(coef))
        f.write("UPDATE FluidsGas SET\n    %s\nWHERE FluidId = 1000;\n" % cols)


def main():
    if "--new-reference" in sys.argv[1:] or not os.path.exists(REFERENCE):
        make_reference()
    points = read_reference()
    sized = [pt for pt in points if pt[0] >= 1.0]
    low = [pt for pt in points if pt[0] < 1.0]
    coef, smallest = fit(sized, low)
    report(sized, low, coef)
    write_sql(sized, low, coef, smallest)


if __name__ == "__main__":
    main()
