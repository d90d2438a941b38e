file(REMOVE_RECURSE
  "../../bin/bench_record_lookup.exe"
  "../../bin/bench_record_lookup.pdb"
  "CMakeFiles/bench_record_lookup.dir/RecordLookupBench.cpp.obj"
  "CMakeFiles/bench_record_lookup.dir/RecordLookupBench.cpp.obj.d"
  "libbench_record_lookup.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bench_record_lookup.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
