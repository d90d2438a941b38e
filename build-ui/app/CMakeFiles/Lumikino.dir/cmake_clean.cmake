file(REMOVE_RECURSE
  "../bin/Lumikino.exe"
  "../bin/Lumikino.pdb"
  "CMakeFiles/Lumikino.dir/WinMain.cpp.obj"
  "CMakeFiles/Lumikino.dir/WinMain.cpp.obj.d"
  "CMakeFiles/Lumikino.dir/res/Lumikino.rc.res"
  "libLumikino.dll.a"
  "res/Lumikino.ico"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX RC)
  include(CMakeFiles/Lumikino.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
