// The video window under a real parent: bar clicks become the items' commands, the volume
// slider follows presses and drags, double clicks act only on the bare picture, the right
// button opens the picture menu inside the modal flag, and the bar's tips are registered.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/ControlBarSource_CL.h"
#include "app/MoviePlayWindow_CL.h"
#include "media/ControlBar_CL.h"
#include "store/AppSettings.h"

namespace {

constexpr wchar_t kParentClass[] = L"LumikinoTestVideoParent";

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window that records what its child sends it.
class RecordingParent {
public:
    RecordingParent() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kParentClass;
        ::RegisterClassExW(&wc);  // fails harmlessly when an earlier test registered it
        m_window = ::CreateWindowExW(0, kParentClass, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 900, 700,
                                     nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    }
    ~RecordingParent() {
        if (m_window) ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }
    std::vector<Received>& Log() { return m_log; }
    std::vector<Received> Commands() const {
        std::vector<Received> commands;
        for (const Received& r : m_log) {
            if (r.message == WM_COMMAND) commands.push_back(r);
        }
        return commands;
    }
    LRESULT commandResult = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingParent*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && (message == WM_COMMAND || message == WM_LBUTTONDBLCLK)) {
            self->m_log.push_back(Received{message, wParam, lParam});
            if (message == WM_COMMAND) return self->commandResult;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
    std::vector<Received> m_log;
};

// The bar as the presenter keeps it, laid out for the window it is asked about, with a log
// of what the window asked.
class RecordingBarSource : public ControlBarSource_CL {
public:
    int UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume) override {
        ++hoverCalls;
        lastVolumeDrag = volumeDrag;
        return bar.UpdateHover(point, volumeDrag, volume);
    }
    ControlBarVolumeHit HitVolume(POINT point) override {
        ++hitCalls;
        return bar.HitVolume(point);
    }
    bool ControlBarSnapshot(const RECT& client, ControlBar_CL* copy) override {
        ++snapshotCalls;
        bar.Layout(client, state);
        *copy = bar;
        return true;
    }

    ControlBar_CL bar;
    ControlBarState state;
    int hoverCalls = 0, hitCalls = 0, snapshotCalls = 0;
    bool lastVolumeDrag = false;
};

LPARAM PointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

POINT CentreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class MoviePlayWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedDoubleClick = AppSettings::Process().double_click;
        ASSERT_NE(m_parent.Get(), nullptr);
        ASSERT_EQ(m_window.Create(m_parent.Get(), nullptr), S_OK);
        ASSERT_NE(Video(), nullptr);
        // Wide enough that no two bar items overlap (at 640 the stop button covers part of
        // the play list button).
        ::MoveWindow(Video(), 0, 0, 860, 600, TRUE);
        m_parent.Log().clear();
    }
    void TearDown() override { AppSettings::Process().double_click = m_savedDoubleClick; }

    HWND Video() const { return m_window.Window(); }
    RECT Client() const {
        RECT client{};
        ::GetClientRect(Video(), &client);
        return client;
    }
    RECT ItemRect(UINT command) const {
        const int index = m_source.bar.IndexOf(command);
        return m_source.bar.WindowRect(static_cast<size_t>(index));
    }
    // A point of the picture with no item on it.
    POINT BarePoint() const {
        const POINT p{10, 200};
        EXPECT_EQ(m_source.bar.HitTest(p), -1);
        return p;
    }
    void Click(POINT p) { ::SendMessageW(Video(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p)); }

    RecordingParent m_parent;
    RecordingBarSource m_source;
    MoviePlayWindow_CL m_window{&m_source};
    int m_savedDoubleClick = 1;
};

}  // namespace

