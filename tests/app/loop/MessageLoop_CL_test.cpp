// The real message loop over a stand-in main window with a modeless dialog registered: the
// dialog's keys and drops stay with the dialog, the main window's reach the player.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "app/MessageLoopHost_CL.h"
#include "app/MessageLoop_CL.h"
#include "ui/ControlBase_CL.h"
#include "ui/SubClassDialogBase_CL.h"

namespace {
constexpr UINT kDoneTypingVk = VK_F9;  // released in the dialog's box after the typed keys
constexpr UINT kMainKey = 'P';
constexpr int kDeadlineExit = 7;

// Records what the loop gives the player and ends the loop at kMainKey or the first drop.
class StandInMainWindow : public MessageLoopHost_CL {
public:
    StandInMainWindow()
        : m_window(::CreateWindowExW(0, L"Static", L"stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                     400, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {}
    ~StandInMainWindow() override { ::DestroyWindow(m_window); }
    HWND Window() const { return m_window; }

    std::vector<UINT> keys;
    std::vector<HDROP> drops;  // fake handles: recorded, never opened

    void KeyHandler(UINT virtualKey) override {
        keys.push_back(virtualKey);
        if (virtualKey == kMainKey) ::PostQuitMessage(0);
    }
    void OnDropFiles(HDROP drop) override {
        drops.push_back(drop);
        ::PostQuitMessage(0);
    }
    void NoteUserActivity() override {}
    void OnLoopMouseMove(const MSG&) override {}
    void OnLoopLeftButtonDown(const MSG&) override {}
    void OnLoopLeftButtonUp(const MSG&) override {}
    void OnLoopMouseWheel(const MSG&) override {}

private:
    HWND m_window;
};

// One edit box; records its drops and calls doneTyping when kDoneTypingVk is released in the box.
class EditDialog : public SubClassDialogBase_CL {
public:
    std::vector<WPARAM> drops;
    std::function<void()> doneTyping;
    HWND Edit() const { return m_edit; }

protected:
    void OnInitDialog() override {
        ControlBase_CL* edit = Controls().At(Controls().AddEdit(Window(), 8, 8, 10, 1, L""));
        if (!edit) return;
        m_edit = edit->Window();
        edit->SetMessageCallback([this](ControlBase_CL&, UINT message, WPARAM wParam, LPARAM, bool&) {
            if (message == WM_KEYUP && wParam == kDoneTypingVk && doneTyping) doneTyping();
            return LRESULT{0};
        });
    }
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_DROPFILES) return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
        drops.push_back(wParam);
        return TRUE;
    }

private:
    HWND m_edit = nullptr;
};

class MessageLoopWithDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_main.Window(), nullptr);
        ASSERT_HRESULT_SUCCEEDED(m_dialog.CreateModeless(m_main.Window()));
        m_loop.AddModelessDialog(m_dialog.Window());
        // Only for a failure: the loop would otherwise wait for its end for ever.
        m_deadline = ::SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
            ::PostQuitMessage(kDeadlineExit);
        });
    }
    void TearDown() override { ::KillTimer(nullptr, m_deadline); }

    StandInMainWindow m_main;
    EditDialog m_dialog;
    MessageLoop_CL m_loop{m_main};
    UINT_PTR m_deadline = 0;
};
}  // namespace

TEST_F(MessageLoopWithDialog, KeysTypedIntoTheDialogFillItsBoxAndNeverReachThePlayer) {
    ASSERT_TRUE(::SetForegroundWindow(m_dialog.Window()));
    ASSERT_EQ(::GetForegroundWindow(), m_dialog.Window());
    ::SetFocus(m_dialog.Edit());
    ASSERT_EQ(::GetFocus(), m_dialog.Edit());
    // Behind the typing, a key for the main window; the stand-in ends the loop at it.
    m_dialog.doneTyping = [this] { ::PostMessageW(m_main.Window(), WM_KEYDOWN, kMainKey, 1); };

    std::vector<INPUT> inputs;
    for (WORD vk : {WORD{'3'}, WORD{'5'}, WORD{kDoneTypingVk}}) {
        for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    }
    ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());

    EXPECT_EQ(m_loop.Run(), 0);
    wchar_t text[16] = {};
    ::GetWindowTextW(m_dialog.Edit(), text, 16);
    EXPECT_STREQ(text, L"35");
    EXPECT_EQ(m_main.keys, std::vector<UINT>{kMainKey});
}

TEST_F(MessageLoopWithDialog, DropsOnTheDialogReachItAndNotTheFileIntake) {
    // A dialog whose window went without unregistering must not trouble the loop.
    EditDialog gone;
    ASSERT_HRESULT_SUCCEEDED(gone.CreateModeless(m_main.Window()));
    m_loop.AddModelessDialog(gone.Window());
    ::DestroyWindow(gone.Window());

    // Posted messages come back in order: the main window's drop, which ends the loop, comes last.
    ::PostMessageW(m_dialog.Window(), WM_DROPFILES, 0xD1, 0);
    ::PostMessageW(m_main.Window(), WM_DROPFILES, 0xD2, 0);
    EXPECT_EQ(m_loop.Run(), 0);
    EXPECT_EQ(m_dialog.drops, std::vector<WPARAM>{0xD1});
    EXPECT_EQ(m_main.drops, std::vector<HDROP>{reinterpret_cast<HDROP>(0xD2)});
}
