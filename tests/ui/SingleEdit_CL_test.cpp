// The single-line input: the text comes back at OK, the limit holds while typing, and
// closing or Enter and Escape do not end it.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/Edit_CL.h"
#include "ui/SingleEdit_CL.h"

namespace {
constexpr UINT WM_TEST_STEP = WM_APP + 30;

// Types into the field, tries to leave without OK, then clicks OK; notes the layout.
class DrivenSingleEdit : public SingleEdit_CL {
public:
    using SingleEdit_CL::SingleEdit_CL;
    std::wstring typed;
    bool tryToLeave = false;
    RECT editRect{};
    RECT okRect{};
    SIZE client{};
    std::wstring okText;
    std::wstring caption;
    bool stillOpenAfterLeaving = false;

protected:
    void OnInitDialog() override {
        SingleEdit_CL::OnInitDialog();
        editRect = Field()->RectInParent();
        ::GetWindowRect(OkButton(), &okRect);
        ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&okRect), 2);
        RECT c{};
        ::GetClientRect(Window(), &c);
        client = SIZE{c.right, c.bottom};
        wchar_t text[128] = {};
        ::GetWindowTextW(OkButton(), text, 128);
        okText = text;
        ::GetWindowTextW(Window(), text, 128);
        caption = text;
        HWND field = Field()->Window();
        for (wchar_t c2 : typed) ::PostMessageW(field, WM_CHAR, c2, 1);
        if (tryToLeave) {
            ::PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
            ::PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
            ::PostMessageW(Window(), WM_CLOSE, 0, 0);
        }
        ::PostMessageW(Window(), WM_TEST_STEP, 0, 0);
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_STEP) {
            stillOpenAfterLeaving = Window() != nullptr && ::IsWindowVisible(Window());
            ::PostMessageW(OkButton(), BM_CLICK, 0, 0);
            return TRUE;
        }
        return SingleEdit_CL::HandleMessage(message, wParam, lParam);
    }
};
}  // namespace

TEST(SingleEdit, OkReturnsTheTypedTextAfterTheInitialText) {
    std::wstring result = L"消されるはず";
    DrivenSingleEdit dialog(L"お気に入りの名前", L"場面", 64, &result);
    dialog.typed = L"その一";
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_EQ(result, L"場面その一");
    EXPECT_EQ(dialog.caption, L"お気に入りの名前");
    EXPECT_EQ(dialog.okText, L"　ＯＫ　");
}

TEST(SingleEdit, TypingStopsAtTheLimit) {
    std::wstring result;
    DrivenSingleEdit dialog(L"名前", L"", 5, &result);
    dialog.typed = L"あいうえおかきく";
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_EQ(result, L"あいうえお");
}

TEST(SingleEdit, CloseEnterAndEscapeLeaveItOpenAndTheTextSingleLine) {
    std::wstring result;
    DrivenSingleEdit dialog(L"名前", L"", 0, &result);
    dialog.typed = L"ab\rc";
    dialog.tryToLeave = true;
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_TRUE(dialog.stillOpenAfterLeaving);
    EXPECT_EQ(result, L"abc");
}

TEST(SingleEdit, FieldOfTwentyColumnsWithOkToItsRightAndTheMargins) {
    std::wstring result;
    DrivenSingleEdit dialog(L"名前", L"", 0, &result);
    dialog.DoModal(nullptr);
    EXPECT_GT(dialog.okRect.left, dialog.editRect.right);
    EXPECT_EQ(dialog.client.cx, dialog.okRect.right + SingleEdit_CL::kRightMarginPixels96);
    EXPECT_EQ(dialog.client.cy,
              std::max(dialog.okRect.bottom, dialog.editRect.bottom) + SingleEdit_CL::kBottomMarginPixels96);
    // One row of the field font, twenty columns of "W".
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    SIZE cells = Edit_CL::CellsToPixels(nullptr, font, 20, 1);
    EXPECT_EQ(dialog.editRect.right - dialog.editRect.left, cells.cx);
    EXPECT_EQ(dialog.editRect.bottom - dialog.editRect.top, cells.cy);
}
