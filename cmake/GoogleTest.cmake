# GoogleTest from Debian's googletest sources, cross-built with the project.
set(LK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${LK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Third-party code: its warnings are not ours to fix.
foreach(t gtest gtest_main gmock gmock_main)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -w)
  endif()
endforeach()

# Test code is built unoptimised and with its common headers compiled once per program: the
# code under test comes optimised from the program's libraries, and the tests' own build time
# is mostly spent parsing these headers and optimising glue.
function(lk_quick_test_build target)
  target_compile_options(${target} PRIVATE -O0)
  target_precompile_headers(${target} PRIVATE <windows.h> <gtest/gtest.h> <functional> <memory> <string> <vector>)
endfunction()

# lk_add_test(NAME name SOURCES ... LIBS ... [TIMEOUT s] [OWN_WORLDS filter ...]): one GoogleTest
# program per test folder, registered with ctest and run under Wine through the cross-compiling
# emulator, in the Wine world and X display the test script made for the run. Tests there take
# turns (they share one display); RUN_SERIAL keeps a test timed against the clock alone.
# With OWN_WORLDS the program is registered once per GoogleTest filter instead, each part run
# in a Wine world and display of its own, so that the parts run side by side with each other
# and with the rest. The last filter should be a negative one ("*-...") so that no test is left out.
function(lk_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;OWN_WORLDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/gtest_main_wine.cpp)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} lk_test_support gtest lk_options)
  target_link_options(${T_NAME} PRIVATE -municode)
  lk_quick_test_build(${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(T_OWN_WORLDS)
    set(part 0)
    foreach(filter ${T_OWN_WORLDS})
      math(EXPR part "${part} + 1")
      add_test(NAME ${T_NAME}_${part}
        COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/lib/own-wine-world.sh $<TARGET_FILE:${T_NAME}>
          --gtest_color=no --gtest_filter=${filter})
      # Long parts first, so that the short tests fill the time beside them.
      set_tests_properties(${T_NAME}_${part} PROPERTIES TIMEOUT ${T_TIMEOUT} COST 1000)
    endforeach()
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} RESOURCE_LOCK shared_wine_world)
  endif()
endfunction()
