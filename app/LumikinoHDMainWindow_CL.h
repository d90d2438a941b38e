#pragma once
// The player's one top-level window (class "MainWindowClass", title "Lumikino"): the video
// window, content loading (RequestLoad, SetContents2), the playback controller, file intake.
// Thread: UI for everything here.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/ControlBarSource_CL.h"
#include "app/LaunchRequest.h"
#include "app/MainToolBar_CL.h"
#include "app/MoviePlayWindow_CL.h"
#include "app/WindowDrag_CL.h"
#include "intake/FileIntakeHost_CL.h"
#include "intake/FileIntake_CL.h"
#include "intake/PlayList_CL.h"
#include "media/DShowGraph_CL.h"
#include "media/PlaybackController_CL.h"
#include "media/PlaybackHost_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordStore_CL.h"
#include "store/ContentRecords_CL.h"
#include "store/RecordFailureMessageBox_CL.h"

// The command the thumbnail worker posts when it has stopped its job: a pending load may go.
constexpr WORD CMD_WORKER_IDLE = 0x8800;

class DXHelper_CL;

class LumikinoHDMainWindow_CL : private PlaybackHost_CL, private FileIntakeHost_CL, private ControlBarSource_CL {
public:
    // What to load: the given path (direct), or the play list's next entry.
    struct LoadRequest {
        bool direct = false;
        std::wstring path;
        bool continuesList = false;  // WM_PLAY_NEXT: the next entry plays from its start
    };

    explicit LumikinoHDMainWindow_CL(HINSTANCE instance);
    ~LumikinoHDMainWindow_CL();
    LumikinoHDMainWindow_CL(const LumikinoHDMainWindow_CL&) = delete;
    LumikinoHDMainWindow_CL& operator=(const LumikinoHDMainWindow_CL&) = delete;

    // Fills the window's launch request from this process's command line.
    ParseOutcome ParseLaunchCommandLine();
    const LaunchRequest& Launch() const { return m_launch; }

    bool RegisterWindowClass();
    // Creates the window; its WM_CREATE shows it. Null on failure.
    HWND Create();
    HWND Handle() const { return m_window; }

    // The keyboard commands, given the keys the message loop delivers.
    void KeyHandler(UINT virtualKey);
    // Any key, click, wheel or pointer movement: ends the idle state.
    void NoteUserActivity() override;
    // Files dropped on the window (the message loop hands the drop over; it is finished here).
    void OnDropFiles(HDROP drop);

    // The mouse as the message loop sees it, before dispatch: the window drag by the picture,
    // the edge resize of the borderless display, the zoom selection, the single click and the
    // wheel with the left button held (volume). message.pt is in screen coordinates.
    void OnLoopMouseMove(const MSG& message);
    void OnLoopLeftButtonDown(const MSG& message);
    void OnLoopLeftButtonUp(const MSG& message);
    void OnLoopMouseWheel(const MSG& message);

    // The display modes of the window.
    void SetBorderless(bool on);
    bool Borderless() const { return m_borderless; }
    void SetTopmost(bool on);
    // The transparent display: a layered window at the "transparent" opacity, letting clicks
    // through when "mouse_transparent" is 1. Where layered windows do not exist it stays off.
    void SetTransparentDisplay(bool on);
    bool TransparentDisplay() const { return m_transparent; }
    // Puts the window back to its configured transparency (after a preview of the opacity).
    void ApplyTransparency();

    // Content loading. RequestLoad keeps the request and asks the thumbnail worker to stop;
    // the worker-idle command then runs SetContents2. While a load runs, a new request waits
    // for it to finish. SetContents2 answers S_OK, or E_FAIL when the graph could not be built.
    void RequestLoad(const LoadRequest& request);
    HRESULT SetContents2(const LoadRequest& request);

