#pragma once
// Names of the main window's numbers. They are an external interface: other instances, the
// album application and the tests send these.

#include <windows.h>

#include "media/PlaybackIds.h"

constexpr wchar_t kMainWindowClass[] = L"MainWindowClass";
constexpr wchar_t kMainWindowTitle[] = L"Lumikino";
constexpr int kProgramIconId = 107;

// The playback controller's messages, commands and timers (WM_UPDATE_LAYOUT ... WM_PLAY_NEXT,
// ID_TIMER_SAVE_POSITION and the resume timers) are named in media/PlaybackIds.h.
constexpr UINT WM_OPEN_LAUNCH_FILE = 0x530;  // open the launch request's path
// Carries out a launch request handed over by a second start, once its sender has been let go.
constexpr UINT WM_APPLY_LAUNCH_REQUEST = 0x536;

// Commands (WM_COMMAND, LOWORD(wParam)) of the menus that act on the window itself.
constexpr WORD CMD_OUTPUT_RATE_FIRST = 0x8011, CMD_OUTPUT_RATE_LAST = 0x8014;
constexpr WORD CMD_MENU_FULL_SCREEN = 0x8020, CMD_MENU_WINDOWED = 0x8021;
constexpr WORD CMD_BORDERLESS_OFF = 0x80E0, CMD_BORDERLESS_ON = 0x80E1;
constexpr WORD CMD_TOPMOST_OFF = 0x80F0, CMD_TOPMOST_ON = 0x80F1;
constexpr WORD CMD_TRANSPARENT_OFF = 0x80F8, CMD_TRANSPARENT_ON = 0x80F9;
constexpr WORD CMD_STARS_FIRST = 0x8130, CMD_STARS_LAST = 0x8135;

// The commands of the tool bar and of the keys.
constexpr WORD CMD_PLAY_PAUSE = 0x8570, CMD_STOP = 0x8571, CMD_PREVIOUS = 0x8572, CMD_NEXT = 0x8573;
constexpr WORD CMD_MUTE = 0x8574, CMD_FULL_SCREEN = 0x8575, CMD_THUMBNAIL_STRIP = 0x8578;
constexpr WORD CMD_SLOWER = 0x8579, CMD_FASTER = 0x857A, CMD_OPEN_FILE = 0x857C, CMD_CAPTURE = 0x857D;
constexpr WORD CMD_SHOW_HISTORY = 0x857E, CMD_SHOW_PLAY_LIST = 0x857F, CMD_CLOSE = 0x8580;

// Window timers.
constexpr UINT_PTR ID_TIMER_CLICK = 2;          // 200 ms single-click delay
constexpr UINT_PTR ID_TIMER_CLOSE = 0x12345678;  // grace period between WM_CLOSE and destruction
constexpr UINT kCloseGraceMs = 3000;

// The hand-off: WM_COPYDATA with dwData 0 and exactly one LaunchRequest.
constexpr ULONG_PTR kCopyDataLaunchRequest = 0;
constexpr UINT kHandOffTimeoutMs = 5000;  // a hung first instance must not block a second launch
