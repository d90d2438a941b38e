// The play-error choice over a real parent window: its texts, a row of buttons that fit their
// labels, what each way out starts (recorded, never started), the modal flag around all of it,
// and the pure caption, Media Player path and argument quoting rules.

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/PlayErrorDialog_CL.h"
#include "app/PlayErrorTexts.h"
#include "ui/Button_CL.h"
#include "ui/ControlBase_CL.h"
#include "ui/WindowCentering.h"

namespace {

using Choice = PlayErrorDialog_CL::Choice;

constexpr wchar_t kParentClass[] = L"LumikinoTestPlayErrorParent";
// A way out that the dialog ignores would leave it open for good; this deadline closes it
// so the test fails instead of hanging.
constexpr UINT_PTR kDeadlineTimerId = 0x7E57;
constexpr UINT kDeadlineMs = 5000;
constexpr INT_PTR kEndedByDeadline = 99;
constexpr wchar_t kAwkwardMovie[] = L"C:\\動画 フォルダ\\旅行, 夏\\映像 1,2.mp4";

class ParentWindow {
public:
    ParentWindow() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        ::RegisterClassExW(&wc);  // fails harmlessly when an earlier test registered it
        m_window = ::CreateWindowExW(0, kParentClass, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 130, 90, 900,
                                     640, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~ParentWindow() {
        if (m_window) ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

struct LaunchCall {
    HWND owner;
    std::wstring file;
    std::wstring parameters;
};

enum class Action { ClickSupport, ClickMediaPlayer, ClickCancel, Close, Escape, Enter };

struct ControlNote {
    UINT id = 0;
    std::wstring text;
    RECT rect{};  // client coordinates of the dialog
    HFONT font = nullptr;
};

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

ControlNote Note(HWND dialog, HWND control) {
    ControlNote note;
    note.id = static_cast<UINT>(::GetDlgCtrlID(control));
    note.text = WindowText(control);
    ::GetWindowRect(control, &note.rect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&note.rect), 2);
    note.font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    return note;
}

// Notes what the dialog shows once it is laid out, then takes the way out it was given.
class DrivenPlayError : public PlayErrorDialog_CL {
public:
    DrivenPlayError(const std::wstring& moviePath, Action action, std::vector<std::wstring>* events,
                    std::vector<LaunchCall>* calls)
        : PlayErrorDialog_CL(
              moviePath, [events](bool open) { events->push_back(open ? L"flag up" : L"flag down"); },
              [events, calls](HWND owner, const std::wstring& file, const std::wstring& parameters) {
                  events->push_back(L"launch");
                  calls->push_back(LaunchCall{owner, file, parameters});
                  return S_OK;
              }),
          m_action(action),
          m_events(events) {}

    std::wstring caption;
    ControlNote message;
    std::vector<ControlNote> buttons;
    SIZE client{};
    RECT windowRect{};
    bool dialogIsTopLevel = false;
    std::vector<std::wstring> eventsAtInit;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kDeadlineTimerId) {
            ::KillTimer(Window(), kDeadlineTimerId);
            EndWith(kEndedByDeadline);
            return TRUE;
        }
        return PlayErrorDialog_CL::HandleMessage(message, wParam, lParam);
    }

    void OnInitDialog() override {
        PlayErrorDialog_CL::OnInitDialog();
        HWND window = Window();
        eventsAtInit = *m_events;
        caption = WindowText(window);
        message = Note(window, MessageWindow());
        for (Choice choice : {Choice::SupportSite, Choice::MediaPlayer, Choice::Cancel}) {
            if (HWND button = ButtonWindow(choice)) buttons.push_back(Note(window, button));
        }
        RECT c{};
        ::GetClientRect(window, &c);
        client = SIZE{c.right, c.bottom};
        ::GetWindowRect(window, &windowRect);
        dialogIsTopLevel = ::GetAncestor(window, GA_PARENT) == ::GetDesktopWindow();

        ::SetTimer(window, kDeadlineTimerId, kDeadlineMs, nullptr);
        switch (m_action) {
        case Action::ClickSupport: ::PostMessageW(ButtonWindow(Choice::SupportSite), BM_CLICK, 0, 0); break;
        case Action::ClickMediaPlayer: ::PostMessageW(ButtonWindow(Choice::MediaPlayer), BM_CLICK, 0, 0); break;
        case Action::ClickCancel: ::PostMessageW(ButtonWindow(Choice::Cancel), BM_CLICK, 0, 0); break;
        case Action::Close: ::PostMessageW(window, WM_CLOSE, 0, 0); break;
        case Action::Escape: ::PostMessageW(ButtonWindow(Choice::SupportSite), WM_KEYDOWN, VK_ESCAPE, 0); break;
        case Action::Enter: ::PostMessageW(ButtonWindow(Choice::SupportSite), WM_KEYDOWN, VK_RETURN, 0); break;
        }
    }

private:
    Action m_action;
    std::vector<std::wstring>* m_events;
};

bool Overlap(const RECT& a, const RECT& b) {
    RECT out{};
    return ::IntersectRect(&out, &a, &b) != FALSE;
}

// What a started program finds as its first argument after the program name.
std::wstring FirstArgumentOf(const std::wstring& parameters) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW((L"wmplayer.exe " + parameters).c_str(), &count);
    std::wstring first = argv && count >= 2 ? argv[1] : L"<none>";
    if (count != 2) first += L" <" + std::to_wstring(count) + L" arguments>";
    ::LocalFree(argv);
    return first;
}

}  // namespace

