#include "app/LumikinoHDMainWindow_CL.h"

#include <shellapi.h>

#include <vector>

#include "app/LaunchHandOff.h"
#include "app/PlayErrorDialog_CL.h"
#include "app/MainWindowIds.h"
#include "app/ScreenCapture_CL.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/MutexLock_CL.h"
#include "intake/IntakeKeys.h"
#include "media/CMyRenderer.h"
#include "media/DXHelper_CL.h"
#include "media/PlaybackTexts.h"
#include "media/ProcAmpChoice.h"
#include "store/AppSettings.h"
#include "store/WindowRect.h"

namespace {
constexpr wchar_t kLoadingText[] = L"ＬＯＡＤＩＮＧ";
constexpr wchar_t kResumeText[] = L"ＲＥＳＵＭＥ";
constexpr wchar_t kPlayFailedText[] = L"再生できませんでした";
constexpr wchar_t kNotYetReadableText[] = L"この形式はまだ開けません";
constexpr int kLoadingStatusTicks = 60;  // 30 s
constexpr LONG kDefaultWidth = 480, kDefaultHeight = 360;
}  // namespace

LumikinoHDMainWindow_CL::LumikinoHDMainWindow_CL(HINSTANCE instance) : m_instance(instance) {
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
        case WM_CLOSE:
            OnClose();
            return 1;
        case WM_TIMER:
            if (wParam == ID_TIMER_CLOSE) {
                // A load pumping messages (a modal dialog) is never torn down underneath:
                // the timer stays armed and tries again.
                if (m_loading) return 0;
                ::KillTimer(m_window, ID_TIMER_CLOSE);
                ::DestroyWindow(m_window);
                return 0;
            }
            if (m_controller && m_controller->HandleTimer(wParam)) return 0;
            break;
        case WM_SIZE:
            OnSize();
            return 0;
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
            if (m_controller && LOWORD(wParam) == CMD_VOLUME_STEP) {
                LRESULT handled = 0;
                m_controller->HandleMessage(message, wParam, lParam, &handled);
                return 0;
            }
            OnCommand(LOWORD(wParam), lParam);
            return 0;
        case WM_PLAY_NEXT: {
            LoadRequest next;
            next.continuesList = true;
            RequestLoad(next);
            return 0;
        }
        case WM_UPDATE_LAYOUT:
            Layout();
            return 0;
        case WM_SHOW_STATUS:
            SetStatusText(L"");
            return 0;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_OPEN_LAUNCH_FILE:
            OnOpenLaunchFile();
            return 0;
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
    if (SUCCEEDED(m_videoWindow.Create(m_window, nullptr))) m_video = m_videoWindow.Window();
    MoviePlayWindow_CL::Callbacks callbacks;
    callbacks.setModalDialogOpen = [this](bool open) { SetModalDialogOpen(open); };
    m_videoWindow.SetCallbacks(std::move(callbacks));
    m_graph.SetVideoWindow(m_video);
    PlaceFromSavedRect();
    m_playList.SetRepeat(m_launch.loop != 0 || settings.loop_play != 0);
    if (m_launch.full_screen) {
        ToggleFullScreen();
    } else {
        Layout();
    }
    ::SetFocus(m_window);
    if (!m_fullScreen) ::ShowWindow(m_window, SW_SHOW);
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
    constexpr LONG_PTR kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    LONG_PTR style = ::GetWindowLongPtrW(m_window, GWL_STYLE);
    if (!m_fullScreen) {
        LogPrintf(L"%ls", L"フルスクリーン");
        m_fullScreen = true;
        ::SetWindowLongPtrW(m_window, GWL_STYLE, style & ~kFrameStyles);
        ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, 0);
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(m_window, SW_HIDE);
        ::ShowWindow(m_window, SW_SHOWMAXIMIZED);
    } else {
        LogPrintf(L"%ls", L"ウインドウ");
        m_fullScreen = false;
        ::SetWindowLongPtrW(m_window, GWL_STYLE, style | kFrameStyles);
        ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(m_window, SW_SHOWNORMAL);
    }
    Layout();
}

void LumikinoHDMainWindow_CL::OnFirstPaint() {
    m_firstPaint = false;
    if (m_launch.path[0] != L'\0') ::PostMessageW(m_window, WM_OPEN_LAUNCH_FILE, 0, 0);
}

