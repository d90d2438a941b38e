// Dialogs from in-memory templates, modal and modeless: the template, the window's set-up at
// WM_INITDIALOG, ending, numbering on each showing, and centring over the parent.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "tests/ui/HostWindow_CL.h"
#include "ui/DpiScale.h"
#include "ui/SubClassDialogBase_CL.h"
#include "ui/WindowCentering.h"

namespace {
constexpr UINT WM_END_WITH = WM_APP + 10;

// Records what the dialog looked like at WM_INITDIALOG, then ends as the test asks.
class RecordingDialog : public SubClassDialogBase_CL {
public:
    enum class Ending { PostClose, PostEndWith, Stay };
    Ending ending = Ending::PostClose;
    INT_PTR endValue = 0;
    bool center = false;

    HWND windowAtInit = nullptr;
    HWND outAtInit = nullptr;
    HFONT fontAtInit = nullptr;
    HFONT controlFontAtInit = nullptr;
    bool hadDc = false;
    DWORD styleAtInit = 0;
    UINT firstControlId = 0;
    RECT rectAfterCentre{};
    SIZE clientAfterCentre{};
    int showings = 0;
    HWND out = nullptr;

protected:
    void OnInitDialog() override {
        ++showings;
        windowAtInit = Window();
        int index = Controls().AddButton(Window(), 10, 10, L"ボタン");
        firstControlId = Controls().At(index)->Id();
        outAtInit = out;
        fontAtInit = DialogFont();
        controlFontAtInit = reinterpret_cast<HFONT>(::SendMessageW(Controls().At(0)->Window(), WM_GETFONT, 0, 0));
        hadDc = DialogDC() != nullptr;
        styleAtInit = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE));
        if (center) {
            SetClientSize(300, 120);
            CenterDialogOnParent(Parent(), Window());
            ::GetWindowRect(Window(), &rectAfterCentre);
            RECT client{};
            ::GetClientRect(Window(), &client);
            clientAfterCentre = SIZE{client.right, client.bottom};
        }
        if (ending == Ending::PostClose) ::PostMessageW(Window(), WM_CLOSE, 0, 0);
        if (ending == Ending::PostEndWith) ::PostMessageW(Window(), WM_END_WITH, 0, 0);
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_END_WITH) {
            EndWith(endValue);
            return TRUE;
        }
        return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    }
};
}  // namespace

TEST(DialogTemplate, HoldsTheStyleAndNothingElse) {
    std::vector<DWORD> buffer;
    SubClassDialogBase_CL::BuildTemplate(0x80CA0080, buffer);
    ASSERT_EQ(buffer.size() * sizeof(DWORD), 1024u);
    const auto* dialog = reinterpret_cast<const DLGTEMPLATE*>(buffer.data());
    EXPECT_EQ(dialog->style, 0x80CA0080u);
    EXPECT_EQ(dialog->dwExtendedStyle, 0u);
    EXPECT_EQ(dialog->cdit, 0);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 320);
    EXPECT_EQ(dialog->cy, 240);
    const auto* after = reinterpret_cast<const WORD*>(dialog + 1);
    EXPECT_EQ(after[0], 0);  // no menu
    EXPECT_EQ(after[1], 0);  // default class
    EXPECT_EQ(after[2], 0);  // empty title
    EXPECT_EQ(SubClassDialogBase_CL::kDefaultStyle,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_MINIMIZEBOX));
}

TEST(ModalDialog, SetsUpAtInitDialogAndEndsWithZeroOnClose) {
    RecordingDialog dialog;
    dialog.SetWindowHandleOut(&dialog.out);
    EXPECT_EQ(dialog.DoModal(nullptr), 0);
    EXPECT_NE(dialog.windowAtInit, nullptr);
    EXPECT_EQ(dialog.outAtInit, dialog.windowAtInit);
    EXPECT_EQ(dialog.fontAtInit, static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(dialog.controlFontAtInit, dialog.fontAtInit);
    EXPECT_TRUE(dialog.hadDc);
    EXPECT_EQ(dialog.styleAtInit & SubClassDialogBase_CL::kDefaultStyle, SubClassDialogBase_CL::kDefaultStyle);
    EXPECT_EQ(dialog.firstControlId, 0x1100u);
    // Gone afterwards, and so is the handle given out.
    EXPECT_FALSE(::IsWindow(dialog.windowAtInit));
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(dialog.out, nullptr);
    EXPECT_EQ(dialog.Controls().Count(), 0u);
}

TEST(ModalDialog, ReturnsTheValueItEndsWithAndNumbersAfreshEachShowing) {
    RecordingDialog dialog;
    dialog.ending = RecordingDialog::Ending::PostEndWith;
    dialog.endValue = 1234;
    EXPECT_EQ(dialog.DoModal(nullptr), 1234);
    dialog.endValue = -5;
    EXPECT_EQ(dialog.DoModal(nullptr), -5);
    EXPECT_EQ(dialog.showings, 2);
    EXPECT_EQ(dialog.firstControlId, 0x1100u);
}

TEST(ModelessDialog, OpensAtOnceAndForgetsItsWindowWhenDestroyed) {
    HostWindow_CL host;
    RecordingDialog dialog;
    dialog.ending = RecordingDialog::Ending::Stay;
    ASSERT_EQ(dialog.CreateModeless(host.Get()), S_OK);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(dialog.Controls().Count(), 1u);
    EXPECT_EQ(dialog.CreateModeless(host.Get()), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));

    // WM_CLOSE ends a modeless dialog by destroying it.
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(HostWindow_CL::PumpUntil([&] { return !::IsWindow(window); }));
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(dialog.Controls().Count(), 0u);
}

