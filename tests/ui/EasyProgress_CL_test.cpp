// The progress dialog with its worker thread: cancelled from the user-interface thread,
// ended by its worker, closed early, and its fixed layout and trace lines.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/ui/HostWindow_CL.h"
#include "ui/EasyProgress_CL.h"
#include "ui/ProgressWorker_CL.h"

namespace {
constexpr UINT WM_WORKER_WAITING = WM_APP + 20;
constexpr UINT WM_TEST_KEYS = WM_APP + 21;
constexpr INT_PTR kCancelledResult = -5;
constexpr DWORD kBoundMs = 10000;  // only bounds a test that went wrong

// Moves the bar to 40, tells the dialog it waits, and waits for the cancel flag.
class WaitForCancelWorker : public ProgressWorker_CL {
public:
    std::atomic<bool> sawCancel{false};
    std::atomic<DWORD> threadId{0};
    INT_PTR Run(EasyProgress_CL& progress) override {
        threadId = ::GetCurrentThreadId();
        progress.SetPosition(40);
        progress.PostToDialog(WM_WORKER_WAITING, 0, 0);
        bool cancelled = ::WaitForSingleObject(progress.CancelEvent(), kBoundMs) == WAIT_OBJECT_0;
        sawCancel = cancelled && progress.IsCancelRequested();
        return cancelled ? kCancelledResult : 99;
    }
};

// Counts to the end and returns 1, as an extraction that succeeded.
class CountingWorker : public ProgressWorker_CL {
public:
    INT_PTR Run(EasyProgress_CL& progress) override {
        for (int p = 0; p <= 100; p += 10) progress.SetPosition(p);
        return 1;
    }
};

// Drives the dialog from inside: clicks cancel when the worker waits, sends keys when asked,
// and notes what the dialog showed.
class DrivenProgress : public EasyProgress_CL {
public:
    using EasyProgress_CL::EasyProgress_CL;
    bool clickCancelWhenWaiting = true;
    bool closeWhenWaiting = false;
    int positionWhenWaiting = -1;
    int positionAtFinish = -1;
    bool cancelVisible = false;
    bool hasCancel = false;
    RECT barRect{};
    RECT cancelRect{};
    SIZE client{};
    DWORD style = 0;
    std::wstring caption;
    std::wstring cancelText;
    DWORD uiThread = ::GetCurrentThreadId();

protected:
    void OnInitDialog() override {
        EasyProgress_CL::OnInitDialog();
        RECT c{};
        ::GetClientRect(Window(), &c);
        client = SIZE{c.right, c.bottom};
        style = static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE));
        wchar_t text[128] = {};
        ::GetWindowTextW(Window(), text, 128);
        caption = text;
        ::GetWindowRect(Bar(), &barRect);
        ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&barRect), 2);
        hasCancel = CancelButton() != nullptr;
        if (hasCancel) {
            cancelVisible = (::GetWindowLongPtrW(CancelButton(), GWL_STYLE) & WS_VISIBLE) != 0;
            ::GetWindowRect(CancelButton(), &cancelRect);
            ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&cancelRect), 2);
            ::GetWindowTextW(CancelButton(), text, 128);
            cancelText = text;
        }
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_WORKER_WAITING) {
            positionWhenWaiting = ShownPosition();
            if (closeWhenWaiting) {
                ::PostMessageW(Window(), WM_CLOSE, 0, 0);
            } else if (clickCancelWhenWaiting) {
                // Enter and Escape first: neither may end the dialog.
                ::PostMessageW(CancelButton(), WM_KEYDOWN, VK_ESCAPE, 0);
                ::PostMessageW(CancelButton(), WM_KEYDOWN, VK_RETURN, 0);
                ::PostMessageW(Window(), WM_TEST_KEYS, 0, 0);
            }
            return TRUE;
        }
        if (message == WM_TEST_KEYS) {
            ::SendMessageW(CancelButton(), BM_CLICK, 0, 0);
            return TRUE;
        }
        if (message == WM_PROGRESS_FINISH) positionAtFinish = ShownPosition();
        return EasyProgress_CL::HandleMessage(message, wParam, lParam);
    }
};
}  // namespace

TEST(EasyProgress, CancelClickedOnTheUiThreadReachesTheWorkerWhichEndsTheDialog) {
    HostWindow_CL host;
    WaitForCancelWorker worker;
    DrivenProgress dialog(L"zipを解凍しています。", true, &worker);
    EXPECT_EQ(dialog.DoModal(host.Get()), kCancelledResult);
    EXPECT_TRUE(worker.sawCancel);
    EXPECT_TRUE(dialog.IsCancelRequested());
    EXPECT_EQ(dialog.positionWhenWaiting, 40);
    EXPECT_NE(worker.threadId.load(), dialog.uiThread);
    EXPECT_EQ(dialog.Window(), nullptr);
}

