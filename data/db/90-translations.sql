-- Names of database items in English (LanguageId 1) and German (2). Every
-- item of FluidsBase, CalculationTypes, DeviceFeatures, DeviceFeatureItems and
-- Materials has both; units keep their symbols in every language.

-- Fluids; 9999 is the custom fluid the user describes by hand.
INSERT INTO Translations (Id, TableName, LanguageId, Translation) VALUES
    (1,    'FluidsBase', 1, 'Air'),             (1,    'FluidsBase', 2, 'Luft'),
    (2,    'FluidsBase', 1, 'Nitrogen'),        (2,    'FluidsBase', 2, 'Stickstoff'),
    (3,    'FluidsBase', 1, 'Oxygen'),          (3,    'FluidsBase', 2, 'Sauerstoff'),
    (4,    'FluidsBase', 1, 'Carbon dioxide'),  (4,    'FluidsBase', 2, 'Kohlendioxid'),
    (5,    'FluidsBase', 1, 'Methane'),         (5,    'FluidsBase', 2, 'Methan'),
    (6,    'FluidsBase', 1, 'Ethane'),          (6,    'FluidsBase', 2, 'Ethan'),
    (7,    'FluidsBase', 1, 'Propane'),         (7,    'FluidsBase', 2, 'Propan'),
    (8,    'FluidsBase', 1, 'n-Butane'),        (8,    'FluidsBase', 2, 'n-Butan'),
    (9,    'FluidsBase', 1, 'Hydrogen'),        (9,    'FluidsBase', 2, 'Wasserstoff'),
    (10,   'FluidsBase', 1, 'Argon'),           (10,   'FluidsBase', 2, 'Argon'),
    (11,   'FluidsBase', 1, 'Humid air'),       (11,   'FluidsBase', 2, 'Feuchte Luft'),
    (12,   'FluidsBase', 1, 'Carbon monoxide'), (12,   'FluidsBase', 2, 'Kohlenmonoxid'),
    (13,   'FluidsBase', 1, 'Ammonia'),         (13,   'FluidsBase', 2, 'Ammoniak'),
    (1000, 'FluidsBase', 1, 'Water vapour'),    (1000, 'FluidsBase', 2, 'Wasserdampf'),
    (2000, 'FluidsBase', 1, 'Water'),           (2000, 'FluidsBase', 2, 'Wasser'),
    (9999, 'FluidsBase', 1, 'Custom fluid'),    (9999, 'FluidsBase', 2, 'Benutzerdefiniertes Medium');

INSERT INTO Translations (Id, TableName, LanguageId, Translation) VALUES
    (1, 'CalculationTypes', 1, 'Liquid'),            (1, 'CalculationTypes', 2, 'Flüssigkeit'),
    (2, 'CalculationTypes', 1, 'Gas'),               (2, 'CalculationTypes', 2, 'Gas'),
    (3, 'CalculationTypes', 1, 'Humid gas'),         (3, 'CalculationTypes', 2, 'Feuchtes Gas'),
    (4, 'CalculationTypes', 1, 'Gas mixture'),       (4, 'CalculationTypes', 2, 'Gasgemisch'),
    (5, 'CalculationTypes', 1, 'Saturated steam'),   (5, 'CalculationTypes', 2, 'Sattdampf'),
    (6, 'CalculationTypes', 1, 'Superheated steam'), (6, 'CalculationTypes', 2, 'Heißdampf');

INSERT INTO Translations (Id, TableName, LanguageId, Translation) VALUES
    (1, 'DeviceFeatures', 1, 'Nominal size'),    (1, 'DeviceFeatures', 2, 'Nennweite'),
    (2, 'DeviceFeatures', 1, 'Pressure rating'), (2, 'DeviceFeatures', 2, 'Druckstufe'),
    (3, 'DeviceFeatures', 1, 'Wetted material'), (3, 'DeviceFeatures', 2, 'Werkstoff medienberührt'),
    (4, 'DeviceFeatures', 1, 'Version'),         (4, 'DeviceFeatures', 2, 'Ausführung'),
    (5, 'DeviceFeatures', 1, 'Sensor'),          (5, 'DeviceFeatures', 2, 'Sensor'),
    (6, 'DeviceFeatures', 1, 'Output'),          (6, 'DeviceFeatures', 2, 'Ausgang'),
    (7, 'DeviceFeatures', 1, 'Display'),         (7, 'DeviceFeatures', 2, 'Anzeige');

