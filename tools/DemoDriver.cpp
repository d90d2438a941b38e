// Runs the player for the unattended demo: starts Lumikino.exe on a movie, tells the script
// when the window is up (it then takes a screenshot), and closes the player as a user would.
//   demo_driver MOVIE READY_FILE DONE_FILE

#include <windows.h>

#include <cstdio>

#include "tests/support/FrameNumberReader_CL.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/ScreenPicture_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr int kVideoWindowId = 0x1100;
}  // namespace

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
    HWND window = player.WaitForMainWindow(60000);
    if (!window) {
        std::fprintf(stderr, "demo_driver: no player window appeared\n");
        return 1;
    }
    // The screenshot waits for the movie's picture in the video window.
    HWND video = ::GetDlgItem(window, kVideoWindowId);
    RECT picture{};
    if (!WaitUntil([&] { return video && FrameNumberReader_CL::FindPictureRect(ScreenPicture_CL::CaptureClient(video), &picture); },
                   60000)) {
        std::fprintf(stderr, "demo_driver: the movie's picture did not appear; the screenshot shows the window as it is\n");
    }
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
