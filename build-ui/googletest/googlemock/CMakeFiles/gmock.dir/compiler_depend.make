# Empty compiler generated dependencies file for gmock.
# This may be replaced when dependencies are built.