void LumikinoHDMainWindow_CL::OnOpenLaunchFile() {
    LogPrintf(L"WM_OPEN_LAUNCH_FILE \"%ls\"", m_launch.path);
    if (m_launch.path[0] == L'\0') return;
    m_intake.OpenPath(m_launch.path, true);
}

LRESULT LumikinoHDMainWindow_CL::OnCopyData(const COPYDATASTRUCT* data) {
    // Any process can send this message: take only a record of exactly the right size.
    LaunchRequest received;
    if (!ReadLaunchRecord(data, received)) {
        LogPrintf(L"WM_COPYDATA を無視しました (cbData=%u lpData=%p)", data ? static_cast<unsigned>(data->cbData) : 0u,
                  data ? data->lpData : nullptr);
        return FALSE;
    }
    m_launch = received;
    LogPrintf(L"WM_COPYDATA \"%ls\" full_screen=%d loop=%d end_close=%d no_resume=%d start=%lld album=%d",
              m_launch.path, m_launch.full_screen, m_launch.loop, m_launch.end_close, m_launch.no_resume,
              static_cast<long long>(m_launch.start_position), m_launch.from_album);
    ::ShowWindow(m_window, SW_SHOWNORMAL);
    ::SetForegroundWindow(m_window);
    ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    // The second launch's movie replaces what plays now (posted: a load must not run inside
    // another process's SendMessage).
    if (m_launch.path[0] != L'\0') {
        m_playList.SetRepeat(m_launch.loop != 0 || AppSettings::Process().loop_play != 0);
        ::PostMessageW(m_window, WM_OPEN_LAUNCH_FILE, 0, 0);
    }
    return TRUE;
}

void LumikinoHDMainWindow_CL::SaveMainWindowRect() {
    if (m_fullScreen) return;  // nothing is saved in full screen
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
    ::KillTimer(m_window, ID_TIMER_SAVE_POSITION);
    ::SetTimer(m_window, ID_TIMER_CLOSE, kCloseGraceMs, nullptr);
}

void LumikinoHDMainWindow_CL::OnDestroy() {
    // The position is saved, the tick is stopped and then the graph is released.
    if (m_controller) m_controller->OnDestroy();
    // The temporary extraction folder goes with the run. Only under a documents folder that
    // resolved to an absolute path: "\Lumikino\zip" alone would name a folder on whatever
    // drive happens to be current.
    std::wstring documents = DataFolder_CL::DocumentsFolder();
    if (DataFolder_CL::IsAbsolutePath(documents)) {
        std::wstring zip = DataFolder_CL::ZipFolder();
        std::vector<wchar_t> from(zip.begin(), zip.end());
        from.push_back(L'\0');
        from.push_back(L'\0');  // the list of paths ends with an empty one
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.data();
        op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
        if (::GetFileAttributesW(zip.c_str()) != INVALID_FILE_ATTRIBUTES) ::SHFileOperationW(&op);
    }
    ::PostQuitMessage(0);
}

void LumikinoHDMainWindow_CL::KeyHandler(UINT virtualKey) {
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"KeyHandler(0x%02x)", virtualKey);
    PlaybackController_CL* c = m_controller.get();
    if (!c) return;
    switch (virtualKey) {
        case 'P':
        case VK_MEDIA_PLAY_PAUSE:
            if (!c->ContentLoaded()) break;
            if (c->PlayKeyResetsRate()) break;
            if (!c->IsPlaying() || c->IsPaused()) {
                SetStatusText(kTextPlay);
                c->Play(0);
            } else {
                SetStatusText(kTextPause);
                c->Pause();
            }
            RedrawPlayer();
            break;
        case 'S':
        case VK_MEDIA_STOP:
            if (!c->IsPlaying()) break;
            SetStatusText(kTextStop);
            c->Stop(0);
            RedrawPlayer();
            break;
        case 'T':
            if (!c->ContentLoaded()) break;
            SetStatusText(kTextStart);
            c->Stop(0);
            c->Play(0);
            break;
        case 'M':
        case VK_VOLUME_MUTE:
            c->ToggleMute();
            break;
        case VK_ADD:
        case VK_VOLUME_UP:
        case VK_OEM_PLUS:
            c->VolumeUp();
            break;
        case VK_SUBTRACT:
        case VK_VOLUME_DOWN:
        case VK_OEM_MINUS:
            c->VolumeDown();
            break;
        case VK_F7:
            c->SlowerKey();
            break;
        case VK_F8:
            c->FasterKey();
            break;
        case VK_LEFT:
            c->PlayerPrev();
            break;
        case VK_RIGHT:
            c->PlayerFore();
            break;
        case VK_ESCAPE:
        case VK_F4:
            ToggleFullScreen();
            break;
        default:
            break;
    }
    NoteUserActivity();
}