namespace {
struct CentreCase {
    RECT area;
    SIZE client;
    POINT expected;
};
class CentredTopLeft : public ::testing::TestWithParam<CentreCase> {};
}  // namespace

TEST_P(CentredTopLeft, CentresTheClientSizeAndKeepsTheTopOnScreen) {
    POINT p = CenteredTopLeft(GetParam().area, GetParam().client);
    EXPECT_EQ(p.x, GetParam().expected.x);
    EXPECT_EQ(p.y, GetParam().expected.y);
}

INSTANTIATE_TEST_SUITE_P(Areas, CentredTopLeft,
                         ::testing::Values(CentreCase{{0, 0, 1000, 800}, {200, 100}, {400, 350}},
                                           CentreCase{{100, 50, 700, 450}, {300, 120}, {250, 190}},
                                           // a dialog larger than the area hangs over both sides
                                           CentreCase{{0, 0, 200, 1000}, {400, 100}, {-100, 450}},
                                           // a top above the screen moves down to 0
                                           CentreCase{{0, -400, 300, 0}, {100, 100}, {100, 0}},
                                           CentreCase{{0, 0, 300, 100}, {100, 300}, {100, 0}}));

TEST(CentreDialog, OnTheParentWindowAndDetachedFromIt) {
    HostWindow_CL host(RECT{120, 80, 820, 580});
    RecordingDialog dialog;
    dialog.center = true;
    EXPECT_EQ(dialog.DoModal(host.Get()), 0);
    RECT parent{};
    ::GetWindowRect(host.Get(), &parent);
    POINT expected = CenteredTopLeft(parent, dialog.clientAfterCentre);
    EXPECT_EQ(dialog.clientAfterCentre.cx, 300);
    EXPECT_EQ(dialog.clientAfterCentre.cy, 120);
    EXPECT_EQ(dialog.rectAfterCentre.left, expected.x);
    EXPECT_EQ(dialog.rectAfterCentre.top, expected.y);
    // The modal loop gave the parent its input back.
    EXPECT_TRUE(::IsWindowEnabled(host.Get()));
}

TEST(CentreDialog, OnTheScreenWhenTheParentIsMinimised) {
    HostWindow_CL host(RECT{50, 60, 450, 360});
    ::ShowWindow(host.Get(), SW_MINIMIZE);
    HostWindow_CL::PumpPending();
    ASSERT_TRUE(::IsIconic(host.Get()));
    RecordingDialog dialog;
    dialog.center = true;
    EXPECT_EQ(dialog.DoModal(host.Get()), 0);
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
    POINT expected = CenteredTopLeft(screen, dialog.clientAfterCentre);
    EXPECT_EQ(dialog.rectAfterCentre.left, expected.x);
    EXPECT_EQ(dialog.rectAfterCentre.top, expected.y);
}

TEST(DpiScale, ScalesFrom96DotsPerInchAndLeavesUnawareProcessesAlone) {
    struct Case {
        int pixels;
        int dpi;
        int expected;
    } cases[] = {{480, 96, 480}, {480, 144, 720}, {56, 120, 70}, {56, 192, 112}, {7, 144, 11}, {480, 0, 480}};
    for (const Case& c : cases) EXPECT_EQ(ScalePixelsForDpi(c.pixels, c.dpi), c.expected) << c.pixels << "@" << c.dpi;
    // The test program does not declare itself DPI-aware, so the platform scales for it.
    if (!::IsProcessDPIAware()) {
        EXPECT_EQ(EffectiveDpi(), 96);
        EXPECT_EQ(ScaleForDpi(480), 480);
    }
}
