# zephrin_add_gtest(NAME name SOURCES ... LIBS ... [LABELS gui|pg|net|e2e ...] [ENVIRONMENT NAME=value ...]
#                   [EACH_TEST])
# One CTest test per test program; each GUI test program runs on an Xvfb display of its own
# (scripts/with-display.sh), so that they may run in parallel like the others. With EACH_TEST,
# one CTest test <name>.<Suite>.<Test> per GoogleTest test instead, found by asking the program
# itself before the tests run, each on a display of its own. With ZEPHRIN_BUILD_GUI_TESTS off
# (the sanitizer tree, which runs none) a GUI test program is still defined, so its folder may
# add to it, but neither built by default nor run.
include(GoogleTest)

function(zephrin_add_gtest)
  cmake_parse_arguments(T "EACH_TEST" "NAME" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if("gui" IN_LIST T_LABELS AND NOT ZEPHRIN_BUILD_GUI_TESTS)
    set_target_properties(${T_NAME} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  set(env "ZEPHRIN_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data" "ZEPHRIN_PROGRAM_DIR=${ZEPHRIN_PROGRAM_DIR}"
          ${T_ENVIRONMENT})
  if("gui" IN_LIST T_LABELS)
    list(APPEND env "GTK_OVERLAY_SCROLLING=0")
  endif()
  if(NOT T_EACH_TEST)
    set(command ${T_NAME})
    if("gui" IN_LIST T_LABELS)
      set(command ${PROJECT_SOURCE_DIR}/scripts/with-display.sh $<TARGET_FILE:${T_NAME}>)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${command})
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "${env}" TIMEOUT 600)
    return()
  endif()
  # The display wrapper runs each test, as a cross-compiled program's emulator would.
  if("gui" IN_LIST T_LABELS)
    set_target_properties(${T_NAME} PROPERTIES CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/with-display.sh)
  endif()
  # A test passes on its exit status, and only when its output says that it ran: a filter that
  # matched nothing (or more than the one test) fails. A skipped test shows as skipped.
  gtest_discover_tests(${T_NAME} TEST_PREFIX ${T_NAME}. DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       TEST_LIST ${T_NAME}_TESTS
                       PROPERTIES TIMEOUT 600 FAIL_REGULAR_EXPRESSION "\\[  PASSED  \\] ([^1]|1[0-9])")
  # Properties whose values are lists are set on the found tests afterwards: the discovery would
  # take such a list apart.
  set(properties "${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_properties.cmake")
  file(GENERATE OUTPUT ${properties}
       CONTENT "set_tests_properties(\${${T_NAME}_TESTS} PROPERTIES LABELS [==[${T_LABELS}]==] ENVIRONMENT [==[${env}]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties})
endfunction()
