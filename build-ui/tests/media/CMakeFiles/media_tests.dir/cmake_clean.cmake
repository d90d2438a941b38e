file(REMOVE_RECURSE
  "../../bin/media_tests.exe"
  "../../bin/media_tests.pdb"
  "CMakeFiles/media_tests.dir/AudioPitchShift_CL_test.cpp.obj"
  "CMakeFiles/media_tests.dir/AudioPitchShift_CL_test.cpp.obj.d"
  "CMakeFiles/media_tests.dir/ColourConversion_test.cpp.obj"
  "CMakeFiles/media_tests.dir/ColourConversion_test.cpp.obj.d"
  "CMakeFiles/media_tests.dir/PlainPitchShift_CL.cpp.obj"
  "CMakeFiles/media_tests.dir/PlainPitchShift_CL.cpp.obj.d"
  "CMakeFiles/media_tests.dir/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/media_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  "libmedia_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/media_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
