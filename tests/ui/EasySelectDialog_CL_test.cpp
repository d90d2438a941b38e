// The pick-and-close input: word buttons numbered from 0x3300 that append their word, OK
// that takes the input, closing that discards it, and the pure text and layout rules.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ui/Edit_CL.h"
#include "ui/EasySelectDialog_CL.h"
#include "ui/FlowLayout.h"
#include "ui/PickedWordText.h"

namespace {
constexpr UINT WM_TEST_STEP = WM_APP + 40;

struct ButtonNote {
    UINT id;
    std::wstring text;
    RECT rect;
};

// Clicks the word buttons listed, then OK (or closes the window), noting the layout.
class DrivenSelect : public EasySelectDialog_CL {
public:
    using EasySelectDialog_CL::EasySelectDialog_CL;
    std::vector<size_t> clicks;
    std::wstring typedFirst;
    bool closeInsteadOfOk = false;
    std::vector<ButtonNote> buttons;
    RECT editRect{};
    RECT okRect{};
    SIZE client{};
    LONG inputFontHeight = 0;
    std::wstring textBeforeOk;

protected:
    void OnInitDialog() override {
        EasySelectDialog_CL::OnInitDialog();
        RECT c{};
        ::GetClientRect(Window(), &c);
        client = SIZE{c.right, c.bottom};
        editRect = Field()->RectInParent();
        ::GetWindowRect(OkButton(), &okRect);
        ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&okRect), 2);
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Field()->Window(), WM_GETFONT, 0, 0)), sizeof(font),
                     &font);
        inputFontHeight = font.lfHeight;
        for (size_t i = 0; i < WordButtonCount(); ++i) {
            HWND b = WordButton(i);
            ButtonNote note{static_cast<UINT>(::GetDlgCtrlID(b)), L"", {}};
            wchar_t text[128] = {};
            ::GetWindowTextW(b, text, 128);
            note.text = text;
            ::GetWindowRect(b, &note.rect);
            ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&note.rect), 2);
            buttons.push_back(note);
        }
        for (wchar_t ch : typedFirst) ::PostMessageW(Field()->Window(), WM_CHAR, ch, 1);
        for (size_t i : clicks) ::PostMessageW(WordButton(i), BM_CLICK, 0, 0);
        ::PostMessageW(Field()->Window(), WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageW(Field()->Window(), WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(Window(), WM_TEST_STEP, 0, 0);
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_STEP) {
            textBeforeOk = Field()->Text();
            if (closeInsteadOfOk) {
                ::PostMessageW(Window(), WM_CLOSE, 0, 0);
            } else {
                ::PostMessageW(OkButton(), BM_CLICK, 0, 0);
            }
            return TRUE;
        }
        return EasySelectDialog_CL::HandleMessage(message, wParam, lParam);
    }
};

const wchar_t kPrompt[] = L"追加するタグを入力してください。（空白をあけて複数入力も可能です。）";

bool Overlap(const RECT& a, const RECT& b) {
    RECT out{};
    return ::IntersectRect(&out, &a, &b) != FALSE;
}
}  // namespace

