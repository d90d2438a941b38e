#pragma once
// Message, command and timer numbers of the playback controller. They are routed by the main
// window procedure, which includes this header through app/MainWindowIds.h; tests and other
// instances send the same numbers, so they must not change.

#include <windows.h>

#include <cstdint>

#include "base/CommandIds.h"

// Private messages posted to the main window, zero parameters unless said.
constexpr UINT WM_UPDATE_LAYOUT = 0x52D;         // re-layout (idle and layout-retry timeouts)
constexpr UINT WM_SHOW_STATUS = 0x52E;           // the on-screen text has timed out: clear it
constexpr UINT WM_LIST_UPDATE = 0x52F;           // the strip should follow the play position
constexpr UINT WM_RESUME_DEFERRED_SEEK = 0x531;  // resume, stage 1: pause and seek
constexpr UINT WM_RESUME_DEFERRED_RUN = 0x532;   // resume, stage 2: run once a picture is there
constexpr UINT WM_RESUME_RATE_PULSE = 0x533;     // resume, stage 3: nudge the rate
// The tick wants the player redrawn (it must not draw from the timer thread). wParam 1: also
// move the overlay's play time first (sound only, no pictures arrive to do it).
constexpr UINT WM_PLAYBACK_REDRAW = 0x534;
// The tick found a skip range or the loop's end where seeks must go through a stopped graph
// (see DShowGraph_CL::Seek): the UI thread, which controls the graph, does the seek.
constexpr UINT WM_PLAYBACK_TICK_SEEK = 0x535;
// The presenter found what only the UI thread may mend (a lost device, a new window or frame
// size): the renderer asks for its Maintain. Posted once until handled.
constexpr UINT WM_PRESENTER_MAINTAIN = 0x537;
constexpr UINT WM_GRAPH_NOTIFY = 0x1636;  // from IMediaEventEx::SetNotifyWindow; drain GetEvent
constexpr UINT WM_PLAY_NEXT = 0x1637;     // load the next play-list entry from its beginning


// Window timers on the main window.
constexpr UINT_PTR ID_TIMER_SAVE_POSITION = 0x88556789;  // every kSavePositionPeriodMs
constexpr UINT_PTR ID_TIMER_RESUME_HEALTH = 0x44AA5501;  // one-shot, kResumeHealthDelayMs
constexpr UINT_PTR ID_TIMER_RESUME_RUN = 0x44AA5502;     // one-shot, kResumeRunRetryMs
constexpr UINT kSavePositionPeriodMs = 1000;
constexpr UINT kResumeHealthDelayMs = 1500;
constexpr UINT kResumeRunRetryMs = 30;

// The multimedia tick.
constexpr UINT kPlaybackTickPeriodMs = 500;
constexpr UINT kPlaybackTickResolutionMs = 250;
