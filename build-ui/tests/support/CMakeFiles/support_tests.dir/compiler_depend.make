# Empty compiler generated dependencies file for support_tests.
# This may be replaced when dependencies are built.
