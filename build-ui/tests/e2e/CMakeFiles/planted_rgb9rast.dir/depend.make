# Empty dependencies file for planted_rgb9rast.
# This may be replaced when dependencies are built.
