# Empty compiler generated dependencies file for lk_base.
# This may be replaced when dependencies are built.
