
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/store/AppSettings.cpp" "store/CMakeFiles/lk_store.dir/AppSettings.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/AppSettings.cpp.obj.d"
  "/work/main/store/AtomicRecordWriter_CL.cpp" "store/CMakeFiles/lk_store.dir/AtomicRecordWriter_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/AtomicRecordWriter_CL.cpp.obj.d"
  "/work/main/store/ContentInfo.cpp" "store/CMakeFiles/lk_store.dir/ContentInfo.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/ContentInfo.cpp.obj.d"
  "/work/main/store/ContentRecordNaming.cpp" "store/CMakeFiles/lk_store.dir/ContentRecordNaming.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/ContentRecordNaming.cpp.obj.d"
  "/work/main/store/ContentRecordStore_CL.cpp" "store/CMakeFiles/lk_store.dir/ContentRecordStore_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/ContentRecordStore_CL.cpp.obj.d"
  "/work/main/store/ContentRecords_CL.cpp" "store/CMakeFiles/lk_store.dir/ContentRecords_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/ContentRecords_CL.cpp.obj.d"
  "/work/main/store/FindIniFile_CL.cpp" "store/CMakeFiles/lk_store.dir/FindIniFile_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/FindIniFile_CL.cpp.obj.d"
  "/work/main/store/Inifile_CL.cpp" "store/CMakeFiles/lk_store.dir/Inifile_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/Inifile_CL.cpp.obj.d"
  "/work/main/store/MultiScreen_CL.cpp" "store/CMakeFiles/lk_store.dir/MultiScreen_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/MultiScreen_CL.cpp.obj.d"
  "/work/main/store/RecordBucketIndex_CL.cpp" "store/CMakeFiles/lk_store.dir/RecordBucketIndex_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/RecordBucketIndex_CL.cpp.obj.d"
  "/work/main/store/RecordFailureMessageBox_CL.cpp" "store/CMakeFiles/lk_store.dir/RecordFailureMessageBox_CL.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/RecordFailureMessageBox_CL.cpp.obj.d"
  "/work/main/store/WindowRect.cpp" "store/CMakeFiles/lk_store.dir/WindowRect.cpp.obj" "gcc" "store/CMakeFiles/lk_store.dir/WindowRect.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
