#include "app/LumikinoHDMainWindow_CL.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/DataFolderSetup.h"
#include "app/album/AlbumNotice.h"
#include "app/LaunchHandOff.h"
#include "app/PlayErrorDialog_CL.h"
#include "app/MainWindowIds.h"
#include "app/OpenFileFilter.h"
#include "app/loading/PlayStart.h"
#include "app/archive/DialogZipProgress_CL.h"
#include "intake/FindLaunchExt_CL.h"
#include "app/ScreenCapture_CL.h"
#include "app/commands/KeyMap.h"
#include "app/commands/MenuModel.h"
#include "app/layout/MainLayout.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/MutexLock_CL.h"
#include "media/CMyRenderer.h"
#include "media/BlitGeometry.h"
#include "media/DXHelper_CL.h"
#include "media/PlaybackTexts.h"
#include "media/ProcAmpChoice.h"
#include "store/AppSettings.h"
#include "store/WindowRect.h"
#include "ui/PopupMenu_CL.h"

namespace {
constexpr wchar_t kLoadingText[] = L"ＬＯＡＤＩＮＧ";
constexpr wchar_t kResumeText[] = L"ＲＥＳＵＭＥ";
constexpr wchar_t kPlayFailedText[] = L"再生できませんでした";
constexpr int kLoadingStatusTicks = 60;  // 30 s
constexpr LONG kDefaultWidth = 480, kDefaultHeight = 360;
}  // namespace

LumikinoHDMainWindow_CL::LumikinoHDMainWindow_CL(HINSTANCE instance)
    : m_instance(instance),
      m_history(*this, AppSettings::Process(), HistoryOptions()),
      m_strip(*this, AppSettings::Process(), StripCallbacks()) {
    m_icon = ::LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
}

LumikinoHDMainWindow_CL::~LumikinoHDMainWindow_CL() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
    m_controller.reset();  // its tick goes before the graph it reads
    m_graph.ReleaseFilterGraph();
}

ParseOutcome LumikinoHDMainWindow_CL::ParseLaunchCommandLine() {
    return ParseCommandLine(ProcessArguments(), m_launch);
}

bool LumikinoHDMainWindow_CL::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = m_instance;
    wc.hIcon = m_icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainWindowClass;
    return ::RegisterClassExW(&wc) != 0;
}

HWND LumikinoHDMainWindow_CL::Create() {
    return ::CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, m_instance, this);
}

LRESULT CALLBACK LumikinoHDMainWindow_CL::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LumikinoHDMainWindow_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<LumikinoHDMainWindow_CL*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
    }
    return result;
}