TEST(EasySelectDialog, WordButtonsAppendTheirWordsAndOkTakesTheInput) {
    DrivenSelect dialog(L"タグ", kPrompt, L"", 256, {L"アニメ", L"旅行", L"家族"});
    dialog.typedFirst = L"夏";
    dialog.clicks = {1, 2, 1};
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_EQ(dialog.Text(), L"夏 旅行 家族 旅行");
    EXPECT_EQ(dialog.textBeforeOk, dialog.Text());  // Enter and Escape added nothing

    ASSERT_EQ(dialog.buttons.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(dialog.buttons[i].id, 0x3300u + i);
    EXPECT_EQ(dialog.buttons[0].text, L"アニメ");
    EXPECT_EQ(dialog.buttons[2].text, L"家族");
}

TEST(EasySelectDialog, ClosingDiscardsTheInput) {
    DrivenSelect dialog(L"タグ", kPrompt, L"", 256, {L"アニメ"});
    dialog.clicks = {0};
    dialog.closeInsteadOfOk = true;
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_EQ(dialog.textBeforeOk, L"アニメ");
    EXPECT_EQ(dialog.Text(), L"");
}

TEST(EasySelectDialog, ManyWordsWrapIntoRowsInsideTheDialogWithoutOverlapping) {
    std::vector<std::wstring> words;
    for (int i = 0; i < 40; ++i) words.push_back(L"タグその" + std::to_wstring(i));
    DrivenSelect dialog(L"タグ", kPrompt, L"", 256, words);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_EQ(dialog.buttons.size(), 40u);
    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    EXPECT_EQ(dialog.inputFontHeight, stock.lfHeight * 2);

    int rows = 1;
    for (size_t i = 0; i < dialog.buttons.size(); ++i) {
        const RECT& r = dialog.buttons[i].rect;
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, dialog.client.cx);
        EXPECT_LE(r.bottom, dialog.client.cy);
        EXPECT_GE(r.top, std::max(dialog.editRect.bottom, dialog.okRect.bottom));
        if (i > 0 && r.top > dialog.buttons[i - 1].rect.top) ++rows;
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(r, dialog.buttons[j].rect)) << i << " " << j;
    }
    EXPECT_GT(rows, 1);
    EXPECT_LE(dialog.okRect.right, dialog.client.cx);
    EXPECT_LT(dialog.editRect.right, dialog.okRect.left);
}

namespace {
struct AppendCase {
    const wchar_t* input;
    const wchar_t* word;
    size_t limit;
    const wchar_t* expected;
};
class AppendPicked : public ::testing::TestWithParam<AppendCase> {};
}  // namespace

TEST_P(AppendPicked, SeparatesOnlyWhenTheInputEndsInAVisibleCharacter) {
    EXPECT_EQ(AppendPickedWord(GetParam().input, GetParam().word, GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Inputs, AppendPicked,
                         ::testing::Values(AppendCase{L"", L"旅行", 256, L"旅行"},
                                           AppendCase{L"夏", L"旅行", 256, L"夏 旅行"},
                                           AppendCase{L"夏 ", L"旅行", 256, L"夏 旅行"},
                                           AppendCase{L"夏\t", L"旅行", 256, L"夏\t旅行"},
                                           // the ideographic space is above U+0020: a space still goes in
                                           AppendCase{L"夏　", L"旅行", 256, L"夏　 旅行"},
                                           AppendCase{L"abc", L"def", 5, L"abc d"},
                                           AppendCase{L"abc", L"def", 0, L"abc def"}));

namespace {
struct FlowCase {
    std::vector<SIZE> sizes;
    int right;
    std::vector<POINT> expected;
    int bottom;
};
class Flow : public ::testing::TestWithParam<FlowCase> {};
}  // namespace

TEST_P(Flow, PlacesLeftToRightAndWrapsAtTheRightEdge) {
    FlowResult result = FlowLeftToRight(GetParam().sizes, 10, 20, GetParam().right, 4, 2);
    ASSERT_EQ(result.topLefts.size(), GetParam().expected.size());
    for (size_t i = 0; i < result.topLefts.size(); ++i) {
        EXPECT_EQ(result.topLefts[i].x, GetParam().expected[i].x) << i;
        EXPECT_EQ(result.topLefts[i].y, GetParam().expected[i].y) << i;
    }
    EXPECT_EQ(result.bottom, GetParam().bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Flow,
    ::testing::Values(FlowCase{{}, 100, {}, 20},
                      FlowCase{{{30, 10}, {30, 12}}, 100, {{10, 20}, {44, 20}}, 32},
                      // exactly reaching the edge stays on the row; one more pixel wraps
                      FlowCase{{{40, 10}, {50, 10}}, 104, {{10, 20}, {54, 20}}, 30},
                      FlowCase{{{40, 10}, {51, 10}}, 104, {{10, 20}, {10, 32}}, 42},
                      // an item wider than the row gets a row of its own
                      FlowCase{{{200, 10}, {20, 10}, {20, 8}}, 100, {{10, 20}, {10, 32}, {34, 32}}, 42}));
