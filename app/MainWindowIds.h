#pragma once
// Names of the main window's numbers. They are an external interface: other instances, the
// album application and the tests send these.

#include <windows.h>

#include "base/CommandIds.h"
#include "media/PlaybackIds.h"

constexpr wchar_t kMainWindowClass[] = L"MainWindowClass";
constexpr wchar_t kMainWindowTitle[] = L"Lumikino";
constexpr int kProgramIconId = 107;

// The playback controller's messages, commands and timers (WM_UPDATE_LAYOUT ... WM_PLAY_NEXT,
// ID_TIMER_SAVE_POSITION and the resume timers) are named in media/PlaybackIds.h.
constexpr UINT WM_OPEN_LAUNCH_FILE = 0x530;  // open the launch request's path
// Carries out a launch request handed over by a second start, once its sender has been let go.
constexpr UINT WM_APPLY_LAUNCH_REQUEST = 0x536;
// Posted once the start is done: the launch-extension list is rebuilt from the registry (a walk
// over its class root) after whatever the start queued, the launch file's load first.
constexpr UINT WM_REBUILD_LAUNCH_EXTENSIONS = 0x538;
// The version check's worker has fetched the version file; lParam: UpdateFetchResult*, owned
// by the receiver.
constexpr UINT WM_UPDATE_CHECK_RESULT = WM_APP + 0x31;
constexpr DWORD kUpdateCheckExitWaitMs = 2000;

// Window timers.
constexpr UINT_PTR ID_TIMER_CLICK = 2;          // 200 ms single-click delay
constexpr UINT_PTR ID_TIMER_LOAD_ATTEMPT = 3;   // a load's next share or graph attempt
constexpr UINT_PTR ID_TIMER_CLOSE = 0x12345678;  // grace period between WM_CLOSE and destruction
constexpr UINT kCloseGraceMs = 3000;

// The hand-off: WM_COPYDATA with dwData 0 and exactly one LaunchRequest.
constexpr ULONG_PTR kCopyDataLaunchRequest = 0;
constexpr UINT kHandOffTimeoutMs = 5000;  // a hung first instance must not block a second launch
