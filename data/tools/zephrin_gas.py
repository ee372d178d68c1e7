"""The program's real-gas law, shared by the data generators.

Mirrors the calculator: a Redlich-Kwong compressibility factor found by
Newton steps from Z = 1, plus the optional correction polynomial in Tr and Pr.
Critical data come in the database's units: CritTemp in degrees Rankine,
CritPress in psia, CritVolu in ft3/lbmol.
"""

R = 8.314417          # J/(mol K), the value the calculator uses
PSI_PER_BAR = 1.0 / 0.06894757


def reduced(t_k, p_bar, crit_temp_r, crit_press_psia):
    return t_k * 1.8 / crit_temp_r, p_bar * PSI_PER_BAR / crit_press_psia


def correction_terms(tr, pr):
    """The ten terms multiplied by Poly01..Poly10, in column order."""
    return [1.0, tr, pr, tr * tr, tr * pr, pr * pr, tr ** 3, tr * pr * pr, tr * tr * pr, pr ** 3]


def z_plain(t_k, p_bar, crit_temp_r, crit_press_psia):
    """Newton from Z = 1 until Z settles (relative change 1e-12, at most 50 steps)."""
    tr, pr = reduced(t_k, p_bar, crit_temp_r, crit_press_psia)
    b = 0.0867 * pr / tr
    r = 4.934 / tr ** 1.5
    z = 1.0
    for _ in range(50):
        f = (1 + b - z) - b * r / (z + b) + b * b * r / (z * b + z * z)
        fp = b * r / (z + b) ** 2 - b * b * r * (b + 2 * z) / (z * z + z * b) ** 2 - 1
        step = f / fp
        z -= step
        if abs(step) <= 1e-12 * abs(z):
            return z
    raise ValueError("no gas Z at %g K, %g bar" % (t_k, p_bar))


def z_factor(t_k, p_bar, crit_temp_r, crit_press_psia, poly=None):
    z = z_plain(t_k, p_bar, crit_temp_r, crit_press_psia)
    if poly:
        tr, pr = reduced(t_k, p_bar, crit_temp_r, crit_press_psia)
        z += sum(c * x for c, x in zip(poly, correction_terms(tr, pr)))
    return z


def density(t_k, p_bar, mol_weight, crit_temp_r, crit_press_psia, poly=None):
    """Density in kg/m3 as the calculator computes it."""
    z = z_factor(t_k, p_bar, crit_temp_r, crit_press_psia, poly)
    return p_bar * 100 * mol_weight / (z * t_k * R)
