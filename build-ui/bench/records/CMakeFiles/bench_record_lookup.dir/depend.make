# Empty dependencies file for bench_record_lookup.
# This may be replaced when dependencies are built.
