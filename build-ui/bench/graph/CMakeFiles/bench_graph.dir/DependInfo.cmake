
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/bench/graph/GraphBench.cpp" "bench/graph/CMakeFiles/bench_graph.dir/GraphBench.cpp.obj" "gcc" "bench/graph/CMakeFiles/bench_graph.dir/GraphBench.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/media/CMakeFiles/lk_media.dir/DependInfo.cmake"
  "/work/main/build-ui/tests/support/CMakeFiles/lk_test_support.dir/DependInfo.cmake"
  "/work/main/build-ui/media/dshow/CMakeFiles/lk_dshow.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  "/work/main/build-ui/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
