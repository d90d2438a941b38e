#include "tests/media/presenter/PresenterFixture.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace {

constexpr wchar_t kVideoClass[] = L"LumikinoTestVideo";

int ClampByte(double value) {
    long rounded = std::lround(value);
    return rounded < 0 ? 0 : rounded > 255 ? 255 : static_cast<int>(rounded);
}

void RegisterVideoClass() {
    WNDCLASSW windowClass{};
    if (::GetClassInfoW(::GetModuleHandleW(nullptr), kVideoClass, &windowClass)) return;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kVideoClass;
    windowClass.hbrBackground = nullptr;  // the presenter paints everything
    ::RegisterClassW(&windowClass);
}

Picture CaptureDc(HDC source, int x, int y, int width, int height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    ::GdiFlush();
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * 4);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return picture;
}

}  // namespace

Rgb ToRgb(YCbCr colour) {
    double y = colour.y - 16, cb = colour.cb - 128, cr = colour.cr - 128;
    return Rgb{ClampByte(1.164383 * y + 1.596027 * cr), ClampByte(1.164383 * y - 0.391762 * cb - 0.812968 * cr),
               ClampByte(1.164383 * y + 2.017232 * cb)};
}

std::vector<uint8_t> QuadrantFrame(int width, int height, const YCbCr colours[4]) {
    std::vector<uint8_t> frame(static_cast<size_t>(width) * height * 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 2) {
            const YCbCr& c = colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
            uint8_t* p = &frame[(static_cast<size_t>(y) * width + x) * 2];
            p[0] = c.y;
            p[1] = c.cb;
            p[2] = c.y;
            p[3] = c.cr;
        }
    }
    return frame;
}

Rgb Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Rgb{-1, -1, -1};
    uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
    return Rgb{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
               static_cast<int>(pixel & 0xFF)};
}

bool Near(Rgb actual, Rgb expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

::testing::AssertionResult ColourNear(Rgb actual, Rgb expected, int tolerance) {
    if (Near(actual, expected, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << ") expected (" << expected.r << ", " << expected.g << ", " << expected.b
                                         << ") within " << tolerance;
}

void PresenterTest::SetUp() {
    // The device-thread check is on for every presenter test (the test command also sets it,
    // naming a report file): it is read once, at the first device call of the process.
    if (!::GetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", nullptr, 0)) {
        ::SetEnvironmentVariableW(L"LK_DEVICE_THREAD_CHECK", L"1");
    }
    RegisterVideoClass();
}

void PresenterTest::TearDown() {
    if (m_presenter) m_presenter->ReleaseDevice();
    m_presenter.reset();
    DXHelper_CL::ReleaseParkedDevice();
    if (m_top) ::DestroyWindow(m_top);
    Pump();
}

void PresenterTest::Open(int clientWidth, int clientHeight, DXHelper_CL::PresentPath path) {
    OpenWindows(clientWidth, clientHeight, path);
    if (::testing::Test::HasFatalFailure()) return;
    m_presenter = std::make_unique<DXHelper_CL>();
    m_presenter->SetPlaybackShown(true, true);
    ASSERT_TRUE(m_presenter->InitializeD3D9(m_video));
}

void PresenterTest::OpenWindows(int clientWidth, int clientHeight, DXHelper_CL::PresentPath path) {
    DXHelper_CL::SetPresentPath(path);
    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_TOPMOST);
    m_top = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"presenter test", WS_POPUP | WS_VISIBLE, 0, 0,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_top, nullptr);
    if (path == DXHelper_CL::PresentPath::kPresent) {
        // Presenting only shows in a top-level window under Wine: draw into that one.
        m_video = m_top;
        ::SetWindowLongPtrW(m_top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::DefWindowProcW));
    } else {
        m_video = ::CreateWindowExW(0, kVideoClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, clientWidth, clientHeight, m_top,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(m_video, nullptr);
    }
    ::UpdateWindow(m_top);
    Pump();
}

void PresenterTest::SetFormat(int width, int height, int aspectX, int aspectY) {
    m_frameWidth = width;
    m_frameHeight = height;
    m_presenter->SetFrameFormat(width, height, aspectX, aspectY);
    m_presenter->SetSourceSize(width, height);
    m_presenter->SetFrameBufferCapacity(static_cast<uint32_t>(width * height * 2));
}

void PresenterTest::ResizeClient(int width, int height) {
    ::SetWindowPos(m_top, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    if (m_video != m_top) {
        ::SetWindowPos(m_video, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    Pump();
}

void PresenterTest::Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

Picture PresenterTest::CaptureWindow() {
    RECT client{};
    ::GetClientRect(m_video, &client);
    HDC dc = ::GetDC(m_video);
    Picture picture = CaptureDc(dc, 0, 0, client.right, client.bottom);
    ::ReleaseDC(m_video, dc);
    return picture;
}

Picture PresenterTest::CaptureScreen() {
    RECT client{};
    ::GetClientRect(m_video, &client);
    POINT origin{0, 0};
    ::ClientToScreen(m_video, &origin);
    HDC dc = ::GetDC(nullptr);
    Picture picture = CaptureDc(dc, origin.x, origin.y, client.right, client.bottom);
    ::ReleaseDC(nullptr, dc);
    return picture;
}

Picture PresenterTest::DrawUntil(const uint8_t* frame, const std::function<bool(const Picture&)>& check,
                                 bool fromScreen) {
    Picture picture;
    const DWORD start = ::GetTickCount();
    do {
        Pump();
        // As the renderer does: what a draw found is mended on this thread, the device's owner.
        if (m_presenter->MaintenanceWanted()) m_presenter->Maintain();
        m_presenter->Draw(frame);
        picture = fromScreen ? CaptureScreen() : CaptureWindow();
        if (check(picture)) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    } while (::GetTickCount() - start < 5000);
    return picture;
}
