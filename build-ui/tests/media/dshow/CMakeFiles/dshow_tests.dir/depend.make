# Empty dependencies file for dshow_tests.
# This may be replaced when dependencies are built.