TEST(EasyProgress, EndsWithTheWorkersResultAfterItsLastPosition) {
    CountingWorker worker;
    DrivenProgress dialog(L"処理中", true, &worker);
    EXPECT_EQ(dialog.DoModal(nullptr), 1);
    EXPECT_EQ(dialog.positionAtFinish, 100);
    EXPECT_FALSE(dialog.IsCancelRequested());
}

TEST(EasyProgress, CloseWhileTheWorkerRunsOnlyCancelsAndTheWorkersEndClosesTheDialog) {
    WaitForCancelWorker worker;
    DrivenProgress dialog(L"処理中", true, &worker);
    dialog.closeWhenWaiting = true;
    // The dialog stayed open until the worker, which saw the cancel the close raised, ended it
    // with its own result.
    EXPECT_EQ(dialog.DoModal(nullptr), kCancelledResult);
    EXPECT_TRUE(worker.sawCancel);
}

TEST(EasyProgress, LayoutAt96DpiWithAndWithoutTheCancelButton) {
    WaitForCancelWorker worker;
    DrivenProgress dialog(L"zipを解凍しています。", true, &worker);
    dialog.closeWhenWaiting = true;
    dialog.DoModal(nullptr);
    EXPECT_EQ(dialog.client.cx, 480);
    EXPECT_EQ(dialog.client.cy, 56);
    EXPECT_EQ(dialog.caption, L"zipを解凍しています。");
    EXPECT_EQ(dialog.style & (WS_MINIMIZEBOX | WS_SYSMENU), 0u);
    EXPECT_TRUE(dialog.style & WS_CAPTION);
    ASSERT_TRUE(dialog.hasCancel);
    EXPECT_TRUE(dialog.cancelVisible);
    EXPECT_EQ(dialog.cancelText, L"キャンセル");
    // The bar fills the width left of the button; both lie inside the client area.
    EXPECT_LT(dialog.barRect.right, dialog.cancelRect.left);
    EXPECT_GE(dialog.barRect.left, 0);
    EXPECT_LE(dialog.cancelRect.right, 480);
    EXPECT_LE(dialog.cancelRect.bottom, 56);
    EXPECT_GE(dialog.cancelRect.top, 0);

    WaitForCancelWorker second;
    DrivenProgress plain(L"処理中", false, &second);
    plain.closeWhenWaiting = true;
    plain.DoModal(nullptr);
    EXPECT_FALSE(plain.hasCancel);
    EXPECT_GT(plain.barRect.right - plain.barRect.left, dialog.barRect.right - dialog.barRect.left);
    EXPECT_LE(plain.barRect.right, 480);
}

TEST(EasyProgress, WritesItsTraceLinesWhenDetailedLoggingIsOn) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"log.txt");
    LogFile_CL::Process().SetPath(path);
    ProcessLogSwitches().log_detail_other = true;
    {
        WaitForCancelWorker worker;
        DrivenProgress dialog(L"処理中", true, &worker);
        dialog.closeWhenWaiting = true;
        dialog.DoModal(nullptr);
    }
    ProcessLogSwitches().log_detail_other = false;
    {
        CountingWorker worker;
        DrivenProgress quiet(L"処理中", true, &worker);
        quiet.DoModal(nullptr);
    }
    LogFile_CL::Process().SetPath(L"");

    std::string bytes = ReadFileBytes(path);
    auto count = [&](const std::wstring& text) {
        std::string needle = Utf16Bytes(text);
        size_t n = 0;
        for (size_t at = bytes.find(needle); at != std::string::npos; at = bytes.find(needle, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(L"EasyProgress-WM_INITDIALOG\r\n"), 1u);
    EXPECT_EQ(count(L"EasyProgress-WM_INITDIALOG(END)\r\n"), 1u);
    EXPECT_EQ(count(L"EasyProgress-WM_CLOSE\r\n"), 1u);
}

TEST(EasyProgress, WithoutAWorkerEndsByPostFinishFromAnotherThread) {
    class Poster : public EasyProgress_CL {
    public:
        using EasyProgress_CL::EasyProgress_CL;
        HANDLE thread = nullptr;

    protected:
        void OnInitDialog() override {
            EasyProgress_CL::OnInitDialog();
            thread = ::CreateThread(
                nullptr, 0,
                [](void* self) -> DWORD {
                    auto* dialog = static_cast<Poster*>(self);
                    dialog->SetPosition(70);
                    dialog->PostFinish(3);
                    return 0;
                },
                this, 0, nullptr);
        }
    };
    Poster dialog(L"待機中", false, nullptr);
    EXPECT_EQ(dialog.DoModal(nullptr), 3);
    ASSERT_NE(dialog.thread, nullptr);
    ::WaitForSingleObject(dialog.thread, kBoundMs);
    ::CloseHandle(dialog.thread);
    // Posting after the dialog is gone does nothing.
    dialog.PostFinish(4);
    dialog.SetPosition(1);
}
