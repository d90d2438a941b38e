#pragma once
// Owner of one image list (tool bar pictures, menu images). Move-only.
//
// Thread: UI only.

#include <windows.h>

#include <commctrl.h>

class ImageList_CL {
public:
    ImageList_CL() = default;
    ~ImageList_CL() { Reset(); }
    ImageList_CL(const ImageList_CL&) = delete;
    ImageList_CL& operator=(const ImageList_CL&) = delete;
    ImageList_CL(ImageList_CL&& other) noexcept : m_list(other.m_list) { other.m_list = nullptr; }
    ImageList_CL& operator=(ImageList_CL&& other) noexcept;

    // Thread: UI. 32-bit colour images of width × height with a mask; replaces a list held.
    [[nodiscard]] HRESULT Create(int width, int height, int initialCount, int growBy);
    // Thread: UI. Adds the images of a strip bitmap (its width a multiple of the image
    // width), with maskColour transparent. Returns the first new index, or -1. The list
    // copies the pixels; the bitmap stays the caller's.
    int AddStrip(HBITMAP bitmap, COLORREF maskColour);
    // Returns the new index, or -1. The icon stays the caller's.
    int AddIcon(HICON icon);

    int Count() const;
    SIZE ImageSize() const;
    HIMAGELIST Get() const { return m_list; }
    void Reset();

private:
    HIMAGELIST m_list = nullptr;
};
