-- Reference states of norm flow. Id 1 is the configuration's default.
-- Units: 1 degC, 3 degF, 7 bar, 10 psi; PressReference 1 = absolute.
INSERT INTO NormFlowConditions (Id, SystemName, TempUnitId, TempValue, PressUnitId, PressReference, PressValue) VALUES
    (1, 'DIN 1343: 0 °C, 1.01325 bar',   1, 0,  7,  1, 1.01325),
    (2, 'ISO 13443: 15 °C, 1.01325 bar', 1, 15, 7,  1, 1.01325),
    (3, '20 °C, 1.01325 bar',            1, 20, 7,  1, 1.01325),
    (4, 'US standard: 60 °F, 14.696 psia', 3, 60, 10, 1, 14.696);
