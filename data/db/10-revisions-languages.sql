-- Version of the database content, printed in reports as Major.Medium.Minor.Build.
-- Add a row (never change an old one) when the content changes.
INSERT INTO Revisions (Major, Medium, Minor, Build, DateOfChange) VALUES
    (1, 0, 0, 1, '2026-12-10 00:00:00');

-- Languages of the item names in Translations; the configuration page lists them by Id.
INSERT INTO Languages (Id, LanguageCode, LanguageName) VALUES
    (1, 'en', 'English'),
    (2, 'de', 'Deutsch');
