
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/bench/records/RecordLookupBench.cpp" "bench/records/CMakeFiles/bench_record_lookup.dir/RecordLookupBench.cpp.obj" "gcc" "bench/records/CMakeFiles/bench_record_lookup.dir/RecordLookupBench.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/store/CMakeFiles/lk_store.dir/DependInfo.cmake"
  "/work/main/build-ui/tests/support/CMakeFiles/lk_test_support.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  "/work/main/build-ui/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
