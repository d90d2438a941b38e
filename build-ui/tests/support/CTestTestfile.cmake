# CMake generated Testfile for 
# Source directory: /work/main/tests/support
# Build directory: /work/main/build-ui/tests/support
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[support_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/support_tests.exe" "--gtest_color=no")
set_tests_properties([=[support_tests]=] PROPERTIES  TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/support/CMakeLists.txt;4;lk_add_test;/work/main/tests/support/CMakeLists.txt;0;")
