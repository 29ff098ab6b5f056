# Small helpers shared by the CMake files of the project.

# upd_glob_sources(<out-var> <folder>...): the .cpp files of the given folders
# (not recursive), picked up again whenever a file is added.
function(upd_glob_sources out)
  set(result)
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${folder}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# upd_add_test_suite(<name> SOURCES <files>... [LIBS <targets>...])
# One test binary per subsystem; under Wine one binary is one process, since a
# Wine start costs seconds.
function(upd_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE upd::core upd::test_support ${ARG_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
      "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all")
  endif()
endfunction()
