# Empty compiler generated dependencies file for lk_store.
# This may be replaced when dependencies are built.
