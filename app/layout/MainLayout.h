#pragma once
// The main window's layout and its idle actions as pure functions: whether the window is idle,
// whether the thumbnail strip is shown and how big its cells are, whether the cursor hides and
// the frame goes or comes back, and where the tool bar, the video window and the strip stand
// in the client area. The main window gathers the facts into a LayoutInput, carries out the
// decisions and moves its windows to the rectangles.
//
// Thread: any (no windows, no state).

#include <windows.h>

// The thumbnail strip's side of the picture (the LIST direction setting).
enum class StripSide { kAbove = 0, kRight = 1, kBelow = 2, kLeft = 3 };

struct LayoutInput {
    SIZE clientPx{0, 0};  // the main window's client area
    bool fullScreen = false;
    bool borderless = false;  // the borderless display
    bool frameless = false;   // the frame is off for idleness now (before this layout)

    bool toolBarExists = false;
    int toolBarHeightPx = 0;  // after the bar fitted itself to the client width

    // The idle facts.
    bool idleTimedOut = false;  // the idle countdown has run out
    bool modalOpen = false;
    bool overBarItem = false;  // the pointer is over a clickable item of the control bar
    bool overStrip = false;    // the pointer is over the thumbnail strip
    bool contentLoaded = false;
    bool playing = false;
    bool paused = false;

    // The thumbnail strip.
    bool stripVisible = false;  // its switch (F6)
    bool stripExists = true;    // there is a strip window to give room to
    int layoutRetryTicks = 0;   // non-zero while a mouse resize keeps the strip away
    int direction = 2;          // LIST direction: a StripSide value; others count as below
    int smallImageSize = 2;     // LIST small_image_size 0..2; others count as 2
    int rendererWidthPx = 0;    // the renderer's picture; 0 x 0 without a renderer
    int rendererHeightPx = 0;
    int aspectMode = 0;                // the renderer's aspect mode; 9 forces 16:9
    int verticalStripExtraPx = 0;      // GetSystemMetrics(SM_CYHSCROLL), index 3
    int horizontalStripExtraPx = 0;    // GetSystemMetrics(SM_CXHSCROLL), index 21

    // NOP settings: 1 turns the idle action on.
    int noThumbnail = 1;
    int mouseHide = 1;
    int noFrame = 0;

    // The cursor.
    bool cursorShown = true;       // this program has not hidden it
    bool pointerOverVideo = false;  // WindowFromPoint(cursor) is the video window
    bool historyVisible = false;
    bool playListVisible = false;
};

enum class FrameAction {
    kNone,
    kRemove,   // take the caption and sizing frame off
    kRestore,  // put them back
};

struct FrameDecision {
    FrameAction action = FrameAction::kNone;
    bool frameless = false;  // the new frameless flag
};

struct LayoutResult {
    bool idle = false;
    FrameDecision frame;
    bool hideCursor = false;  // ShowCursor(FALSE) once

    bool toolBarShown = false;
    RECT toolBarRect{0, 0, 0, 0};
    RECT videoRect{0, 0, 0, 0};
    bool stripShown = false;
    RECT stripRect{0, 0, 0, 0};
    SIZE cellPx{0, 0};  // one thumbnail's size
    bool stripHorizontal = false;  // the strip runs left to right (above or below the picture)
};

// The video size taken for a missing renderer.
constexpr SIZE kNoRendererVideoPx{640, 380};

// Thread: any. Playing content that nobody has touched for the idle delay, with nothing of the user's
// interface under the pointer.
bool DecideIdle(const LayoutInput& input);
// Thread: any. The strip's switch, unless idleness hides it (no_thumbnail) or a mouse resize
// is running.
bool DecideStripShown(const LayoutInput& input, bool idle);
// Thread: any. Hide the cursor over the picture when the window is idle or shows only the picture.
bool DecideHideCursor(const LayoutInput& input, bool idle, bool stripShown);
// Thread: any. Idleness takes the frame off (no_frame) and activity brings it back. The
// borderless display has no frame to take off or put back; only the flag follows. Full
// screen: nothing.
FrameDecision DecideFrame(const LayoutInput& input, bool idle);
// Thread: any. One thumbnail's size: 4:3 or 16:9 cells, whichever is nearer the picture's shape.
SIZE StripCellSize(int smallImageSize, int rendererWidthPx, int rendererHeightPx, int aspectMode);

// Thread: any. All of the above, and the rectangles (client coordinates of the main window).
LayoutResult ComputeMainLayout(const LayoutInput& input);
