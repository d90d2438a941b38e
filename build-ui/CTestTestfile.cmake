# CMake generated Testfile for 
# Source directory: /work/main
# Build directory: /work/main/build-ui
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("base")
subdirs("store")
subdirs("app")
subdirs("media/dshow")
subdirs("media")
subdirs("googletest")
subdirs("tests")
subdirs("bench")
subdirs("tools")
