file(REMOVE_RECURSE
  "../../../bin/graph_tests.exe"
  "../../../bin/graph_tests.pdb"
  "CMakeFiles/graph_tests.dir/FilterGraph_test.cpp.obj"
  "CMakeFiles/graph_tests.dir/FilterGraph_test.cpp.obj.d"
  "CMakeFiles/graph_tests.dir/GraphFixture.cpp.obj"
  "CMakeFiles/graph_tests.dir/GraphFixture.cpp.obj.d"
  "CMakeFiles/graph_tests.dir/PitchFilterBuffers_test.cpp.obj"
  "CMakeFiles/graph_tests.dir/PitchFilterBuffers_test.cpp.obj.d"
  "CMakeFiles/graph_tests.dir/PitchGraph_test.cpp.obj"
  "CMakeFiles/graph_tests.dir/PitchGraph_test.cpp.obj.d"
  "CMakeFiles/graph_tests.dir/RendererSamples_test.cpp.obj"
  "CMakeFiles/graph_tests.dir/RendererSamples_test.cpp.obj.d"
  "CMakeFiles/graph_tests.dir/__/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/graph_tests.dir/__/__/support/gtest_main_wine.cpp.obj.d"
  "libgraph_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/graph_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
