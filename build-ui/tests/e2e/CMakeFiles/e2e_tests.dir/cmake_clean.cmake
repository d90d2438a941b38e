file(REMOVE_RECURSE
  "../../bin/e2e_tests.exe"
  "../../bin/e2e_tests.pdb"
  "CMakeFiles/e2e_tests.dir/PlayerFixture.cpp.obj"
  "CMakeFiles/e2e_tests.dir/PlayerFixture.cpp.obj.d"
  "CMakeFiles/e2e_tests.dir/Startup_e2e_test.cpp.obj"
  "CMakeFiles/e2e_tests.dir/Startup_e2e_test.cpp.obj.d"
  "CMakeFiles/e2e_tests.dir/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/e2e_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  "libe2e_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/e2e_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
