#include "tests/support/ScreenPicture_CL.h"

#include <cstring>

#include "base/UniqueHandle_CL.h"

BgrxPicture ScreenPicture_CL::CaptureClient(HWND window) {
    BgrxPicture picture;
    RECT client{};
    if (!::IsWindow(window) || !::GetClientRect(window, &client)) return picture;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return picture;
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);

    WindowDC_CL screen(nullptr);
    if (!screen.Get()) return picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject_CL bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC memory = ::CreateCompatibleDC(screen.Get());
    if (!bitmap.IsValid() || !memory) {
        if (memory) ::DeleteDC(memory);
        return picture;
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap.Get());
    const BOOL copied = ::BitBlt(memory, 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    if (copied) {
        picture.width = width;
        picture.height = height;
        picture.bgrx.assign(static_cast<const uint8_t*>(bits),
                            static_cast<const uint8_t*>(bits) + size_t(width) * size_t(height) * 4);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return picture;
}