void LumikinoHDMainWindow_CL::NoteUserActivity() {
    // The idle countdown starts again; a hidden cursor comes back, and leaving the idle state
    // brings the frame back through the layout.
    if (m_controller) m_controller->SetIdleTicks(AppSettings::Process().IdleDelaySeconds() * 2);
    if (m_cursorHidden) {
        ::ShowCursor(TRUE);
        m_cursorHidden = false;
    }
    if (m_idle || m_frameless) Layout();
}

void LumikinoHDMainWindow_CL::OnDropFiles(HDROP drop) {
    m_intake.HandleDrop(drop);  // finishes the drop whatever happens next
    NoteUserActivity();
}

// ---- Content loading ---------------------------------------------------------------------

void LumikinoHDMainWindow_CL::RequestLoad(const LoadRequest& request) {
    m_pending = request;
    m_loadPending = true;
    if (m_loading) return;  // the running load takes the request when it is done
    if (m_controller) {
        m_controller->LoopEnd();
        m_controller->SaveLastPlayFrame();
        m_controller->ReleaseFilterGraph();
    }
    m_title.clear();
    SetStatusText(kLoadingText);
    if (m_controller) m_controller->SetStatusTicks(kLoadingStatusTicks);
    // No thumbnail job can be running yet, so the worker is idle at once.
    ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_WORKER_IDLE, 0), 0);
}

void LumikinoHDMainWindow_CL::OnWorkerIdle() {
    // Also posted for interval changes and when the strip goes: only a waiting request loads.
    if (!m_loadPending || m_closing || m_loading) return;
    LoadRequest request = m_pending;
    m_loadPending = false;
    SetContents2(request);
    if (m_loadPending && !m_closing) ::PostMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_WORKER_IDLE, 0), 0);
}

HRESULT LumikinoHDMainWindow_CL::SetContents2(const LoadRequest& request) {
    struct LoadingScope {
        bool& flag;
        explicit LoadingScope(bool& f) : flag(f) { flag = true; }
        ~LoadingScope() { flag = false; }
    } scope(m_loading);
    AppSettings& settings = AppSettings::Process();
    const bool trace = ProcessLogSwitches().log_detail_graph;
    std::wstring path = request.path;
    bool fromList = false;
    if (!request.direct && !m_playList.IsEmpty()) {
        m_playList.SetRepeat(m_launch.loop != 0 || settings.loop_play != 0);
        PlayListItem item;
        if (m_playList.TakeNextEntry(&item)) {
            if (item.inArchive) {
                LogPrintf(L"SetContent2: zip内の項目はまだ再生できません \"%ls\"", item.path.c_str());
                SetStatusText(kNotYetReadableText);
                return E_FAIL;
            }
            path = item.path;
            fromList = true;
        }
    }
    if (trace) LogPrintf(L"%ls", path.c_str());

    if (trace) LogPrintf(L"%ls", L"SetContent2(02)");
    m_controller->ReleaseFilterGraph();
    m_graph.SetVideoWindow(m_video);
    HRESULT hr = path.empty() ? E_FAIL
                              : m_graph.CreateFilterGraphWithRetry(path, settings.pitch_keep != 1,
                                                                   L"LumikinoHDMainWindow_CL::SetContents2");
    const bool soundOnly = SUCCEEDED(hr) && m_graph.IsSoundOnlyGraph() != 0;

    if (trace) LogPrintf(L"%ls", L"SetContent2(03-01)");
    if (SUCCEEDED(hr)) {
        m_content = ContentInfo();
        m_records.LoadContent(m_content, path, false);
        m_contentRecordLoaded = true;
        m_title = m_content.content_name;
    }
    if (trace) LogPrintf(L"%ls", L"SetContent2(04)");
    ApplyOverlay();
    ::InvalidateRect(m_window, nullptr, FALSE);
    if (FAILED(hr)) {
        LogPrintf(L"動画再生失敗 hResult = 0x%08x", static_cast<unsigned>(hr));
        m_title.clear();
        ApplyOverlay();
        if (!path.empty()) {
            SetStatusText(kPlayFailedText);
            // Modal: messages pumped meanwhile find m_loading set, so nothing loads or closes
            // underneath this load.
            PlayErrorDialog_CL dialog(path, [this](bool open) { SetModalDialogOpen(open); });
            dialog.Run(m_window);
        }
        return request.direct ? S_OK : E_FAIL;
    }
    if (trace) LogPrintf(L"%ls", L"SetContent2(06)");
    AddHistory(path);
    m_playList.SetSource(fromList);
    m_controller->OnContentLoaded(&m_content, soundOnly);
    ApplyColour();

    const bool fresh = settings.no_resume != 0 || m_launch.no_resume != 0 || m_content.no_resume != 0 ||
                       m_content.last_play_frame == -1 || request.continuesList || soundOnly;
    const bool startGiven = m_launch.start_position >= 0;
    if (fresh && !startGiven) {
        m_controller->Play(0);
    } else {
        m_controller->PlayResume(startGiven ? m_launch.start_position : m_content.last_play_frame);
        SetStatusText(kResumeText);
    }
    SyncOverlayState();
    Layout();
    if (trace) LogPrintf(L"%ls", L"SetContent2(完了)");
    return S_OK;
}

