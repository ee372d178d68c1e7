#pragma once

// The revision and date of the record set library, as the program's start-up lists them with the other
// libraries (cvLogLibraryVersions).
const char* OddmentsGetRevision();
const char* OddmentsGetRevisionDate();