TEST(PlayErrorDialog, ShowsTheCaptionMessageAndThreeButtonsThatFitTheirLabels) {
    ParentWindow parent;
    ASSERT_NE(parent.Get(), nullptr);
    std::vector<std::wstring> events;
    std::vector<LaunchCall> calls;
    DrivenPlayError dialog(kAwkwardMovie, Action::ClickCancel, &events, &calls);
    EXPECT_EQ(dialog.Run(parent.Get()), Choice::Cancel);

    EXPECT_EQ(dialog.caption, L"再生できませんでした。(8001)");
    EXPECT_EQ(dialog.message.text,
              L"映像データが見つけられませんでした。コーデックが存在しないか、対応していないファイルです。\r\n"
              L"\r\nサーポートサイトで情報を確認しますか？");
    ASSERT_EQ(dialog.buttons.size(), 3u);
    EXPECT_EQ(dialog.buttons[0].text, L"サポートサイトへ");
    EXPECT_EQ(dialog.buttons[1].text, L"MediaPlayerで再生する");
    EXPECT_EQ(dialog.buttons[2].text, L"キャンセル");

    // The whole message is inside the client area, with its two lines and the blank one.
    SIZE messageSize = ControlBase_CL::MeasureText(parent.Get(), dialog.message.font, dialog.message.text);
    EXPECT_GE(dialog.message.rect.right - dialog.message.rect.left, messageSize.cx);
    EXPECT_GE(dialog.message.rect.bottom - dialog.message.rect.top, messageSize.cy);
    SIZE oneLine = ControlBase_CL::MeasureText(parent.Get(), dialog.message.font, L"映");
    EXPECT_GE(messageSize.cy, 3 * oneLine.cy);
    EXPECT_GE(dialog.message.rect.left, 0);
    EXPECT_GE(dialog.message.rect.top, 0);
    EXPECT_LE(dialog.message.rect.right, dialog.client.cx);

    for (size_t i = 0; i < dialog.buttons.size(); ++i) {
        const ControlNote& button = dialog.buttons[i];
        SIZE label = ControlBase_CL::MeasureText(parent.Get(), button.font, button.text);
        EXPECT_GE(button.rect.right - button.rect.left, label.cx + Button_CL::kPaddingPixels) << i;
        EXPECT_GE(button.rect.bottom - button.rect.top, label.cy + Button_CL::kPaddingPixels) << i;
        EXPECT_GE(button.rect.left, 0) << i;
        EXPECT_LE(button.rect.right, dialog.client.cx) << i;
        EXPECT_LE(button.rect.bottom, dialog.client.cy) << i;
        EXPECT_GE(button.rect.top, dialog.message.rect.bottom) << i;
        EXPECT_EQ(button.rect.top, dialog.buttons[0].rect.top) << i;  // one row
        for (size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(Overlap(button.rect, dialog.buttons[j].rect)) << i << " " << j;
            EXPECT_NE(button.id, dialog.buttons[j].id) << i << " " << j;
        }
        if (i > 0) {
            EXPECT_GT(button.rect.left, dialog.buttons[i - 1].rect.left) << i;  // in reading order
        }
    }
}

