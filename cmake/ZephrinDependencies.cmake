# Debian packages the libraries link against, as imported targets (libpq and libcurl for their
# headers only: they are loaded at run time).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(TINYXML REQUIRED IMPORTED_TARGET tinyxml)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
pkg_check_modules(LIBMD REQUIRED IMPORTED_TARGET libmd)
pkg_check_modules(LIBCURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)

# wxWidgets (GTK3) for the windowed libraries and programs, as one interface target.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS core base adv html)
add_library(ZephrinWx INTERFACE)
target_include_directories(ZephrinWx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(ZephrinWx INTERFACE ${wxWidgets_DEFINITIONS})
target_compile_options(ZephrinWx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(ZephrinWx INTERFACE ${wxWidgets_LIBRARIES})
