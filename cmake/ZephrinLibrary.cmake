# zephrin_add_library(NAME name [GLOB pattern...] LIBS ...)
# A static library of every source file in the calling folder (or the given patterns);
# its users include its headers as "<Folder>/<Header>.h".
function(zephrin_add_library)
  cmake_parse_arguments(L "" "NAME" "GLOB;LIBS" ${ARGN})
  if(NOT L_GLOB)
    set(L_GLOB ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${L_GLOB})
  add_library(${L_NAME} STATIC ${sources})
  get_filename_component(parent ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
  target_include_directories(${L_NAME} PUBLIC ${parent})
  target_link_libraries(${L_NAME} PUBLIC ${L_LIBS})
endfunction()
