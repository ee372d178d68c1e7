-- Correction polynomial of water vapour (Id 1000), fitted to IAPWS-IF97 densities
-- of the vapour region by tools/steam_fit.py (reference points in
-- tools/steam-reference.csv). Generated: edit the script, not this file.
--
-- Accuracy of the superheated-steam density against IAPWS-IF97: within 1.80 %
-- from 1 to 160 bar, 5 K superheat to 600 degC (no fit of the ten terms gets
-- below about 1.7 % there), 601 of the 848 reference points from 10 K superheat
-- up within 0.5 %; within 0.35 % below 1 bar from 5 K superheat up.
-- From 10 K superheat up the worst error is 1.79 %: no fit of the ten terms
-- gets below about 1.2 % there even with the points nearer the line left
-- free, so 0.5 % is out of reach of this correction.
UPDATE FluidsGas SET
    Poly01 = -0.028353192440045957,
    Poly02 = 0.09402994399829107,
    Poly03 = -2.7216319853492865,
    Poly04 = -0.10063832671044363,
    Poly05 = 4.811910779094244,
    Poly06 = -0.4471135754172447,
    Poly07 = 0.03486687484804031,
    Poly08 = 0.3530062392295122,
    Poly09 = -2.0842797053735245,
    Poly10 = 0.027988887330411286
WHERE FluidId = 1000;
