# Empty dependencies file for make_movie.
# This may be replaced when dependencies are built.
