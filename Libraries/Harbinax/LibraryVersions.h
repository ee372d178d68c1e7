#pragma once

// Logs one line per framework library with its revision and date, through a logger of the
// given name ("cvVersionInfo" when null or empty), at the given level, without source position.
void cvLogLibraryVersions(const char* loggerName, int level);
