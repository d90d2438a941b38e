# Empty dependencies file for lk_dshow.
# This may be replaced when dependencies are built.