void LumikinoHDMainWindow_CL::ApplyOverlay() {
    CMyRenderer* renderer = Renderer();
    if (!renderer) return;
    const AppSettings& settings = AppSettings::Process();
    MutexLock_CL lock(renderer->FrameLock());
    VideoPresenter_CL* presenter = renderer->Presenter();
    presenter->SetTitleText(m_title);
    presenter->SetStarCount(m_contentRecordLoaded ? m_content.star_count : 0);
    presenter->SetShowTitle(settings.enable_title != 0);
    presenter->SetShowTime(settings.enable_playtime != 0);
    presenter->SetShowClock(settings.enable_clock != 0, settings.now_time_pos);
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

void LumikinoHDMainWindow_CL::SyncOverlayState() {
    CMyRenderer* renderer = Renderer();
    if (!renderer || !m_controller) return;
    // The overlay setters guard themselves; no frame lock needed.
    renderer->Presenter()->SetPlaybackShown(m_controller->ContentLoaded(), m_controller->IsPlaying());
}

// ---- Layout and drawing ------------------------------------------------------------------

void LumikinoHDMainWindow_CL::OnSize() { Layout(); }

void LumikinoHDMainWindow_CL::ApplyIdleActions() {
    const AppSettings& settings = AppSettings::Process();
    PlaybackController_CL* c = m_controller.get();
    const bool idle = c && c->IdleTimedOut() && !m_modalOpen && !m_videoWindow.IsHovered() && c->ContentLoaded() &&
                      c->IsPlaying() && !c->IsPaused();
    m_idle = idle;
    if (idle && settings.mouse_hide == 1 && !m_cursorHidden) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (::WindowFromPoint(cursor) == m_video) {
            ::ShowCursor(FALSE);
            m_cursorHidden = true;
        }
    }
    if (m_fullScreen) return;
    constexpr LONG_PTR kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    const LONG_PTR style = ::GetWindowLongPtrW(m_window, GWL_STYLE);
    if (idle && settings.no_frame == 1 && !m_frameless) {
        m_frameless = true;
        ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, 0);
        ::SetWindowLongPtrW(m_window, GWL_STYLE, style & ~kFrameStyles);
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    } else if (!idle && m_frameless) {
        m_frameless = false;
        ::SetWindowLongPtrW(m_window, GWL_STYLE, style | kFrameStyles);
        ::SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
}

void LumikinoHDMainWindow_CL::Layout() {
    if (!m_video) return;
    ApplyIdleActions();
    RECT client{};
    ::GetClientRect(m_window, &client);
    ::MoveWindow(m_video, 0, 0, client.right - client.left, client.bottom - client.top, TRUE);
    RedrawPlayer();
}

void LumikinoHDMainWindow_CL::RedrawPlayer() {
    SyncOverlayState();
    CMyRenderer* renderer = Renderer();
    if (!renderer || !m_video) return;
    RECT rect{};
    ::GetClientRect(m_video, &rect);
    if (!::EqualRect(&rect, &m_lastVideoRect)) {
        m_lastVideoRect = rect;
        renderer->OnResize();
    } else if (!m_controller || !m_controller->IsPlaying() || m_controller->IsPaused()) {
        renderer->Redraw();
    }
}

