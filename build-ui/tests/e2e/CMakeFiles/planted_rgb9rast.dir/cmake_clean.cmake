file(REMOVE_RECURSE
  "../../planted/rgb9rast.dll"
  "../../planted/rgb9rast.pdb"
  "CMakeFiles/planted_rgb9rast.dir/PlantedDll.cpp.obj"
  "CMakeFiles/planted_rgb9rast.dir/PlantedDll.cpp.obj.d"
  "librgb9rast.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/planted_rgb9rast.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
