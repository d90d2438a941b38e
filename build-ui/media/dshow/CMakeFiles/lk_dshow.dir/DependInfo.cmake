
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/media/dshow/BaseFilter_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/BaseFilter_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/BaseFilter_CL.cpp.obj.d"
  "/work/main/media/dshow/BasePin_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/BasePin_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/BasePin_CL.cpp.obj.d"
  "/work/main/media/dshow/BaseRenderer_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/BaseRenderer_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/BaseRenderer_CL.cpp.obj.d"
  "/work/main/media/dshow/ComObject.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/ComObject.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/ComObject.cpp.obj.d"
  "/work/main/media/dshow/EnumMediaTypes_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/EnumMediaTypes_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/EnumMediaTypes_CL.cpp.obj.d"
  "/work/main/media/dshow/EnumPins_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/EnumPins_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/EnumPins_CL.cpp.obj.d"
  "/work/main/media/dshow/InputPin_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/InputPin_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/InputPin_CL.cpp.obj.d"
  "/work/main/media/dshow/MediaSample_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/MediaSample_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/MediaSample_CL.cpp.obj.d"
  "/work/main/media/dshow/MediaType_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/MediaType_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/MediaType_CL.cpp.obj.d"
  "/work/main/media/dshow/MemAllocator_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/MemAllocator_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/MemAllocator_CL.cpp.obj.d"
  "/work/main/media/dshow/OutputPin_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/OutputPin_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/OutputPin_CL.cpp.obj.d"
  "/work/main/media/dshow/SeekingPassThru_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/SeekingPassThru_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/SeekingPassThru_CL.cpp.obj.d"
  "/work/main/media/dshow/TransformFilter_CL.cpp" "media/dshow/CMakeFiles/lk_dshow.dir/TransformFilter_CL.cpp.obj" "gcc" "media/dshow/CMakeFiles/lk_dshow.dir/TransformFilter_CL.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
