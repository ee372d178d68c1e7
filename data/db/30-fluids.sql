-- Fluid kinds; a fluid's CalculationId picks its density calculation.
INSERT INTO CalculationTypes (Id, CalculationName) VALUES
    (1, 'Liquid'),
    (2, 'Gas'),
    (3, 'Humid gas'),
    (4, 'Gas mixture'),
    (5, 'Saturated steam'),
    (6, 'Superheated steam');

-- Fluids. Fixed ids: 1 air (reference gas of humid-gas densities),
-- 1000 water vapour (superheated steam and the vapour of humid gas; a gas
-- kept out of the gas lists), 2000 water (the only liquid whose density is
-- computed, so the only database liquid). 9999 is the user's custom fluid and
-- has no row here, only its names in Translations. Gas mixtures and steam take
-- no fluid of their own kind from this table.
INSERT INTO FluidsBase (Id, StateId, FluidName, FluidFormula, CalculationId, HideInGui) VALUES
    (1,    2, 'Air',             '',       2, 0),
    (2,    2, 'Nitrogen',        'N2',     2, 0),
    (3,    2, 'Oxygen',          'O2',     2, 0),
    (4,    2, 'Carbon dioxide',  'CO2',    2, 0),
    (5,    2, 'Methane',         'CH4',    2, 0),
    (6,    2, 'Ethane',          'C2H6',   2, 0),
    (7,    2, 'Propane',         'C3H8',   2, 0),
    (8,    2, 'n-Butane',        'C4H10',  2, 0),
    (9,    2, 'Hydrogen',        'H2',     2, 0),
    (10,   2, 'Argon',           'Ar',     2, 0),
    (11,   2, 'Humid air',       '',       3, 0),
    (12,   2, 'Carbon monoxide', 'CO',     2, 0),
    (13,   2, 'Ammonia',         'NH3',    2, 0),
    (1000, 2, 'Water vapour',    'H2O',    2, -1),
    (2000, 1, 'Water',           'H2O',    1, 0);

-- Gas data: molar mass g/mol, critical temperature degR, critical pressure
-- psia, critical volume ft3/lbmol, critical compressibility
-- (Pc = Zc * 10.7315 * Tc / Vc). Humid air carries the data of dry air.
INSERT INTO FluidsGas (FluidId, MolWeight, CritTemp, CritPress, CritVolu, CritZ) VALUES
    (1,    28.96,  238.5,  546.8,  1.414, 0.302),
    (2,    28.014, 227.2,  492.8,  1.434, 0.290),
    (3,    31.999, 278.2,  731.4,  1.176, 0.288),
    (4,    44.01,  547.4,  1069.9, 1.506, 0.274),
    (5,    16.043, 343.0,  667.0,  1.579, 0.286),
    (6,    30.07,  549.6,  706.6,  2.331, 0.279),
    (7,    44.097, 665.7,  616.1,  3.204, 0.276),
    (8,    58.12,  765.2,  550.6,  4.085, 0.274),
    (9,    2.016,  59.7,   190.4,  1.030, 0.306),
    (10,   39.948, 271.2,  705.3,  1.195, 0.290),
    (11,   28.96,  238.5,  546.8,  1.414, 0.302),
    (12,   28.01,  239.2,  507.5,  1.491, 0.295),
    (13,   17.031, 729.7,  1643.7, 1.161, 0.244),
    (1000, 18.015, 1164.8, 3200.1, 0.895, 0.229);
