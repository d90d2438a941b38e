
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/app/CommandLine.cpp" "app/CMakeFiles/lk_app.dir/CommandLine.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/CommandLine.cpp.obj.d"
  "/work/main/app/DataFolderSetup.cpp" "app/CMakeFiles/lk_app.dir/DataFolderSetup.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/DataFolderSetup.cpp.obj.d"
  "/work/main/app/GraphicsHelpers.cpp" "app/CMakeFiles/lk_app.dir/GraphicsHelpers.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/GraphicsHelpers.cpp.obj.d"
  "/work/main/app/KeySequence_CL.cpp" "app/CMakeFiles/lk_app.dir/KeySequence_CL.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/KeySequence_CL.cpp.obj.d"
  "/work/main/app/LaunchHandOff.cpp" "app/CMakeFiles/lk_app.dir/LaunchHandOff.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/LaunchHandOff.cpp.obj.d"
  "/work/main/app/LumikinoHDMainWindow_CL.cpp" "app/CMakeFiles/lk_app.dir/LumikinoHDMainWindow_CL.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/LumikinoHDMainWindow_CL.cpp.obj.d"
  "/work/main/app/MessageLoop_CL.cpp" "app/CMakeFiles/lk_app.dir/MessageLoop_CL.cpp.obj" "gcc" "app/CMakeFiles/lk_app.dir/MessageLoop_CL.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-ui/store/CMakeFiles/lk_store.dir/DependInfo.cmake"
  "/work/main/build-ui/base/CMakeFiles/lk_base.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
