file(REMOVE_RECURSE
  "../bin/demo_driver.exe"
  "../bin/demo_driver.pdb"
  "CMakeFiles/demo_driver.dir/DemoDriver.cpp.obj"
  "CMakeFiles/demo_driver.dir/DemoDriver.cpp.obj.d"
  "libdemo_driver.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/demo_driver.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
