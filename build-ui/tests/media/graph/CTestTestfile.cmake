# CMake generated Testfile for 
# Source directory: /work/main/tests/media/graph
# Build directory: /work/main/build-ui/tests/media/graph
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[graph_tests]=] "/usr/lib/wine/wine64" "/work/main/build-ui/bin/graph_tests.exe" "--gtest_color=no")
set_tests_properties([=[graph_tests]=] PROPERTIES  RUN_SERIAL "TRUE" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/main/cmake/GoogleTest.cmake;24;add_test;/work/main/tests/media/graph/CMakeLists.txt;1;lk_add_test;/work/main/tests/media/graph/CMakeLists.txt;0;")
