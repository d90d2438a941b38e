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
    const uint8_t* bits = nullptr;
    GdiObject_CL bitmap = TopDownBitmap(screen.Get(), width, height, &bits);
    MemoryDC_CL memory(::CreateCompatibleDC(screen.Get()));
    if (!bitmap.IsValid() || !memory.IsValid()) return picture;
    HGDIOBJ old = ::SelectObject(memory.Get(), bitmap.Get());
    const BOOL copied = ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    if (copied) {
        picture.width = width;
        picture.height = height;
        picture.bgrx.assign(bits, bits + size_t(width) * size_t(height) * 4);
    }
    ::SelectObject(memory.Get(), old);
    return picture;
}

GdiObject_CL ScreenPicture_CL::TopDownBitmap(HDC dc, int width, int height, const uint8_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    GdiObject_CL bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = static_cast<const uint8_t*>(pixels);
    return bitmap;
}
