#include "app/MainToolBar_CL.h"

#include <commctrl.h>

#include <vector>

#include "app/MainToolBarTexts.h"
#include "app/MainWindowIds.h"
#include "app/ToolBarImages.h"
#include "base/ResultMacros.h"
#include "base/UniqueHandle_CL.h"
#include "ui/ToolBar_CL.h"
#include "ui/ToolTips_CL.h"

namespace {
int ImageOf(ToolBarImage image) { return static_cast<int>(image); }

// The buttons from left to right; a command of 0 is a separator.
std::vector<ToolBarButton> MainButtons() {
    return {
        {CMD_OPEN_FILE, ImageOf(ToolBarImage::OpenFolder), kTipOpenFile},
        {0, 0, L""},
        {CMD_PLAY_PAUSE, ImageOf(ToolBarImage::PlayPause), kTipPlayPause},
        {CMD_STOP, ImageOf(ToolBarImage::Stop), kTipStop},
        {CMD_PREVIOUS, ImageOf(ToolBarImage::Previous), kTipPrevious},
        {CMD_NEXT, ImageOf(ToolBarImage::Next), kTipNext},
        {0, 0, L""},
        {CMD_SLOWER, ImageOf(ToolBarImage::Slower), kTipSlower},
        {CMD_FASTER, ImageOf(ToolBarImage::Faster), kTipFaster},
        {CMD_MUTE, ImageOf(ToolBarImage::Mute), kTipMute},
        {0, 0, L""},
        {CMD_FULL_SCREEN, ImageOf(ToolBarImage::FullScreen), kTipFullScreen},
        {CMD_THUMBNAIL_STRIP, ImageOf(ToolBarImage::ThumbnailStrip), kTipThumbnailStrip},
        {CMD_CAPTURE, ImageOf(ToolBarImage::Capture), kTipCapture},
        {0, 0, L""},
        {CMD_SHOW_HISTORY, ImageOf(ToolBarImage::History), kTipHistory},
        {CMD_SHOW_PLAY_LIST, ImageOf(ToolBarImage::PlayList), kTipPlayList},
    };
}

constexpr COLORREF MaskColour() {
    return RGB((kToolBarMaskColourRgb >> 16) & 0xFF, (kToolBarMaskColourRgb >> 8) & 0xFF,
               kToolBarMaskColourRgb & 0xFF);
}
}  // namespace

MainToolBar_CL::MainToolBar_CL() = default;

MainToolBar_CL::~MainToolBar_CL() { Destroy(); }

HRESULT MainToolBar_CL::Create(HWND parent, HINSTANCE instance) {
    LK_RETURN_HR_IF(E_INVALIDARG, !parent);
    LK_RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS), m_bar != nullptr);

    ImageList_CL images;
    LK_RETURN_IF_FAILED(LoadImages(instance, &images));

    auto bar = std::make_unique<ToolBar_CL>();
    LK_RETURN_IF_FAILED(bar->Create(parent, kControlId, images, MainButtons()));
    m_images = std::move(images);  // the handle moves; the tool bar keeps pointing at the same list
    m_bar = std::move(bar);
    return S_OK;
}

void MainToolBar_CL::Destroy() {
    m_bar.reset();  // the window and its tips, before the pictures they draw from
    m_images.Reset();
}

HWND MainToolBar_CL::Handle() const { return m_bar ? m_bar->Window() : nullptr; }

int MainToolBar_CL::Height() const { return m_bar && m_bar->Window() ? m_bar->Height() : 0; }

void MainToolBar_CL::Resize() {
    if (m_bar) m_bar->Layout();
}

void MainToolBar_CL::SetChecked(UINT commandId, bool checked) {
    if (m_bar) m_bar->SetChecked(commandId, checked);
}

bool MainToolBar_CL::IsChecked(UINT commandId) const {
    HWND window = Handle();
    return window && ::SendMessageW(window, TB_ISBUTTONCHECKED, commandId, 0) != 0;
}

void MainToolBar_CL::SetEnabled(UINT commandId, bool enabled) {
    if (m_bar) m_bar->SetEnabled(commandId, enabled);
}

std::vector<UINT> MainToolBar_CL::Commands() {
    std::vector<UINT> commands;
    for (const ToolBarButton& button : MainButtons()) {
        if (button.commandId != 0) commands.push_back(button.commandId);
    }
    return commands;
}

HRESULT MainToolBar_CL::LoadImages(HINSTANCE instance, ImageList_CL* images) {
    // A DIB section keeps the strip's alpha channel; a screen-compatible bitmap would drop it.
    GdiObject_CL strip(::LoadImageW(instance, MAKEINTRESOURCEW(IDB_MAIN_TOOLBAR), IMAGE_BITMAP, 0, 0,
                                    LR_CREATEDIBSECTION));
    if (!strip.IsValid()) {
        HRESULT hr = HRESULT_FROM_WIN32(::GetLastError());
        LogPrintf(L"MainToolBar: picture strip not loaded: 0x%08x", static_cast<unsigned>(hr));
        return FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    BITMAP info{};
    LK_RETURN_HR_IF(E_FAIL, ::GetObjectW(strip.Get(), sizeof(info), &info) != sizeof(info));
    LK_RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
                    info.bmWidth != kToolBarImageSizePx * kToolBarImageCount ||
                        info.bmHeight != kToolBarImageSizePx);

    LK_RETURN_IF_FAILED(images->Create(kToolBarImageSizePx, kToolBarImageSizePx, kToolBarImageCount, 0));
    LK_RETURN_HR_IF(E_FAIL, images->AddStrip(static_cast<HBITMAP>(strip.Get()), MaskColour()) != 0);
    LK_RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), images->Count() != kToolBarImageCount);
    return S_OK;
}

const ToolTips_CL* MainToolBar_CL::Tips() const { return m_bar ? &m_bar->Tips() : nullptr; }
