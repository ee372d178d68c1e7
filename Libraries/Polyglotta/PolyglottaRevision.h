#pragma once

// The revision and date of the translator library, as the program's start-up lists them with the other
// libraries (cvLogLibraryVersions).
const char* PolyglottaGetRevision();
const char* PolyglottaGetRevisionDate();
