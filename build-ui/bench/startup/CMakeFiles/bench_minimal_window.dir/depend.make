# Empty dependencies file for bench_minimal_window.
# This may be replaced when dependencies are built.
