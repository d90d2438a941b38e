file(REMOVE_RECURSE
  "../../bin/store_tests.exe"
  "../../bin/store_tests.pdb"
  "CMakeFiles/store_tests.dir/AppSettings_test.cpp.obj"
  "CMakeFiles/store_tests.dir/AppSettings_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/AtomicRecordWriter_CL_test.cpp.obj"
  "CMakeFiles/store_tests.dir/AtomicRecordWriter_CL_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/ContentInfo_test.cpp.obj"
  "CMakeFiles/store_tests.dir/ContentInfo_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/ContentRecordNaming_test.cpp.obj"
  "CMakeFiles/store_tests.dir/ContentRecordNaming_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/ContentRecordStore_CL_test.cpp.obj"
  "CMakeFiles/store_tests.dir/ContentRecordStore_CL_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/ContentRecords_CL_test.cpp.obj"
  "CMakeFiles/store_tests.dir/ContentRecords_CL_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/FindIniFile_CL_test.cpp.obj"
  "CMakeFiles/store_tests.dir/FindIniFile_CL_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/Inifile_CL_test.cpp.obj"
  "CMakeFiles/store_tests.dir/Inifile_CL_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/WindowRect_test.cpp.obj"
  "CMakeFiles/store_tests.dir/WindowRect_test.cpp.obj.d"
  "CMakeFiles/store_tests.dir/__/support/gtest_main_wine.cpp.obj"
  "CMakeFiles/store_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  "libstore_tests.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/store_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
