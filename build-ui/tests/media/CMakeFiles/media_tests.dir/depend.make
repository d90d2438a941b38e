# Empty dependencies file for media_tests.
# This may be replaced when dependencies are built.
