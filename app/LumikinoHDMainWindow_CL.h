#pragma once
// The player's one top-level window (class "MainWindowClass", title "Lumikino"): it creates
// the video window and the tool bar, routes messages, and holds the display modes, content
// loading (RequestLoad, SetContents2), the playback controller and file intake. What each
// command does lives in app/commands (reached through the command router); the overlay is
// made as one value and handed to the presenter on every change.
// Thread: UI for everything here.

#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ControlBarSource_CL.h"
#include "app/LaunchRequest.h"
#include "app/MainToolBar_CL.h"
#include "app/MessageLoopHost_CL.h"
#include "app/album/AlbumTagsHost_CL.h"
#include "app/album/AlbumTags_CL.h"
#include "app/commands/CommandHost_CL.h"
#include "app/commands/CommandRouter_CL.h"
#include "app/commands/PlayerCommands_CL.h"
#include "app/history/DialogHistory_CL.h"
#include "app/history/HistoryDialogHost_CL.h"
#include "app/input/MainMouse_CL.h"
#include "app/layout/MainLayout.h"
#include "app/loading/ContentLoaderHost_CL.h"
#include "app/loading/ContentLoader_CL.h"
#include "app/playlist/MainPlayList_CL.h"
#include "app/settings/MainSettings_CL.h"
#include "app/settings/SettingsHost_CL.h"
#include "app/strip/MainStrip_CL.h"
#include "app/MoviePlayWindow_CL.h"
#include "app/WindowDisplay_CL.h"
#include "media/DShowGraph_CL.h"
#include "media/OverlayModel.h"
#include "media/PlaybackController_CL.h"
#include "media/PlaybackHost_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordStore_CL.h"
#include "store/ContentRecords_CL.h"
#include "store/RecordFailureMessageBox_CL.h"
#include "update/UpdateCheckRunner_CL.h"

class DXHelper_CL;

