#pragma once

// The revision and date of the logger library, as the program's start-up lists them with the other
// libraries (cvLogLibraryVersions).
const char* QuilletGetRevision();
const char* QuilletGetRevisionDate();
