file(REMOVE_RECURSE
  "CMakeFiles/lk_base.dir/DataFolder_CL.cpp.obj"
  "CMakeFiles/lk_base.dir/DataFolder_CL.cpp.obj.d"
  "CMakeFiles/lk_base.dir/LogFile_CL.cpp.obj"
  "CMakeFiles/lk_base.dir/LogFile_CL.cpp.obj.d"
  "CMakeFiles/lk_base.dir/TextFormat.cpp.obj"
  "CMakeFiles/lk_base.dir/TextFormat.cpp.obj.d"
  "liblk_base.a"
  "liblk_base.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_base.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
