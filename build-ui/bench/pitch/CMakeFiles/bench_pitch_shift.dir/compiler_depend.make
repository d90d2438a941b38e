# Empty compiler generated dependencies file for bench_pitch_shift.
# This may be replaced when dependencies are built.
