// Controls made in code: numbering per factory, window classes and styles of each kind,
// sizes that follow the Japanese texts in the control font, and ownership of the windows.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "tests/ui/HostWindow_CL.h"
#include "ui/Button_CL.h"
#include "ui/CheckBox_CL.h"
#include "ui/ComboBox_CL.h"
#include "ui/ControlFactory_CL.h"
#include "ui/Edit_CL.h"
#include "ui/GroupBox_CL.h"
#include "ui/GuiFont.h"
#include "ui/ListView_CL.h"
#include "ui/ProgressBar_CL.h"
#include "ui/StaticText_CL.h"
#include "ui/SubClassDialogBase_CL.h"
#include "ui/TrackBar_CL.h"

namespace {
std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return SIZE{rect.right, rect.bottom};
}

struct MadeControl {
    ControlKind kind;
    UINT id;
    std::wstring className;
    DWORD style;        // as asked for at creation; some controls take bits away afterwards
    DWORD exStyle;
    int dialogId;       // GetDlgCtrlID
};

// The styles windows are created with, seen by a hook before the controls adjust them.
std::map<HWND, CREATESTRUCTW> g_created;
LRESULT CALLBACK NoteCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        g_created[reinterpret_cast<HWND>(wParam)] = *create->lpcs;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A dialog built in code that makes one control of every kind at WM_INITDIALOG, writes down
// what the windows are, and closes itself.
class AllKindsDialog : public SubClassDialogBase_CL {
public:
    std::vector<int> indexes;
    std::vector<MadeControl> made;
    bool getWithWrongKindIsNull = false;
    bool creationParameterIsTheObject = true;

protected:
    void OnInitDialog() override {
        HWND w = Window();
        ControlFactory_CL& f = Controls();
        indexes.push_back(f.AddStaticText(w, 10, 10, L"再生位置"));
        indexes.push_back(f.AddButton(w, 10, 40, L"キャンセル"));
        indexes.push_back(f.AddCheckBox(w, 10, 80, L"ピッチを保つ"));
        indexes.push_back(f.AddEdit(w, 10, 110, 20, 1, L"お気に入り"));
        indexes.push_back(f.AddComboBox(w, 10, 150, 20, 8));
        indexes.push_back(f.AddGroupBox(w, 200, 10, 150, 80, L"音声"));
        indexes.push_back(f.AddListView(w, 200, 100, 200, 100, LVS_SINGLESEL));
        indexes.push_back(f.AddProgressBar(w, 10, 220, 200, 16));
        indexes.push_back(f.AddTrackBar(w, 10, 250, 200, 30));
        for (size_t i = 0; i < f.Count(); ++i) {
            ControlBase_CL* c = f.At(static_cast<int>(i));
            HWND h = c->Window();
            const CREATESTRUCTW& create = g_created[h];
            made.push_back(MadeControl{c->Kind(), c->Id(), ClassOf(h), static_cast<DWORD>(create.style),
                                       create.dwExStyle, ::GetDlgCtrlID(h)});
            // The creation parameter is the control object.
            if (create.lpCreateParams != c) creationParameterIsTheObject = false;
        }
        getWithWrongKindIsNull = f.Get<Edit_CL>(0) == nullptr && f.Get<StaticText_CL>(0) != nullptr;
        ::PostMessageW(w, WM_CLOSE, 0, 0);
    }
};
}  // namespace

