file(REMOVE_RECURSE
  "../../bin/bench_minimal_window.exe"
  "../../bin/bench_minimal_window.pdb"
  "CMakeFiles/bench_minimal_window.dir/MinimalWindow.cpp.obj"
  "CMakeFiles/bench_minimal_window.dir/MinimalWindow.cpp.obj.d"
  "libbench_minimal_window.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bench_minimal_window.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
