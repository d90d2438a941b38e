file(REMOVE_RECURSE
  "../../bin/bench_pitch_shift.exe"
  "../../bin/bench_pitch_shift.pdb"
  "CMakeFiles/bench_pitch_shift.dir/PitchShiftBench.cpp.obj"
  "CMakeFiles/bench_pitch_shift.dir/PitchShiftBench.cpp.obj.d"
  "CMakeFiles/bench_pitch_shift.dir/__/__/tests/media/PlainPitchShift_CL.cpp.obj"
  "CMakeFiles/bench_pitch_shift.dir/__/__/tests/media/PlainPitchShift_CL.cpp.obj.d"
  "libbench_pitch_shift.dll.a"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/bench_pitch_shift.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
