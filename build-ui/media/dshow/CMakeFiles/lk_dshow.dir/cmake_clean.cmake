file(REMOVE_RECURSE
  "CMakeFiles/lk_dshow.dir/BaseFilter_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/BaseFilter_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/BasePin_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/BasePin_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/BaseRenderer_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/BaseRenderer_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/ComObject.cpp.obj"
  "CMakeFiles/lk_dshow.dir/ComObject.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/EnumMediaTypes_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/EnumMediaTypes_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/EnumPins_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/EnumPins_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/InputPin_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/InputPin_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/MediaSample_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/MediaSample_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/MediaType_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/MediaType_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/MemAllocator_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/MemAllocator_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/OutputPin_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/OutputPin_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/SeekingPassThru_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/SeekingPassThru_CL.cpp.obj.d"
  "CMakeFiles/lk_dshow.dir/TransformFilter_CL.cpp.obj"
  "CMakeFiles/lk_dshow.dir/TransformFilter_CL.cpp.obj.d"
  "liblk_dshow.a"
  "liblk_dshow.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_dshow.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
