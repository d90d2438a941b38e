#pragma once
// What one launch asks for. The same 680 bytes travel to a running instance in WM_COPYDATA, so
// the layout is a wire format between two copies of the program: never reorder or resize it.

#include <cstddef>
#include <cstdint>

constexpr size_t kLaunchPathUnits = 260;  // MAX_PATH, terminator included

struct LaunchRequest {
    int32_t full_screen = 0;   // "/FullScreen"
    int32_t loop = 0;          // "/Loop"
    int32_t end_close = 0;     // "/EndClose"
    int32_t no_resume = 0;     // "/NoResume"
    int32_t reserved = 0;
    uint8_t padding[4] = {};   // aligns start_position; zero on the wire
    int64_t start_position = -1;  // reference time to start at; -1 = none
    wchar_t path[kLaunchPathUnits] = {};
    int32_t from_album = 0;    // "/Kinoshelf"
    uint8_t reserved2[124] = {};

    // After a play request is carried out, so that a later reload does not repeat it.
    void ClearCarriedOut() {
        full_screen = 0;
        start_position = -1;
        path[0] = L'\0';
    }
};

static_assert(sizeof(wchar_t) == 2, "the path is UTF-16 on the wire");
static_assert(sizeof(LaunchRequest) == 680, "the hand-off record is a wire format");
static_assert(offsetof(LaunchRequest, full_screen) == 0, "wire offset");
static_assert(offsetof(LaunchRequest, loop) == 4, "wire offset");
static_assert(offsetof(LaunchRequest, end_close) == 8, "wire offset");
static_assert(offsetof(LaunchRequest, no_resume) == 12, "wire offset");
static_assert(offsetof(LaunchRequest, reserved) == 16, "wire offset");
static_assert(offsetof(LaunchRequest, start_position) == 24, "wire offset");
static_assert(offsetof(LaunchRequest, path) == 32, "wire offset");
static_assert(offsetof(LaunchRequest, from_album) == 552, "wire offset");
static_assert(offsetof(LaunchRequest, reserved2) == 556, "wire offset");
