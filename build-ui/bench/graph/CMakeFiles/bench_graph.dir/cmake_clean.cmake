file(REMOVE_RECURSE
  "../../bin/bench_graph.exe"
  "../../bin/bench_graph.pdb"
  "CMakeFiles/bench_graph.dir/GraphBench.cpp.obj"
  "CMakeFiles/bench_graph.dir/GraphBench.cpp.obj.d"
  "libbench_graph.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bench_graph.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