void LumikinoHDMainWindow_CL::SetStatusText(const std::wstring& text) {
    if (m_controller && !text.empty()) m_controller->SetStatusTicks(6);
    if (CMyRenderer* renderer = Renderer()) renderer->Presenter()->SetMessageText(text);
    RedrawPlayer();
}

void LumikinoHDMainWindow_CL::OnCommand(WORD command, LPARAM) {
    switch (command) {
        case CMD_WORKER_IDLE:
            OnWorkerIdle();
            break;
        case 0x857D: {  // screen capture
            CMyRenderer* renderer = Renderer();
            if (!renderer) {
                CaptureResult none;
                none.status = CaptureStatus::kNoPicture;
                SetStatusText(ScreenCapture_CL::StatusText(none));
                break;
            }
            CaptureTarget target;
            target.dataRoot = DataFolder_CL::Root();
            ::GetLocalTime(&target.localTime);
            target.displaySize = renderer->DisplaySize();
            SetStatusText(ScreenCapture_CL::StatusText(ScreenCapture_CL::CaptureRenderer(renderer, target)));
            break;
        }
        case 0x8570:
            KeyHandler('P');
            break;
        case 0x8571:
            KeyHandler('S');
            break;
        case 0x8572:
            KeyHandler(VK_LEFT);
            break;
        case 0x8573:
            KeyHandler(VK_RIGHT);
            break;
        case 0x8574:
            KeyHandler('M');
            break;
        case 0x8579:
            KeyHandler(VK_F7);
            break;
        case 0x857A:
            KeyHandler(VK_F8);
            break;
        case 0x8575:
            ToggleFullScreen();
            break;
        case 0x8580:
            ::PostMessageW(m_window, WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

// ---- Hosts -------------------------------------------------------------------------------

void LumikinoHDMainWindow_CL::MoveStripTo(int64_t) {
    // The thumbnail strip comes with its own window; until then there is nothing to scroll.
}

PlayListCursor LumikinoHDMainWindow_CL::PlayList() {
    PlayListCursor cursor;
    cursor.count = static_cast<int>(m_playList.Count());
    cursor.nextIndex = m_playList.NextIndex();
    cursor.listIsSource = m_playList.IsSource();
    cursor.repeat = m_playList.Repeat();
    return cursor;
}

void LumikinoHDMainWindow_CL::SetPlayListNextIndex(int index) { m_playList.SetNextIndex(index); }

void LumikinoHDMainWindow_CL::ResetLaunchStart() {
    m_launch.full_screen = 0;
    m_launch.start_position = -1;
    m_launch.path[0] = L'\0';
}

bool LumikinoHDMainWindow_CL::EndCloseRequested() { return m_launch.end_close != 0; }

void LumikinoHDMainWindow_CL::OpenContentNow(const std::wstring& path) {
    LoadRequest request;
    request.direct = true;
    request.path = path;
    RequestLoad(request);
}

void LumikinoHDMainWindow_CL::PlayListCurrentEntry() { RequestLoad(LoadRequest()); }

void LumikinoHDMainWindow_CL::ReadAsxPlayList(const std::wstring& path) {
    LogPrintf(L"ASXプレイリストはまだ読めません \"%ls\"", path.c_str());
    SetStatusText(kNotYetReadableText);
}

void LumikinoHDMainWindow_CL::ReadTextPlayList(const std::wstring& path) {
    LogPrintf(L"プレイリストファイルはまだ読めません \"%ls\"", path.c_str());
    SetStatusText(kNotYetReadableText);
}

void LumikinoHDMainWindow_CL::ListArchive(const std::wstring& archivePath, const std::wstring&) {
    LogPrintf(L"zipファイルはまだ開けません \"%ls\"", archivePath.c_str());
    SetStatusText(kNotYetReadableText);
}

void LumikinoHDMainWindow_CL::RememberLastInput(const std::wstring& path) {
    AppSettings::Process().File().WriteString(kLastInputSection, kLastInputPathKey, path);
}

void LumikinoHDMainWindow_CL::AddHistory(const std::wstring&) {
    // The play history has its own file and dialog; they are wired in when they exist.
}

void LumikinoHDMainWindow_CL::RefreshPlayListDialog() {
    // The play list dialog is wired in when it exists.
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
