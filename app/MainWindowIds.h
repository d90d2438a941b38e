#pragma once
// Names of the main window's numbers. They are an external interface: other instances, the
// album application and the tests send these.

#include <windows.h>

constexpr wchar_t kMainWindowClass[] = L"MainWindowClass";
constexpr wchar_t kMainWindowTitle[] = L"Lumikino";
constexpr int kProgramIconId = 107;

// Private messages, posted with zero parameters.
constexpr UINT WM_UPDATE_LAYOUT = 0x52D;
constexpr UINT WM_SHOW_STATUS = 0x52E;
constexpr UINT WM_LIST_UPDATE = 0x52F;
constexpr UINT WM_OPEN_LAUNCH_FILE = 0x530;  // open the launch request's path
constexpr UINT WM_RESUME_DEFERRED_SEEK = 0x531;
constexpr UINT WM_RESUME_DEFERRED_RUN = 0x532;
constexpr UINT WM_RESUME_RATE_PULSE = 0x533;
constexpr UINT WM_GRAPH_NOTIFY = 0x1636;  // from IMediaEventEx::SetNotifyWindow; drain GetEvent
constexpr UINT WM_PLAY_NEXT = 0x1637;

// Window timers.
constexpr UINT_PTR ID_TIMER_SAVE_POSITION = 1;  // 1000 ms
constexpr UINT_PTR ID_TIMER_CLICK = 2;          // 200 ms single-click delay
constexpr UINT_PTR ID_TIMER_CLOSE = 0x12345678;  // grace period between WM_CLOSE and destruction
constexpr UINT kCloseGraceMs = 3000;

// The hand-off: WM_COPYDATA with dwData 0 and exactly one LaunchRequest.
constexpr ULONG_PTR kCopyDataLaunchRequest = 0;
constexpr UINT kHandOffTimeoutMs = 5000;  // a hung first instance must not block a second launch
