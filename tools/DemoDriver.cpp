// Runs the player for the unattended demo: starts Lumikino.exe on the demo movie, tells the
// script when a frame of the movie shows in the video window (it then takes a screenshot), and
// closes the player as a user would.
//   demo_driver MOVIE READY_FILE DONE_FILE [seconds width height fps]
// The movie's shape (default 20 s of 640 x 360 at 30 frames a second) must be the one make_movie
// wrote, so the frame numbers can be read back. Without a readable frame within 60 s of the
// start the driver closes the player and ends with 1, and the screenshot is not taken.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/support/AviWriter_CL.h"
#include "tests/support/FrameNumberReader_CL.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/ScreenPicture_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr int kVideoWindowId = 0x1100;
constexpr DWORD kFrameDeadlineMs = 60000;

// What the player's video window shows now as a frame of the movie; -1 when no frame reads.
int ShownFrame(const FrameNumberReader_CL& reader, HWND video) {
    const BgrxPicture picture = ScreenPicture_CL::CaptureClient(video);
    if (picture.IsEmpty()) return -1;
    return reader.Read(picture, FrameNumberReader_CL::PlayerOverlayAreas(picture.width, picture.height));
}

int CloseAndEnd(PlayerProcess_CL& player, int exitCode) {
    player.PostClose();
    DWORD playerExit = 1;
    if (!player.WaitForExit(30000, &playerExit)) {
        std::fprintf(stderr, "demo_driver: the player did not close\n");
        return 1;
    }
    std::printf("demo_driver: the player closed with exit code %lu\n", static_cast<unsigned long>(playerExit));
    return exitCode != 0 ? exitCode : static_cast<int>(playerExit);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 8) {
        std::fwprintf(stderr, L"usage: demo_driver MOVIE READY_FILE DONE_FILE [seconds width height fps]\n");
        return 2;
    }
    const ULONGLONG started = ::GetTickCount64();
    auto number = [&](int index, double fallback) { return argc > index ? std::wcstod(argv[index], nullptr) : fallback; };
    AviMovieSpec movieSpec;
    movieSpec.width = static_cast<int>(number(5, 640));
    movieSpec.height = static_cast<int>(number(6, 360));
    movieSpec.frameRateNum = static_cast<int>(number(7, 30));
    movieSpec.frameCount = static_cast<int>(number(4, 20) * movieSpec.frameRateNum + 0.5);
    const FrameNumberReader_CL reader(movieSpec);

    PlayerProcess_CL player;
    if (!player.Start({argv[1]})) {
        std::fprintf(stderr, "demo_driver: the player did not start\n");
        return 1;
    }
    HWND window = player.WaitForMainWindow(kFrameDeadlineMs);
    if (!window) {
        std::fprintf(stderr, "demo_driver: no player window appeared within %lu s\n",
                     static_cast<unsigned long>(kFrameDeadlineMs / 1000));
        return 1;
    }
    // The screenshot waits until a frame number of the movie reads in the video window.
    const ULONGLONG spent = ::GetTickCount64() - started;
    const DWORD left = spent < kFrameDeadlineMs ? static_cast<DWORD>(kFrameDeadlineMs - spent) : 0;
    int frame = -1;
    const bool read = WaitUntil(
        [&] {
            HWND video = ::GetDlgItem(window, kVideoWindowId);
            return video && (frame = ShownFrame(reader, video)) >= 0;
        },
        left);
    if (!read) {
        std::fprintf(stderr,
                     "demo_driver: no frame of the demo movie could be read in the video window within %lu s; "
                     "no screenshot\n",
                     static_cast<unsigned long>(kFrameDeadlineMs / 1000));
        return CloseAndEnd(player, 1);
    }
    std::printf("demo_driver: frame %d of the demo movie is on screen\n", frame);
    std::fflush(stdout);
    WriteFileBytes(argv[2], "ready\n");
    WaitUntil([&] { return FileExists(argv[3]) || !player.IsRunning(); }, 120000);
    return CloseAndEnd(player, 0);
}
