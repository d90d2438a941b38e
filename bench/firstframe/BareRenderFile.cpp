// The baseline of the first-frame benchmark: the least a DirectShow program does to show a
// movie. It creates a window, lets IGraphBuilder::RenderFile build the graph with the
// platform's default filters and runs it.
//   bench_bare_render_file MOVIE [--owned]
// By default the default video renderer shows the picture in its own top-level window, the
// way Wine shows it on screen; with "--owned" the video window is made a child of ours through
// IVideoWindow (Wine's renderer placed inside another window shows no picture, so the
// benchmark does not use that mode; it is kept to check that finding again).
// The program runs until its window is closed; failures end it with exit code 2 or 3.

#include <windows.h>
#include <dshow.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kWindowClass[] = L"BareRenderFileWindow";
constexpr int kWindowWidthPx = 640;
constexpr int kWindowHeightPx = 480;

// Owned by wWinMain, read by the window procedure on the same (only) thread.
IVideoWindow* g_ownedVideo = nullptr;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g_ownedVideo) g_ownedVideo->SetWindowPosition(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// COM for this thread, from the top of wWinMain to its end.
class ComScope {
public:
    ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT Result() const { return m_result; }

private:
    HRESULT m_result;
};

int Run(HINSTANCE instance, const wchar_t* moviePath, bool owned) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&wc)) return 2;
    HWND window = ::CreateWindowExW(0, kWindowClass, L"Bare RenderFile", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    CW_USEDEFAULT, CW_USEDEFAULT, kWindowWidthPx, kWindowHeightPx, nullptr,
                                    nullptr, instance, nullptr);
    if (!window) return 2;
    ::ShowWindow(window, SW_SHOW);

    ComPtr<IGraphBuilder> graph;
    if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)))) return 3;
    if (FAILED(graph->RenderFile(moviePath, nullptr))) return 3;
    ComPtr<IMediaControl> control;
    ComPtr<IVideoWindow> video;
    // mingw-w64 declares no __uuidof for IVideoWindow, so its IID is named.
    if (FAILED(graph.As(&control)) ||
        FAILED(graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(video.GetAddressOf())))) {
        return 3;
    }
    if (owned) {
        video->put_Owner(reinterpret_cast<OAHWND>(window));
        video->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        RECT client{};
        ::GetClientRect(window, &client);
        video->SetWindowPosition(0, 0, client.right, client.bottom);
        g_ownedVideo = video.Get();
    }
    if (FAILED(control->Run())) return 3;

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    control->Stop();
    if (owned) {
        // The renderer's window must not keep a destroyed owner.
        g_ownedVideo = nullptr;
        video->put_Visible(OAFALSE);
        video->put_Owner(0);
    }
    return 0;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    bool owned = argc > 2 && std::wcscmp(argv[2], L"--owned") == 0;
    ComScope com;
    if (FAILED(com.Result())) return 3;
    int code = Run(instance, argv[1], owned);
    ::LocalFree(argv);
    return code;
}
