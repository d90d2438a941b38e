file(REMOVE_RECURSE
  "CMakeFiles/lk_app.dir/CommandLine.cpp.obj"
  "CMakeFiles/lk_app.dir/CommandLine.cpp.obj.d"
  "CMakeFiles/lk_app.dir/DataFolderSetup.cpp.obj"
  "CMakeFiles/lk_app.dir/DataFolderSetup.cpp.obj.d"
  "CMakeFiles/lk_app.dir/GraphicsHelpers.cpp.obj"
  "CMakeFiles/lk_app.dir/GraphicsHelpers.cpp.obj.d"
  "CMakeFiles/lk_app.dir/KeySequence_CL.cpp.obj"
  "CMakeFiles/lk_app.dir/KeySequence_CL.cpp.obj.d"
  "CMakeFiles/lk_app.dir/LaunchHandOff.cpp.obj"
  "CMakeFiles/lk_app.dir/LaunchHandOff.cpp.obj.d"
  "CMakeFiles/lk_app.dir/LumikinoHDMainWindow_CL.cpp.obj"
  "CMakeFiles/lk_app.dir/LumikinoHDMainWindow_CL.cpp.obj.d"
  "CMakeFiles/lk_app.dir/MessageLoop_CL.cpp.obj"
  "CMakeFiles/lk_app.dir/MessageLoop_CL.cpp.obj.d"
  "liblk_app.a"
  "liblk_app.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_app.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
