# CMake generated Testfile for 
# Source directory: /work/main/tests/base
# Build directory: /work/main/build-ui/tests/base
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[base_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/base_tests.exe" "--gtest_color=no")
set_tests_properties([=[base_tests]=] PROPERTIES  TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/base/CMakeLists.txt;1;lk_add_test;/work/main/tests/base/CMakeLists.txt;0;")
