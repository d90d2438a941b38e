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

# lk_add_test(NAME name SOURCES ... LIBS ...): one GoogleTest program per test folder,
# registered with ctest and run under Wine through the cross-compiling emulator.
function(lk_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/gtest_main_wine.cpp)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} lk_test_support gtest lk_options)
  target_link_options(${T_NAME} PRIVATE -municode)
  lk_quick_test_build(${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()
