# Empty dependencies file for base_tests.
# This may be replaced when dependencies are built.
