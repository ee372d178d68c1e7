-- Velocity-limit formulas, per formula set:
--   liquid: vmin = max(VelocityMinLiquid, FactorV * (998 / rho) ^ FactorP)
--   gas:    vmin = max(VelocityMinGas,    FactorG * (1.29 / rho) ^ FactorS)
--   both:   vmax = min(VelocityMax...,    FactorM * (998 / rho) ^ FactorR)
-- with rho in kg/m3. Set 1 standard sensor; set 2 small sizes, which need
-- stronger vortices; set 3 the sensitive sensor of the low-flow versions.
INSERT INTO FormulaSets (FormulaSetId, SettingName, SettingValue) VALUES
    (1, 'FactorV', 0.35), (1, 'FactorP', 0.5), (1, 'FactorM', 9.0),
    (1, 'FactorR', 0.5),  (1, 'FactorG', 4.0), (1, 'FactorS', 0.5),
    (2, 'FactorV', 0.45), (2, 'FactorP', 0.5), (2, 'FactorM', 9.0),
    (2, 'FactorR', 0.5),  (2, 'FactorG', 6.0), (2, 'FactorS', 0.5),
    (3, 'FactorV', 0.25), (3, 'FactorP', 0.5), (3, 'FactorM', 6.0),
    (3, 'FactorR', 0.5),  (3, 'FactorG', 3.0), (3, 'FactorS', 0.5);

-- Device variants. Feature_2 = 0: every pressure rating of the size;
-- Feature_4 = 0: the standard device. A version shares the bore of its size
-- (coefficients and K-factors are per size) and differs in its limits.
INSERT INTO DeviceDimensions (Id, Feature_1, Feature_2, Feature_4, InnerDiameter,
        VelocityMinGas, VelocityMaxGas, VelocityMinLiquid, VelocityMaxLiquid, FormulaSetId) VALUES
    (1,  101, 0,   0,   17.3,  2.0, 60, 0.2,  7, 2),
    (2,  102, 0,   0,   28.5,  2.0, 75, 0.2,  9, 2),
    (3,  103, 0,   0,   43.1,  2.0, 75, 0.2,  9, 1),
    (4,  104, 0,   0,   54.5,  2.0, 75, 0.2,  9, 1),
    (5,  105, 0,   0,   82.5,  2.0, 75, 0.2,  9, 1),
    (6,  106, 0,   0,   107.1, 2.0, 75, 0.2,  9, 1),
    (7,  107, 0,   0,   159.3, 2.0, 75, 0.2,  9, 1),
    (8,  108, 0,   0,   206.5, 2.0, 75, 0.2,  9, 1),
    (9,  109, 0,   0,   260.4, 2.0, 75, 0.2,  9, 1),
    (10, 110, 0,   0,   309.7, 2.0, 75, 0.2,  9, 1),
    (11, 104, 0,   401, 54.5,  1.5, 45, 0.15, 6, 3),
    (12, 105, 0,   402, 82.5,  1.5, 45, 0.15, 6, 3),
    (13, 106, 0,   403, 107.1, 1.5, 45, 0.15, 6, 3),
    (14, 102, 204, 404, 28.5,  2.0, 50, 0.2,  7, 2);

-- Pressure loss dp = 1.1 * rho * v^2, so C = 1.1 / (3600 * A)^2 with the bore
-- area A in m2.
INSERT INTO DischargeCoefficients (Feature_1, DischargeCoefficient) VALUES
    (101, 1.53611),
    (102, 0.208559),
    (103, 0.0398748),
    (104, 0.0155963),
    (105, 0.00297024),
    (106, 0.0010458),
    (107, 0.000213671),
    (108, 7.56707e-05),
    (109, 2.99257e-05),
    (110, 1.4957e-05);

-- K-factors in pulses per m3 (Strouhal number about 0.26 at a bluff body
-- 0.28 times the bore wide), as calibrated.
INSERT INTO VortexFrequency (Feature_1, V_Factor) VALUES
    (101, 227900),
    (102, 50974),
    (103, 14738),
    (104, 7289.4),
    (105, 2101.5),
    (106, 960.54),
    (107, 291.90),
    (108, 134.01),
    (109, 66.828),
    (110, 39.725);