    // For tests and the log: the loaded content's record and the controller.
    const ContentInfo& Content() const { return m_content; }
    PlaybackController_CL* Controller() { return m_controller.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnFirstPaint();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnClose();
    void OnDestroy();
    void OnOpenLaunchFile();
    void OnApplyLaunchRequest();
    void SaveMainWindowRect();
    void OnSize(WPARAM type, LPARAM size);
    void OnSizing(WPARAM edge, RECT* rect);
    void OnEnterSizeMove();
    void OnExitSizeMove();
    void OnOpenFileCommand();
    void SetStarRating(int stars);
    void ToggleClock();
    // The picture's ratio mode (output_rate_hv 0-3): stored, given to the renderer, redrawn.
    void SetOutputRate(int mode);
    void CycleSetting(int AppSettings::*field, int count);
    void EndZoomSelection(POINT videoPoint);
    void ApplyFrameStyles(bool framed);
    POINT VideoClientPoint(POINT screen) const;
    static POINT CursorPosition();
    void RefreshHistoryDialog();
    void SyncToolBar();
    SIZE ShownPictureSize(CMyRenderer* renderer) const;
    void PlaceFromSavedRect();
    void ApplyIdleActions();
    void SetModalDialogOpen(bool open);
    void ToggleFullScreen();
    void OnWorkerIdle();
    void OnCommand(WORD command, LPARAM lParam);
    void Layout();
    void ApplyOverlay();
    void ApplyColour();
    void SyncOverlayState();
    CMyRenderer* Renderer() const { return m_graph.Renderer(); }
    // The renderer's presenter when it is the Direct3D one (it holds the control bar).
    DXHelper_CL* Direct3DPresenter() const;

    // PlaybackHost_CL
    void SetStatusText(const std::wstring& text) override;
    void RedrawPlayer() override;
    void MoveStripTo(int64_t position) override;
    PlayListCursor PlayList() override;
    void SetPlayListNextIndex(int index) override;
    void ResetLaunchStart() override;
    bool EndCloseRequested() override;

    // FileIntakeHost_CL
    void OpenContentNow(const std::wstring& path) override;
    void PlayListCurrentEntry() override;
    void ReadAsxPlayList(const std::wstring& path) override;
    void ReadTextPlayList(const std::wstring& path) override;
    void ListArchive(const std::wstring& archivePath, const std::wstring& unpackFolder) override;
    void RememberLastInput(const std::wstring& path) override;
    void AddHistory(const std::wstring& path) override;
    void RefreshPlayListDialog() override;
    bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) override;

    // ControlBarSource_CL: the renderer's presenter, under its frame lock.
    int UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) override;
    ControlBarVolumeHit HitVolume(POINT point) override;
    bool ControlBarSnapshot(const RECT& client, ControlBar_CL* bar) override;

    // The launch request stays the first member: it is what a hand-off overwrites.
    LaunchRequest m_launch;
    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;  // shared resource icon, not destroyed
    bool m_firstPaint = true;
    bool m_shown = false;  // WM_CREATE has placed and shown the window
    bool m_closing = false;
    bool m_fullScreen = false;
    bool m_idle = false;          // the idle actions are applied
    bool m_cursorHidden = false;  // this window hid the cursor (ShowCursor(FALSE) once)
    bool m_frameless = false;     // the idle action took the frame away
    bool m_modalOpen = false;     // a modal dialog or menu of ours is open
    bool m_borderless = false;    // the borderless display (command 0x80E1)
    bool m_transparent = false;   // the transparent display (command 0x80F9)
    bool m_stripVisible = true;   // F6: the thumbnail strip is shown
    bool m_sizeMove = false;      // a modal size loop runs and redraws wait for its end
    WPARAM m_lastSizeType = SIZE_RESTORED;
    SIZE m_lastSize{0, 0};

    // The drag by the picture and the edge under the pointer in the borderless display.
    WindowDrag_CL m_drag;
    WindowEdge m_edge = WindowEdge::kNone;
    // The control-drag zoom selection in video window coordinates; left -1 is none.
    RECT m_zoom{-1, -1, -1, -1};
    bool m_suppressNextClick = false;  // the wheel turned with the button held: no click
    bool m_lastHovered = false;

    DShowGraph_CL m_graph;
    ContentRecordStore_CL m_recordStore;
    RecordFailureMessageBox_CL m_recordNotice{nullptr};
    ContentRecords_CL m_records{m_recordStore, m_recordNotice};
    ContentInfo m_content;
    bool m_contentRecordLoaded = false;
    PlayList_CL m_playList;
    FileIntake_CL m_intake{m_playList, *this};
    MoviePlayWindow_CL m_videoWindow{this};
    HWND m_video = nullptr;
    MainToolBar_CL m_toolBar;
    std::unique_ptr<PlaybackController_CL> m_controller;

    LoadRequest m_pending;
    bool m_loadPending = false;  // a request waits for the worker-idle command
    bool m_loading = false;      // SetContents2 is running (it may pump messages)
    RECT m_lastVideoRect{0, 0, 0, 0};
    std::wstring m_title;
};
