
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/store/AppSettings_test.cpp" "tests/store/CMakeFiles/store_tests.dir/AppSettings_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/AppSettings_test.cpp.obj.d"
  "/work/main/tests/store/AtomicRecordWriter_CL_test.cpp" "tests/store/CMakeFiles/store_tests.dir/AtomicRecordWriter_CL_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/AtomicRecordWriter_CL_test.cpp.obj.d"
  "/work/main/tests/store/ContentInfo_test.cpp" "tests/store/CMakeFiles/store_tests.dir/ContentInfo_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/ContentInfo_test.cpp.obj.d"
  "/work/main/tests/store/ContentRecordNaming_test.cpp" "tests/store/CMakeFiles/store_tests.dir/ContentRecordNaming_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/ContentRecordNaming_test.cpp.obj.d"
  "/work/main/tests/store/ContentRecordStore_CL_test.cpp" "tests/store/CMakeFiles/store_tests.dir/ContentRecordStore_CL_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/ContentRecordStore_CL_test.cpp.obj.d"
  "/work/main/tests/store/ContentRecords_CL_test.cpp" "tests/store/CMakeFiles/store_tests.dir/ContentRecords_CL_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/ContentRecords_CL_test.cpp.obj.d"
  "/work/main/tests/store/FindIniFile_CL_test.cpp" "tests/store/CMakeFiles/store_tests.dir/FindIniFile_CL_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/FindIniFile_CL_test.cpp.obj.d"
  "/work/main/tests/store/Inifile_CL_test.cpp" "tests/store/CMakeFiles/store_tests.dir/Inifile_CL_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/Inifile_CL_test.cpp.obj.d"
  "/work/main/tests/store/WindowRect_test.cpp" "tests/store/CMakeFiles/store_tests.dir/WindowRect_test.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/WindowRect_test.cpp.obj.d"
  "/work/main/tests/support/gtest_main_wine.cpp" "tests/store/CMakeFiles/store_tests.dir/__/support/gtest_main_wine.cpp.obj" "gcc" "tests/store/CMakeFiles/store_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/store/CMakeFiles/lk_store.dir/DependInfo.cmake"
  "/work/main/build-ui/tests/support/CMakeFiles/lk_test_support.dir/DependInfo.cmake"
  "/work/main/build-ui/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
