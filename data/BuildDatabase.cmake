# cmake -DSQLITE3=<sqlite3 shell> -DOUTPUT=<database> -DSOURCES=<a.sql;b.sql;...> -P BuildDatabase.cmake
# Runs the sources in the given order into a fresh database beside OUTPUT and
# renames it into place only when every statement succeeded, so a failed
# build leaves the previous database or none, never a half-built one.
set(temp "${OUTPUT}.tmp")
get_filename_component(dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
file(REMOVE "${temp}")

foreach(source IN LISTS SOURCES)
  # One shell per file, so an error names its file; foreign keys are checked
  # as rows go in. The file is a build product: no need to sync each insert.
  execute_process(
    COMMAND "${SQLITE3}" -bail -batch
            -cmd "PRAGMA foreign_keys = ON"
            -cmd "PRAGMA synchronous = OFF"
            "${temp}" ".read '${source}'"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE "${temp}")
    get_filename_component(name "${source}" NAME)
    message(FATAL_ERROR "Zephrin.db: ${name} failed:\n${output}")
  endif()
endforeach()

file(RENAME "${temp}" "${OUTPUT}")
