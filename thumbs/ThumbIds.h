#pragma once
// Numbers of the thumbnail worker and the strip: the worker's thread messages, what it posts
// back, and what the strip sends its owner. The main window routes the same numbers, so
// they must not change.

#include <windows.h>

#include "base/CommandIds.h"

// Thread messages of the worker. Its loop takes only this range from its queue.
constexpr UINT TM_FIRST = 0x4C8, TM_LAST = 0x14C8;
constexpr UINT TM_WAKE = 0x4C9;          // posted by Wake; nothing to do
constexpr UINT TM_QUIT = 0x4CA;          // leave the loop
constexpr UINT TM_DECODE_NEXT = 0x4CC;   // decode one waiting request
constexpr UINT TM_PREPARE_GRAPH = 0x4CD; // build the graph for the latest requested path

// Posted by the worker to the strip window.
// wParam: the cell index; lParam: 1 when its picture is now in the cache, 0 when none came
// (no frame in time, dropped by a stop, or pushed out of the cache at once).
constexpr UINT WM_THUMB_DECODED = 0x1634;
// wParam: the build's serial; lParam: the build's HRESULT.
constexpr UINT WM_THUMB_GRAPH_READY = 0x1635;
// WM_COMMAND to the strip's parent when a stop has finished: wParam IDC_THUMB_STOPPED,
// lParam the stop code.
constexpr WORD IDC_THUMB_STOPPED = CMD_WORKER_IDLE;

// Stop codes.
constexpr int kThumbStopClose = -1;        // content stop and close: the main window goes on
constexpr int kThumbStopDestroy = 0;       // the strip window is being destroyed
constexpr int kThumbStopInterval = 1;      // the interval changed: prefetch again and repaint

// The strip's notification to its parent (WM_NOTIFY): a cell was chosen (click or Enter).
// The header is followed by the cell index (ThumbActivateNotify).
constexpr int NM_THUMB_ACTIVATE = -108;
struct ThumbActivateNotify {
    NMHDR header;
    int index;
};

// The strip window's control id in its parent.
constexpr UINT kThumbnailWindowId = 0x1100;
