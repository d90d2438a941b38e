# Empty compiler generated dependencies file for lk_app.
# This may be replaced when dependencies are built.
