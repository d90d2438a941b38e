
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/media/AudioPitchShift_CL.cpp" "media/CMakeFiles/lk_media.dir/AudioPitchShift_CL.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/AudioPitchShift_CL.cpp.obj.d"
  "/work/main/media/CMyRenderer.cpp" "media/CMakeFiles/lk_media.dir/CMyRenderer.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/CMyRenderer.cpp.obj.d"
  "/work/main/media/ColourConversion.cpp" "media/CMakeFiles/lk_media.dir/ColourConversion.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/ColourConversion.cpp.obj.d"
  "/work/main/media/DShowGraph_CL.cpp" "media/CMakeFiles/lk_media.dir/DShowGraph_CL.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/DShowGraph_CL.cpp.obj.d"
  "/work/main/media/GdiPresenter_CL.cpp" "media/CMakeFiles/lk_media.dir/GdiPresenter_CL.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/GdiPresenter_CL.cpp.obj.d"
  "/work/main/media/GuidNames.cpp" "media/CMakeFiles/lk_media.dir/GuidNames.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/GuidNames.cpp.obj.d"
  "/work/main/media/LumiAudioPitchShiftFilter_CL.cpp" "media/CMakeFiles/lk_media.dir/LumiAudioPitchShiftFilter_CL.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/LumiAudioPitchShiftFilter_CL.cpp.obj.d"
  "/work/main/media/PlayPositionTracker_CL.cpp" "media/CMakeFiles/lk_media.dir/PlayPositionTracker_CL.cpp.obj" "gcc" "media/CMakeFiles/lk_media.dir/PlayPositionTracker_CL.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/media/dshow/CMakeFiles/lk_dshow.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
