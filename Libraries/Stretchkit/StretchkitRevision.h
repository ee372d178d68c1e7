#pragma once

// The revision and date of the anchored layout library, as the program's start-up lists them with the other
// libraries (cvLogLibraryVersions).
const char* StretchkitGetRevision();
const char* StretchkitGetRevisionDate();
