# ostrel_add_test(NAME SOURCES a.cpp ... LIBS lib ... [XVFB] [TIMEOUT s])
#
# One Qt Test executable per behaviour area. Each run gets a fresh temporary
# HOME and XDG folders (see run-test.sh) so tests never see the user's files
# or each other's. XVFB tests run on a virtual X display instead of the
# offscreen platform.
set(OSTREL_TEST_RUNNER ${CMAKE_CURRENT_LIST_DIR}/run-test.sh)

function(ostrel_add_test name)
  cmake_parse_arguments(T "XVFB" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ostrel_settings Qt5::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_XVFB)
    set(mode xvfb)
    set(labels "xvfb")
  else()
    set(mode offscreen)
    set(labels "offscreen")
  endif()
  add_test(NAME ${name} COMMAND ${OSTREL_TEST_RUNNER} ${mode} $<TARGET_FILE:${name}>)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${labels}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "OSTREL_BUILD_BIN=${OSTREL_BIN_DIR};OSTREL_SOURCE_DIR=${CMAKE_SOURCE_DIR};OSTREL_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
