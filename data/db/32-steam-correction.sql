-- Correction polynomial of water vapour (Id 1000), fitted to IAPWS-IF97 densities
-- of the vapour region by tools/steam_fit.py (reference points in
-- tools/steam-reference.csv). Generated: edit the script, not this file.
UPDATE FluidsGas SET
    Poly01 = -0.0246932,
    Poly02 = 0.079481,
    Poly03 = -2.71633,
    Poly04 = -0.0831798,
    Poly05 = 4.83378,
    Poly06 = -0.327441,
    Poly07 = 0.0283078,
    Poly08 = 0.235826,
    Poly09 = -2.10741,
    Poly10 = 0.0359899
WHERE FluidId = 1000;
