#pragma once

// The revision and date of the application base library, as the program's start-up lists them with the other
// libraries (cvLogLibraryVersions).
const char* HarbinaxGetRevision();
const char* HarbinaxGetRevisionDate();
