-- Tables of the units, fluid and device database (Zephrin.db).
--
-- Column names and declared types are what the program reads: the record set
-- reports each column's type from its declaration (INTEGER -> I4,
-- DOUBLE -> R8, VARCHAR -> STR, BIT -> BOOL, DATETIME -> timestamp), so keep
-- them when adding columns. Keys and checks only guard the content; the
-- program opens the file read-only.
--
-- The files of this folder run in name order through the sqlite3 shell with
-- foreign keys on; the first error stops the build.

CREATE TABLE Revisions (
    Major        INTEGER NOT NULL,
    Medium       INTEGER NOT NULL,
    Minor        INTEGER NOT NULL,
    Build        INTEGER NOT NULL,
    DateOfChange DATETIME NOT NULL,        -- 'YYYY-MM-DD HH:MM:SS'
    PRIMARY KEY (Major, Medium, Minor, Build)
);

CREATE TABLE Languages (
    Id           INTEGER PRIMARY KEY,
    LanguageCode VARCHAR(255) NOT NULL UNIQUE,
    LanguageName VARCHAR(255) NOT NULL
);

-- Names of database items in each language. Id is the item's id in the table
-- named by TableName (FluidsBase 9999, the custom fluid, has no row there).
CREATE TABLE Translations (
    Id          INTEGER NOT NULL,
    TableName   VARCHAR(255) NOT NULL,
    LanguageId  INTEGER NOT NULL REFERENCES Languages (Id),
    Translation VARCHAR(255) NOT NULL,
    PRIMARY KEY (Id, TableName, LanguageId)
);

-- Units. Base value = value * ConversionFactor + ConversionOffset, in the base
-- unit of the quantity: 1 volume flow (l/h), 2 mass flow (kg/h),
-- 3 temperature (K), 4 pressure (bar abs.), 5 density (kg/dm3),
-- 6 dynamic viscosity (mPa s), 7 velocity (m/s), 8 length (m), 9 angle (degree).
-- UnitSystemId: 0 metric and every operational flow unit, 1 US customary
-- density, 2 other metric density, 4 norm (standard) flow.
CREATE TABLE Units (
    Id               INTEGER PRIMARY KEY CHECK (Id > 0 AND Id < 1073741824),
    UnitName         VARCHAR(255) NOT NULL CHECK (length(UnitName) BETWEEN 1 AND 15),
    TypeId           INTEGER NOT NULL CHECK (TypeId BETWEEN 1 AND 9),
    UnitSystemId     INTEGER NOT NULL,
    ConversionOffset DOUBLE NOT NULL DEFAULT 0,
    ConversionFactor DOUBLE NOT NULL CHECK (ConversionFactor <> 0),
    ConversionFlags  INTEGER NOT NULL DEFAULT 0,
    DisplayOrder     INTEGER NOT NULL,
    UNIQUE (TypeId, UnitSystemId, UnitName)
);

-- The six fluid kinds; Id is a fluid's CalculationId.
CREATE TABLE CalculationTypes (
    Id              INTEGER PRIMARY KEY,
    CalculationName VARCHAR(255) NOT NULL
);

-- StateId 1 liquid, 2 gas. HideInGui keeps a fluid out of the fluid lists;
-- it holds -1 for true, as a Jet Yes/No column does.
CREATE TABLE FluidsBase (
    Id            INTEGER PRIMARY KEY CHECK (Id > 0 AND Id <> 9999),
    StateId       INTEGER NOT NULL CHECK (StateId IN (1, 2)),
    FluidName     VARCHAR(255) NOT NULL,
    FluidFormula  VARCHAR(255) NOT NULL,
    CalculationId INTEGER NOT NULL REFERENCES CalculationTypes (Id),
    HideInGui     BIT NOT NULL DEFAULT 0 CHECK (HideInGui IN (0, -1))
);

-- Gas data: MolWeight g/mol, CritTemp degrees Rankine, CritPress psia,
-- CritVolu ft3/lbmol, CritZ. Poly01..Poly10 correct the compressibility
-- factor (all 0: the plain Redlich-Kwong law).
CREATE TABLE FluidsGas (
    FluidId   INTEGER PRIMARY KEY REFERENCES FluidsBase (Id),
    MolWeight DOUBLE NOT NULL,
    CritTemp  DOUBLE NOT NULL,
    CritPress DOUBLE NOT NULL,
    CritVolu  DOUBLE NOT NULL,
    CritZ     DOUBLE NOT NULL,
    Poly01    DOUBLE NOT NULL DEFAULT 0,
    Poly02    DOUBLE NOT NULL DEFAULT 0,
    Poly03    DOUBLE NOT NULL DEFAULT 0,
    Poly04    DOUBLE NOT NULL DEFAULT 0,
    Poly05    DOUBLE NOT NULL DEFAULT 0,
    Poly06    DOUBLE NOT NULL DEFAULT 0,
    Poly07    DOUBLE NOT NULL DEFAULT 0,
    Poly08    DOUBLE NOT NULL DEFAULT 0,
    Poly09    DOUBLE NOT NULL DEFAULT 0,
    Poly10    DOUBLE NOT NULL DEFAULT 0
);

