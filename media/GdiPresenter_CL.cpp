#include "media/GdiPresenter_CL.h"

#include "base/UniqueHandle_CL.h"
#include "media/ColourConversion.h"

namespace {
PresenterFactory g_factory = nullptr;  // set once by the program before graphs exist
bool g_setUpDeferred = false;          // likewise
}

void SetPresenterFactory(PresenterFactory factory) { g_factory = factory; }

void SetPresenterSetUpDeferred(bool deferred) { g_setUpDeferred = deferred; }

bool PresenterSetUpDeferred() { return g_setUpDeferred; }

std::unique_ptr<VideoPresenter_CL> CreatePresenter() {
    if (g_factory) return g_factory();
    return std::make_unique<GdiPresenter_CL>();
}

bool GdiPresenter_CL::InitializeD3D9(HWND window) {
    m_window = ::IsWindow(window) ? window : nullptr;
    return m_window != nullptr;
}

void GdiPresenter_CL::SetFrameFormat(int width, int height, int aspectX, int aspectY) {
    if (Rgb32FrameBytes(width, height) == 0) return;
    m_width = width;
    m_height = height;
    m_aspectX = aspectX > 0 ? aspectX : width;
    m_aspectY = aspectY > 0 ? aspectY : height;
}

RECT GdiPresenter_CL::FitRectangle(const RECT& client, int aspectX, int aspectY) {
    LONG width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || aspectX <= 0 || aspectY <= 0) return RECT{0, 0, 0, 0};
    LONG fitWidth = width, fitHeight = static_cast<LONG>(static_cast<int64_t>(width) * aspectY / aspectX);
    if (fitHeight > height) {
        fitHeight = height;
        fitWidth = static_cast<LONG>(static_cast<int64_t>(height) * aspectX / aspectY);
    }
    LONG left = client.left + (width - fitWidth) / 2, top = client.top + (height - fitHeight) / 2;
    return RECT{left, top, left + fitWidth, top + fitHeight};
}

void GdiPresenter_CL::Draw(const uint8_t* frame) {
    if (!m_window || m_width <= 0 || m_height <= 0) return;
    if (frame) {
        m_picture.resize(static_cast<size_t>(Rgb32FrameBytes(m_width, m_height)));
        ConvertYuy2ToRgb32(frame, m_width, m_height, m_picture.data());
    }
    if (m_picture.empty()) return;
    RECT client{};
    ::GetClientRect(m_window, &client);
    RECT target = FitRectangle(client, m_aspectX, m_aspectY);
    WindowDC_CL dc(m_window);
    if (!dc.Get()) return;
    // Black bars around the picture.
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RECT bars[4] = {{client.left, client.top, client.right, target.top},
                    {client.left, target.bottom, client.right, client.bottom},
                    {client.left, target.top, target.left, target.bottom},
                    {target.right, target.top, client.right, target.bottom}};
    for (const RECT& bar : bars) {
        if (bar.right > bar.left && bar.bottom > bar.top) ::FillRect(dc.Get(), &bar, black);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetStretchBltMode(dc.Get(), HALFTONE);
    ::StretchDIBits(dc.Get(), target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                    m_width, m_height, m_picture.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}