TEST(ControlFactory, DialogMakesEveryKindNumberedFrom0x1100InCreationOrder) {
    g_created.clear();
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &NoteCreation, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    AllKindsDialog dialog;
    INT_PTR result = dialog.DoModal(nullptr);
    ::UnhookWindowsHookEx(hook);
    ASSERT_EQ(result, 0);
    EXPECT_TRUE(dialog.creationParameterIsTheObject);

    ASSERT_EQ(dialog.made.size(), 9u);
    EXPECT_EQ(dialog.indexes, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    const ControlKind kinds[] = {ControlKind::StaticText, ControlKind::Button,  ControlKind::CheckBox,
                                 ControlKind::Edit,       ControlKind::ComboBox, ControlKind::GroupBox,
                                 ControlKind::ListView,   ControlKind::ProgressBar, ControlKind::TrackBar};
    const wchar_t* classes[] = {L"Static", L"Button", L"Button", L"Edit", L"ComboBoxEx32", L"Button",
                                L"SysListView32", L"msctls_progress32", L"msctls_trackbar32"};
    for (size_t i = 0; i < dialog.made.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialog.made[i].kind, kinds[i]);
        EXPECT_EQ(dialog.made[i].id, 0x1100u + i);
        EXPECT_EQ(static_cast<UINT>(dialog.made[i].dialogId), 0x1100u + i);
        EXPECT_EQ(_wcsicmp(dialog.made[i].className.c_str(), classes[i]), 0) << dialog.made[i].className;
        EXPECT_TRUE(dialog.made[i].style & WS_VISIBLE);
        EXPECT_TRUE(dialog.made[i].style & WS_CHILD);
    }
    // The kind codes other dialogs rely on.
    EXPECT_EQ(static_cast<uint32_t>(ControlKind::StaticText), 1u);
    EXPECT_EQ(static_cast<uint32_t>(ControlKind::Button), 2u);
    EXPECT_EQ(static_cast<uint32_t>(ControlKind::Edit), 4u);
    EXPECT_EQ(static_cast<uint32_t>(ControlKind::ListView), 10u);
    EXPECT_EQ(static_cast<uint32_t>(ControlKind::ProgressBar), 19u);

    // The styles the kinds are created with.
    EXPECT_EQ(dialog.made[0].style & 0xFFFF0000u, 0x56000000u);
    EXPECT_EQ(dialog.made[1].style, 0x56010000u);
    EXPECT_EQ(dialog.made[3].style, 0x56211044u);
    EXPECT_TRUE(dialog.made[3].exStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(dialog.made[4].style, 0x56310042u);
    EXPECT_EQ(dialog.made[6].style, 0x56310009u | LVS_SINGLESEL);
    EXPECT_EQ(dialog.made[7].style, 0x56000000u);
    EXPECT_TRUE(dialog.getWithWrongKindIsNull);
}

TEST(ControlFactory, EachFactoryNumbersItsOwnControlsAndFailuresTakeNoNumber) {
    HostWindow_CL host;
    ControlFactory_CL first;
    ControlFactory_CL second;
    EXPECT_EQ(first.AddButton(host.Get(), 0, 0, L"一"), 0);
    EXPECT_EQ(first.AddButton(host.Get(), 0, 30, L"二"), 1);
    EXPECT_EQ(second.AddStaticText(host.Get(), 100, 0, L"三"), 0);
    EXPECT_EQ(first.At(0)->Id(), 0x1100u);
    EXPECT_EQ(first.At(1)->Id(), 0x1101u);
    EXPECT_EQ(second.At(0)->Id(), 0x1100u);

    // No parent: nothing made, the number stays free for the next control.
    EXPECT_EQ(first.AddButton(nullptr, 0, 0, L"失敗"), -1);
    EXPECT_EQ(first.Count(), 2u);
    EXPECT_EQ(first.NextId(), 0x1102u);
    EXPECT_EQ(first.AddEdit(host.Get(), 0, 60, 10, 1, L""), 2);
    EXPECT_EQ(first.At(2)->Id(), 0x1102u);
    EXPECT_EQ(first.FindById(0x1102), first.At(2));
    EXPECT_EQ(first.FindById(0x1200), nullptr);
    EXPECT_EQ(first.At(3), nullptr);
    EXPECT_EQ(first.At(-1), nullptr);

    // A factory starting elsewhere (the tag dialog's word buttons).
    ControlFactory_CL words(0x3300);
    EXPECT_EQ(words.AddButton(host.Get(), 200, 0, L"タグ"), 0);
    EXPECT_EQ(words.At(0)->Id(), 0x3300u);

    HWND made = first.At(0)->Window();
    first.Clear();
    EXPECT_FALSE(::IsWindow(made));
    EXPECT_EQ(first.Count(), 0u);
    EXPECT_EQ(first.AddButton(host.Get(), 0, 0, L"再"), 0);
    EXPECT_EQ(first.At(0)->Id(), 0x1100u);
}

TEST(ControlFactory, ControlsLearnTheirWindowIsGoneAndTheFactoryDestroysTheLiving) {
    HWND kept = nullptr;
    {
        HostWindow_CL host;
        ControlFactory_CL factory;
        factory.AddButton(host.Get(), 0, 0, L"ボタン");
        kept = factory.At(0)->Window();
        ASSERT_TRUE(::IsWindow(kept));
        {
            HostWindow_CL other;
            ControlFactory_CL inner;
            inner.AddStaticText(other.Get(), 0, 0, L"文字");
            ::DestroyWindow(other.Get());
            // The parent took the control with it; the object holds no dead handle.
            EXPECT_EQ(inner.At(0)->Window(), nullptr);
        }
        EXPECT_TRUE(::IsWindow(kept));
    }
    EXPECT_FALSE(::IsWindow(kept));
}

namespace {
struct LabelCase {
    const wchar_t* shorter;
    const wchar_t* longer;
};
class ButtonSizing : public ::testing::TestWithParam<LabelCase> {};
}  // namespace

TEST_P(ButtonSizing, ButtonIsItsTextExtentPlusPaddingAndLongerLabelsAreWider) {
    HostWindow_CL host;
    ControlFactory_CL factory;
    int a = factory.AddButton(host.Get(), 10, 10, GetParam().shorter);
    int b = factory.AddButton(host.Get(), 10, 60, GetParam().longer);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    for (int index : {a, b}) {
        ControlBase_CL* button = factory.At(index);
        SIZE extent = ControlBase_CL::MeasureText(button->Window(), button->Font(), button->Text());
        SIZE size = button->Size();
        EXPECT_GT(extent.cx, 0);
        EXPECT_EQ(size.cx, extent.cx + Button_CL::kPaddingPixels);
        EXPECT_EQ(size.cy, extent.cy + Button_CL::kPaddingPixels);
        // The label fits inside the button's client area.
        SIZE client = ClientSize(button->Window());
        EXPECT_GE(client.cx, extent.cx);
        EXPECT_GE(client.cy, extent.cy);
    }
    EXPECT_GT(factory.At(b)->Size().cx, factory.At(a)->Size().cx);
}

INSTANTIATE_TEST_SUITE_P(JapaneseLabels, ButtonSizing,
                         ::testing::Values(LabelCase{L"ＯＫ", L"　ＯＫ　"},
                                           LabelCase{L"閉じる", L"キャンセル"},
                                           LabelCase{L"再生", L"再生リストを保存する"},
                                           LabelCase{L"A", L"エクスプローラーで表示"}));

TEST(ControlFactory, TextKindsFitTheirTextsAndCellKindsTheirCells) {
    HostWindow_CL host;
    ControlFactory_CL factory;
    const std::wstring label = L"追加するタグを入力してください。";
    int text = factory.AddStaticText(host.Get(), 5, 5, label);
    int twoLines = factory.AddStaticText(host.Get(), 5, 40, L"一行目\r\n二行目の方が長い");
    int check = factory.AddCheckBox(host.Get(), 5, 100, L"最前面に表示する");
    int edit = factory.AddEdit(host.Get(), 5, 130, 20, 3, L"");
    int combo = factory.AddComboBox(host.Get(), 5, 220, 12, 6);

    ControlBase_CL* t = factory.At(text);
    SIZE extent = ControlBase_CL::MeasureText(host.Get(), t->Font(), label);
    EXPECT_EQ(t->Size().cx, extent.cx);
    EXPECT_EQ(t->Size().cy, extent.cy);

    SIZE one = ControlBase_CL::MeasureText(host.Get(), t->Font(), L"一行目");
    SIZE two = factory.At(twoLines)->Size();
    EXPECT_GE(two.cy, 2 * one.cy);

    SIZE checkExtent = ControlBase_CL::MeasureText(host.Get(), t->Font(), L"最前面に表示する");
    EXPECT_GT(factory.At(check)->Size().cx, checkExtent.cx + ::GetSystemMetrics(SM_CXMENUCHECK));

    SIZE w = ControlBase_CL::MeasureText(host.Get(), t->Font(), L"W");
    SIZE m = ControlBase_CL::MeasureText(host.Get(), t->Font(), L"M");
    EXPECT_EQ(factory.At(edit)->Size().cx, 20 * w.cx + Edit_CL::kBorderPixels);
    EXPECT_EQ(factory.At(edit)->Size().cy, 3 * m.cy + Edit_CL::kBorderPixels);
    EXPECT_EQ(factory.At(combo)->Size().cx, 12 * w.cx);
}

TEST(ControlFactory, MoveKeepsTheTopLeftCorner) {
    HostWindow_CL host;
    ControlFactory_CL factory;
    int index = factory.AddProgressBar(host.Get(), 30, 40, 100, 10);
    ControlBase_CL* bar = factory.At(index);
    bar->Move(250, 22, true);
    RECT rect = bar->RectInParent();
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 250);
    EXPECT_EQ(rect.bottom - rect.top, 22);
    bar->MoveTo(5, 6);
    rect = bar->RectInParent();
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right - rect.left, 250);
}