-- Property tables over two parameters. InterpolationTypeId 1: dynamic
-- viscosity in mPa s over ParameterA = temperature in degrees Celsius and
-- ParameterB = pressure in bar abs. (0 for liquids, whose tables have one row
-- per temperature). Look-ups match parameters as the stored doubles.
CREATE TABLE FluidInterpolationData (
    FluidId             INTEGER NOT NULL REFERENCES FluidsBase (Id),
    InterpolationTypeId INTEGER NOT NULL,
    ParameterA          DOUBLE NOT NULL,
    ParameterB          DOUBLE NOT NULL,
    InterpolationValue  DOUBLE NOT NULL,
    PRIMARY KEY (FluidId, InterpolationTypeId, ParameterA, ParameterB)
);

-- Reference states of norm flow units. PressReference 1 absolute, 2 gauge.
CREATE TABLE NormFlowConditions (
    Id             INTEGER PRIMARY KEY,
    SystemName     VARCHAR(255) NOT NULL,
    TempUnitId     INTEGER NOT NULL REFERENCES Units (Id),
    TempValue      DOUBLE NOT NULL,
    PressUnitId    INTEGER NOT NULL REFERENCES Units (Id),
    PressReference INTEGER NOT NULL CHECK (PressReference IN (1, 2)),
    PressValue     DOUBLE NOT NULL
);

-- Order features of the meter line. Feature 1 is the nominal size, 2 the
-- pressure rating, 4 the device version (section); the device page shows a
-- list with control id 1000 + Id for every other feature.
CREATE TABLE DeviceFeatures (
    Id          INTEGER PRIMARY KEY CHECK (Id BETWEEN 1 AND 4999),
    SortOrder   INTEGER NOT NULL,
    FeatureName VARCHAR(255) NOT NULL
);

-- Item ids are unique over all features.
CREATE TABLE DeviceFeatureItems (
    Id        INTEGER PRIMARY KEY,
    FeatureId INTEGER NOT NULL REFERENCES DeviceFeatures (Id),
    SortOrder INTEGER NOT NULL,
    ItemName  VARCHAR(255) NOT NULL
);

-- Size / pressure-rating pairs that are not built; 0 matches every item.
CREATE TABLE DeviceProhibitedCombinations (
    Feature_1 INTEGER NOT NULL,
    Feature_2 INTEGER NOT NULL,
    PRIMARY KEY (Feature_1, Feature_2),
    CHECK (Feature_1 <> 0 OR Feature_2 <> 0)
);

-- One row per device variant: size item, pressure-rating item (0: every
-- rating), version item (0: the standard device). InnerDiameter in mm,
-- velocity limits in m/s.
CREATE TABLE DeviceDimensions (
    Id                INTEGER PRIMARY KEY,
    Feature_1         INTEGER NOT NULL REFERENCES DeviceFeatureItems (Id),
    Feature_2         INTEGER NOT NULL,
    Feature_4         INTEGER NOT NULL,
    InnerDiameter     DOUBLE NOT NULL CHECK (InnerDiameter > 0),
    VelocityMinGas    DOUBLE NOT NULL,
    VelocityMaxGas    DOUBLE NOT NULL,
    VelocityMinLiquid DOUBLE NOT NULL,
    VelocityMaxLiquid DOUBLE NOT NULL,
    FormulaSetId      INTEGER NOT NULL,
    UNIQUE (Feature_1, Feature_2, Feature_4)
);

-- Pressure loss dp [bar] = DischargeCoefficient * rho [kg/m3] * Q^2 [m3/h] / 1e5.
CREATE TABLE DischargeCoefficients (
    Feature_1            INTEGER PRIMARY KEY REFERENCES DeviceFeatureItems (Id),
    DischargeCoefficient DOUBLE NOT NULL CHECK (DischargeCoefficient > 0)
);

-- K-factor: vortex frequency [Hz] = V_Factor [pulses/m3] * Q [m3/h] / 3600.
CREATE TABLE VortexFrequency (
    Feature_1 INTEGER PRIMARY KEY REFERENCES DeviceFeatureItems (Id),
    V_Factor  DOUBLE NOT NULL CHECK (V_Factor > 0)
);

-- Factors of the velocity-limit formulas; a missing or zero setting makes
-- every device of the set fail, so each set has all six.
CREATE TABLE FormulaSets (
    FormulaSetId INTEGER NOT NULL,
    SettingName  VARCHAR(255) NOT NULL
                 CHECK (SettingName IN ('FactorV', 'FactorP', 'FactorM', 'FactorR', 'FactorG', 'FactorS')),
    SettingValue DOUBLE NOT NULL CHECK (SettingValue <> 0),
    PRIMARY KEY (FormulaSetId, SettingName)
);

-- Pipe materials of the pressure-loss utility; Epsilon is the absolute
-- roughness in feet (0: the user enters the friction factor).
CREATE TABLE Materials (
    Id           INTEGER PRIMARY KEY,
    Epsilon      DOUBLE NOT NULL CHECK (Epsilon >= 0),
    MaterialName VARCHAR(255) NOT NULL
);
