#pragma once
// What the settings sheets need of the main window: its window, the opacity preview, the
// colour ranges of the presenter, the loaded movie and its record, and the player following
// settings that were applied. The main window implements it; the sheets live in
// MainSettings_CL.
// Thread: UI for every call.

#include <windows.h>

#include <cstdint>
#include <string>

#include "media/ColourAdjust_CL.h"

class ContentInfo;
class ContentRecords_CL;
class PlaybackController_CL;

class SettingsHost_CL {
public:
    virtual ~SettingsHost_CL() = default;

    virtual HWND MainWindow() const = 0;
    virtual void SetModalDialogOpen(bool open) = 0;

    // The display page's preview: the main window layered and topmost at alpha (10 ... 255)
    // at once, until EndOpacityPreview puts back the configured transparency and topmost state.
    virtual void PreviewOpacity(int alpha) = 0;
    virtual void EndOpacityPreview() = 0;
    // Where layered windows do not exist: the transparent display is turned off.
    virtual void TurnOffTransparentDisplay() = 0;

    // The range of one colour control (kProcAmp* mask) the presenter offers now; the nominal
    // range when no movie is loaded.
    virtual ProcAmpRange ColourRange(int mask) = 0;

    // Null before the window is made.
    virtual PlaybackController_CL* Controller() = 0;
    // The record of the movie now loaded and its path; null and empty when none is loaded.
    virtual ContentInfo* LoadedRecord() = 0;
    virtual std::wstring LoadedMoviePath() const = 0;
    virtual ContentRecords_CL& Records() = 0;

    // The strip is built anew at this interval (reference time).
    virtual void RebuildStrip(int64_t interval) = 0;
    // The window shows what the settings and the loaded record say now: the title, colour,
    // transparency, idle count, layout, overlay, tool bar and the history's stars.
    virtual void FollowSettings() = 0;
};
