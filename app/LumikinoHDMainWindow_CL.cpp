#include "app/LumikinoHDMainWindow_CL.h"

#include <shellapi.h>

#include <vector>

#include "app/LaunchHandOff.h"
#include "app/MainWindowIds.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "store/AppSettings.h"
#include "store/WindowRect.h"

LumikinoHDMainWindow_CL::LumikinoHDMainWindow_CL(HINSTANCE instance) : m_instance(instance) {
    m_icon = ::LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
}

LumikinoHDMainWindow_CL::~LumikinoHDMainWindow_CL() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
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
                ::KillTimer(m_window, ID_TIMER_CLOSE);
                ::DestroyWindow(m_window);
                return 0;
            }
            break;
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
    // Shown at its default place; placement from the saved rectangle belongs to the layout.
    ::SetFocus(m_window);
    ::ShowWindow(m_window, SW_SHOW);
}

void LumikinoHDMainWindow_CL::OnFirstPaint() {
    m_firstPaint = false;
    if (m_launch.path[0] != L'\0') ::PostMessageW(m_window, WM_OPEN_LAUNCH_FILE, 0, 0);
}

void LumikinoHDMainWindow_CL::OnOpenLaunchFile() {
    LogPrintf(L"WM_OPEN_LAUNCH_FILE \"%ls\"", m_launch.path);
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
    return TRUE;
}

void LumikinoHDMainWindow_CL::SaveMainWindowRect() {
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
    m_closing = true;
    ::KillTimer(m_window, ID_TIMER_SAVE_POSITION);
    ::SetTimer(m_window, ID_TIMER_CLOSE, kCloseGraceMs, nullptr);
}

void LumikinoHDMainWindow_CL::OnDestroy() {
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
}

void LumikinoHDMainWindow_CL::NoteUserActivity() {
    // The idle state (hidden cursor, frame and strip) comes with the window's layout; until it
    // exists there is nothing to wake up.
}
