#pragma once
// What the player's commands need of the main window: its display modes, its playback
// controller and the loaded movie's record, and the few window actions they start. The main
// window implements it; the commands themselves live in PlayerCommands_CL.
// Thread: UI for every call.

#include <windows.h>

#include <cstdint>
#include <string>

class ContentInfo;
class ContentRecords_CL;
class PlaybackController_CL;

class CommandHost_CL {
public:
    virtual ~CommandHost_CL() = default;

    virtual HWND MainWindow() const = 0;
    // Null before the window is made.
    virtual PlaybackController_CL* Controller() = 0;
    // The record of the movie now loaded, or null when no movie's record is loaded (nothing
    // may be written then).
    virtual ContentInfo* LoadedRecord() = 0;
    virtual ContentRecords_CL& Records() = 0;
    // The player was started by the album application ("/Kinoshelf").
    virtual bool FromAlbum() const = 0;

    // Display modes.
    virtual bool FullScreen() const = 0;
    virtual bool Borderless() const = 0;
    virtual bool Topmost() const = 0;
    virtual bool TransparentDisplay() const = 0;
    virtual bool StripVisible() const = 0;
    virtual void ToggleFullScreen() = 0;
    virtual void SetBorderless(bool on) = 0;
    virtual void SetTopmost(bool on) = 0;
    virtual void SetTransparentDisplay(bool on) = 0;
    virtual void SetStripVisible(bool on) = 0;

    // Drawing and texts. PictureMoved: the picture's place in the window changed (ratio mode).
    virtual void Layout() = 0;
    virtual void RedrawPlayer() = 0;
    virtual void PictureMoved() = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    virtual void MoveStripTo(int64_t position) = 0;
    virtual void RefreshHistoryDialog() = 0;
    // A modal dialog of ours is open (the tick then leaves the window alone).
    virtual void SetModalDialogOpen(bool open) = 0;

    // Window actions.
    virtual void ClickAtPointer() = 0;
    virtual void ShowOpenFileDialog() = 0;
    virtual void CaptureScreen() = 0;
    virtual void OnWorkerIdle() = 0;
    virtual void NoteUserActivity() = 0;
    virtual void EndWindowDrag() = 0;
};