class LumikinoHDMainWindow_CL : public MessageLoopHost_CL,
                                private CommandHost_CL,
                                private ContentLoaderHost_CL,
                                private SettingsHost_CL,
                                private PlaybackHost_CL,
                                private ControlBarSource_CL,
                                private HistoryDialogHost_CL,
                                private AlbumTagsHost_CL {
public:
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

    // MessageLoopHost_CL: the keys the message loop delivers (run through the key table and
    // the command router), any user activity (ends the idle state), dropped files (finished
    // here), and the mouse before dispatch: the window drag by the picture, the edge resize of
    // the borderless display, the zoom selection, the single click and the wheel with the left
    // button held (volume). message.pt is in screen coordinates.
    void KeyHandler(UINT virtualKey) override;
    bool TakesArrowKeys(HWND window) const override { return window && window == m_strip.Window(); }
    void NoteUserActivity() override;
    void OnDropFiles(HDROP drop) override;
    void OnLoopMouseMove(const MSG& message) override;
    void OnLoopLeftButtonDown(const MSG& message) override;
    void OnLoopLeftButtonUp(const MSG& message) override;
    void OnLoopMouseWheel(const MSG& message) override;

    // The display modes of the window.
    void SetBorderless(bool on) override;
    bool Borderless() const override { return m_display.Borderless(); }
    void SetTopmost(bool on) override { m_display.SetTopmost(on); }
    bool Topmost() const override { return m_display.Topmost(); }
    // The transparent display: a layered window at the "transparent" opacity, letting clicks
    // through when "mouse_transparent" is 1. Where layered windows do not exist it stays off.
    void SetTransparentDisplay(bool on) override { m_display.SetTransparent(on); }
    bool TransparentDisplay() const override { return m_display.Transparent(); }
    // Puts the window back to its configured transparency (after a preview of the opacity).
    void ApplyTransparency() { m_display.ApplyTransparency(); }

    // Content loading (see ContentLoader_CL): the request waits for the thumbnail worker and
    // for a load that runs; a failure ends with the play-error dialog.
    void RequestLoad(const LoadRequest& request);

    // For tests and the log: the loaded content's record and the controller.
    const ContentInfo& Content() const { return m_content; }
    PlaybackController_CL* Controller() override { return m_controller.get(); }
    // Runs a command as a menu, the tool bar or a key would; false when it is greyed now.
    bool RunCommand(WORD command, LPARAM lParam = 0);
    const CommandRouter_CL& Commands() const { return m_router; }
    // The modeless dialogs the message loop serves (the play list dialog); null ones left out.
    std::vector<HWND> ModelessDialogs() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnFirstPaint();
    void OnUpdateCheckResult(LPARAM lParam);
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
    MainMouse_CL::Callbacks MouseCallbacks();
    void ShowPictureMenu(HWND owner, POINT clientPoint);
    LRESULT OnNotify(const NMHDR* header);
    MainStrip_CL::Callbacks StripCallbacks();
    void SyncToolBar();
    SIZE ShownPictureSize(CMyRenderer* renderer) const;
    void PlaceFromSavedRect();
    // The layout's facts as the window stands now.
    LayoutInput LayoutInputNow();
    void SetModalDialogOpen(bool open) override;
    // Lets the loaded movie go (its position saved, its graph released); nothing is loaded.
    void CloseContent();
    void ApplyColour();
    // The overlay as the player stands now, handed to the renderer's presenter.
    OverlayModel MakeOverlayModel() const;
    void PublishOverlay();
    CMyRenderer* Renderer() const { return m_graph.Renderer(); }
    // The renderer's presenter when it is the Direct3D one (it holds the control bar).
    DXHelper_CL* Direct3DPresenter() const;

    // CommandHost_CL (with the display modes above)
    HWND MainWindow() const override { return m_window; }
    ContentInfo* LoadedRecord() override;
    ContentRecords_CL& Records() override { return m_records; }
    bool FromAlbum() const override { return m_albumLaunch; }
    bool FullScreen() const override { return m_display.FullScreen(); }
    bool StripVisible() const override { return m_stripVisible; }
    void ToggleFullScreen() override;
    void SetStripVisible(bool on) override { m_stripVisible = on; }
    void Layout() override;
    void PictureMoved() override;
    void RefreshHistoryDialog() override;
    void ClickAtPointer() override;
    void ShowOpenFileDialog() override;
    void CaptureScreen() override;
    void OnWorkerIdle() override;
    void EndWindowDrag() override;

    // SettingsHost_CL (with the command host's window, controller and records)
    void PreviewOpacity(int alpha) override { m_display.PreviewOpacity(alpha); }
    void EndOpacityPreview() override { m_display.EndOpacityPreview(); }
    void TurnOffTransparentDisplay() override { m_display.SetTransparent(false); }
    ProcAmpRange ColourRange(int mask) override;
    std::wstring LoadedMoviePath() const override { return m_loadedPath; }
    void RebuildStrip(int64_t interval) override;
    void FollowSettings() override;

    // ContentLoaderHost_CL
    void LeaveContent() override;
    bool ResolveLoadPath(const LoadRequest& request, std::wstring* path, bool* fromList) override;
    void ReleaseGraph() override;
    bool StopThumbnails() override;
    HRESULT BuildGraph(const std::wstring& path) override;
    void FinishLoad(const LoadRequest& request, const std::wstring& path, bool fromList, HRESULT hr) override;
    // An archive entry about to play: unpacked behind the progress dialog; false (the user
    // told why) when it was not unpacked whole.
    bool UnpackArchiveEntry(const PlayListItem& item);

    // PlaybackHost_CL (and CommandHost_CL)
    void SetStatusText(const std::wstring& text) override;
    void RedrawPlayer() override;
    void MoveStripTo(int64_t position) override;
    PlayListCursor PlayList() override;
    void SetPlayListNextIndex(int index) override;
    void ResetLaunchStart() override;
    bool EndCloseRequested() override;

    // The play list's side: loads, the loaded movie, records and history.
    MainPlayList_CL::Callbacks PlayListCallbacks();
    void CloseContentThenPost(HWND window, UINT message) override;
    void AddHistory(const std::wstring& path);
    bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) override;
    // HistoryDialogHost_CL (with the above, the loaded movie and the modal flag)
    void PlayHistoryPath(const std::wstring& path) override;
    static DialogHistory_CL::Options HistoryOptions();
    // AlbumTagsHost_CL (with the loaded movie and the modal flag)
    HWND OwnerWindow() const override { return m_window; }
    std::wstring LoadedRecordPath() const override {
        return m_contentRecordLoaded ? m_content.RecordPath() : std::wstring();
    }

    // ControlBarSource_CL: the renderer's presenter, under its frame lock.
    int UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) override;
    ControlBarVolumeHit HitVolume(POINT point) override;
    bool ControlBarSnapshot(const RECT& client, ControlBar_CL* bar) override;

    // The launch request stays the first member: it is what a hand-off overwrites.
    LaunchRequest m_launch;
    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;  // shared resource icon, not destroyed
    WindowDisplay_CL m_display;  // full screen, borderless, frameless, topmost, transparent
    bool m_firstPaint = true;
    bool m_shown = false;  // WM_CREATE has placed and shown the window
    bool m_closing = false;
    bool m_idle = false;          // the idle actions are applied
    bool m_cursorHidden = false;  // this window hid the cursor (ShowCursor(FALSE) once)
    bool m_modalOpen = false;     // a modal dialog or menu of ours is open
    bool m_albumLaunch = false;   // the movie came from the album application ("/Kinoshelf")
    bool m_stripVisible = false;  // F6: the thumbnail strip is shown (hidden at start)
    bool m_sizeMove = false;      // a modal size loop runs and redraws wait for its end
    WPARAM m_lastSizeType = SIZE_RESTORED;
    SIZE m_lastSize{0, 0};


    DShowGraph_CL m_graph;
    ContentRecordStore_CL m_recordStore;
    RecordFailureMessageBox_CL m_recordNotice{nullptr};
    ContentRecords_CL m_records{m_recordStore, m_recordNotice};
    ContentInfo m_content;
    bool m_contentRecordLoaded = false;
    std::wstring m_loadedPath;  // the movie now loaded; empty when none is
    bool m_loadFromArchive = false;  // the load that runs plays an entry unpacked from an archive
    MainPlayList_CL m_playList{AppSettings::Process(), PlayListCallbacks()};
    DialogHistory_CL m_history;
    AlbumTags_CL m_albumTags{*this};  // "タグを追加する" of an album launch
    // Where to say that the loaded movie's file is let go, once the thumbnail worker stopped.
    HWND m_closeNoticeWindow = nullptr;
    UINT m_closeNoticeMessage = 0;
    MoviePlayWindow_CL m_videoWindow{this};
    // The mouse on the picture: the drag, the borderless edges, the zoom selection, the click.
    MainMouse_CL m_mouse{m_videoWindow, m_display, MouseCallbacks()};
    HWND m_video = nullptr;
    MainToolBar_CL m_toolBar;
    std::unique_ptr<PlaybackController_CL> m_controller;
    CommandRouter_CL m_router;
    PlayerCommands_CL m_commands{*this, AppSettings::Process()};
    MainSettings_CL m_settingsSheets{*this, AppSettings::Process()};

    ContentLoader_CL m_loader{*this};
    // The thumbnail strip and its worker; the stop code of the worker's last idle command.
    MainStrip_CL m_strip;
    LPARAM m_workerStopCode = -1;
    // The version check, started once the window has shown; its network step runs on a worker.
    std::unique_ptr<UpdateCheckRunner_CL> m_updateCheck;
    std::deque<LaunchRequest> m_handOffs;  // second starts not yet applied, oldest first
    RECT m_lastVideoRect{0, 0, 0, 0};
    std::wstring m_title;
};
