-- Order features of the vortex meter line. Feature 1 nominal size, 2 pressure
-- rating, 3 wetted material (printed in the device summary), 4 device version
-- (never a list of its own: a version's name replaces the size's name).
INSERT INTO DeviceFeatures (Id, SortOrder, FeatureName) VALUES
    (1, 1, 'Nominal size'),
    (2, 2, 'Pressure rating'),
    (3, 3, 'Wetted material'),
    (4, 4, 'Version'),
    (5, 5, 'Sensor'),
    (6, 6, 'Output'),
    (7, 7, 'Display');

-- Items; Id = 100 * feature + number. Results list sizes and ratings by
-- SortOrder, so sizes keep it in step with the bore.
INSERT INTO DeviceFeatureItems (Id, FeatureId, SortOrder, ItemName) VALUES
    (101, 1, 10,  'DN 15'),
    (102, 1, 20,  'DN 25'),
    (103, 1, 30,  'DN 40'),
    (104, 1, 40,  'DN 50'),
    (105, 1, 50,  'DN 80'),
    (106, 1, 60,  'DN 100'),
    (107, 1, 70,  'DN 150'),
    (108, 1, 80,  'DN 200'),
    (109, 1, 90,  'DN 250'),
    (110, 1, 100, 'DN 300'),

    (201, 2, 10, 'PN 16'),
    (202, 2, 20, 'PN 40'),
    (203, 2, 30, 'PN 63'),
    (204, 2, 40, 'PN 100'),
    (205, 2, 50, 'Class 150'),
    (206, 2, 60, 'Class 300'),

    (301, 3, 10, 'Stainless steel 1.4404/316L'),
    (302, 3, 20, 'Duplex steel 1.4462'),
    (303, 3, 30, 'Alloy C-22 2.4602'),

    (401, 4, 10, 'DN 50 low-flow version'),
    (402, 4, 20, 'DN 80 low-flow version'),
    (403, 4, 30, 'DN 100 low-flow version'),
    (404, 4, 40, 'DN 25 high-pressure version'),

    (501, 5, 10, 'Standard -40...+260 °C'),
    (502, 5, 20, 'High temperature -200...+400 °C'),

    (601, 6, 10, '4-20 mA HART'),
    (602, 6, 20, '4-20 mA HART + pulse'),
    (603, 6, 30, 'PROFIBUS PA'),
    (604, 6, 40, 'FOUNDATION Fieldbus'),

    (701, 7, 10, 'Without display'),
    (702, 7, 20, 'With display');

-- Sizes not built in a rating (DN 250 and DN 300 stop at PN 40).
INSERT INTO DeviceProhibitedCombinations (Feature_1, Feature_2) VALUES
    (109, 203),
    (109, 204),
    (110, 203),
    (110, 204);
