#pragma once
// What the playback controller needs from the window that owns it: the on-screen text, the
// redraw, user activity, the thumbnail strip, the play list and the launch request. The main
// window implements it; tests implement it with a recorder.
// Thread: every call comes from the UI thread (the tick never calls the host; it posts
// messages to the window instead).

#include <cstdint>
#include <string>

#include "media/PlaybackRules.h"

class PlaybackHost_CL {
public:
    virtual ~PlaybackHost_CL() = default;

    // Puts the text into the overlay's status line and redraws; an empty text clears it. The
    // controller restarts the status timeout itself.
    virtual void SetStatusText(const std::wstring& text) = 0;
    // Redraws the player window (the renderer's resize or repaint as the layout decides).
    virtual void RedrawPlayer() = 0;
    // The user did something: ends the idle state and restarts its countdown.
    virtual void NoteUserActivity() = 0;
    // Scrolls the thumbnail strip to a play position.
    virtual void MoveStripTo(int64_t position) = 0;
    // The play list's count, next index, source and repeat flags, and a new next index.
    virtual PlayListCursor PlayList() = 0;
    virtual void SetPlayListNextIndex(int index) = 0;
    // Clears the launch request's full_screen, start_position and path once playback started.
    virtual void ResetLaunchStart() = 0;
    // The launch request asked to close the window at the end ("/EndClose").
    virtual bool EndCloseRequested() = 0;
};
