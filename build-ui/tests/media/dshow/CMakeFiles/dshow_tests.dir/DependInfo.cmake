
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/media/dshow/FilterLayer_test.cpp" "tests/media/dshow/CMakeFiles/dshow_tests.dir/FilterLayer_test.cpp.obj" "gcc" "tests/media/dshow/CMakeFiles/dshow_tests.dir/FilterLayer_test.cpp.obj.d"
  "/work/main/tests/media/dshow/TestFilters.cpp" "tests/media/dshow/CMakeFiles/dshow_tests.dir/TestFilters.cpp.obj" "gcc" "tests/media/dshow/CMakeFiles/dshow_tests.dir/TestFilters.cpp.obj.d"
  "/work/main/tests/support/gtest_main_wine.cpp" "tests/media/dshow/CMakeFiles/dshow_tests.dir/__/__/support/gtest_main_wine.cpp.obj" "gcc" "tests/media/dshow/CMakeFiles/dshow_tests.dir/__/__/support/gtest_main_wine.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/media/dshow/CMakeFiles/lk_dshow.dir/DependInfo.cmake"
  "/work/main/build-ui/tests/support/CMakeFiles/lk_test_support.dir/DependInfo.cmake"
  "/work/main/build-ui/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
