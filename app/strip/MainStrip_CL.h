#pragma once
// The main window's thumbnail strip: the strip window and its worker, made with the window;
// where the layout puts it; what a load does with it (the cell count, the worker's graph, the
// wait for it, the first cell on view); following the playback; its menu and the commands
// that act on its selection; and the worker's stop, which lets a waiting load go.
// The main window creates it and routes to it; it reaches the rest through CommandHost_CL.
//
// Thread: UI for everything (the worker posts its results to the strip window).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/commands/StripCommands_CL.h"
#include "app/commands/StripHost_CL.h"
#include "thumbs/ThumbnailWindow_CL.h"

class AppSettings;
class CommandHost_CL;
class CommandRouter_CL;
class DShowGraph_CL;
struct LayoutResult;

class MainStrip_CL : private StripHost_CL {
public:
    struct Callbacks {
        std::function<void(bool open)> setModalDialogOpen;
        // What the strip labels: the loaded movie and its marks, asked for at every paint.
        std::function<ThumbnailWindow_CL::StripContent()> content;
        // Runs a chosen menu command as the main window runs every command.
        std::function<bool(WORD command)> runCommand;
    };

    MainStrip_CL(CommandHost_CL& host, AppSettings& settings, Callbacks callbacks);

    // Makes the strip window in parent (after the video window) and starts its worker; the
    // strip has no sizing frame inside the main window.
    HRESULT Create(HWND parent);
    HWND Window() const { return m_strip.Window(); }
    bool Exists() const { return m_strip.Window() != nullptr; }
    // The strip's commands go into the router, which also greys the strip menu's items.
    // Also the media previous / next keys, which step through the strip.
    void RegisterCommands(CommandRouter_CL& router);
    StripMenuState MenuStateNow() const { return m_commands.StripMenuStateNow(); }

    // The layout's decision: shown or hidden, where, which way and with which cells.
    void ApplyLayout(const LayoutResult& layout);
    // The cell of a time at the top-left of the strip (the play position).
    void ShowPosition(int64_t position);
    // Thread: UI. The strip is built anew at this interval (reference time).
    void Rebuild(int64_t interval) { RebuildStrip(interval); }
    bool HasFocus() const;
    void Focus();
    // The media previous / next keys: focus the strip, or move its selection by one cell.
    void StepKey(bool forward);

    // ---- a load ----
    // The worker is asked to stop its job; false when there is no worker (the caller then goes
    // on at once). Its stop comes back as the worker-idle command.
    bool StopForLoad();
    // After the stop: the worker's graph goes too, so nothing of ours holds the movie's file
    // open (it is about to be overwritten or deleted).
    void LetFileGo();
    // The graph is built (or failed): the strip's cells for its length, under the interval
    // of the settings (the first steps of a load).
    void PrepareContent(DShowGraph_CL& graph, HRESULT buildResult);
    // Starts the worker's graph for the path unless the movie is sound only or the settings
    // turn thumbnails off; true when it was started. Cells are decoded as the strip paints
    // them (and all of them ahead with hidden_decode), so a hidden strip only builds the graph.
    bool StartThumbnails(const std::wstring& path, bool soundOnly, int64_t soundOnlyLength);
    // Waits (pumping messages) for the graph started above when it is built asynchronously.
    void WaitForThumbnails();

    // The worker rests between cells while the movie plays (the tick tells).
    void SetPlaybackRunning(bool running) {
        if (Exists()) m_strip.SetPlaybackRunning(running);
    }
    // WM_LIST_UPDATE from the tick: the strip, when shown and following the playback, scrolls
    // to the play position.
    void FollowPlayback(bool shown, int64_t position);

    // The strip's first cell on view: the one of the start position.
    void ShowStart(int64_t position);

    // ---- the worker and the strip's messages ----
    // The worker-idle command with its stop code: true when a waiting load may go (every code
    // but the interval change, which asks for the cells again instead).
    bool OnWorkerStopped(LPARAM code);
    // WM_NOTIFY from the strip: true and the time of the chosen cell when a cell was chosen.
    bool ChosenCell(const NMHDR& header, int64_t* time) const;
    // The window closes or the strip goes: the worker stops and lets its graph go.
    void StopForClose();
    void Repaint();
    ThumbnailWindow_CL& Strip() { return m_strip; }

private:
    // StripHost_CL
    bool StripSelection(int* first, int* last) const override;
    void RebuildStrip(int64_t interval) override;
    void RepaintStrip() override { Repaint(); }
    void SetModalDialogOpen(bool open) override;

    void ShowMenu(POINT screen);

    CommandHost_CL& m_host;
    AppSettings& m_settings;
    Callbacks m_callbacks;
    ThumbnailWindow_CL m_strip;
    StripCommands_CL m_commands;
    const CommandRouter_CL* m_router = nullptr;
    bool m_thumbnailsStarted = false;
};
