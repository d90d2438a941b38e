// The tool bar from an image list and a button table, its tips, and the image list.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "base/UniqueHandle_CL.h"
#include "tests/ui/HostWindow_CL.h"
#include "ui/ImageList_CL.h"
#include "ui/ToolBar_CL.h"

namespace {
// A strip of count 16 × 16 images in different colours, as a bitmap resource would give.
GdiObject_CL MakeStrip(int count) {
    WindowDC_CL screen(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), 16 * count, 16);
    HDC dc = ::CreateCompatibleDC(screen.Get());
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int i = 0; i < count; ++i) {
        RECT r{16 * i, 0, 16 * i + 16, 16};
        HBRUSH brush = ::CreateSolidBrush(RGB(40 * i, 255 - 40 * i, 128));
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return GdiObject_CL(bitmap);
}

ImageList_CL MakeImages(int count) {
    ImageList_CL images;
    EXPECT_EQ(images.Create(16, 16, count, 4), S_OK);
    GdiObject_CL strip = MakeStrip(count);
    EXPECT_EQ(images.AddStrip(static_cast<HBITMAP>(strip.Get()), RGB(255, 0, 255)), 0);
    return images;
}
}  // namespace

TEST(ImageList, TakesAStripAsSeparateImagesAndMovesItsOwnership) {
    ImageList_CL images = MakeImages(5);
    EXPECT_EQ(images.Count(), 5);
    EXPECT_EQ(images.ImageSize().cx, 16);
    EXPECT_EQ(images.ImageSize().cy, 16);
    GdiObject_CL more = MakeStrip(2);
    EXPECT_EQ(images.AddStrip(static_cast<HBITMAP>(more.Get()), RGB(255, 0, 255)), 5);
    EXPECT_EQ(images.Count(), 7);

    ImageList_CL moved(std::move(images));
    EXPECT_EQ(images.Get(), nullptr);
    EXPECT_EQ(moved.Count(), 7);
    EXPECT_EQ(images.AddStrip(static_cast<HBITMAP>(more.Get()), 0), -1);
    EXPECT_EQ(ImageList_CL().Create(0, 16, 1, 1), E_INVALIDARG);
}

TEST(ToolBar, ButtonsFollowTheTableWithTheirImagesAndTips) {
    HostWindow_CL host;
    ImageList_CL images = MakeImages(4);
    std::vector<ToolBarButton> table = {
        {0x8570, 0, L"開く"},
        {0x8571, 1, L"再生／一時停止"},
        {0, 0, L""},  // separator
        {0x8572, 3, L"停止"},
    };
    ToolBar_CL bar;
    ASSERT_EQ(bar.Create(host.Get(), 0x1200, images, table), S_OK);
    EXPECT_EQ(bar.ButtonCount(), 4);
    EXPECT_EQ(::GetDlgCtrlID(bar.Window()), 0x1200);
    EXPECT_GT(bar.Height(), 16);

    TBBUTTON button{};
    ASSERT_TRUE(::SendMessageW(bar.Window(), TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.idCommand, 0x8571);
    EXPECT_EQ(button.iBitmap, 1);
    ASSERT_TRUE(::SendMessageW(bar.Window(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button)));
    EXPECT_TRUE(button.fsStyle & BTNS_SEP);
    ASSERT_TRUE(::SendMessageW(bar.Window(), TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.iBitmap, 3);

    EXPECT_EQ(bar.Tips().ToolCount(), 3);
    EXPECT_EQ(bar.Tips().ToolText(bar.Window(), 0x8570), L"開く");
    EXPECT_EQ(bar.Tips().ToolText(bar.Window(), 0x8571), L"再生／一時停止");
    EXPECT_EQ(bar.Tips().ToolText(bar.Window(), 0x8572), L"停止");
    // The second button lies right of the first.
    EXPECT_GT(bar.ButtonRect(0x8571).left, bar.ButtonRect(0x8570).left);

    bar.SetEnabled(0x8572, false);
    EXPECT_FALSE(::SendMessageW(bar.Window(), TB_ISBUTTONENABLED, 0x8572, 0));
    bar.SetChecked(0x8571, true);
    EXPECT_TRUE(::SendMessageW(bar.Window(), TB_ISBUTTONCHECKED, 0x8571, 0));
}

TEST(ToolBar, AClickSendsTheCommandToTheParent) {
    HostWindow_CL host;
    ImageList_CL images = MakeImages(2);
    ToolBar_CL bar;
    ASSERT_EQ(bar.Create(host.Get(), 0x1200, images, {{0x8575, 0, L"前へ"}, {0x8576, 1, L"次へ"}}), S_OK);
    RECT r = bar.ButtonRect(0x8576);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::PostMessageW(bar.Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(bar.Window(), WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(HostWindow_CL::PumpUntil([&] { return !host.Commands().empty(); }));
    ASSERT_FALSE(host.Commands().empty());
    EXPECT_EQ(host.Commands().front(), 0x8576u);
}

TEST(ToolBar, RefusesMoreThanItsSlotsOrNoImages) {
    HostWindow_CL host;
    ImageList_CL images = MakeImages(1);
    std::vector<ToolBarButton> tooMany(ToolBar_CL::kMaxButtons + 1, ToolBarButton{0x8570, 0, L"x"});
    ToolBar_CL bar;
    EXPECT_EQ(bar.Create(host.Get(), 1, images, tooMany), E_INVALIDARG);
    EXPECT_EQ(bar.Window(), nullptr);
    ImageList_CL none;
    EXPECT_EQ(bar.Create(host.Get(), 1, none, {{0x8570, 0, L"x"}}), E_INVALIDARG);
    std::vector<ToolBarButton> full(ToolBar_CL::kMaxButtons, ToolBarButton{0x8570, 0, L"x"});
    for (size_t i = 0; i < full.size(); ++i) full[i].commandId = 0x8570 + static_cast<UINT>(i);
    EXPECT_EQ(bar.Create(host.Get(), 1, images, full), S_OK);
    EXPECT_EQ(bar.ButtonCount(), 32);
}

TEST(ToolBar, GoesWithItsObjectAndItsParent) {
    HostWindow_CL host;
    ImageList_CL images = MakeImages(1);
    HWND kept = nullptr;
    {
        ToolBar_CL bar;
        ASSERT_EQ(bar.Create(host.Get(), 1, images, {{0x8570, 0, L"開く"}}), S_OK);
        kept = bar.Window();
    }
    EXPECT_FALSE(::IsWindow(kept));

    ToolBar_CL bar;
    ASSERT_EQ(bar.Create(host.Get(), 1, images, {{0x8570, 0, L"開く"}}), S_OK);
    ::DestroyWindow(host.Get());
    EXPECT_EQ(bar.Window(), nullptr);
}
