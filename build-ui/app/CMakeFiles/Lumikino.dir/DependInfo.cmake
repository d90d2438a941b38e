
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  "RC"
  )
# The set of files for implicit dependencies of each language:
set(CMAKE_DEPENDS_CHECK_RC
  "/work/main/build-ui/app/res/Lumikino.rc" "/work/main/build-ui/app/CMakeFiles/Lumikino.dir/res/Lumikino.rc.res"
  )

# Preprocessor definitions for this target.
set(CMAKE_TARGET_DEFINITIONS_RC
  "NOMINMAX"
  "UNICODE"
  "WIN32_LEAN_AND_MEAN"
  "WINVER=0x0601"
  "_UNICODE"
  "_WIN32_WINNT=0x0601"
  )

# The include file search paths:
set(CMAKE_RC_TARGET_INCLUDE_PATH
  "/work/main"
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/app/WinMain.cpp" "app/CMakeFiles/Lumikino.dir/WinMain.cpp.obj" "gcc" "app/CMakeFiles/Lumikino.dir/WinMain.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/app/CMakeFiles/lk_app.dir/DependInfo.cmake"
  "/work/main/build-ui/store/CMakeFiles/lk_store.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