TEST(PlayErrorDialog, SitsCentredOnItsParentAsATopLevelWindow) {
    ParentWindow parent;
    ASSERT_NE(parent.Get(), nullptr);
    std::vector<std::wstring> events;
    std::vector<LaunchCall> calls;
    DrivenPlayError dialog(kAwkwardMovie, Action::Close, &events, &calls);
    EXPECT_EQ(dialog.Run(parent.Get()), Choice::Closed);

    RECT parentRect{};
    ::GetWindowRect(parent.Get(), &parentRect);
    // Centred once sized: the final client size is what the centring used.
    POINT expected = CenteredTopLeft(parentRect, dialog.client);
    EXPECT_EQ(dialog.windowRect.left, expected.x);
    EXPECT_EQ(dialog.windowRect.top, expected.y);
    EXPECT_TRUE(dialog.dialogIsTopLevel);
}

namespace {
struct WayOutCase {
    const char* name;
    Action action;
    Choice expected;
    int launches;
};
void PrintTo(const WayOutCase& wayOut, std::ostream* out) { *out << wayOut.name; }
class PlayErrorWayOut : public ::testing::TestWithParam<WayOutCase> {};
}  // namespace

TEST_P(PlayErrorWayOut, EndsWithItsChoiceAndStartsOnlyWhatTheChoiceAsksFor) {
    ParentWindow parent;
    ASSERT_NE(parent.Get(), nullptr);
    std::vector<std::wstring> events;
    std::vector<LaunchCall> calls;
    DrivenPlayError dialog(kAwkwardMovie, GetParam().action, &events, &calls);
    EXPECT_EQ(dialog.Run(parent.Get()), GetParam().expected);
    ASSERT_EQ(calls.size(), static_cast<size_t>(GetParam().launches));

    // The flag is up before the window exists and down only after any launch.
    EXPECT_EQ(dialog.eventsAtInit, std::vector<std::wstring>{L"flag up"});
    std::vector<std::wstring> expectedEvents{L"flag up"};
    if (GetParam().launches) expectedEvents.push_back(L"launch");
    expectedEvents.push_back(L"flag down");
    EXPECT_EQ(events, expectedEvents);
    EXPECT_EQ(dialog.Window(), nullptr);

    if (calls.empty()) {
        EXPECT_EQ(dialog.LaunchResult(), S_FALSE);
        return;
    }
    EXPECT_EQ(dialog.LaunchResult(), S_OK);
    EXPECT_EQ(calls[0].owner, parent.Get());
    if (GetParam().expected == Choice::SupportSite) {
        EXPECT_EQ(calls[0].file, kPlayErrorHelpPageUrl);
        EXPECT_EQ(calls[0].parameters, L"");
    } else {
        EXPECT_EQ(calls[0].file, MediaPlayerPathIn(PlayErrorDialog_CL::ProgramFilesFolder()));
        EXPECT_EQ(calls[0].parameters, L"\"" + std::wstring(kAwkwardMovie) + L"\"");
        EXPECT_EQ(FirstArgumentOf(calls[0].parameters), kAwkwardMovie);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PlayErrorWayOut,
    ::testing::Values(WayOutCase{"SupportButton", Action::ClickSupport, Choice::SupportSite, 1},
                      WayOutCase{"MediaPlayerButton", Action::ClickMediaPlayer, Choice::MediaPlayer, 1},
                      WayOutCase{"CancelButton", Action::ClickCancel, Choice::Cancel, 0},
                      WayOutCase{"CloseBox", Action::Close, Choice::Closed, 0},
                      WayOutCase{"EscapeKey", Action::Escape, Choice::Cancel, 0},
                      // Enter answers the question with yes
                      WayOutCase{"EnterKey", Action::Enter, Choice::SupportSite, 1}),
    [](const ::testing::TestParamInfo<WayOutCase>& info) { return std::string(info.param.name); });

TEST(PlayErrorDialog, StartsTheMediaPlayerThatTheProgramFilesFolderHolds) {
    std::wstring programFiles = PlayErrorDialog_CL::ProgramFilesFolder();
    ASSERT_FALSE(programFiles.empty());
    std::wstring player = MediaPlayerPathIn(programFiles);
    EXPECT_EQ(player.compare(0, programFiles.size(), programFiles), 0) << player.c_str();
    EXPECT_NE(::GetFileAttributesW(player.c_str()), INVALID_FILE_ATTRIBUTES) << player.c_str();
}

TEST(PlayErrorDialog, ShowsAgainFromTheSameObjectWithAFreshLayout) {
    std::vector<std::wstring> events;
    std::vector<LaunchCall> calls;
    DrivenPlayError dialog(L"C:\\a.avi", Action::ClickMediaPlayer, &events, &calls);
    EXPECT_EQ(dialog.Run(nullptr), Choice::MediaPlayer);
    std::vector<UINT> firstIds;
    for (const ControlNote& note : dialog.buttons) firstIds.push_back(note.id);
    dialog.buttons.clear();
    EXPECT_EQ(dialog.Run(nullptr), Choice::MediaPlayer);
    ASSERT_EQ(dialog.buttons.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(dialog.buttons[i].id, firstIds[i]) << i;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].parameters, L"\"C:\\a.avi\"");
    EXPECT_EQ(calls[1].owner, nullptr);
}

