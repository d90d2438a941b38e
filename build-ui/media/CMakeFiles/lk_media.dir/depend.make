# Empty dependencies file for lk_media.
# This may be replaced when dependencies are built.
