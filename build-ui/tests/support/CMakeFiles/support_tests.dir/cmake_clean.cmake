file(REMOVE_RECURSE
  "../../bin/support_tests.exe"
  "../../bin/support_tests.pdb"
  "CMakeFiles/support_tests.dir/AviWriter_CL_test.cpp.obj"
  "CMakeFiles/support_tests.dir/AviWriter_CL_test.cpp.obj.d"
  "CMakeFiles/support_tests.dir/gtest_main_wine.cpp.obj"
  "CMakeFiles/support_tests.dir/gtest_main_wine.cpp.obj.d"
  "libsupport_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/support_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
