#include "ui/ImageList_CL.h"

#include "ui/CommonControls.h"

ImageList_CL& ImageList_CL::operator=(ImageList_CL&& other) noexcept {
    if (this != &other) {
        Reset();
        m_list = other.m_list;
        other.m_list = nullptr;
    }
    return *this;
}

void ImageList_CL::Reset() {
    if (m_list) {
        ::ImageList_Destroy(m_list);
        m_list = nullptr;
    }
}

HRESULT ImageList_CL::Create(int width, int height, int initialCount, int growBy) {
    if (width <= 0 || height <= 0) return E_INVALIDARG;
    EnsureCommonControls();
    Reset();
    m_list = ::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, initialCount, growBy);
    return m_list ? S_OK : E_OUTOFMEMORY;
}

int ImageList_CL::AddStrip(HBITMAP bitmap, COLORREF maskColour) {
    if (!m_list || !bitmap) return -1;
    return ::ImageList_AddMasked(m_list, bitmap, maskColour);
}

int ImageList_CL::AddIcon(HICON icon) {
    if (!m_list || !icon) return -1;
    return ::ImageList_AddIcon(m_list, icon);
}

int ImageList_CL::Count() const { return m_list ? ::ImageList_GetImageCount(m_list) : 0; }

SIZE ImageList_CL::ImageSize() const {
    int width = 0;
    int height = 0;
    if (m_list) ::ImageList_GetIconSize(m_list, &width, &height);
    return SIZE{width, height};
}
