# CMake generated Testfile for 
# Source directory: /work/main/tests/app
# Build directory: /work/main/build-ui/tests/app
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[app_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/app_tests.exe" "--gtest_color=no")
set_tests_properties([=[app_tests]=] PROPERTIES  TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/app/CMakeLists.txt;1;lk_add_test;/work/main/tests/app/CMakeLists.txt;0;")