LRESULT LumikinoHDMainWindow_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_controller && message != WM_COMMAND) {
        LRESULT handled = 0;
        if (m_controller->HandleMessage(message, wParam, lParam, &handled)) return handled;
    }
    switch (message) {
        case WM_CREATE:
            OnCreate();
            break;
        case WM_PAINT:
            if (m_firstPaint) OnFirstPaint();
            break;
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_UPDATE_CHECK_RESULT:
            OnUpdateCheckResult(lParam);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 1;
        case WM_TIMER:
            if (wParam == ID_TIMER_CLOSE) {
                // A load waiting for its next attempt is given up; one that shows its dialog
                // is never torn down underneath: the timer stays armed and tries again.
                if (!m_loader.StopForClose()) return 0;
                ::KillTimer(m_window, ID_TIMER_CLOSE);
                ::DestroyWindow(m_window);
                return 0;
            }
            if (wParam == ID_TIMER_LOAD_ATTEMPT) {
                m_loader.OnAttemptTimer();
                return 0;
            }
            if (wParam == ID_TIMER_CLICK) {
                ::KillTimer(m_window, ID_TIMER_CLICK);
                KeyHandler('P');
                return 0;
            }
            if (m_controller && m_controller->HandleTimer(wParam)) {
                m_strip.SetPlaybackRunning(m_controller->IsPlaying() && !m_controller->IsPaused());
                return 0;
            }
            break;
        case WM_SIZE:
            OnSize(wParam, lParam);
            return 0;
        case WM_SIZING:
            OnSizing(wParam, reinterpret_cast<RECT*>(lParam));
            return TRUE;
        case WM_ENTERSIZEMOVE:
            OnEnterSizeMove();
            break;
        case WM_EXITSIZEMOVE:
            OnExitSizeMove();
            break;
        case WM_LBUTTONDBLCLK:
            // The second press of a double click: the first one's click does not act.
            m_mouse.OnDoubleClick();
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MAXIMIZE) {
                ToggleFullScreen();
                return 0;
            }
            if (((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) && m_controller &&
                m_controller->IsPlaying()) {
                return 0;
            }
            break;
        case WM_COMMAND:
            // The worker's idle command carries its stop code.
            if (LOWORD(wParam) == CMD_WORKER_IDLE) m_workerStopCode = lParam;
            RunCommand(LOWORD(wParam), lParam);
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        case WM_NCHITTEST:
            // The pointer is over the window's own parts, not the picture: the bar's lit item
            // goes dark (the hover update without keys).
            if (m_video) m_videoWindow.UpdateHover(0, false);
            break;
        case WM_PLAY_NEXT: {
            LoadRequest next;
            next.continuesList = true;
            RequestLoad(next);
            return 0;
        }
        case WM_UPDATE_LAYOUT:
            Layout();
            return 0;
        case WM_LIST_UPDATE: {
            int64_t position = -1;
            if (m_controller && FAILED(m_controller->CurrentPosition(&position))) position = -1;
            m_strip.FollowPlayback(m_stripVisible && ::IsWindowVisible(m_strip.Window()), position);
            return 0;
        }
        case WM_SHOW_STATUS:
            SetStatusText(L"");
            return 0;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_OPEN_LAUNCH_FILE:
            OnOpenLaunchFile();
            return 0;
        case WM_APPLY_LAUNCH_REQUEST:
            OnApplyLaunchRequest();
            return 0;
        case WM_REBUILD_LAUNCH_EXTENSIONS: {
            // The registry's movie and audio extensions, and the handlers to remember.
            AppSettings& settings = AppSettings::Process();
            const ULONGLONG started = ::GetTickCount64();
            settings.launch_extensions = FindLaunchExt_CL::Rebuild(FindLaunchExt_CL::ReadClassRoot, settings.File());
            LogPrintf(L"起動拡張子: %zu件 (%llu ms)", settings.launch_extensions.size(),
                      static_cast<unsigned long long>(::GetTickCount64() - started));
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(m_window, message, wParam, lParam);
}

void LumikinoHDMainWindow_CL::OnCreate() {
    AppSettings& settings = AppSettings::Process();
    m_controller = std::make_unique<PlaybackController_CL>(m_window, m_graph, static_cast<PlaybackHost_CL&>(*this),
                                                           settings);
    HRESULT tick = m_controller->Start();
    if (FAILED(tick)) LogPrintf(L"再生タイマーを開始できません (0x%08x)", static_cast<unsigned>(tick));
    ::DragAcceptFiles(m_window, TRUE);
    if (SUCCEEDED(m_videoWindow.Create(m_window, nullptr))) {
        m_video = m_videoWindow.Window();
        // The video window is made with a sizing frame; inside the main window it has none, or
        // its border would eat the picture's edge and start a resize of the child itself.
        const LONG_PTR style = ::GetWindowLongPtrW(m_video, GWL_STYLE);
        ::SetWindowLongPtrW(m_video, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
        ::SetWindowPos(m_video, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_mouse.Attach(m_window, m_video);
    // The strip comes after the video window: both have the id 0x1100 and the video window is
    // the one a look-up by id finds.
    HRESULT strip = m_strip.Create(m_window);
    if (FAILED(strip)) LogPrintf(L"サムネイルウィンドウを作れません (0x%08x)", static_cast<unsigned>(strip));
    m_loader.SetWindow(m_window);
    m_display.Attach(m_window, m_icon);
    m_commands.Register(m_router);
    m_strip.RegisterCommands(m_router);
    m_settingsSheets.RegisterCommands(m_router);
    MoviePlayWindow_CL::Callbacks callbacks;
    callbacks.setModalDialogOpen = [this](bool open) { SetModalDialogOpen(open); };
    callbacks.showPictureMenu = [this](HWND owner, POINT point) { ShowPictureMenu(owner, point); };
    m_videoWindow.SetCallbacks(std::move(callbacks));
    m_graph.SetVideoWindow(m_video);
    HRESULT bar = m_toolBar.Create(m_window, m_instance);
    if (FAILED(bar)) LogPrintf(L"ツールバーを作れません (0x%08x)", static_cast<unsigned>(bar));
    PlaceFromSavedRect();
    m_playList.List().SetRepeat(m_launch.loop != 0 || settings.loop_play != 0);
    HRESULT playList = m_playList.Create(m_window, m_instance);
    if (FAILED(playList)) LogPrintf(L"プレイリストダイアログを作れません (0x%08x)", static_cast<unsigned>(playList));
    m_router.Register(CMD_SHOW_PLAY_LIST, [this](WORD, LPARAM) { m_playList.ToggleDialog(m_display.FullScreen()); });
    HRESULT history = m_history.Create(m_window);
    if (FAILED(history)) LogPrintf(L"再生履歴ダイアログを作れません (0x%08x)", static_cast<unsigned>(history));
    m_router.Register(CMD_SHOW_HISTORY, [this](WORD, LPARAM) { m_history.Toggle(); });
    // Tags are added to the movie playing, for a player the album application started.
    m_router.Register(CMD_ADD_TAGS, [this](WORD, LPARAM) { m_albumTags.AddTags(); },
                      [this](WORD) {
                          CommandState state;
                          state.enabled = m_albumLaunch && !m_loadedPath.empty();
                          return state;
                      });
    m_records.SetAlbumNotice(AlbumNoticeSender(m_window));
    if (m_launch.full_screen) {
        ToggleFullScreen();
    } else {
        Layout();
    }
    ::SetFocus(m_window);
    if (!m_display.FullScreen()) ::ShowWindow(m_window, SW_SHOW);
    m_shown = true;
}

void LumikinoHDMainWindow_CL::SetModalDialogOpen(bool open) {
    m_modalOpen = open;
    if (m_controller) m_controller->SetModalDialogOpen(open);
}

void LumikinoHDMainWindow_CL::PlaceFromSavedRect() {
    RECT created{};
    ::GetWindowRect(m_window, &created);
    const RECT fallback{created.left, created.top, created.left + kDefaultWidth, created.top + kDefaultHeight};
    RECT rect = LoadWindowRect(L"WINDOW", L"rect", fallback);
    // Whatever the file says, the window lands on a monitor at a usable size.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (monitor && ::GetMonitorInfoW(monitor, &info)) work = info.rcWork;
    rect = SaneWindowRect(rect, work, SIZE{kDefaultWidth, kDefaultHeight}, SIZE{kDefaultWidth, kDefaultHeight});
    ::SetWindowPos(m_window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void LumikinoHDMainWindow_CL::ToggleFullScreen() {
    m_display.ToggleFullScreen();
    Layout();
}

void LumikinoHDMainWindow_CL::OnFirstPaint() {
    m_firstPaint = false;
    if (m_launch.path[0] != L'\0') ::PostMessageW(m_window, WM_OPEN_LAUNCH_FILE, 0, 0);
    // The version check asks the network only now that the window shows, and on a worker: a
    // slow or dead network never holds start-up. Nothing starts when it is off or not due.
    m_updateCheck = std::make_unique<UpdateCheckRunner_CL>(UpdateCheck_CL(UpdateSettings_CL::ForProcess(), UpdateRequest{}));
    m_updateCheck->Start(m_window, WM_UPDATE_CHECK_RESULT);
}

void LumikinoHDMainWindow_CL::OnUpdateCheckResult(LPARAM lParam) {
    if (!m_updateCheck || m_closing || m_modalOpen) {
        // A window that closes, or one inside a dialog of its own, shows no notice now; the
        // check is not marked done, so the next start asks again.
        UpdateCheckRunner_CL::DiscardResult(lParam);
        return;
    }
    SetModalDialogOpen(true);
    m_updateCheck->OnResult(lParam);
    SetModalDialogOpen(false);
}

void LumikinoHDMainWindow_CL::OnOpenLaunchFile() {
    LogPrintf(L"WM_OPEN_LAUNCH_FILE \"%ls\"", m_launch.path);
    if (m_launch.path[0] == L'\0') return;
    // The path is opened once: a hand-off that arrives before the first paint opens it itself,
    // and the first paint's request must not open it a second time.
    const std::wstring path(m_launch.path);
    m_launch.path[0] = L'\0';
    m_playList.Intake().OpenPath(path, true);
}

LRESULT LumikinoHDMainWindow_CL::OnCopyData(const COPYDATASTRUCT* data) {
    // Any process can send this message: take only a record of exactly the right size.
    LaunchRequest received;
    if (!ReadLaunchRecord(data, received)) {
        LogPrintf(L"WM_COPYDATA を無視しました (cbData=%u lpData=%p)", data ? static_cast<unsigned>(data->cbData) : 0u,
                  data ? data->lpData : nullptr);
        return FALSE;
    }
    LogPrintf(L"WM_COPYDATA \"%ls\" full_screen=%d loop=%d end_close=%d no_resume=%d start=%lld album=%d",
              received.path, received.full_screen, received.loop, received.end_close, received.no_resume,
              static_cast<long long>(received.start_position), received.from_album);
    // Each hand-off is applied in its turn: several second starts in a row must not overwrite
    // one another before they are applied.
    m_handOffs.push_back(received);
    // The rest is done after this message returns: the second start waits for the answer and
    // need not wait for the window to come forward and the movie to be opened.
    ::PostMessageW(m_window, WM_APPLY_LAUNCH_REQUEST, 0, 0);
    return TRUE;
}

void LumikinoHDMainWindow_CL::OnApplyLaunchRequest() {
    if (m_handOffs.empty()) return;
    m_launch = m_handOffs.front();
    m_handOffs.pop_front();
    // The handed-over path replaces whatever list was playing.
    m_playList.List().Clear();
    // Full screen is a maximised window: showing it normal would shrink it under its flag.
    ::ShowWindow(m_window, m_display.FullScreen() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SetForegroundWindow(m_window);
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    if (m_launch.full_screen && !m_display.FullScreen()) ToggleFullScreen();
    if (m_launch.path[0] != L'\0') {
        m_playList.List().SetRepeat(m_launch.loop != 0 || AppSettings::Process().loop_play != 0);
        OnOpenLaunchFile();
    }
}

void LumikinoHDMainWindow_CL::SaveMainWindowRect() {
    if (m_display.FullScreen()) return;  // nothing is saved in full screen
    if (!SaveWindowRect(m_window, L"WINDOW", L"rect")) return;
    RECT rect{};
    ::GetWindowRect(m_window, &rect);
    const Inifile_CL& file = AppSettings::Process().File();
    file.WriteInt(L"WINDOW", L"posx", rect.left);
    file.WriteInt(L"WINDOW", L"posy", rect.top);
    file.WriteInt(L"WINDOW", L"width", rect.right - rect.left);
    file.WriteInt(L"WINDOW", L"height", rect.bottom - rect.top);
}

void LumikinoHDMainWindow_CL::OnClose() {
    if (m_closing) return;  // the grace period is already running
    SaveMainWindowRect();
    if (m_controller) m_controller->SaveLastPlayFrame();
    m_closing = true;
    m_loader.StopForClose();
    m_strip.StopForClose();
    ::KillTimer(m_window, ID_TIMER_SAVE_POSITION);
    ::SetTimer(m_window, ID_TIMER_CLOSE, kCloseGraceMs, nullptr);
}

void LumikinoHDMainWindow_CL::OnDestroy() {
    // The position is saved, the tick is stopped and then the graph is released; the device
    // its presenter left for a next movie goes with it, on this thread, which owns it.
    if (m_controller) m_controller->OnDestroy();
    DXHelper_CL::ReleaseParkedDevice();
    m_history.Shutdown();  // a metadata job reading a slow share is awaited for a while only
    // A silent server is not awaited long; a result already queued is freed.
    if (m_updateCheck) m_updateCheck->Finish(kUpdateCheckExitWaitMs);
    RemoveZipFolder();  // the temporary extraction folder goes with the run
    ::PostQuitMessage(0);
}

void LumikinoHDMainWindow_CL::KeyHandler(UINT virtualKey) {
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"KeyHandler(0x%02x)", virtualKey);
    WORD command = CommandForKey(virtualKey, (::GetKeyState(VK_CONTROL) & 0x8000) != 0);
    // The arrows move the strip's selection while it has the focus (it takes the key itself).
    if ((command == CMD_PREVIOUS || command == CMD_NEXT) && m_strip.HasFocus()) command = 0;
    if (command == CMD_SHOW_HISTORY || command == CMD_SHOW_PLAY_LIST) {
        // The dialogs open after the key's message is done, as the tool bar's buttons do.
        ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    } else if (command != 0) {
        RunCommand(command);
    }
    NoteUserActivity();
}

bool LumikinoHDMainWindow_CL::RunCommand(WORD command, LPARAM lParam) {
    const bool ran = m_router.Run(command, lParam);
    // Whatever a command changed, the tool bar shows it (mute, strip, what may run now).
    if (ran) SyncToolBar();
    return ran;
}

void LumikinoHDMainWindow_CL::SyncToolBar() {
    if (!m_toolBar.Handle()) return;
    // The buttons show what the router answers: greyed while their command cannot run, and
    // the two switches pressed in while on.
    for (UINT command : MainToolBar_CL::Commands()) {
        m_toolBar.SetEnabled(command, m_router.State(static_cast<WORD>(command)).enabled);
    }
    for (WORD command : {CMD_MUTE, CMD_THUMBNAIL_STRIP}) m_toolBar.SetChecked(command, m_router.State(command).checked);
}

void LumikinoHDMainWindow_CL::PictureMoved() {
    m_lastVideoRect = RECT{0, 0, 0, 0};  // the picture's place changed: draw it again
    RedrawPlayer();
}

ContentInfo* LumikinoHDMainWindow_CL::LoadedRecord() {
    // Only a movie whose record is loaded has anything to keep.
    return m_contentRecordLoaded && m_content.HasRecord() ? &m_content : nullptr;
}

void LumikinoHDMainWindow_CL::ClickAtPointer() {
    if (!m_video) return;
    POINT point = m_mouse.PointerInVideo();
    ::PostMessageW(m_video, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    ::PostMessageW(m_video, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void LumikinoHDMainWindow_CL::CaptureScreen() {
    CMyRenderer* renderer = Renderer();
    if (!renderer) {
        CaptureResult none;
        none.status = CaptureStatus::kNoPicture;
        SetStatusText(ScreenCapture_CL::StatusText(none));
        return;
    }
    CaptureTarget target;
    target.dataRoot = DataFolder_CL::Root();
    ::GetLocalTime(&target.localTime);
    target.displaySize = ShownPictureSize(renderer);
    SetStatusText(ScreenCapture_CL::StatusText(ScreenCapture_CL::CaptureRenderer(renderer, target)));
}

void LumikinoHDMainWindow_CL::EndWindowDrag() { m_mouse.EndDrag(); }

void LumikinoHDMainWindow_CL::ShowPictureMenu(HWND owner, POINT clientPoint) {
    std::vector<MenuEntry> entries = BuildPictureMenu(m_commands.PictureMenuStateNow());
    ApplyCommandStates(m_router, &entries);
    PopupMenu_CL menu;
    if (!FillPopupMenu(entries, &menu)) LogPrintf(L"%ls", L"メニューの項目を作れません");
    const UINT chosen = menu.Show(owner, clientPoint);
    // The menu pumps messages: the window may have closed underneath it.
    if (chosen == 0 || !m_window || m_closing) return;
    // Written before the command: a settings sheet runs modally inside it.
    const WORD command = static_cast<WORD>(chosen);
    const bool runs = m_router.State(command).enabled;
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"PictureMenu(0x%04x) ran=%d", chosen, runs ? 1 : 0);
    RunCommand(command);
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"PictureMenu(0x%04x) finished", chosen);
}

void LumikinoHDMainWindow_CL::NoteUserActivity() {
    // The idle countdown starts again; a hidden cursor comes back, and leaving the idle state
    // brings the frame back through the layout.
    if (m_controller) m_controller->SetIdleTicks(AppSettings::Process().IdleDelaySeconds() * 2);
    // The layout goes first: with the strip hidden it hides the cursor over the picture, and
    // the cursor this activity brings back must stay until a later layout.
    if (m_idle || m_display.Frameless()) Layout();
    if (m_cursorHidden) {
        ::ShowCursor(TRUE);
        m_cursorHidden = false;
    }
}

void LumikinoHDMainWindow_CL::OnDropFiles(HDROP drop) {
    m_playList.Intake().HandleDrop(drop);  // finishes the drop whatever happens next
    NoteUserActivity();
}

// ---- The mouse on the picture ------------------------------------------------------------

void LumikinoHDMainWindow_CL::OnLoopLeftButtonDown(const MSG& message) { m_mouse.OnLeftButtonDown(message); }
void LumikinoHDMainWindow_CL::OnLoopMouseMove(const MSG& message) { m_mouse.OnMouseMove(message); }
void LumikinoHDMainWindow_CL::OnLoopLeftButtonUp(const MSG& message) { m_mouse.OnLeftButtonUp(message); }
void LumikinoHDMainWindow_CL::OnLoopMouseWheel(const MSG& message) { m_mouse.OnMouseWheel(message); }

MainMouse_CL::Callbacks LumikinoHDMainWindow_CL::MouseCallbacks() {
    MainMouse_CL::Callbacks callbacks;
    callbacks.noteUserActivity = [this]() { NoteUserActivity(); };
    callbacks.redrawPlayer = [this]() { RedrawPlayer(); };
    callbacks.setStatusText = [this](const std::wstring& text) { SetStatusText(text); };
    callbacks.renderer = [this]() { return Renderer(); };
    callbacks.focusStrip = [this]() { m_strip.Focus(); };
    callbacks.modalOpen = [this]() { return m_modalOpen; };
    callbacks.playing = [this]() { return m_controller && m_controller->IsPlaying() && !m_controller->IsPaused(); };
    callbacks.volumeStep = [this]() { return m_controller ? m_controller->VolumeStep() : -1; };
    return callbacks;
}

void LumikinoHDMainWindow_CL::RefreshHistoryDialog() { m_history.RefreshEntry(m_loadedPath); }

// ---- Content loading ---------------------------------------------------------------------

void LumikinoHDMainWindow_CL::RequestLoad(const LoadRequest& request) { m_loader.RequestLoad(request); }

void LumikinoHDMainWindow_CL::LeaveContent() {
    CloseContent();
    SetStatusText(kLoadingText);
    if (m_controller) m_controller->SetStatusTicks(kLoadingStatusTicks);
}

void LumikinoHDMainWindow_CL::CloseContent() {
    if (m_controller) {
        m_controller->LoopEnd();
        m_controller->SaveLastPlayFrame();
        m_controller->ReleaseFilterGraph();
    }
    // From here until a new record is read nothing may write to the old movie's record: a
    // rating or a cleared favourite without a movie would land in the wrong file.
    m_contentRecordLoaded = false;
    m_content.Reset();
    m_title.clear();
    m_loadedPath.clear();
}

void LumikinoHDMainWindow_CL::CloseContentThenPost(HWND window, UINT message) {
    LogPrintf(L"%ls", L"削除のためコンテンツを閉じる");
    CloseContent();
    RedrawPlayer();
    // The thumbnail worker reads the file too: the notice waits for it to stop.
    if (m_strip.StopForLoad()) {
        m_closeNoticeWindow = window;
        m_closeNoticeMessage = message;
    } else {
        ::PostMessageW(window, message, 0, 0);
    }
}

std::vector<HWND> LumikinoHDMainWindow_CL::ModelessDialogs() const {
    std::vector<HWND> dialogs;
    if (m_playList.DialogWindow()) dialogs.push_back(m_playList.DialogWindow());
    if (m_history.Window()) dialogs.push_back(m_history.Window());
    return dialogs;
}

bool LumikinoHDMainWindow_CL::ResolveLoadPath(const LoadRequest& request, std::wstring* path, bool* fromList) {
    const AppSettings& settings = AppSettings::Process();
    m_albumLaunch = m_launch.from_album != 0;
    m_loadFromArchive = false;
    *path = request.path;
    *fromList = false;
    if (request.direct || m_playList.List().IsEmpty()) return true;
    m_playList.List().SetRepeat(m_launch.loop != 0 || settings.loop_play != 0);
    PlayListItem item;
    if (!m_playList.List().TakeNextEntry(&item)) return true;
    m_loadFromArchive = item.inArchive != 0;
    if (m_loadFromArchive && !UnpackArchiveEntry(item)) return false;
    *path = item.path;
    *fromList = true;
    return true;
}

bool LumikinoHDMainWindow_CL::UnpackArchiveEntry(const PlayListItem& item) {
    // The entry is unpacked to where it plays from, replacing whatever an entry of the same
    // name left there; failing that, nothing plays (not a stale file of that name). The
    // thumbnail worker, stopped by now, may still hold that file through its graph.
    m_strip.LetFileGo();
    DialogZipProgress_CL dialog(DialogZipProgress_CL::kUnpackingText, item.archive, item.archiveRecordIndex,
                                item.path);
    SetModalDialogOpen(true);
    const bool unpacked = dialog.Show(m_window) == 1;
    if (!unpacked && m_window && !m_closing) dialog.ShowResultMessage(m_window);
    SetModalDialogOpen(false);
    return unpacked;
}

void LumikinoHDMainWindow_CL::ReleaseGraph() { m_controller->ReleaseFilterGraph(); }

bool LumikinoHDMainWindow_CL::StopThumbnails() {
    // Before the first paint no thumbnail job can have started: the load goes at once.
    return !m_firstPaint && m_strip.StopForLoad();
}

HRESULT LumikinoHDMainWindow_CL::BuildGraph(const std::wstring& path) {
    m_graph.SetVideoWindow(m_video);
    return m_graph.CreateFilterGraph(path, AppSettings::Process().pitch_keep != 1);
}

void LumikinoHDMainWindow_CL::FinishLoad(const LoadRequest& request, const std::wstring& path, bool fromList,
                                         HRESULT hr) {
    const AppSettings& settings = AppSettings::Process();
    const bool soundOnly = SUCCEEDED(hr) && m_graph.IsSoundOnlyGraph() != 0;

    ContentLoader_CL::Trace(L"SetContent2(03)");
    // The strip's cells for the movie's length, under the interval of the settings.
    m_strip.PrepareContent(m_graph, hr);
    ContentLoader_CL::Trace(L"SetContent2(03-01)");
    if (SUCCEEDED(hr)) {
        m_content = ContentInfo();
        std::wstring movedFrom;
        m_records.LoadContent(m_content, path, m_loadFromArchive, &movedFrom);
        // A moved or renamed movie brought its record along: its history rows follow too.
        if (!movedFrom.empty()) m_history.MovePath(movedFrom, path);
        m_contentRecordLoaded = true;
        m_title = m_content.content_name;
        m_loadedPath = path;
    }
    // The play list's playing row follows the movie loaded.
    m_playList.RefreshDialog();
    ContentLoader_CL::Trace(L"SetContent2(03-02)");
    if (SUCCEEDED(hr)) m_strip.StartThumbnails(path, soundOnly, m_strip.Strip().SeekableLength());
    ContentLoader_CL::Trace(L"SetContent2(04)");
    m_mouse.ResetZoom();
    // The overlay itself (title, rating, switches) goes to the renderer with the next redraw.
    if (CMyRenderer* renderer = Renderer()) renderer->Presenter()->SetSelection(false, m_mouse.Rules().ZoomSelection());
    ContentLoader_CL::Trace(L"SetContent2(05)");
    ::InvalidateRect(m_window, nullptr, FALSE);
    if (FAILED(hr)) {
        LogPrintf(L"動画再生失敗 hResult = 0x%08x", static_cast<unsigned>(hr));
        m_title.clear();  // a failed build leaves no renderer to show it
        if (!path.empty()) {
            SetStatusText(kPlayFailedText);
            // Modal: the load stays marked running while the dialog pumps messages, so a
            // request arriving meanwhile waits and the window is not torn down underneath.
            PlayErrorDialog_CL dialog(path, [this](bool open) { SetModalDialogOpen(open); });
            dialog.Run(m_window);
        }
        return;
    }
    ContentLoader_CL::Trace(L"SetContent2(06)");
    AddHistory(path);
    m_playList.List().SetSource(fromList);
    ContentLoader_CL::Trace(L"SetContent2(07)");
    ContentLoader_CL::Trace(L"SetContent2(08)");
    ContentLoader_CL::Trace(L"SetContent2(09)");
    // Events, volume and balance are set by the controller as it takes the new graph.
    m_controller->OnContentLoaded(&m_content, soundOnly);
    ContentLoader_CL::Trace(L"SetContent2(10)");
    ApplyColour();
    // The new renderer takes the window's size now, while no frame flows: a device reset
    // after Run would hold the first picture back.
    m_lastVideoRect = RECT{0, 0, 0, 0};
    Layout();
    m_strip.WaitForThumbnails();

    PlayStartFacts facts;
    facts.noResumeSetting = settings.no_resume != 0;
    facts.launchNoResume = m_launch.no_resume != 0;
    facts.recordNoResume = m_content.no_resume != 0;
    facts.savedPosition = m_content.last_play_frame;
    facts.continuesList = request.continuesList;
    facts.soundOnly = soundOnly;
    facts.launchStart = m_launch.start_position;
    const PlayStart start = DecidePlayStart(facts);
    if (start.fromBeginning) {
        m_controller->Play(0);
    } else {
        m_controller->PlayResume(start.position);
        SetStatusText(kResumeText);
    }
    ContentLoader_CL::Trace(L"SetContent2(11)");
    m_strip.ShowStart(start.position);
    ContentLoader_CL::Trace(L"SetContent2(12)");
    // The idle delay counts from the new movie's start, not only from the last input: a
    // player started on a movie with no hand on the mouse goes idle as well.
    if (m_controller) m_controller->SetIdleTicks(AppSettings::Process().IdleDelaySeconds() * 2);
    Layout();  // lays out and redraws with the overlay of the playing movie
    if (HWND bar = m_toolBar.Handle()) ::InvalidateRect(bar, nullptr, FALSE);
    ContentLoader_CL::Trace(L"SetContent2(完了)");
}

OverlayModel LumikinoHDMainWindow_CL::MakeOverlayModel() const {
    const AppSettings& settings = AppSettings::Process();
    const PlaybackController_CL* c = m_controller.get();
    OverlayModel model;
    model.title = m_title;
    model.starCount = m_contentRecordLoaded ? m_content.star_count : 0;
    model.showTitle = settings.enable_title != 0;
    model.showTime = settings.enable_playtime != 0;
    model.showClock = settings.enable_clock != 0;
    model.clockCorner = settings.now_time_pos;
    model.zoomMode = settings.output_rate_hv;
    model.bar.contentLoaded = c && c->ContentLoaded();
    model.bar.playbackStarted = c && c->IsPlaying();
    model.bar.paused = c && c->IsPaused();
    model.bar.muted = c && c->Muted();
    model.bar.volumeStep = c ? c->VolumeStep() : settings.VolumeStep();
    model.bar.thumbnailsShown = m_stripVisible;
    model.bar.fullScreen = m_display.FullScreen();
    model.skipBackSeconds = model.skipForwardSeconds = settings.SkipStepSeconds(settings.skip_sec_button_index);
    return model;
}

void LumikinoHDMainWindow_CL::PublishOverlay() {
    CMyRenderer* renderer = Renderer();
    if (!renderer) return;
    // The presenter guards its overlay copy itself; no frame lock is needed for the hand-over.
    renderer->Presenter()->SetOverlay(MakeOverlayModel());
}

void LumikinoHDMainWindow_CL::ApplyColour() {
    CMyRenderer* renderer = Renderer();
    if (!renderer) return;
    const AppSettings& settings = AppSettings::Process();
    ProcAmpSource record, application;
    record.enable = m_content.enable;
    record.values[0] = m_content.brightness;
    record.values[1] = m_content.contrast;
    record.values[2] = m_content.hue;
    record.values[3] = m_content.saturation;
    application.enable = settings.proc_amp_enable;
    application.values[0] = settings.brightness;
    application.values[1] = settings.contrast;
    application.values[2] = settings.hue;
    application.values[3] = settings.saturation;
    const ProcAmpChoice choice = ChooseProcAmp(record, application);
    const int masks[4] = {kProcAmpBrightness, kProcAmpContrast, kProcAmpHue, kProcAmpSaturation};
    VideoPresenter_CL* presenter = renderer->Presenter();
    for (int i = 0; i < 4; ++i) presenter->SetProcAmpValue(masks[i], choice.values[i]);
}

ProcAmpRange LumikinoHDMainWindow_CL::ColourRange(int mask) {
    CMyRenderer* renderer = Renderer();
    if (renderer && m_controller && m_controller->ContentLoaded()) return renderer->Presenter()->GetProcAmpRange(mask);
    return NominalProcAmpRange(mask);
}

void LumikinoHDMainWindow_CL::RebuildStrip(int64_t interval) {
    m_strip.Rebuild(interval);
    int64_t position = 0;
    if (m_controller && m_controller->ContentLoaded() && SUCCEEDED(m_controller->CurrentPosition(&position))) {
        m_strip.ShowPosition(position);
    }
}

void LumikinoHDMainWindow_CL::FollowSettings() {
    if (m_contentRecordLoaded) m_title = m_content.content_name;
    ApplyColour();
    m_display.EndOpacityPreview();
    NoteUserActivity();  // the idle count starts again with the delay now set
    Layout();            // the strip's side; the redraw hands the overlay to the presenter
    SyncToolBar();
    RefreshHistoryDialog();
}

// ---- Layout and drawing ------------------------------------------------------------------

void LumikinoHDMainWindow_CL::OnSize(WPARAM type, LPARAM size) {
    const LogSwitches& switches = ProcessLogSwitches();
    const unsigned width = LOWORD(size), height = HIWORD(size);
    if (type == SIZE_MINIMIZED || type == SIZE_MAXIMIZED) m_sizeMove = false;
    const bool sizeChanged = static_cast<LONG>(width) != m_lastSize.cx || static_cast<LONG>(height) != m_lastSize.cy;
    // Our own placement while the window is made is not worth a write of the settings file.
    if (type == SIZE_RESTORED && sizeChanged && m_shown) SaveMainWindowRect();
    if (m_controller && (::GetKeyState(VK_LBUTTON) & 0x8000) != 0) {
        // A resize by the mouse: the strip stays away until 1.5 s after the last step.
        if (type >= SIZE_MINIMIZED && type <= SIZE_MAXHIDE) {
            m_controller->SetLayoutRetryTicks(0);
        } else if (type == SIZE_RESTORED && m_lastSizeType == SIZE_RESTORED) {
            m_controller->SetLayoutRetryTicks(3);
        }
    }
    m_lastSizeType = type;
    bool laidOut = false;
    if (!sizeChanged) {
        if (switches.log_detail_resize) LogPrintf(L"%ls", L"リサイズをスキップしました。");
    } else {
        m_lastSize = SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
        Layout();
        laidOut = true;
    }
    if (switches.log_detail_resize) {
        RECT client{};
        ::GetClientRect(m_window, &client);
        LogPrintf(L"WM_SIZE(trace) wParam=%u frameWh=%ux%u client=%dx%d onResizeLayout=%d reSizeCounter=%d",
                  static_cast<unsigned>(type), width, height, static_cast<int>(client.right - client.left),
                  static_cast<int>(client.bottom - client.top), laidOut ? 1 : 0,
                  m_controller ? m_controller->LayoutRetryTicks() : 0);
    }
    if (!switches.resize_defer_modal_size || !m_sizeMove) {
        RedrawPlayer();
    } else if (switches.log_detail_resize) {
        LogPrintf(L"%ls", L"WM_SIZE(trace) defer RedrawPlayer (modal size loop)");
    }
}

void LumikinoHDMainWindow_CL::OnSizing(WPARAM edge, RECT* rect) {
    if (rect) WindowDrag_CL::KeepMinimumSize(edge, rect);
}

void LumikinoHDMainWindow_CL::OnEnterSizeMove() {
    if (!ProcessLogSwitches().resize_defer_modal_size) return;
    m_sizeMove = true;
    if (ProcessLogSwitches().log_detail_resize) LogPrintf(L"%ls", L"WM_ENTERSIZEMOVE(trace) deferRedrawPlayer=1");
}

void LumikinoHDMainWindow_CL::OnExitSizeMove() {
    if (!m_sizeMove) return;
    m_sizeMove = false;
    if (ProcessLogSwitches().log_detail_resize) LogPrintf(L"%ls", L"WM_EXITSIZEMOVE(trace) RedrawPlayer flush");
    RedrawPlayer();
}

LayoutInput LumikinoHDMainWindow_CL::LayoutInputNow() {
    const AppSettings& settings = AppSettings::Process();
    const PlaybackController_CL* c = m_controller.get();
    LayoutInput input;
    RECT client{};
    ::GetClientRect(m_window, &client);
    input.clientPx = SIZE{client.right - client.left, client.bottom - client.top};
    input.fullScreen = m_display.FullScreen();
    input.borderless = m_display.Borderless();
    input.frameless = m_display.Frameless();
    if (m_toolBar.Handle()) {
        m_toolBar.Resize();  // the bar fits itself to the client width and so finds its height
        input.toolBarExists = true;
        input.toolBarHeightPx = m_toolBar.Height();
    }
    input.idleTimedOut = c && c->IdleTimedOut();
    input.modalOpen = m_modalOpen;
    input.overBarItem = m_videoWindow.IsHovered();
    input.contentLoaded = c && c->ContentLoaded();
    input.playing = c && c->IsPlaying();
    input.paused = c && c->IsPaused();
    input.stripVisible = m_stripVisible;
    input.stripExists = m_strip.Exists();
    input.layoutRetryTicks = c ? c->LayoutRetryTicks() : 0;
    input.direction = settings.direction;
    input.smallImageSize = settings.small_image_size;
    const SIZE picture = m_graph.GetDisplaySize();
    input.rendererWidthPx = Renderer() ? picture.cx : 0;
    input.rendererHeightPx = Renderer() ? picture.cy : 0;
    input.verticalStripExtraPx = ::GetSystemMetrics(SM_CYHSCROLL);
    input.horizontalStripExtraPx = ::GetSystemMetrics(SM_CXHSCROLL);
    input.noThumbnail = settings.no_thumbnail;
    input.mouseHide = settings.mouse_hide;
    input.noFrame = settings.no_frame;
    input.cursorShown = !m_cursorHidden;
    const HWND underPointer = ::WindowFromPoint(MainMouse_CL::CursorPosition());
    input.pointerOverVideo = underPointer == m_video;
    input.playListVisible = m_playList.DialogShown();
    // The pointer over the strip keeps the window from going idle.
    input.overStrip = underPointer && underPointer == m_strip.Window() && ::IsWindowVisible(underPointer);
    return input;
}

void LumikinoHDMainWindow_CL::Layout() {
    if (!m_video) return;
    LayoutResult result = ComputeMainLayout(LayoutInputNow());
    m_idle = result.idle;
    if (result.hideCursor) {
        ::ShowCursor(FALSE);
        m_cursorHidden = true;
    }
    if (result.frame.action != FrameAction::kNone) {
        m_display.SetFrameless(result.frame.frameless, true);
        // The frame changed the client area: place the windows in the new one.
        result = ComputeMainLayout(LayoutInputNow());
    }
    m_display.SetFrameless(result.frame.frameless, false);
    if (HWND bar = m_toolBar.Handle()) {
        ::ShowWindow(bar, result.toolBarShown ? SW_SHOWNA : SW_HIDE);
        SyncToolBar();
    }
    const RECT& video = result.videoRect;
    ::MoveWindow(m_video, video.left, video.top, video.right - video.left, video.bottom - video.top, TRUE);
    m_strip.ApplyLayout(result);
    if (!ProcessLogSwitches().resize_defer_modal_size || !m_sizeMove) RedrawPlayer();
}

void LumikinoHDMainWindow_CL::RedrawPlayer() {
    PublishOverlay();
    const bool trace = ProcessLogSwitches().log_detail_resize;
    CMyRenderer* renderer = Renderer();
    RECT rect{};
    if (m_video) ::GetClientRect(m_video, &rect);
    const bool changed = !::EqualRect(&rect, &m_lastVideoRect);
    if (trace) {
        const RECT& old = m_lastVideoRect;
        LogPrintf(L"RedrawPlayer(trace) ENTER movieRectChanged=%d rectCmp=%d renderer=%p old=(%d,%d,%d,%d) "
                  L"cur=(%d,%d,%d,%d)",
                  changed ? 1 : 0, changed ? 1 : 0, static_cast<void*>(renderer), static_cast<int>(old.left),
                  static_cast<int>(old.top), static_cast<int>(old.right), static_cast<int>(old.bottom),
                  static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                  static_cast<int>(rect.bottom));
    }
    const wchar_t* path = L"no_renderer";
    if (renderer && m_video) {
        if (changed) {
            m_lastVideoRect = rect;
            renderer->OnResize();
            path = L"OnResize";
        } else if (!m_controller || !m_controller->IsPlaying() || m_controller->IsPaused()) {
            renderer->Redraw();
            path = L"OnReDraw";
        } else {
            path = L"noop_playing";
        }
    }
    if (trace) LogPrintf(L"RedrawPlayer(trace) EXIT path=%ls", path);
}

void LumikinoHDMainWindow_CL::SetStatusText(const std::wstring& text) {
    if (m_controller && !text.empty()) m_controller->SetStatusTicks(6);
    if (CMyRenderer* renderer = Renderer()) renderer->Presenter()->SetMessageText(text);
    RedrawPlayer();
}

SIZE LumikinoHDMainWindow_CL::ShownPictureSize(CMyRenderer* renderer) const {
    // The picture as it stands in the video window: its shape and zoom mode, without the bars.
    const SIZE frame = renderer->DisplaySize();
    BlitInput input;
    input.frameWidth = frame.cx;
    input.frameHeight = frame.cy;
    input.zoomMode = AppSettings::Process().output_rate_hv;
    RECT client{};
    if (m_video) ::GetClientRect(m_video, &client);
    input.client = SIZE{client.right, client.bottom};
    input.selectionZoom = m_mouse.Rules().ZoomApplied();
    input.selection = m_mouse.Rules().ZoomSelection();
    const BlitRects rects = ComputeBlitRects(input);
    if (!IsDrawable(rects)) return frame;  // no window to measure: the frame's own size
    return SIZE{rects.destination.right - rects.destination.left, rects.destination.bottom - rects.destination.top};
}

void LumikinoHDMainWindow_CL::ShowOpenFileDialog() {
    AppSettings& settings = AppSettings::Process();
    const std::wstring filter = OpenFileFilter(m_playList.PlayableExtensions());
    std::wstring path;
    SetModalDialogOpen(true);
    const bool chose = AskForMovieFile(m_window, filter, settings.last_open_file_folder, &path);
    SetModalDialogOpen(false);
    // The dialog pumps messages: the window may have closed underneath it.
    if (!m_window || m_closing || !chose) return;
    LogPrintf(L"ファイルを開く \"%ls\"", path.c_str());
    m_playList.List().Clear();
    settings.SaveLastOpenFolder(FolderOfChosenFile(path));
    m_playList.Intake().OpenPath(path, true);
}

// ---- The window's display modes ----------------------------------------------------------

void LumikinoHDMainWindow_CL::SetBorderless(bool on) {
    if (m_display.SetBorderless(on)) Layout();
}

// ---- Hosts -------------------------------------------------------------------------------

void LumikinoHDMainWindow_CL::MoveStripTo(int64_t position) { m_strip.ShowPosition(position); }

void LumikinoHDMainWindow_CL::OnWorkerIdle() {
    // An interval change asks for the cells again; every other stop lets a waiting load go.
    if (m_closeNoticeWindow) {
        // The stopped worker still holds the file through its graph: it lets it go first, or
        // the file the notice is about (to be deleted) could not be touched.
        m_strip.LetFileGo();
        ::PostMessageW(m_closeNoticeWindow, m_closeNoticeMessage, 0, 0);
        m_closeNoticeWindow = nullptr;
    }
    if (m_strip.OnWorkerStopped(m_workerStopCode)) m_loader.OnWorkerIdle();
    m_workerStopCode = -1;
}

LRESULT LumikinoHDMainWindow_CL::OnNotify(const NMHDR* header) {
    int64_t time = 0;
    if (!header || !m_strip.ChosenCell(*header, &time) || !m_controller) return 0;
    // A chosen cell: there, and play.
    m_controller->SeekTo(time);
    m_controller->Play(1);
    RedrawPlayer();
    return 0;
}

MainStrip_CL::Callbacks LumikinoHDMainWindow_CL::StripCallbacks() {
    MainStrip_CL::Callbacks callbacks;
    callbacks.setModalDialogOpen = [this](bool open) { SetModalDialogOpen(open); };
    callbacks.runCommand = [this](WORD command) { return m_window && !m_closing && RunCommand(command); };
    callbacks.content = [this]() {
        ThumbnailWindow_CL::StripContent content;
        content.loaded = m_controller && m_controller->ContentLoaded();
        content.soundOnly = content.loaded && m_graph.IsSoundOnlyGraph() != 0;
        if (const ContentInfo* record = LoadedRecord()) content.marks = MarksFromContent(*record);
        return content;
    };
    return callbacks;
}

PlayListCursor LumikinoHDMainWindow_CL::PlayList() {
    PlayListCursor cursor;
    cursor.count = static_cast<int>(m_playList.List().Count());
    cursor.nextIndex = m_playList.List().NextIndex();
    cursor.listIsSource = m_playList.List().IsSource();
    cursor.repeat = m_playList.List().Repeat();
    return cursor;
}

void LumikinoHDMainWindow_CL::SetPlayListNextIndex(int index) { m_playList.List().SetNextIndex(index); }

void LumikinoHDMainWindow_CL::ResetLaunchStart() {
    m_launch.full_screen = 0;
    m_launch.start_position = -1;
    m_launch.path[0] = L'\0';
}

bool LumikinoHDMainWindow_CL::EndCloseRequested() { return m_launch.end_close != 0; }

DialogHistory_CL::Options LumikinoHDMainWindow_CL::HistoryOptions() {
    DialogHistory_CL::Options options;
    options.historyPath = DataFolder_CL::HistoryIniPath();
    return options;
}

void LumikinoHDMainWindow_CL::AddHistory(const std::wstring& path) { m_history.AddHistory(path); }

void LumikinoHDMainWindow_CL::PlayHistoryPath(const std::wstring& path) { m_playList.Intake().OpenPath(path, true); }

MainPlayList_CL::Callbacks LumikinoHDMainWindow_CL::PlayListCallbacks() {
    MainPlayList_CL::Callbacks callbacks;
    callbacks.requestLoad = [this](const LoadRequest& request) { RequestLoad(request); };
    callbacks.loadedMoviePath = [this]() { return m_loadedPath; };
    callbacks.closeContentThenPost = [this](HWND window, UINT message) { CloseContentThenPost(window, message); };
    callbacks.setModalDialogOpen = [this](bool open) { SetModalDialogOpen(open); };
    callbacks.readRowRecord = [this](const std::wstring& path, std::wstring* name, int* stars) {
        return ReadRowRecord(path, name, stars);
    };
    callbacks.addHistory = [this](const std::wstring& path) { AddHistory(path); };
    return callbacks;
}

bool LumikinoHDMainWindow_CL::ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName,
                                            int* starCount) {
    ContentInfo row;
    if (!m_records.ReadRecordOf(moviePath, &row)) return false;
    *contentName = row.content_name;
    *starCount = row.star_count;
    return true;
}

DXHelper_CL* LumikinoHDMainWindow_CL::Direct3DPresenter() const {
    CMyRenderer* renderer = Renderer();
    return renderer ? dynamic_cast<DXHelper_CL*>(renderer->Presenter()) : nullptr;
}

int LumikinoHDMainWindow_CL::UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) {
    DXHelper_CL* presenter = Direct3DPresenter();
    if (!presenter) return -1;
    return presenter->UpdateHover(point, volumeDrag, volume);
}

ControlBarVolumeHit LumikinoHDMainWindow_CL::HitVolume(POINT point) {
    DXHelper_CL* presenter = Direct3DPresenter();
    if (!presenter) return ControlBarVolumeHit();
    return presenter->HitVolume(point);
}

bool LumikinoHDMainWindow_CL::ControlBarSnapshot(const RECT& client, ControlBar_CL* bar) {
    DXHelper_CL* presenter = Direct3DPresenter();
    if (!presenter) return false;
    *bar = presenter->ControlBarSnapshot();
    ControlBarState state;
    state.contentLoaded = m_controller && m_controller->ContentLoaded();
    state.playbackStarted = m_controller && m_controller->IsPlaying();
    state.paused = m_controller && m_controller->IsPaused();
    state.muted = m_controller && m_controller->Muted();
    state.volumeStep = m_controller ? m_controller->VolumeStep() : 0;
    bar->Layout(client, state);
    return true;
}
