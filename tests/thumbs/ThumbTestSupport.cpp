#include "tests/thumbs/ThumbTestSupport.h"

#include <objbase.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "base/UniqueHandle_CL.h"
#include "thumbs/ThumbIds.h"

namespace {
constexpr wchar_t kClassName[] = L"LumikinoThumbTestWindow";
}  // namespace

RecordingWindow_CL::RecordingWindow_CL(HWND parent, RECT rect, bool visible) {
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &Procedure;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = kClassName;
        return ::RegisterClassExW(&cls) != 0;
    }();
    (void)registered;
    DWORD style = parent ? WS_CHILD | WS_CLIPCHILDREN : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (visible) style |= WS_VISIBLE;
    m_window = ::CreateWindowExW(0, kClassName, L"記録", style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, nullptr, ::GetModuleHandleW(nullptr), this);
    if (m_window && visible && !parent) ::UpdateWindow(m_window);
}

RecordingWindow_CL::~RecordingWindow_CL() {
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

std::vector<RecordingWindow_CL::Message> RecordingWindow_CL::Of(UINT message) const {
    std::vector<Message> found;
    for (const Message& each : m_messages) {
        if (each.message == message) found.push_back(each);
    }
    return found;
}

std::vector<LPARAM> RecordingWindow_CL::CommandParams(WORD id) const {
    std::vector<LPARAM> params;
    for (const Message& each : m_messages) {
        if (each.message == WM_COMMAND && LOWORD(each.wParam) == id) params.push_back(each.lParam);
    }
    return params;
}

void RecordingWindow_CL::Clear() {
    m_messages.clear();
    m_activations.clear();
}

LRESULT CALLBACK RecordingWindow_CL::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow_CL*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header && header->code == static_cast<UINT>(NM_THUMB_ACTIVATE)) {
                    self->m_activations.push_back(reinterpret_cast<const ThumbActivateNotify*>(lParam)->index);
                }
                break;
            }
            case WM_NCDESTROY:
                self->m_window = nullptr;
                break;
            default:
                // Every other message is kept, the window's own as well as the ones posted to it.
                self->m_messages.push_back({message, wParam, lParam});
                break;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        // Wakes for the next message; the time-out only bounds a test that went wrong.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

void EnsureGdiplus() {
    static ULONG_PTR token = [] {
        ULONG_PTR started = 0;
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&started, &input, nullptr);
        return started;
    }();
    (void)token;
}

AviMovieSpec NumberedMovieSpec(int framesPerSecond, int seconds) {
    AviMovieSpec movieSpec;
    movieSpec.width = 320;
    movieSpec.height = 240;
    movieSpec.frameRateNum = framesPerSecond;
    movieSpec.frameRateDen = 1;
    movieSpec.frameCount = framesPerSecond * seconds;
    movieSpec.withAudio = true;  // a graph with sound: the seeks must go through a stopped graph under Wine
    return movieSpec;
}

std::wstring WriteNumberedMovie(const std::wstring& folder, const std::wstring& name, const AviMovieSpec& movieSpec) {
    std::wstring path = folder + L"\\" + name;
    std::string error;
    EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
    return path;
}

BgrxPicture ReadBitmap(HBITMAP bitmap) {
    BgrxPicture picture;
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return picture;
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    picture.bgrx.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = picture.width;
    header.bmiHeader.biHeight = -picture.height;  // top-down
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    WindowDC_CL screen(nullptr);
    if (::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(picture.height), picture.bgrx.data(), &header,
                    DIB_RGB_COLORS) != picture.height) {
        picture = BgrxPicture();
    }
    return picture;
}

BgrxPicture ReadWindowPixels(HWND window, const RECT& clientRect) {
    const int width = clientRect.right - clientRect.left;
    const int height = clientRect.bottom - clientRect.top;
    WindowDC_CL source(window);
    MemoryDC_CL memory(::CreateCompatibleDC(source.Get()));
    GdiObject_CL bitmap(::CreateCompatibleBitmap(source.Get(), width, height));
    HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), clientRect.left, clientRect.top, SRCCOPY);
    ::SelectObject(memory.Get(), old);
    return ReadBitmap(static_cast<HBITMAP>(bitmap.Get()));
}