TEST(ControlFactory, KindsRoundTripTheirValues) {
    HostWindow_CL host;
    ControlFactory_CL factory;
    auto* check = factory.Get<CheckBox_CL>(factory.AddCheckBox(host.Get(), 0, 0, L"音量"));
    auto* combo = factory.Get<ComboBox_CL>(factory.AddComboBox(host.Get(), 0, 30, 10, 6));
    auto* list = factory.Get<ListView_CL>(factory.AddListView(host.Get(), 0, 200, 300, 120));
    auto* bar = factory.Get<ProgressBar_CL>(factory.AddProgressBar(host.Get(), 0, 330, 100, 10));
    auto* track = factory.Get<TrackBar_CL>(factory.AddTrackBar(host.Get(), 0, 350, 100, 30));
    ASSERT_TRUE(check && combo && list && bar && track);

    EXPECT_FALSE(check->IsChecked());
    check->SetChecked(true);
    EXPECT_TRUE(check->IsChecked());

    EXPECT_EQ(combo->AddItem(L"標準"), 0);
    EXPECT_EQ(combo->AddItem(L"高品質"), 1);
    EXPECT_EQ(combo->Count(), 2);
    EXPECT_EQ(combo->Selection(), -1);
    combo->Select(1);
    EXPECT_EQ(combo->Selection(), 1);
    EXPECT_EQ(combo->ItemText(1), L"高品質");

    EXPECT_EQ(list->AddColumn(L"ファイル名", 120), 0);
    EXPECT_EQ(list->AddColumn(L"再生日時", 120), 1);
    EXPECT_EQ(list->AddRow(L"映画.mp4"), 0);
    EXPECT_EQ(list->AddRow(L"予告.avi"), 1);
    EXPECT_TRUE(list->SetCellText(1, 1, L"2024/03/05"));
    EXPECT_EQ(list->RowCount(), 2);
    EXPECT_EQ(list->CellText(0, 0), L"映画.mp4");
    EXPECT_EQ(list->CellText(1, 1), L"2024/03/05");

    bar->SetRange(0, 100);
    bar->SetPosition(37);
    EXPECT_EQ(bar->Position(), 37);

    track->SetRange(-10, 10);
    track->SetPosition(-4);
    EXPECT_EQ(track->Position(), -4);
    track->SetPosition(50);  // clamped by the control
    EXPECT_EQ(track->Position(), 10);
}

