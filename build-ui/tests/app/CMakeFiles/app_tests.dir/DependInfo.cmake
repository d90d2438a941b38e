
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/app/CommandLine_test.cpp" "tests/app/CMakeFiles/app_tests.dir/CommandLine_test.cpp.obj" "gcc" "tests/app/CMakeFiles/app_tests.dir/CommandLine_test.cpp.obj.d"
  "/work/main/tests/app/KeySequence_CL_test.cpp" "tests/app/CMakeFiles/app_tests.dir/KeySequence_CL_test.cpp.obj" "gcc" "tests/app/CMakeFiles/app_tests.dir/KeySequence_CL_test.cpp.obj.d"
  "/work/main/tests/app/LaunchHandOff_test.cpp" "tests/app/CMakeFiles/app_tests.dir/LaunchHandOff_test.cpp.obj" "gcc" "tests/app/CMakeFiles/app_tests.dir/LaunchHandOff_test.cpp.obj.d"
  "/work/main/tests/support/gtest_main_wine.cpp" "tests/app/CMakeFiles/app_tests.dir/__/support/gtest_main_wine.cpp.obj" "gcc" "tests/app/CMakeFiles/app_tests.dir/__/support/gtest_main_wine.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/app/CMakeFiles/lk_app.dir/DependInfo.cmake"
  "/work/main/build-ui/tests/support/CMakeFiles/lk_test_support.dir/DependInfo.cmake"
  "/work/main/build-ui/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  "/work/main/build-ui/store/CMakeFiles/lk_store.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
