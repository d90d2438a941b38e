# CMake generated Testfile for 
# Source directory: /work/main/tests
# Build directory: /work/main/build-ui/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("support")
subdirs("base")
subdirs("store")
subdirs("app")
subdirs("e2e")
subdirs("media/dshow")
subdirs("media/graph")
subdirs("media")
