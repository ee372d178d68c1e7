# Resources and the version record compiled into our executables.
#
# zephrin_add_resources(TARGET <target> ENTRIES <type> <id-or-name> <file> [...])
#   Puts the bytes of each file into the target, found at run time through
#   CResourceRegistry::Find(<type>, <id> or <name>) (Libraries/Platform/ResourceRegistry.h).
#   An id-or-name of decimal digits is a numeric id, anything else a name; relative files are
#   taken from the calling folder. The source is generated at build time and again whenever a
#   file changes. List all resources of a target in one call.
#   Meant for executables: the resources register themselves from a static object, which the
#   linker drops when it sits in a static library that nothing references.
#
# zephrin_add_version_record(TARGET <target> [VERSION a.b.c.d] [PRODUCT_VERSION a.b.c.d]
#                            [COMPANY <text>] [PRODUCT <text>] [DESCRIPTION <text>]
#                            [FILE_FLAGS n] [FILE_OS n] [FILE_TYPE n] [FILE_SUBTYPE n])
#   Compiles the version record into the target: the file version (default: the project
#   version), the product version (default: the file version), the three texts (UTF-8, at most
#   519 bytes each, default empty) and the four 32-bit fields (default 0). Read by
#   Platform::ReadVersionRecord and Platform::GetProgramVersionRecord
#   (Libraries/Platform/VersionInfo.h).

set(ZEPHRIN_RESOURCE_GENERATOR_SOURCE ${CMAKE_CURRENT_LIST_DIR}/ResourceGenerator.cpp)

function(zephrin_add_resources)
  cmake_parse_arguments(R "" "TARGET" "ENTRIES" ${ARGN})
  if(NOT R_TARGET OR NOT R_ENTRIES)
    message(FATAL_ERROR "zephrin_add_resources: TARGET and ENTRIES are required")
  endif()
  get_target_property(done ${R_TARGET} ZEPHRIN_RESOURCES_ADDED)
  if(done)
    message(FATAL_ERROR "zephrin_add_resources: list all resources of ${R_TARGET} in one call")
  endif()
  set_target_properties(${R_TARGET} PROPERTIES ZEPHRIN_RESOURCES_ADDED ON)
  list(LENGTH R_ENTRIES count)
  math(EXPR rest "${count} % 3")
  if(NOT rest EQUAL 0)
    message(FATAL_ERROR "zephrin_add_resources: ENTRIES must be triples of type, id-or-name and file")
  endif()

  if(NOT TARGET ZephrinResourceGenerator)
    add_executable(ZephrinResourceGenerator ${ZEPHRIN_RESOURCE_GENERATOR_SOURCE})
    set_target_properties(ZephrinResourceGenerator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  endif()

  set(arguments)
  set(files)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 3)
    math(EXPR j "${i} + 1")
    math(EXPR k "${i} + 2")
    list(GET R_ENTRIES ${i} type)
    list(GET R_ENTRIES ${j} key)
    list(GET R_ENTRIES ${k} file)
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "zephrin_add_resources: ${type} ${key}: no file ${file}")
    endif()
    list(APPEND arguments ${type} ${key} ${file})
    list(APPEND files ${file})
  endforeach()

  set(output ${CMAKE_CURRENT_BINARY_DIR}/zephrin_generated/${R_TARGET}/Resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/zephrin_generated/${R_TARGET}
    COMMAND ZephrinResourceGenerator ${output} ${arguments}
    DEPENDS ZephrinResourceGenerator ${files}
    COMMENT "Generating resources of ${R_TARGET}"
    VERBATIM)
  # A target of its own, so the generation also works for a target of another folder.
  add_custom_target(${R_TARGET}_resources DEPENDS ${output})
  add_dependencies(${R_TARGET} ${R_TARGET}_resources)
  target_sources(${R_TARGET} PRIVATE ${output})
  # Debug information would hold a second copy of every byte.
  set_source_files_properties(${output} TARGET_DIRECTORY ${R_TARGET} PROPERTIES COMPILE_OPTIONS -g0)
  target_link_libraries(${R_TARGET} PRIVATE Platform)
endfunction()