TEST(PlayErrorDialog, RunsWithoutAFlagCallback) {
    std::vector<LaunchCall> calls;
    PlayErrorDialog_CL dialog(L"C:\\a.avi", nullptr,
                              [&calls](HWND owner, const std::wstring& file, const std::wstring& parameters) {
                                  calls.push_back(LaunchCall{owner, file, parameters});
                                  return S_OK;
                              });
    // Closed from outside by a thread timer, which the dialog's own loop dispatches.
    static HWND window = nullptr;
    dialog.SetWindowHandleOut(&window);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (!window) return;
        ::KillTimer(nullptr, id);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(dialog.Run(nullptr), Choice::Closed);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(window, nullptr);
}

// ---- pure rules ----

namespace {
struct CaptionCase {
    unsigned code;
    const wchar_t* expected;
};
class PlayErrorCaptionText : public ::testing::TestWithParam<CaptionCase> {};
}  // namespace

TEST_P(PlayErrorCaptionText, ShowsTheCodeAsAtLeastFourLowerCaseHexDigits) {
    EXPECT_EQ(PlayErrorCaption(GetParam().code), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, PlayErrorCaptionText,
                         ::testing::Values(CaptionCase{kPlayErrorCode, L"再生できませんでした。(8001)"},
                                           CaptionCase{0x1, L"再生できませんでした。(0001)"},
                                           CaptionCase{0xabcde, L"再生できませんでした。(abcde)"}));

namespace {
struct PlayerPathCase {
    const wchar_t* programFiles;
    const wchar_t* expected;
};
class MediaPlayerPath : public ::testing::TestWithParam<PlayerPathCase> {};
}  // namespace

TEST_P(MediaPlayerPath, AppendsThePlayerToTheFolderWithOneSeparator) {
    EXPECT_EQ(MediaPlayerPathIn(GetParam().programFiles), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MediaPlayerPath,
    ::testing::Values(PlayerPathCase{L"C:\\Program Files", L"C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
                      PlayerPathCase{L"C:\\Program Files\\", L"C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
                      PlayerPathCase{L"D:\\プログラム", L"D:\\プログラム\\Windows Media Player\\wmplayer.exe"},
                      PlayerPathCase{L"", L""}));

namespace {
struct QuoteCase {
    const wchar_t* argument;
    const wchar_t* expected;
};
class ArgumentQuoting : public ::testing::TestWithParam<QuoteCase> {};
}  // namespace

TEST_P(ArgumentQuoting, QuotesSoTheArgumentIsReadBackWhole) {
    std::wstring quoted = QuoteCommandLineArgument(GetParam().argument);
    EXPECT_EQ(quoted, GetParam().expected);
    EXPECT_EQ(FirstArgumentOf(quoted), GetParam().argument);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentQuoting,
    ::testing::Values(QuoteCase{L"C:\\a.avi", L"\"C:\\a.avi\""},
                      QuoteCase{kAwkwardMovie, L"\"C:\\動画 フォルダ\\旅行, 夏\\映像 1,2.mp4\""},
                      QuoteCase{L"\\\\server\\share\\tab\there.mp4", L"\"\\\\server\\share\\tab\there.mp4\""},
                      // a trailing backslash must not escape the closing quote
                      QuoteCase{L"C:\\movies\\", L"\"C:\\movies\\\\\""},
                      QuoteCase{L"C:\\", L"\"C:\\\\\""},
                      // quotes inside, with and without backslashes before them
                      QuoteCase{L"say \"hi\"", L"\"say \\\"hi\\\"\""},
                      QuoteCase{L"a\\\"b", L"\"a\\\\\\\"b\""},
                      QuoteCase{L"a\\\\b", L"\"a\\\\b\""},
                      QuoteCase{L"", L"\"\""}));
