file(REMOVE_RECURSE
  "../../bin/base_tests.exe"
  "../../bin/base_tests.pdb"
  "CMakeFiles/base_tests.dir/DataFolder_CL_test.cpp.obj"
  "CMakeFiles/base_tests.dir/DataFolder_CL_test.cpp.obj.d"
  "CMakeFiles/base_tests.dir/LogFile_CL_test.cpp.obj"
  "CMakeFiles/base_tests.dir/LogFile_CL_test.cpp.obj.d"
  "CMakeFiles/base_tests.dir/TextFormat_test.cpp.obj"
  "CMakeFiles/base_tests.dir/TextFormat_test.cpp.obj.d"
  "CMakeFiles/base_tests.dir/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/base_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  "libbase_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/base_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
