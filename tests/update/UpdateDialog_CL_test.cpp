// The notice dialog on a real parent window: its texts, button numbers, style, size and
// place, and the result each way of leaving it gives.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/DpiScale.h"
#include "update/UpdateDecision.h"
#include "update/UpdateDialog_CL.h"
#include "update/VersionFile.h"

namespace {
constexpr UINT WM_TEST_LEAVE = WM_APP + 41;

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

enum class Leave { SiteButton, LaterButton, Close, Escape };

// Notes what the dialog shows, then leaves it the way asked.
class DrivenUpdateDialog : public UpdateDialog_CL {
public:
    using UpdateDialog_CL::UpdateDialog_CL;
    Leave leave = Leave::Close;
    std::wstring caption, label, siteText, laterText;
    UINT siteId = 0, laterId = 0;
    DWORD style = 0;
    RECT client{}, frame{};

protected:
    void OnInitDialog() override {
        UpdateDialog_CL::OnInitDialog();
        caption = TextOf(Window());
        label = TextOf(NoticeLabel());
        siteText = TextOf(SiteButton());
        laterText = TextOf(LaterButton());
        siteId = static_cast<UINT>(::GetDlgCtrlID(SiteButton()));
        laterId = static_cast<UINT>(::GetDlgCtrlID(LaterButton()));
        style = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE));
        ::GetClientRect(Window(), &client);
        ::GetWindowRect(Window(), &frame);
        ::PostMessageW(Window(), WM_TEST_LEAVE, 0, 0);
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TEST_LEAVE) {
            switch (leave) {
            case Leave::SiteButton: ::PostMessageW(SiteButton(), BM_CLICK, 0, 0); break;
            case Leave::LaterButton: ::PostMessageW(LaterButton(), BM_CLICK, 0, 0); break;
            case Leave::Close: ::PostMessageW(Window(), WM_CLOSE, 0, 0); break;
            case Leave::Escape: ::PostMessageW(Window(), WM_COMMAND, IDCANCEL, 0); break;
            }
            return TRUE;
        }
        return UpdateDialog_CL::HandleMessage(message, wParam, lParam);
    }
};

class UpdateDialogOnWindow : public ::testing::Test {
protected:
    void SetUp() override {
        parent = ::CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 900, 700,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override { ::DestroyWindow(parent); }
    HWND parent = nullptr;
};

TEST_F(UpdateDialogOnWindow, ShowsTheNoticeWithItsTwoButtons) {
    DrivenUpdateDialog dialog(L"Lumikino更新確認", L"1.3.2", L"1.3.1");
    EXPECT_EQ(dialog.DoModal(parent), kNoticeClosed);
    EXPECT_EQ(dialog.caption, L"Lumikino更新確認");
    EXPECT_EQ(dialog.label, MakeNoticeText(L"1.3.2", L"1.3.1"));
    EXPECT_EQ(dialog.siteText, L"　サイトへ移動する　");
    EXPECT_EQ(dialog.laterText, L"後日通知する　");
    EXPECT_EQ(dialog.siteId, 4096u);
    EXPECT_EQ(dialog.laterId, 4098u);
    EXPECT_EQ(dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_NE(dialog.style & WS_CAPTION, 0u);
    EXPECT_GE(dialog.client.right, ScaleForDpi(360));
    EXPECT_GE(dialog.client.bottom, ScaleForDpi(160));
    // Centred on the parent (within rounding and the frame).
    RECT p{};
    ::GetWindowRect(parent, &p);
    EXPECT_NEAR((dialog.frame.left + dialog.frame.right) / 2, (p.left + p.right) / 2, 12);
    EXPECT_NEAR((dialog.frame.top + dialog.frame.bottom) / 2, (p.top + p.bottom) / 2, 24);
}

TEST_F(UpdateDialogOnWindow, EachWayOutGivesItsResult) {
    const struct {
        Leave leave;
        INT_PTR result;
    } cases[] = {{Leave::SiteButton, 1}, {Leave::LaterButton, 2}, {Leave::Close, 0}, {Leave::Escape, 0}};
    for (const auto& c : cases) {
        DrivenUpdateDialog dialog(L"Lumikino更新確認", L"1.3.2", L"1.3.1");
        dialog.leave = c.leave;
        EXPECT_EQ(dialog.DoModal(parent), c.result) << static_cast<int>(c.leave);
        EXPECT_EQ(dialog.Window(), nullptr);
    }
}

TEST(UpdateMessageBox, AnswersMapToNoticeResults) {
    EXPECT_EQ(UpdateDialog_CL::ResultOfMessageBox(IDYES), kNoticeGoToSite);
    EXPECT_EQ(UpdateDialog_CL::ResultOfMessageBox(IDNO), kNoticeLater);
    EXPECT_EQ(UpdateDialog_CL::ResultOfMessageBox(IDCANCEL), kNoticeClosed);
    EXPECT_EQ(UpdateDialog_CL::ResultOfMessageBox(0), kNoticeClosed);  // the box could not be shown
}
}  // namespace
