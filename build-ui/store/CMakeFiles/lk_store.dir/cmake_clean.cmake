file(REMOVE_RECURSE
  "CMakeFiles/lk_store.dir/AppSettings.cpp.obj"
  "CMakeFiles/lk_store.dir/AppSettings.cpp.obj.d"
  "CMakeFiles/lk_store.dir/AtomicRecordWriter_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/AtomicRecordWriter_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/ContentInfo.cpp.obj"
  "CMakeFiles/lk_store.dir/ContentInfo.cpp.obj.d"
  "CMakeFiles/lk_store.dir/ContentRecordNaming.cpp.obj"
  "CMakeFiles/lk_store.dir/ContentRecordNaming.cpp.obj.d"
  "CMakeFiles/lk_store.dir/ContentRecordStore_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/ContentRecordStore_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/ContentRecords_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/ContentRecords_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/FindIniFile_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/FindIniFile_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/Inifile_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/Inifile_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/MultiScreen_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/MultiScreen_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/RecordBucketIndex_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/RecordBucketIndex_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/RecordFailureMessageBox_CL.cpp.obj"
  "CMakeFiles/lk_store.dir/RecordFailureMessageBox_CL.cpp.obj.d"
  "CMakeFiles/lk_store.dir/WindowRect.cpp.obj"
  "CMakeFiles/lk_store.dir/WindowRect.cpp.obj.d"
  "liblk_store.a"
  "liblk_store.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/lk_store.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
