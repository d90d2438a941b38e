# Empty dependencies file for lk_test_support.
# This may be replaced when dependencies are built.
