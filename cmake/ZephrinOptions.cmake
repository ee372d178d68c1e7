# Compiler settings shared by every target of the build.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

option(ZEPHRIN_BUILD_TESTS "Build the tests" ON)
option(ZEPHRIN_BUILD_BENCH "Build the benchmarks" ON)
option(ZEPHRIN_BUILD_GUI_TESTS "Build the tests that need a display (off where none runs them)" ON)
option(ZEPHRIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  # Without this sloppiness ccache refuses every compile that uses a precompiled header.
  set(launcher env CCACHE_SLOPPINESS=pch_defines,time_macros ${CCACHE_PROGRAM})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()

add_compile_options(-Wall -Wextra -Wformat=2 -Werror=format-security)

if(ZEPHRIN_SANITIZE)
  # Instrumented code compiles about twice as fast at -O1 with line tables only, and the
  # sanitizer reports still name every function, file and line.
  add_compile_options(-O1 -g1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
