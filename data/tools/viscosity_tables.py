#!/usr/bin/python3
"""Writes ../db/31-viscosity.sql, the dynamic-viscosity tables of every fluid.

    viscosity_tables.py     (needs Debian's python3-iapws for water and steam)

Water (2000) and water vapour (1000): IAPWS-IF97 states with the IAPWS 2008
viscosity, as python3-iapws gives them.

The other gases: the dilute-gas viscosity interpolated (log-log) in public
table values (below), plus the dense-gas excess of Jossi, Stiel and
Thodos (1962) at the density the program's own gas law gives. Gas data are
read from ../db/30-fluids.sql.

Gas tables cover -50..500 degC and 0.01..200 bar, steam 0..600 degC and
0.01..200 bar, on rectangular grids. A gas point that lies in the liquid
region (below the critical temperature and above the vapour pressure) gets
the value of the saturated vapour at its temperature: the program treats the
fluid as a gas there, and near the saturation line an interpolation between
a vapour and a liquid value would be meaningless.
"""
import math
import os
import sqlite3

from iapws import IAPWS97

from zephrin_gas import density

HERE = os.path.dirname(os.path.abspath(__file__))
DB_DIR = os.path.join(HERE, "..", "db")
OUTPUT = os.path.join(DB_DIR, "31-viscosity.sql")

GAS_TEMPERATURES_C = [-50, -20, 0, 20, 50, 100, 150, 200, 250, 300, 400, 500]
GAS_PRESSURES_BAR = [0.01, 1, 5, 10, 25, 50, 100, 200]
STEAM_TEMPERATURES_C = [0, 20, 50, 80, 100, 120, 150, 180, 200, 250, 300, 350, 400, 450, 500, 550, 600]
STEAM_PRESSURES_BAR = [0.01, 0.05, 0.1, 0.5, 1, 2, 5, 10, 20, 50, 100, 150, 200]
WATER_TEMPERATURES_C = list(range(0, 100, 5)) + list(range(100, 301, 10))

# Dilute-gas viscosity, (degC, micro-Pa s), from public property tables, and
# the acentric factor of gases that can condense within the table range.
DILUTE = {
    1:  ([(-50, 14.62), (0, 17.16), (20, 18.13), (50, 19.53), (100, 21.74), (150, 23.8),
          (200, 25.77), (300, 29.34), (400, 32.58), (500, 35.55)], None),             # air
    2:  ([(-73, 12.9), (0, 16.63), (20, 17.57), (100, 20.87), (200, 24.65), (300, 28.04),
          (327, 29.6)], None),                                                        # nitrogen
    3:  ([(-73, 14.7), (0, 19.19), (20, 20.34), (100, 24.39), (127, 26.1), (200, 28.92),
          (327, 35.1)], None),                                                        # oxygen
    4:  ([(0, 13.7), (20, 14.68), (100, 18.39), (127, 19.7), (200, 22.62), (227, 24.0),
          (300, 26.55), (327, 28.0)], 0.225),                                         # carbon dioxide
    5:  ([(-73, 7.7), (0, 10.26), (20, 10.96), (100, 13.36), (200, 16.13), (327, 19.7)],
         None),                                                                       # methane
    6:  ([(0, 8.6), (27, 9.5), (127, 12.3), (227, 14.9), (327, 17.3)], 0.099),        # ethane
    7:  ([(27, 8.2), (127, 10.9), (227, 13.4), (327, 15.7)], 0.152),                  # propane
    8:  ([(27, 7.4), (127, 9.9), (227, 12.2), (327, 14.3)], 0.200),                   # n-butane
    9:  ([(-73, 6.8), (0, 8.39), (20, 8.8), (100, 10.37), (127, 10.9), (200, 12.15),
          (227, 12.7), (327, 14.4)], None),                                           # hydrogen
    10: ([(-73, 15.9), (0, 21.0), (27, 22.9), (127, 28.8), (227, 34.2), (327, 39.0)],
         None),                                                                       # argon
    12: ([(-73, 12.9), (0, 16.6), (27, 17.8), (127, 22.1), (227, 25.8), (327, 29.1)],
         None),                                                                       # carbon monoxide
    13: ([(0, 9.2), (27, 10.2), (127, 14.1), (227, 17.9), (327, 21.5)], 0.253),       # ammonia
}
DILUTE[11] = DILUTE[1]  # humid air: the table of dry air

NAMES = {}


def load_gases():
    db = sqlite3.connect(":memory:")
    for name in ("01-schema.sql", "30-fluids.sql"):
        with open(os.path.join(DB_DIR, name), encoding="utf-8") as f:
            db.executescript(f.read())
    rows = db.execute("SELECT b.Id, b.FluidName, g.MolWeight, g.CritTemp, g.CritPress, g.CritVolu "
                      "FROM FluidsBase b JOIN FluidsGas g ON g.FluidId = b.Id ORDER BY b.Id")
    gases = {}
    for fid, name, mw, tc_r, pc_psia, vc in rows:
        NAMES[fid] = name
        gases[fid] = (mw, tc_r, pc_psia, vc)
    return gases


