# Empty compiler generated dependencies file for store_tests.
# This may be replaced when dependencies are built.
