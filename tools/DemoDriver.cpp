// Runs the player for the unattended demo: starts Lumikino.exe on a movie, tells the script
// when the window is up (it then takes a screenshot), and closes the player as a user would.
//   demo_driver MOVIE READY_FILE DONE_FILE

#include <windows.h>

#include <cstdio>

#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: demo_driver MOVIE READY_FILE DONE_FILE\n");
        return 2;
    }
    PlayerProcess_CL player;
    if (!player.Start({argv[1]})) {
        std::fprintf(stderr, "demo_driver: the player did not start\n");
        return 1;
    }
    if (!player.WaitForMainWindow(60000)) {
        std::fprintf(stderr, "demo_driver: no player window appeared\n");
        return 1;
    }
    // Give the window a moment to paint before the screenshot.
    ::Sleep(2000);
    WriteFileBytes(argv[2], "ready\n");
    WaitUntil([&] { return FileExists(argv[3]) || !player.IsRunning(); }, 120000);
    player.PostClose();
    DWORD exitCode = 1;
    if (!player.WaitForExit(30000, &exitCode)) {
        std::fprintf(stderr, "demo_driver: the player did not close\n");
        return 1;
    }
    std::printf("demo_driver: the player closed with exit code %lu\n", static_cast<unsigned long>(exitCode));
    return static_cast<int>(exitCode);
}
