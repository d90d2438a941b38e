# CMake generated Testfile for 
# Source directory: /work/main/bench/graph
# Build directory: /work/main/build-ui/bench/graph
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
