# Empty compiler generated dependencies file for Lumikino.
# This may be replaced when dependencies are built.
