
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/bench/pitch/PitchShiftBench.cpp" "bench/pitch/CMakeFiles/bench_pitch_shift.dir/PitchShiftBench.cpp.obj" "gcc" "bench/pitch/CMakeFiles/bench_pitch_shift.dir/PitchShiftBench.cpp.obj.d"
  "/work/main/tests/media/PlainPitchShift_CL.cpp" "bench/pitch/CMakeFiles/bench_pitch_shift.dir/__/__/tests/media/PlainPitchShift_CL.cpp.obj" "gcc" "bench/pitch/CMakeFiles/bench_pitch_shift.dir/__/__/tests/media/PlainPitchShift_CL.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/media/CMakeFiles/lk_media.dir/DependInfo.cmake"
  "/work/main/build-ui/media/dshow/CMakeFiles/lk_dshow.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
