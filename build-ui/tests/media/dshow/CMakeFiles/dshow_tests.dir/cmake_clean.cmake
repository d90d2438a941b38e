file(REMOVE_RECURSE
  "../../../bin/dshow_tests.exe"
  "../../../bin/dshow_tests.pdb"
  "CMakeFiles/dshow_tests.dir/FilterLayer_test.cpp.obj"
  "CMakeFiles/dshow_tests.dir/FilterLayer_test.cpp.obj.d"
  "CMakeFiles/dshow_tests.dir/TestFilters.cpp.obj"
  "CMakeFiles/dshow_tests.dir/TestFilters.cpp.obj.d"
  "CMakeFiles/dshow_tests.dir/__/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/dshow_tests.dir/__/__/support/gtest_main_wine.cpp.obj.d"
  "libdshow_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/dshow_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