def dilute_law(points):
    """mu(T_K) in micro-Pa s: straight lines in ln mu over ln T through the table
    points, continued with the slope of the end segments."""
    pts = sorted((math.log(t + 273.15), math.log(mu)) for t, mu in points)

    def mu(t_k):
        x = math.log(t_k)
        i = 1
        while i < len(pts) - 1 and x > pts[i][0]:
            i += 1
        (x0, y0), (x1, y1) = pts[i - 1], pts[i]
        return math.exp(y0 + (x - x0) * (y1 - y0) / (x1 - x0))
    return mu


def vapour_pressure_bar(t_k, tc_k, pc_bar, omega):
    """Lee-Kesler vapour pressure."""
    tr = t_k / tc_k
    f0 = 5.92714 - 6.09648 / tr - 1.28862 * math.log(tr) + 0.169347 * tr ** 6
    f1 = 15.2518 - 15.6875 / tr - 13.4721 * math.log(tr) + 0.43577 * tr ** 6
    return pc_bar * math.exp(f0 + omega * f1)


def gas_viscosity(fid, gas, dilute, omega, t_c, p_bar):
    """mPa s of a gas at t_c degC and p_bar bar abs."""
    mw, tc_r, pc_psia, vc = gas
    tc_k = tc_r / 1.8
    pc_bar = pc_psia * 0.06894757
    t_k = t_c + 273.15
    if omega is not None and t_k < tc_k:
        p_bar = min(p_bar, vapour_pressure_bar(t_k, tc_k, pc_bar, omega))
    rho = density(t_k, p_bar, mw, tc_r, pc_psia)          # kg/m3
    rho_c = mw / (vc * 62.427961)                          # g/cm3 from ft3/lbmol
    rho_r = rho / 1000.0 / rho_c
    assert 0 < rho_r < 2.5, "fluid %d: reduced density %.3f at %g degC, %g bar" % (fid, rho_r, t_c, p_bar)
    xi = tc_k ** (1 / 6) / (mw ** 0.5 * (pc_bar / 1.01325) ** (2 / 3))
    poly = 0.1023 + 0.023364 * rho_r + 0.058533 * rho_r ** 2 - 0.040758 * rho_r ** 3 \
        + 0.0093324 * rho_r ** 4
    # Measured from the correlation's own dilute limit (0.1023^4, not its 1e-4).
    excess = (poly ** 4 - 0.1023 ** 4) / xi                # mPa s
    return dilute(t_k) / 1000.0 + excess


def steam_viscosity(t_c, p_bar):
    t_k = t_c + 273.15
    if t_k < 647.096:
        sat = IAPWS97(T=t_k, x=1)
        if p_bar * 0.1 >= sat.P:
            return sat.mu * 1000.0
    return IAPWS97(T=t_k, P=p_bar * 0.1).mu * 1000.0


def water_viscosity(t_c):
    t_k = t_c + 273.15
    if t_c < 100:
        return IAPWS97(T=t_k, P=0.101325).mu * 1000.0
    return IAPWS97(T=t_k, x=0).mu * 1000.0


def num(x):
    return "%.10g" % x


def main():
    gases = load_gases()
    out = ["-- Dynamic viscosity tables (InterpolationTypeId 1): ParameterA degC,",
           "-- ParameterB bar abs. (0 for the liquid), InterpolationValue mPa s.",
           "-- Generated by tools/viscosity_tables.py: edit the script, not this file.",
           ""]

    def table(fid, rows, source):
        out.append("-- %d %s: %s" % (fid, NAMES.get(fid, "Water"), source))
        out.append("INSERT INTO FluidInterpolationData "
                   "(FluidId, InterpolationTypeId, ParameterA, ParameterB, InterpolationValue) VALUES")
        out.append(",\n".join("    (%d, 1, %s, %s, %s)" % (fid, num(a), num(b), "%.4g" % v)
                              for a, b, v in rows) + ";")
        out.append("")

    for fid in sorted(DILUTE):
        points, omega = DILUTE[fid]
        dilute = dilute_law(points)
        rows = [(t, p, gas_viscosity(fid, gases[fid], dilute, omega, t, p))
                for t in GAS_TEMPERATURES_C for p in GAS_PRESSURES_BAR]
        table(fid, rows, "dilute gas with the dense-gas excess of Jossi-Stiel-Thodos"
              + ("; saturated vapour above the vapour pressure" if omega is not None else ""))
    table(1000, [(t, p, steam_viscosity(t, p)) for t in STEAM_TEMPERATURES_C for p in STEAM_PRESSURES_BAR],
          "IAPWS-IF97 / IAPWS 2008; saturated vapour above the saturation pressure")
    table(2000, [(t, 0, water_viscosity(t)) for t in WATER_TEMPERATURES_C],
          "IAPWS 2008 at 1.01325 bar, above 100 degC on the saturation line")

    with open(OUTPUT, "w", encoding="utf-8") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
