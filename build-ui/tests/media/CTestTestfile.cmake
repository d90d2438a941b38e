# CMake generated Testfile for 
# Source directory: /work/main/tests/media
# Build directory: /work/main/build-ui/tests/media
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[media_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/media_tests.exe" "--gtest_color=no")
set_tests_properties([=[media_tests]=] PROPERTIES  TIMEOUT "300" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/media/CMakeLists.txt;1;lk_add_test;/work/main/tests/media/CMakeLists.txt;0;")
