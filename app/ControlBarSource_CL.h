#pragma once
// What the video window needs of the on-screen control bar, which lives in the presenter of
// the current renderer and changes with it. The main window implements this by forwarding to
// the renderer's DXHelper_CL (UpdateHover, HitVolume, ControlBarSnapshot) under the lock that
// keeps the renderer alive; with no renderer (nothing loaded) there is no bar: no item is hit
// and ControlBarSnapshot answers false.
//
// Thread: UI. Every call comes from the video window's procedure or its hover update.

#include <windows.h>

#include "media/ControlBar_CL.h"

class ControlBarSource_CL {
public:
    virtual ~ControlBarSource_CL() = default;

    // Thread: UI. Recolours the bar for the pointer at point (video window coordinates) and
    // returns the lit item, -1 none. volumeDrag (left button down, no window drag) makes it a
    // volume hit; *volume receives the hit either way. As ControlBar_CL::UpdateHover.
    virtual int UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) = 0;

    // Thread: UI. The press at point: the item hit (the knob counts as the slider) and, on the
    // slider, the volume step there. As ControlBar_CL::HitVolume.
    virtual ControlBarVolumeHit HitVolume(POINT point) = 0;

    // Thread: UI. A copy of the bar laid out for the video window's client rectangle, for the
    // tool tips and for the commands of the items. The window asks on WM_SIZE, before the
    // presenter has drawn at the new size, so the copy is laid out here rather than taken as
    // the presenter last drew it. False when there is no bar.
    virtual bool ControlBarSnapshot(const RECT& client, ControlBar_CL* bar) = 0;
};
