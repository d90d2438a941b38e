# CMake generated Testfile for 
# Source directory: /work/main/tests/store
# Build directory: /work/main/build-ui/tests/store
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[store_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/store_tests.exe" "--gtest_color=no")
set_tests_properties([=[store_tests]=] PROPERTIES  TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/store/CMakeLists.txt;1;lk_add_test;/work/main/tests/store/CMakeLists.txt;0;")
