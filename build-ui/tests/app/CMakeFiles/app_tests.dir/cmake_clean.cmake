file(REMOVE_RECURSE
  "../../bin/app_tests.exe"
  "../../bin/app_tests.pdb"
  "CMakeFiles/app_tests.dir/CommandLine_test.cpp.obj"
  "CMakeFiles/app_tests.dir/CommandLine_test.cpp.obj.d"
  "CMakeFiles/app_tests.dir/KeySequence_CL_test.cpp.obj"
  "CMakeFiles/app_tests.dir/KeySequence_CL_test.cpp.obj.d"
  "CMakeFiles/app_tests.dir/LaunchHandOff_test.cpp.obj"
  "CMakeFiles/app_tests.dir/LaunchHandOff_test.cpp.obj.d"
  "CMakeFiles/app_tests.dir/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/app_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  "libapp_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/app_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
