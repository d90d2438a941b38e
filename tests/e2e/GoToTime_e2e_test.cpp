// Ctrl+G on the real player: each form of time typed goes there, read from the picture of a
// movie that shows its frame number; a paused movie stays paused and a playing one plays on;
// Escape cancels; text that is not a time is answered and the dialog stays.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/goto/GoToTimeDialog_CL.h"
#include "tests/e2e/MovieFixture.h"

namespace {

class GoToTimeE2eTest : public MovieFixture {
protected:
    // Ctrl+G typed on the player; its dialog once shown (null when it did not show).
    HWND OpenWithCtrlG(const PlayerProcess_CL& player, HWND window) {
        const std::wstring caption = GoToTimeDialog_CL::kCaption;
        HWND dialog = nullptr;
        for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
            ::SetForegroundWindow(window);
            INPUT keys[4]{};
            for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
            keys[0].ki.wVk = VK_CONTROL;
            keys[1].ki.wVk = 'G';
            keys[2].ki.wVk = 'G';
            keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
            keys[3].ki.wVk = VK_CONTROL;
            keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
            ::SendInput(4, keys, sizeof(INPUT));
            WaitUntil([&] { return (dialog = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true)) != nullptr; },
                      3000);
        }
        return dialog;
    }
    // Types text into the dialog's field and presses key (Enter or Escape).
    static void Answer(HWND dialog, const std::wstring& text, WORD key) {
        HWND field = ::FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        ASSERT_NE(field, nullptr);
        WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, 2000);
        TypeText(text);
        ASSERT_TRUE(WaitUntil([&] {
            wchar_t typed[64] = {};
            ::SendMessageW(field, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(typed));
            return text == typed;
        }, 5000));
        PressKey(key);
    }
    // Goes to text with Ctrl+G and Enter; true once the dialog has closed.
    bool GoTo(const PlayerProcess_CL& player, HWND window, const std::wstring& text) {
        HWND dialog = OpenWithCtrlG(player, window);
        if (!dialog) return false;
        Answer(dialog, text, VK_RETURN);
        return WaitUntil([&] { return !::IsWindow(dialog); }, 5000);
    }
    static bool Near(int frame, int expected) { return std::abs(frame - expected) <= 1; }
};

TEST_F(GoToTimeE2eTest, EachFormGoesThereKeepingPauseOrPlayEscapeCancelsAndBadTextIsAnswered) {
    WriteSettings(kPictureSettings);
    const AviMovieSpec movieSpec = MovieOf(120, 320, 240);
    const std::wstring movie = WriteMovie(L"goto.avi", movieSpec);
    const FrameNumberReader_CL reader(movieSpec);
    PlayerProcess_CL player;
    HWND window = StartPlayingUntil(&player, {movie}, reader);
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(WaitForLog(L"KeyHandler(0x50)"));

    // Paused: each form lands on its frame (10 frames a second) and the movie stays paused.
    struct Form {
        const wchar_t* text;
        int frame;
    };
    for (const Form& form : {Form{L"1:05", 650}, Form{L"83", 830}, Form{L"0:01:10.5", 705},
                             Form{L"1:23:45", 1190}}) {  // past the end: one second before it
        ASSERT_TRUE(GoTo(player, window, form.text)) << "the dialog did not take the time";
        int frame = -1;
        EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return Near(f, form.frame); }, 10000, &frame))
            << std::string(form.text, form.text + std::wcslen(form.text)) << " shows " << frame;
    }
    EXPECT_FALSE(WaitForFrame(reader, video, [](int f) { return f < 1185 || f > 1191; }, 1500))
        << "the paused movie moved";

    // Escape cancels: nothing moves.
    HWND dialog = OpenWithCtrlG(player, window);
    ASSERT_NE(dialog, nullptr);
    Answer(dialog, L"10", VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5000)) << "Escape did not close the dialog";
    EXPECT_FALSE(WaitForFrame(reader, video, [](int f) { return f < 1185 || f > 1191; }, 1500));

    // Text that is not a time: the message, and the dialog stays for another try.
    dialog = OpenWithCtrlG(player, window);
    ASSERT_NE(dialog, nullptr);
    Answer(dialog, L"abc", VK_RETURN);
    HWND message = nullptr;
    const std::wstring caption = GoToTimeDialog_CL::kCaption;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND found = ::FindWindowW(L"#32770", caption.c_str()); found;
             found = ::FindWindowExW(nullptr, found, L"#32770", caption.c_str())) {
            if (found != dialog && ::FindWindowExW(found, nullptr, L"Static", GoToTimeDialog_CL::kBadTimeText)) {
                message = found;
                return true;
            }
        }
        return false;
    }, 5000)) << "no message for a text that is not a time";
    ::PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(message); }, 5000));
    EXPECT_TRUE(::IsWindow(dialog)) << "the dialog closed on a text that is not a time";
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);  // the close box cancels
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5000));

    // Playing: it goes there and plays on.
    ASSERT_TRUE(PostKey(&player, 'P'));
    ASSERT_TRUE(GoTo(player, window, L"0:10"));
    int frame = -1;
    EXPECT_TRUE(WaitForFrame(reader, video, [](int f) { return f >= 100 && f < 200; }, 10000, &frame)) << frame;
    EXPECT_TRUE(WaitForFrame(reader, video, [&](int f) { return f > frame + 5 && f < 300; }, 10000)) << "it does not play on";
    ClosePlayer(&player);
}

}  // namespace