INSERT INTO Translations (Id, TableName, LanguageId, Translation) VALUES
    (101, 'DeviceFeatureItems', 1, 'DN 15'),     (101, 'DeviceFeatureItems', 2, 'DN 15'),
    (102, 'DeviceFeatureItems', 1, 'DN 25'),     (102, 'DeviceFeatureItems', 2, 'DN 25'),
    (103, 'DeviceFeatureItems', 1, 'DN 40'),     (103, 'DeviceFeatureItems', 2, 'DN 40'),
    (104, 'DeviceFeatureItems', 1, 'DN 50'),     (104, 'DeviceFeatureItems', 2, 'DN 50'),
    (105, 'DeviceFeatureItems', 1, 'DN 80'),     (105, 'DeviceFeatureItems', 2, 'DN 80'),
    (106, 'DeviceFeatureItems', 1, 'DN 100'),    (106, 'DeviceFeatureItems', 2, 'DN 100'),
    (107, 'DeviceFeatureItems', 1, 'DN 150'),    (107, 'DeviceFeatureItems', 2, 'DN 150'),
    (108, 'DeviceFeatureItems', 1, 'DN 200'),    (108, 'DeviceFeatureItems', 2, 'DN 200'),
    (109, 'DeviceFeatureItems', 1, 'DN 250'),    (109, 'DeviceFeatureItems', 2, 'DN 250'),
    (110, 'DeviceFeatureItems', 1, 'DN 300'),    (110, 'DeviceFeatureItems', 2, 'DN 300'),
    (201, 'DeviceFeatureItems', 1, 'PN 16'),     (201, 'DeviceFeatureItems', 2, 'PN 16'),
    (202, 'DeviceFeatureItems', 1, 'PN 40'),     (202, 'DeviceFeatureItems', 2, 'PN 40'),
    (203, 'DeviceFeatureItems', 1, 'PN 63'),     (203, 'DeviceFeatureItems', 2, 'PN 63'),
    (204, 'DeviceFeatureItems', 1, 'PN 100'),    (204, 'DeviceFeatureItems', 2, 'PN 100'),
    (205, 'DeviceFeatureItems', 1, 'Class 150'), (205, 'DeviceFeatureItems', 2, 'Class 150'),
    (206, 'DeviceFeatureItems', 1, 'Class 300'), (206, 'DeviceFeatureItems', 2, 'Class 300'),
    (301, 'DeviceFeatureItems', 1, 'Stainless steel 1.4404/316L'),
    (301, 'DeviceFeatureItems', 2, 'Edelstahl 1.4404/316L'),
    (302, 'DeviceFeatureItems', 1, 'Duplex steel 1.4462'),
    (302, 'DeviceFeatureItems', 2, 'Duplexstahl 1.4462'),
    (303, 'DeviceFeatureItems', 1, 'Alloy C-22 2.4602'),
    (303, 'DeviceFeatureItems', 2, 'Alloy C-22 2.4602'),
    (401, 'DeviceFeatureItems', 1, 'DN 50 low-flow version'),
    (401, 'DeviceFeatureItems', 2, 'DN 50 Kleinmengenausführung'),
    (402, 'DeviceFeatureItems', 1, 'DN 80 low-flow version'),
    (402, 'DeviceFeatureItems', 2, 'DN 80 Kleinmengenausführung'),
    (403, 'DeviceFeatureItems', 1, 'DN 100 low-flow version'),
    (403, 'DeviceFeatureItems', 2, 'DN 100 Kleinmengenausführung'),
    (404, 'DeviceFeatureItems', 1, 'DN 25 high-pressure version'),
    (404, 'DeviceFeatureItems', 2, 'DN 25 Hochdruckausführung'),
    (501, 'DeviceFeatureItems', 1, 'Standard -40...+260 °C'),
    (501, 'DeviceFeatureItems', 2, 'Standard -40...+260 °C'),
    (502, 'DeviceFeatureItems', 1, 'High temperature -200...+400 °C'),
    (502, 'DeviceFeatureItems', 2, 'Hochtemperatur -200...+400 °C'),
    (601, 'DeviceFeatureItems', 1, '4-20 mA HART'),
    (601, 'DeviceFeatureItems', 2, '4-20 mA HART'),
    (602, 'DeviceFeatureItems', 1, '4-20 mA HART + pulse'),
    (602, 'DeviceFeatureItems', 2, '4-20 mA HART + Impuls'),
    (603, 'DeviceFeatureItems', 1, 'PROFIBUS PA'),
    (603, 'DeviceFeatureItems', 2, 'PROFIBUS PA'),
    (604, 'DeviceFeatureItems', 1, 'FOUNDATION Fieldbus'),
    (604, 'DeviceFeatureItems', 2, 'FOUNDATION Fieldbus'),
    (701, 'DeviceFeatureItems', 1, 'Without display'),
    (701, 'DeviceFeatureItems', 2, 'Ohne Anzeige'),
    (702, 'DeviceFeatureItems', 1, 'With display'),
    (702, 'DeviceFeatureItems', 2, 'Mit Anzeige');

INSERT INTO Translations (Id, TableName, LanguageId, Translation) VALUES
    (10, 'Materials', 1, 'Drawn tubing'),     (10, 'Materials', 2, 'Gezogenes Rohr'),
    (11, 'Materials', 1, 'Commercial steel'), (11, 'Materials', 2, 'Handelsüblicher Stahl'),
    (12, 'Materials', 1, 'Stainless steel'),  (12, 'Materials', 2, 'Edelstahl'),
    (13, 'Materials', 1, 'Cast iron'),        (13, 'Materials', 2, 'Gusseisen'),
    (14, 'Materials', 1, 'Galvanised iron'),  (14, 'Materials', 2, 'Verzinkter Stahl'),
    (15, 'Materials', 1, 'Concrete'),         (15, 'Materials', 2, 'Beton'),
    (16, 'Materials', 1, 'Plastic, smooth'),  (16, 'Materials', 2, 'Kunststoff, glatt');
