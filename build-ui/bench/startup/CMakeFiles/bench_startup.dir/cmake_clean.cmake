file(REMOVE_RECURSE
  "../../bin/bench_startup.exe"
  "../../bin/bench_startup.pdb"
  "CMakeFiles/bench_startup.dir/StartupBench.cpp.obj"
  "CMakeFiles/bench_startup.dir/StartupBench.cpp.obj.d"
  "libbench_startup.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bench_startup.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
