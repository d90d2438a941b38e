# CMake generated Testfile for 
# Source directory: /work/main/bench/pitch
# Build directory: /work/main/build-ui/bench/pitch
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
