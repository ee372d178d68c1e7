-- Units. Factors (and offsets) convert to the base unit of the quantity:
-- K, bar abs., kg/dm3, mPa s, m/s, l/h, kg/h, m, degree. Exact definitions:
-- 1 lb = 0.45359237 kg, 1 ft = 0.3048 m, 1 in = 0.0254 m,
-- 1 US gal = 3.785411784 l, 1 bbl = 42 US gal, g = 9.80665 m/s2.
--
-- The program relies on these ids: 1 degC, 7 bar, 21 kg/m3, 38 m3/h, 41 l/h,
-- 92 m/s, 97 mPa s, 98 m. Lists show units by TypeId, DisplayOrder, Id; where
-- a dialog preselects the first unit of a list it gets DisplayOrder 1.

-- Temperature (TypeId 3)
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (1, '°C', 3, 0, 273.15,            1,                  0, 1),
    (2, 'K',  3, 0, 0,                 1,                  0, 2),
    (3, '°F', 3, 0, 255.3722222222222, 0.5555555555555556, 0, 3),
    (4, '°R', 3, 0, 0,                 0.5555555555555556, 0, 4);

-- Pressure (TypeId 4); gauge values get the atmosphere added by the program.
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (7,  'bar',     4, 0, 0, 1,                   0, 1),
    (8,  'mbar',    4, 0, 0, 0.001,               0, 2),
    (5,  'Pa',      4, 0, 0, 0.00001,             0, 3),
    (6,  'kPa',     4, 0, 0, 0.01,                0, 4),
    (9,  'MPa',     4, 0, 0, 10,                  0, 5),
    (10, 'psi',     4, 0, 0, 0.0689475729316836,  0, 6),
    (11, 'atm',     4, 0, 0, 1.01325,             0, 7),
    (12, 'kgf/cm2', 4, 0, 0, 0.980665,            0, 8),
    (13, 'mmHg',    4, 0, 0, 0.00133322387415,    0, 9),
    (14, 'inH2O',   4, 0, 0, 0.0024908891,        0, 10),
    (15, 'mH2O',    4, 0, 0, 0.0980665,           0, 11);

-- Density (TypeId 5). Systems: 0 metric, 2 metric per litre, 1 US customary.
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (20, 'g/cm3',  5, 0, 0, 1,                  0, 1),
    (21, 'kg/m3',  5, 0, 0, 0.001,              0, 2),
    (22, 'kg/l',   5, 2, 0, 1,                  0, 3),
    (23, 'g/l',    5, 2, 0, 0.001,              0, 4),
    (24, 'lb/ft3', 5, 1, 0, 0.0160184633739601, 0, 5),
    (25, 'lb/gal', 5, 1, 0, 0.119826427316897,  0, 6);

-- Operational volume flow (TypeId 1, system 0; US units too).
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (38, 'm3/h',    1, 0, 0, 1000,               0, 1),
    (41, 'l/h',     1, 0, 0, 1,                  0, 2),
    (37, 'l/min',   1, 0, 0, 60,                 0, 3),
    (36, 'l/s',     1, 0, 0, 3600,               0, 4),
    (39, 'm3/min',  1, 0, 0, 60000,              0, 5),
    (40, 'm3/s',    1, 0, 0, 3600000,            0, 6),
    (42, 'm3/d',    1, 0, 0, 41.6666666666667,   0, 7),
    (43, 'USgpm',   1, 0, 0, 227.12470704,       0, 8),
    (44, 'USgph',   1, 0, 0, 3.785411784,        0, 9),
    (45, 'ft3/h',   1, 0, 0, 28.316846592,       0, 10),
    (46, 'ft3/min', 1, 0, 0, 1699.01079552,      0, 11),
    (47, 'bbl/d',   1, 0, 0, 6.624470622,        0, 12);

-- Norm (standard) volume flow (TypeId 1, system 4), listed after the
-- operational units. Mass flow has no norm form.
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (50, 'Nm3/h',   1, 4, 0, 1000,               0, 21),
    (51, 'Nm3/min', 1, 4, 0, 60000,              0, 22),
    (54, 'Nm3/d',   1, 4, 0, 41.6666666666667,   0, 23),
    (52, 'Nl/h',    1, 4, 0, 1,                  0, 24),
    (53, 'Nl/min',  1, 4, 0, 60,                 0, 25),
    (55, 'SCFH',    1, 4, 0, 28.316846592,       0, 26),
    (56, 'SCFM',    1, 4, 0, 1699.01079552,      0, 27),
    (57, 'MMSCFD',  1, 4, 0, 1179868.608,        0, 28);

-- Mass flow (TypeId 2, system 0)
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (60, 'kg/h',   2, 0, 0, 1,                0, 1),
    (63, 't/h',    2, 0, 0, 1000,             0, 2),
    (61, 'kg/min', 2, 0, 0, 60,               0, 3),
    (62, 'kg/s',   2, 0, 0, 3600,             0, 4),
    (64, 't/d',    2, 0, 0, 41.6666666666667, 0, 5),
    (65, 'lb/h',   2, 0, 0, 0.45359237,       0, 6),
    (66, 'lb/min', 2, 0, 0, 27.2155422,       0, 7),
    (67, 'lb/s',   2, 0, 0, 1632.932532,      0, 8);

-- Velocity (TypeId 7)
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (92, 'm/s',  7, 0, 0, 1,                  0, 1),
    (93, 'ft/s', 7, 0, 0, 0.3048,             0, 2),
    (94, 'km/h', 7, 0, 0, 0.2777777777777778, 0, 3);

-- Dynamic viscosity (TypeId 6)
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (97,  'mPa s', 6, 0, 0, 1,     0, 1),
    (96,  'cP',    6, 0, 0, 1,     0, 2),
    (95,  'Pa s',  6, 0, 0, 1000,  0, 3),
    (99,  'P',     6, 0, 0, 100,   0, 4),
    (104, 'µPa s', 6, 0, 0, 0.001, 0, 5);

-- Length (TypeId 8); the pressure-loss utility starts its diameters in the first unit.
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (100, 'mm', 8, 0, 0, 0.001,  0, 1),
    (98,  'm',  8, 0, 0, 1,      0, 2),
    (101, 'cm', 8, 0, 0, 0.01,   0, 3),
    (102, 'in', 8, 0, 0, 0.0254, 0, 4),
    (103, 'ft', 8, 0, 0, 0.3048, 0, 5);

-- Angle (TypeId 9)
INSERT INTO Units (Id, UnitName, TypeId, UnitSystemId, ConversionOffset, ConversionFactor, ConversionFlags, DisplayOrder) VALUES
    (110, '°',   9, 0, 0, 1,                 0, 1),
    (111, 'rad', 9, 0, 0, 57.29577951308232, 0, 2);