TEST_F(MoviePlayWindow, IsTheNumberedStaticChildThatTakesTheMouse) {
    wchar_t className[32] = {};
    ::GetClassNameW(Video(), className, 32);
    EXPECT_STREQ(className, L"Static");
    EXPECT_EQ(::GetDlgCtrlID(Video()), 0x1100);
    EXPECT_EQ(::GetParent(Video()), m_parent.Get());
    const LONG_PTR style = ::GetWindowLongPtrW(Video(), GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_DISABLED);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(::GetWindowLongPtrW(Video(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    // The object is in the user data, as the main window expects.
    EXPECT_EQ(::GetWindowLongPtrW(Video(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&m_window));
    // Double clicks reach it, and a plain static's transparency to the mouse is gone.
    EXPECT_TRUE(::GetClassLongPtrW(Video(), GCL_STYLE) & CS_DBLCLKS);
    const RECT client = Client();
    POINT middle = CentreOf(client);
    ::ClientToScreen(Video(), &middle);
    EXPECT_EQ(::SendMessageW(Video(), WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCLIENT);
    EXPECT_EQ(::SendMessageW(Video(), WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(MoviePlayWindow, CommandsAreForwardedUnchangedToTheParent) {
    m_parent.commandResult = 0x1234;
    EXPECT_EQ(::SendMessageW(Video(), WM_COMMAND, MAKEWPARAM(0x80E1, 7), 0x55AA), 0x1234);
    const std::vector<Received> commands = m_parent.Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(MAKEWPARAM(0x80E1, 7)));
    EXPECT_EQ(commands[0].lParam, 0x55AA);
}

TEST_F(MoviePlayWindow, ClickOnAnItemSendsItsCommand) {
    for (UINT command : {CMD_PLAY_PAUSE, CMD_STOP, CMD_PREVIOUS,
                         CMD_NEXT, CMD_SLOWER, CMD_FASTER,
                         CMD_MUTE, CMD_OPEN_FILE, CMD_CAPTURE,
                         CMD_SHOW_HISTORY, CMD_SHOW_PLAY_LIST, CMD_THUMBNAIL_STRIP,
                         CMD_FULL_SCREEN, CMD_CLOSE}) {
        m_parent.Log().clear();
        Click(CentreOf(ItemRect(command)));
        const std::vector<Received> commands = m_parent.Commands();
        ASSERT_EQ(commands.size(), 1u) << std::hex << command;
        EXPECT_EQ(LOWORD(commands[0].wParam), command);
        EXPECT_EQ(HIWORD(commands[0].wParam), 0);
        EXPECT_EQ(commands[0].lParam, 0);
    }
}

TEST_F(MoviePlayWindow, ClickOnTheLogoOrTheBarePictureSendsNothing) {
    // Nothing loaded: the logo is shown in the middle and only lights up.
    ASSERT_FALSE(m_source.bar.Item(static_cast<size_t>(m_source.bar.IndexOf(CMD_NO_ACTION))).hidden);
    Click(CentreOf(ItemRect(CMD_NO_ACTION)));
    Click(BarePoint());
    EXPECT_TRUE(m_parent.Commands().empty());
    EXPECT_EQ(m_source.hitCalls, 2);
}

TEST_F(MoviePlayWindow, WithoutABarClicksDoNothing) {
    RecordingParent parent;
    MoviePlayWindow_CL window(nullptr);
    ASSERT_EQ(window.Create(parent.Get(), nullptr), S_OK);
    ::SendMessageW(window.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
    EXPECT_FALSE(window.UpdateHoverAt(POINT{300, 300}, MK_LBUTTON, false));
    EXPECT_TRUE(parent.Commands().empty());
    EXPECT_EQ(window.ToolTips().ToolCount(), 0);
}

namespace {
struct SliderCase {
    int volumeStep;  // the bar's state: where the knob stands
    int offsetPx;    // from the slider's left edge
    bool onKnob;     // the offset is taken from the knob's left edge instead
    int expected;
};
}  // namespace

TEST_F(MoviePlayWindow, PressOnTheSliderSendsTheVolumeStepUnderThePointer) {
    const SliderCase cases[] = {
        // The knob stands at the far end while the near half is pressed, and the other way.
        {20, 0, false, 0},    // left edge
        {20, 4, false, 0},    // (4 x 20) / 94 rounds down
        {20, 5, false, 1},
        {20, 47, false, 10},
        {0, 93, false, 19},
        {0, 94, false, 20},   // 94 px and more: the top step
        {0, 99, false, 20},   // the slider's last pixel
        {0, 0, true, 0},      // the knob at step 0 hangs 4 px left of the slider
        {20, 15, true, 20},   // the knob at step 20 reaches past the slider's end
    };
    for (const SliderCase& c : cases) {
        m_source.state.volumeStep = c.volumeStep;
        ::SendMessageW(Video(), WM_SIZE, SIZE_RESTORED, 0);  // lays the bar out with the state
        m_parent.Log().clear();
        const RECT slider = ItemRect(CMD_VOLUME_STEP);
        const RECT knob = ItemRect(CMD_VOLUME_KNOB);
        POINT p{(c.onKnob ? knob.left : slider.left) + c.offsetPx, c.onKnob ? knob.top + 2 : CentreOf(slider).y};
        ASSERT_EQ(m_source.bar.Item(static_cast<size_t>(m_source.bar.HitTest(p))).command,
                  c.onKnob ? CMD_VOLUME_KNOB : CMD_VOLUME_STEP)
            << c.offsetPx;
        Click(p);
        const std::vector<Received> commands = m_parent.Commands();
        ASSERT_EQ(commands.size(), 1u) << c.offsetPx;
        EXPECT_EQ(LOWORD(commands[0].wParam), 0x8576);
        EXPECT_EQ(commands[0].lParam, c.expected) << "step " << c.volumeStep << " offset " << c.offsetPx;
    }
}

TEST_F(MoviePlayWindow, DraggingFromTheKnobChangesTheVolumeOnEveryMove) {
    m_source.state.volumeStep = 0;
    ::SendMessageW(Video(), WM_SIZE, SIZE_RESTORED, 0);
    const RECT slider = ItemRect(CMD_VOLUME_STEP);
    const POINT knob = CentreOf(ItemRect(CMD_VOLUME_KNOB));
    Click(knob);
    m_parent.Log().clear();

    std::vector<LPARAM> expected;
    for (int x = knob.x; x < slider.right; x += 9) {
        EXPECT_TRUE(m_window.UpdateHoverAt(POINT{x, knob.y}, MK_LBUTTON, false)) << x;
        EXPECT_TRUE(m_source.lastVolumeDrag);
        expected.push_back(ControlBar_CL::VolumeStepAt(x, slider.left));
    }
    std::vector<LPARAM> sent;
    for (const Received& r : m_parent.Commands()) {
        EXPECT_EQ(LOWORD(r.wParam), 0x8576);
        sent.push_back(r.lParam);
    }
    EXPECT_EQ(sent, expected);
    EXPECT_GE(expected.size(), 10u);
    EXPECT_EQ(sent.back(), 20);
}

TEST_F(MoviePlayWindow, MovingWithoutTheButtonOrWhileTheWindowIsDraggedSetsNoVolume) {
    const POINT slider = CentreOf(ItemRect(CMD_VOLUME_STEP));
    EXPECT_TRUE(m_window.UpdateHoverAt(slider, 0, false));
    EXPECT_FALSE(m_source.lastVolumeDrag);
    EXPECT_TRUE(m_window.UpdateHoverAt(slider, MK_LBUTTON, true));
    EXPECT_FALSE(m_source.lastVolumeDrag);
    EXPECT_TRUE(m_window.UpdateHoverAt(slider, MK_RBUTTON, false));
    EXPECT_TRUE(m_parent.Commands().empty());
}

TEST_F(MoviePlayWindow, HoverLightsTheItemUnderThePointerAndShowsTheHand) {
    const RECT exit = ItemRect(CMD_CLOSE);
    EXPECT_TRUE(m_window.UpdateHoverAt(CentreOf(exit), 0, false));
    EXPECT_TRUE(m_window.IsHovered());
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    const size_t index = static_cast<size_t>(m_source.bar.IndexOf(CMD_CLOSE));
    EXPECT_EQ(m_source.bar.Item(index).colourArgb, ControlBar_CL::kLitColourArgb);

    EXPECT_FALSE(m_window.UpdateHoverAt(BarePoint(), 0, false));
    EXPECT_FALSE(m_window.IsHovered());
    EXPECT_EQ(m_source.bar.Item(index).colourArgb, ControlBar_CL::kIdleColourArgb);
    // Outside the window (a move the main window saw elsewhere) nothing is hovered.
    EXPECT_FALSE(m_window.UpdateHoverAt(POINT{-50, -50}, 0, false));
}

TEST_F(MoviePlayWindow, HoverReadsTheRealPointer) {
    ::SetForegroundWindow(m_parent.Get());
    POINT target = CentreOf(ItemRect(CMD_SHOW_PLAY_LIST));
    POINT screen = target;
    ::ClientToScreen(Video(), &screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    POINT now{};
    ::GetCursorPos(&now);
    if (now.x != screen.x || now.y != screen.y) GTEST_SKIP() << "the display did not move the pointer";
    EXPECT_TRUE(m_window.UpdateHover(0, false));
    POINT bare = BarePoint();
    ::ClientToScreen(Video(), &bare);
    ASSERT_TRUE(::SetCursorPos(bare.x, bare.y));
    EXPECT_FALSE(m_window.UpdateHover(0, false));
}

namespace {
struct DoubleClickCase {
    int doubleClickSetting;
    bool onItem;
    UINT expectedCommand;  // 0: none
};
}  // namespace

TEST_F(MoviePlayWindow, DoubleClickActsOnlyOnTheBarePicture) {
    const DoubleClickCase cases[] = {
        {1, false, CMD_FULL_SCREEN},
        {0, false, CMD_THUMBNAIL_STRIP},
        {2, false, CMD_THUMBNAIL_STRIP},
        {1, true, 0},
        {0, true, 0},
    };
    for (const DoubleClickCase& c : cases) {
        AppSettings::Process().double_click = c.doubleClickSetting;
        const POINT p = c.onItem ? CentreOf(ItemRect(CMD_CAPTURE)) : BarePoint();
        m_window.UpdateHoverAt(p, 0, false);  // the main window's hover update for the move there
        m_parent.Log().clear();
        ::SendMessageW(Video(), WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(p));

        const std::vector<Received>& log = m_parent.Log();
        ASSERT_GE(log.size(), 1u);
        // The parent sees the double click itself first, unchanged.
        EXPECT_EQ(log[0].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
        EXPECT_EQ(log[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(log[0].lParam, PointParam(p));
        const std::vector<Received> commands = m_parent.Commands();
        if (c.expectedCommand == 0) {
            EXPECT_TRUE(commands.empty()) << "setting " << c.doubleClickSetting;
        } else {
            ASSERT_EQ(commands.size(), 1u) << "setting " << c.doubleClickSetting;
            EXPECT_EQ(LOWORD(commands[0].wParam), c.expectedCommand);
            EXPECT_EQ(commands[0].lParam, 0);
        }
    }
}

TEST_F(MoviePlayWindow, RightButtonShowsTheMenuInsideTheModalFlag) {
    std::vector<std::string> steps;
    bool modal = false;
    POINT menuPoint{-1, -1};
    HWND menuWindow = nullptr;
    MoviePlayWindow_CL::Callbacks callbacks;
    callbacks.setModalDialogOpen = [&](bool open) {
        modal = open;
        steps.push_back(open ? "raise" : "lower");
    };
    callbacks.showPictureMenu = [&](HWND window, POINT p) {
        // The activity command has reached the main window before the menu opens.
        steps.push_back(m_parent.Commands().size() == 1 ? "menu after activity" : "menu");
        EXPECT_TRUE(modal);
        menuWindow = window;
        menuPoint = p;
    };
    m_window.SetCallbacks(callbacks);

    // Even over an item and while playing: the menu is the picture's.
    m_source.state.contentLoaded = m_source.state.playbackStarted = true;
    const POINT p = CentreOf(ItemRect(CMD_PLAY_PAUSE));
    ::SendMessageW(Video(), WM_RBUTTONUP, 0, PointParam(p));

    EXPECT_EQ(steps, (std::vector<std::string>{"raise", "menu after activity", "lower"}));
    EXPECT_FALSE(modal);
    EXPECT_EQ(menuWindow, Video());
    EXPECT_EQ(menuPoint.x, p.x);
    EXPECT_EQ(menuPoint.y, p.y);
    const std::vector<Received> commands = m_parent.Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), 0x8195);
    EXPECT_EQ(commands[0].lParam, 0);
}

TEST_F(MoviePlayWindow, RightButtonWithoutCallbacksStillReportsActivity) {
    ::SendMessageW(Video(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    const std::vector<Received> commands = m_parent.Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), 0x8195);
}

TEST_F(MoviePlayWindow, UnansweredMessagesGoThroughTheMenuHandlerFirst) {
    std::vector<UINT> seen;
    MoviePlayWindow_CL::Callbacks callbacks;
    callbacks.menuMessage = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
        seen.push_back(message);
        if (message != WM_MEASUREITEM) return false;
        *result = 77;
        return true;
    };
    m_window.SetCallbacks(callbacks);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    EXPECT_EQ(::SendMessageW(Video(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 77);
    EXPECT_EQ(::SendMessageW(Video(), WM_USER + 5, 0, 0), 0);  // not taken: DefWindowProcW's answer
    EXPECT_EQ(seen, (std::vector<UINT>{WM_MEASUREITEM, WM_USER + 5}));
}

namespace {
TTTOOLINFOW ToolInfo(HWND tips, HWND window, UINT id, wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = text;
    ::SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}
}  // namespace

TEST_F(MoviePlayWindow, ToolTipsFollowTheBarAtEverySize) {
    const ToolTips_CL& tips = m_window.ToolTips();
    ASSERT_NE(tips.Window(), nullptr);
    EXPECT_EQ(::SendMessageW(tips.Window(), TTM_GETMAXTIPWIDTH, 0, 0), 320);

    for (SIZE size : {SIZE{640, 480}, SIZE{820, 600}, SIZE{480, 300}}) {
        ::MoveWindow(Video(), 0, 0, size.cx, size.cy, TRUE);  // WM_SIZE rebuilds
        const ControlBar_CL& bar = m_source.bar;
        int withTips = 0;
        for (size_t i = 0; i < bar.Count(); ++i) {
            const ControlBarItem& item = bar.Item(i);
            const UINT id = 12333 + static_cast<UINT>(i);
            if (item.hidden || item.tip.empty()) {
                EXPECT_TRUE(tips.ToolText(Video(), id).empty()) << i;
                continue;
            }
            ++withTips;
            EXPECT_EQ(tips.ToolText(Video(), id), item.tip) << i;
            wchar_t text[256] = {};
            const TTTOOLINFOW info = ToolInfo(tips.Window(), Video(), id, text);
            const RECT expected = bar.WindowRect(i);
            EXPECT_TRUE(::EqualRect(&info.rect, &expected)) << i << " at " << size.cx << "x" << size.cy;
        }
        // Each item once, however often the window was resized.
        EXPECT_EQ(tips.ToolCount(), withTips);
        EXPECT_EQ(withTips, 11);
    }
    // The bar's own texts, including the skip tips.
    const int back = m_source.bar.IndexOf(CMD_PREVIOUS);
    EXPECT_EQ(tips.ToolText(Video(), 12333 + static_cast<UINT>(back)), L"１０秒戻る");
    const int exit = m_source.bar.IndexOf(CMD_CLOSE);
    EXPECT_EQ(tips.ToolText(Video(), 12333 + static_cast<UINT>(exit)), L"アプリ終了");
}

TEST_F(MoviePlayWindow, DestroyedWithItsObject) {
    RecordingParent parent;
    HWND window = nullptr;
    {
        MoviePlayWindow_CL video(&m_source);
        ASSERT_EQ(video.Create(parent.Get(), nullptr), S_OK);
        window = video.Window();
        EXPECT_EQ(video.Create(parent.Get(), nullptr), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    }
    EXPECT_FALSE(::IsWindow(window));
}
