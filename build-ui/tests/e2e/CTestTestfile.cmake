# CMake generated Testfile for 
# Source directory: /work/main/tests/e2e
# Build directory: /work/main/build-ui/tests/e2e
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[e2e_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/e2e_tests.exe" "--gtest_color=no")
set_tests_properties([=[e2e_tests]=] PROPERTIES  RUN_SERIAL "TRUE" TIMEOUT "600" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/e2e/CMakeLists.txt;1;lk_add_test;/work/main/tests/e2e/CMakeLists.txt;0;")
