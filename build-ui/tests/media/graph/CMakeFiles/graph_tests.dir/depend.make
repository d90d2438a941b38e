# Empty dependencies file for graph_tests.
# This may be replaced when dependencies are built.