TEST(GuiFont, ScaledFontIsTheStockFontThinnerAndLarger) {
    LOGFONTW stock{};
    ASSERT_EQ(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock), (int)sizeof(stock));
    HostWindow_CL host;
    ControlFactory_CL factory;
    ControlBase_CL* edit = factory.At(factory.AddEdit(host.Get(), 0, 0, 10, 1, L"タグ"));
    ASSERT_NE(edit, nullptr);
    SIZE before = ControlBase_CL::MeasureText(host.Get(), edit->Font(), L"タグ");

    ASSERT_TRUE(ApplyScaledGuiFont(*edit, 2.0));
    HFONT used = reinterpret_cast<HFONT>(::SendMessageW(edit->Window(), WM_GETFONT, 0, 0));
    EXPECT_EQ(used, edit->Font());
    LOGFONTW scaled{};
    ASSERT_EQ(::GetObjectW(used, sizeof(scaled), &scaled), (int)sizeof(scaled));
    EXPECT_EQ(scaled.lfHeight, stock.lfHeight * 2);
    EXPECT_EQ(scaled.lfWidth, stock.lfWidth * 2);
    EXPECT_EQ(scaled.lfWeight, 100);
    EXPECT_STREQ(scaled.lfFaceName, stock.lfFaceName);
    SIZE after = ControlBase_CL::MeasureText(host.Get(), edit->Font(), L"タグ");
    EXPECT_GT(after.cy, before.cy * 3 / 2);

    // A second change frees the first font once the control has the new one.
    ASSERT_TRUE(ApplyScaledGuiFont(*edit, 3.0));
    EXPECT_EQ(::GetObjectType(used), 0u);
}