# The four words of a version a[.b[.c[.d]]] as little-endian bytes ", 0x.., 0x.." into out,
# and bit-inverted into inverted_out.
function(zephrin_version_words version out inverted_out)
  string(REPLACE "." ";" parts "${version}")
  list(LENGTH parts count)
  if(count GREATER 4)
    message(FATAL_ERROR "zephrin_add_version_record: ${version} has more than four numbers")
  endif()
  while(count LESS 4)
    list(APPEND parts 0)
    math(EXPR count "${count} + 1")
  endwhile()
  set(words "")
  set(inverted "")
  foreach(part ${parts})
    if(NOT part MATCHES "^[0-9]+$" OR part GREATER 65535)
      message(FATAL_ERROR "zephrin_add_version_record: ${version} is not four numbers 0..65535")
    endif()
    math(EXPR low "${part} % 256" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR high "${part} / 256" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR low_inverted "255 - ${part} % 256" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR high_inverted "255 - ${part} / 256" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND words ", ${low}, ${high}")
    string(APPEND inverted ", ${low_inverted}, ${high_inverted}")
  endforeach()
  set(${out} "${words}" PARENT_SCOPE)
  set(${inverted_out} "${inverted}" PARENT_SCOPE)
endfunction()

function(zephrin_add_version_record)
  cmake_parse_arguments(V "" "TARGET;VERSION;PRODUCT_VERSION;COMPANY;PRODUCT;DESCRIPTION;FILE_FLAGS;FILE_OS;FILE_TYPE;FILE_SUBTYPE" "" ${ARGN})
  if(NOT V_TARGET)
    message(FATAL_ERROR "zephrin_add_version_record: TARGET is required")
  endif()
  if(NOT V_VERSION)
    set(V_VERSION ${PROJECT_VERSION})
  endif()
  if(NOT V_PRODUCT_VERSION)
    set(V_PRODUCT_VERSION ${V_VERSION})
  endif()

  # Marker (see VersionInfo.cpp), the four words little-endian, then the words bit-inverted.
  set(bytes "0x7F, 'Z', 'E', 'P', 'H', 'R', 'I', 'N', '-', 'F', 'I', 'L', 'E', 'V', 'E', 'R'")
  zephrin_version_words("${V_VERSION}" words inverted)

  # The rest: product version, the four fields, the three texts each ending in a zero byte,
  # after its length and the length bit-inverted.
  zephrin_version_words("${V_PRODUCT_VERSION}" rest unused)
  set(length 24)
  foreach(field FILE_FLAGS FILE_OS FILE_TYPE FILE_SUBTYPE)
    set(value "${V_${field}}")
    if(value STREQUAL "")
      set(value 0)
    endif()
    if(NOT value MATCHES "^[0-9]+$" OR value GREATER 4294967295)
      message(FATAL_ERROR "zephrin_add_version_record: ${field} ${value} is not a number 0..4294967295")
    endif()
    foreach(shift 0 8 16 24)
      math(EXPR byte "(${value} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
      string(APPEND rest ", ${byte}")
    endforeach()
  endforeach()
  foreach(field COMPANY PRODUCT DESCRIPTION)
    string(HEX "${V_${field}}" hex)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    if(size GREATER 519)
      message(FATAL_ERROR "zephrin_add_version_record: ${field} is longer than 519 bytes")
    endif()
    math(EXPR length "${length} + ${size} + 1")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" ", 0x\\1" text_bytes "${hex}")
    string(APPEND rest "${text_bytes}, 0x00")
  endforeach()
  math(EXPR length_low "${length} % 256" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR length_high "${length} / 256" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR inverted_low "255 - ${length} % 256" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR inverted_high "255 - ${length} / 256" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR total "32 + 4 + ${length}")

  set(output ${CMAKE_CURRENT_BINARY_DIR}/zephrin_generated/${V_TARGET}/VersionRecord.cpp)
  file(CONFIGURE OUTPUT ${output} CONTENT
"// Generated by zephrin_add_version_record (${V_VERSION}); do not edit.
extern \"C\" __attribute__((used)) const unsigned char zephrin_version_record[${total}] = {
    ${bytes}${words}${inverted},
    ${length_low}, ${length_high}, ${inverted_low}, ${inverted_high}${rest}};
")
  target_sources(${V_TARGET} PRIVATE ${output})
endfunction()
