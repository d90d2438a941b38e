# Cross-builds the Windows program with the posix flavour of mingw-w64 (std::thread and
# std::mutex need it) and runs test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LK_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${LK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${LK_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
