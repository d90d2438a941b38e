file(REMOVE_RECURSE
  "CMakeFiles/lk_media.dir/AudioPitchShift_CL.cpp.obj"
  "CMakeFiles/lk_media.dir/AudioPitchShift_CL.cpp.obj.d"
  "CMakeFiles/lk_media.dir/CMyRenderer.cpp.obj"
  "CMakeFiles/lk_media.dir/CMyRenderer.cpp.obj.d"
  "CMakeFiles/lk_media.dir/ColourConversion.cpp.obj"
  "CMakeFiles/lk_media.dir/ColourConversion.cpp.obj.d"
  "CMakeFiles/lk_media.dir/DShowGraph_CL.cpp.obj"
  "CMakeFiles/lk_media.dir/DShowGraph_CL.cpp.obj.d"
  "CMakeFiles/lk_media.dir/GdiPresenter_CL.cpp.obj"
  "CMakeFiles/lk_media.dir/GdiPresenter_CL.cpp.obj.d"
  "CMakeFiles/lk_media.dir/GuidNames.cpp.obj"
  "CMakeFiles/lk_media.dir/GuidNames.cpp.obj.d"
  "CMakeFiles/lk_media.dir/LumiAudioPitchShiftFilter_CL.cpp.obj"
  "CMakeFiles/lk_media.dir/LumiAudioPitchShiftFilter_CL.cpp.obj.d"
  "CMakeFiles/lk_media.dir/PlayPositionTracker_CL.cpp.obj"
  "CMakeFiles/lk_media.dir/PlayPositionTracker_CL.cpp.obj.d"
  "liblk_media.a"
  "liblk_media.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_media.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
