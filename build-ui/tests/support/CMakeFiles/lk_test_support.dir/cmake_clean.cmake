file(REMOVE_RECURSE
  "CMakeFiles/lk_test_support.dir/AviWriter_CL.cpp.obj"
  "CMakeFiles/lk_test_support.dir/AviWriter_CL.cpp.obj.d"
  "CMakeFiles/lk_test_support.dir/PlayerProcess_CL.cpp.obj"
  "CMakeFiles/lk_test_support.dir/PlayerProcess_CL.cpp.obj.d"
  "CMakeFiles/lk_test_support.dir/TempFolder_CL.cpp.obj"
  "CMakeFiles/lk_test_support.dir/TempFolder_CL.cpp.obj.d"
  "liblk_test_support.a"
  "liblk_test_support.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_test_support.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
