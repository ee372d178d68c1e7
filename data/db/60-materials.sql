-- Pipe materials of the pressure-loss utility: absolute roughness Epsilon in
-- feet. Id 11 is the utility's preselected material. Smooth plastic has 0, so
-- the user enters the friction factor.
INSERT INTO Materials (Id, Epsilon, MaterialName) VALUES
    (10, 0.000005, 'Drawn tubing'),
    (11, 0.00015,  'Commercial steel'),
    (12, 0.00005,  'Stainless steel'),
    (13, 0.00085,  'Cast iron'),
    (14, 0.0005,   'Galvanised iron'),
    (15, 0.003,    'Concrete'),
    (16, 0,        'Plastic, smooth');
