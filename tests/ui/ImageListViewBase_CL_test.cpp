// The cell view in a real window: a "Static" child sub-classed as the thumbnail strip is, its
// messages handed to the view first. Clicks, drags, keys, the wheel and the scroll bars go in
// as the window messages the user's actions make; the painter records what it is asked for.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "tests/ui/HostWindow_CL.h"
#include "ui/CellGrid.h"
#include "ui/ImageListViewBase_CL.h"
#include "ui/SubClassWindowBase_CL.h"

namespace {
constexpr int kCellWidth = 100;
constexpr int kCellHeight = 75;

COLORREF CellColour(int index) { return RGB(20 + index * 40 % 200, 200 - index * 30 % 180, 90); }

WPARAM WheelParam(int delta, WORD keys) { return MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))); }

// The owner: a grey-framed "Static" with both scroll bars, like the strip.
class CellOwner : public SubClassWindowBase_CL {
public:
    ImageListViewBase_CL view;
    std::vector<std::pair<int, RECT>> painted;
    std::vector<int> activated;

    bool Create(HWND parent) {
        HWND window = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL |
                                            WS_HSCROLL | SS_GRAYFRAME, 0, 0, 470, 160, parent, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
        if (!window || FAILED(SubClass(window))) return false;
        view.SetCellPainter([this](HDC dc, const RECT& rect, int index) {
            painted.push_back({index, rect});
            HBRUSH brush = ::CreateSolidBrush(CellColour(index));
            ::FillRect(dc, &rect, brush);
            ::DeleteObject(brush);
        });
        view.SetActivateHandler([this](int index) { activated.push_back(index); });
        view.Attach(window);
        return true;
    }
    // A strip of count cells, one row (horizontal) or one column, in a client area of the size given.
    void SetStrip(bool horizontal, int count, int clientWidth, int clientHeight) {
        ContentPoint extent = StripContentExtent(horizontal, kCellWidth, kCellHeight, count);
        view.SetGrid(kCellWidth, kCellHeight, count, extent.x, extent.y);
        // A scroll bar that shows or hides with the new size changes the client area again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            RECT window{}, client{};
            ::GetWindowRect(Window(), &window);
            ::GetClientRect(Window(), &client);
            if (client.right == clientWidth && client.bottom == clientHeight) break;
            ::SetWindowPos(Window(), nullptr, 0, 0, window.right - window.left + clientWidth - client.right,
                           window.bottom - window.top + clientHeight - client.bottom, SWP_NOZORDER | SWP_NOMOVE);
        }
    }
    std::vector<int> PaintNow() {
        painted.clear();
        ::InvalidateRect(Window(), nullptr, FALSE);
        ::UpdateWindow(Window());
        std::vector<int> indexes;
        for (const auto& cell : painted) indexes.push_back(cell.first);
        std::sort(indexes.begin(), indexes.end());
        return indexes;
    }
    COLORREF PixelAt(int x, int y) {
        HDC dc = ::GetDC(Window());
        COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(Window(), dc);
        return colour;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(Window(), message, wParam, lParam);
    }
    POINT CentreOf(int index) const {
        RECT rect = view.CellClientRect(index);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void Click(POINT point, bool shift = false) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON | (shift ? MK_SHIFT : 0), MAKELPARAM(point.x, point.y));
        Send(WM_LBUTTONUP, shift ? MK_SHIFT : 0, MAKELPARAM(point.x, point.y));
    }
    void ClickCell(int index, bool shift = false) { Click(CentreOf(index), shift); }
    void Key(UINT key, int times = 1) {
        for (int i = 0; i < times; ++i) Send(WM_KEYDOWN, key);
    }
    int64_t X() const { return view.ScrollPosition().x; }
    int64_t Y() const { return view.ScrollPosition().y; }
    int BarPosition(int bar) const {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS;
        ::GetScrollInfo(Window(), bar, &info);
        return info.nPos;
    }

protected:
    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (message == WM_DESTROY) view.Detach();
        if (view.HandleMessage(Window(), message, wParam, lParam, &result)) {
            SetHandled();
            return result;
        }
        if (message == WM_ERASEBKGND) {  // as the strip: grey only while there are no cells
            RECT client{};
            ::GetClientRect(Window(), &client);
            HBRUSH grey = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
            if (view.Count() == 0) ::FillRect(reinterpret_cast<HDC>(wParam), &client, grey);
            SetHandled();
            return 1;
        }
        return 0;
    }
};

// Holds Shift down in this thread's key state (what GetKeyState reads) while it lives.
class ShiftHeld {
public:
    ShiftHeld() { Set(0x80); }
    ~ShiftHeld() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
        ::SetKeyboardState(keys);
    }
};

class CellView : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create(host.Get()));
        HostWindow_CL::PumpPending();
    }
    // 50 cells in a row, 4.5 of them in view; 20 cells in a column, 4.4 in view.
    void Row(int count = 50) {
        owner.SetStrip(true, count, 450, kCellHeight);
        ASSERT_EQ(owner.view.ClientSize().cx, 450);
        ASSERT_EQ(owner.view.ClientSize().cy, kCellHeight);
    }
    void Column(int count = 20) {
        owner.SetStrip(false, count, 100, 330);
        ASSERT_EQ(owner.view.ClientSize().cx, 100);
        ASSERT_EQ(owner.view.ClientSize().cy, 330);
    }

    HostWindow_CL host{RECT{40, 40, 800, 600}};
    CellOwner owner;
};
}  // namespace

TEST_F(CellView, PaintsTheVisibleCellsOnlyAtTheirClientRectangles) {
    Row();
    EXPECT_EQ(owner.PaintNow(), (std::vector<int>{0, 1, 2, 3, 4}));
    for (const auto& cell : owner.painted) {
        EXPECT_EQ(cell.second.left, cell.first * kCellWidth);
        EXPECT_EQ(cell.second.bottom - cell.second.top, kCellHeight);
    }
    EXPECT_EQ(owner.PixelAt(150, 30), CellColour(1));  // the buffer reached the screen
    EXPECT_EQ(owner.PixelAt(350, 30), CellColour(3));

    owner.view.ScrollTo(150, 0);
    EXPECT_EQ(owner.PaintNow(), (std::vector<int>{1, 2, 3, 4, 5}));  // cell 6 starts at the right edge
    EXPECT_EQ(owner.painted.front().second.left, -50);

    Column();
    EXPECT_EQ(owner.PaintNow(), (std::vector<int>{0, 1, 2, 3, 4}));
    for (const auto& cell : owner.painted) EXPECT_EQ(cell.second.top, cell.first * kCellHeight);

    Row(3);  // right of the last cell the view fills the strip's empty grey
    EXPECT_EQ(owner.PaintNow(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(owner.PixelAt(400, 30), RGB(192, 192, 192));
}

TEST_F(CellView, NothingHappensAtCountZero) {
    Row(0);
    EXPECT_TRUE(owner.PaintNow().empty());
    owner.Click({50, 30});
    owner.Key(VK_RIGHT);
    owner.Key(VK_RETURN);
    owner.view.ScrollToIndex(5);
    owner.view.ShowIndex(5);
    EXPECT_TRUE(owner.activated.empty());
    EXPECT_FALSE(owner.view.IsDragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(owner.view.Anchor(), 0);
    EXPECT_EQ(owner.X(), 0);
}

TEST_F(CellView, ClickShiftClickAndDragSelect) {
    Row(3);
    owner.ClickCell(1);
    owner.Click({350, 30});  // right of the last cell: nothing
    EXPECT_EQ(owner.activated, (std::vector<int>{1}));
    EXPECT_EQ(owner.view.Selection(), (CellSelection{1, 1}));
    EXPECT_EQ(::GetCapture(), nullptr);

    Row();
    owner.ClickCell(3, true);  // the anchor moves to the click, the caret stays and is activated
    EXPECT_EQ(owner.view.Selection(), (CellSelection{3, 1}));
    EXPECT_EQ(owner.activated, (std::vector<int>{1, 1}));
    EXPECT_TRUE(owner.view.IsSelected(2));
    EXPECT_FALSE(owner.view.IsSelected(4));

    POINT start = owner.CentreOf(0), over = owner.CentreOf(2);
    owner.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    EXPECT_EQ(::GetCapture(), owner.Window());
    owner.painted.clear();
    owner.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
    EXPECT_EQ(owner.view.Selection(), (CellSelection{0, 2}));
    EXPECT_FALSE(owner.painted.empty());  // painted before the move returned
    owner.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 30));  // off the cells: the caret stays
    owner.Key(VK_RIGHT);  // while dragging a key moves the caret only
    EXPECT_EQ(owner.view.Selection(), (CellSelection{0, 3}));
    owner.Send(WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA, MK_LBUTTON));  // ignored with the button down
    EXPECT_EQ(owner.X(), 0);
    owner.Send(WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(owner.view.IsDragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    owner.Send(WM_MOUSEMOVE, 0, MAKELPARAM(start.x, start.y));
    EXPECT_EQ(owner.view.Caret(), 3);
    EXPECT_EQ(owner.activated, (std::vector<int>{1, 1, 0}));

    owner.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    ::SetCapture(host.Get());  // another window takes the mouse: the drag is over
    EXPECT_FALSE(owner.view.IsDragging());
    ::ReleaseCapture();
}

TEST_F(CellView, KeysMoveFromTheBaseIndexAndScrollTheResultIntoView) {
    Row();
    owner.ClickCell(2);
    owner.Key(VK_RIGHT, 2);
    EXPECT_EQ(owner.view.Selection(), (CellSelection{4, 4}));
    EXPECT_EQ(owner.X(), 50);  // cell 4 now ends at the right edge
    EXPECT_EQ(owner.BarPosition(SB_HORZ), 50);
    {
        ShiftHeld shift;
        owner.Key(VK_RIGHT, 2);
    }
    EXPECT_EQ(owner.view.Selection(), (CellSelection{4, 6}));
    EXPECT_EQ(owner.X(), 250);
    owner.Key(VK_LEFT);  // from the anchor, and the range collapses; cell 3 is in view
    EXPECT_EQ(owner.view.Selection(), (CellSelection{3, 3}));
    EXPECT_EQ(owner.X(), 250);
    owner.Key(VK_LEFT);
    EXPECT_EQ(owner.X(), 200);

    owner.ClickCell(5, true);
    owner.activated.clear();
    owner.Key(VK_RETURN);
    {
        ShiftHeld shift;
        owner.Key(VK_RETURN);
    }
    EXPECT_EQ(owner.activated, (std::vector<int>{5, 2}));  // the anchor, then with Shift the caret
    owner.view.ShowIndex(10);
    owner.Key(VK_NEXT);  // a row pages by the 4 whole cells in view
    EXPECT_EQ(owner.view.Caret(), 14);

    Column();  // a column by its 4 whole rows in view
    owner.ClickCell(1);
    owner.Key(VK_NEXT);
    EXPECT_EQ(owner.view.Caret(), 5);
    EXPECT_EQ(owner.Y(), 6 * kCellHeight - 330);
}

TEST_F(CellView, WheelAndScrollBarsMoveTheViewWithinTheContent) {
    Row();  // 5000 pixels, 450 in view
    owner.Send(WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA, 0));
    owner.Send(WM_MOUSEWHEEL, WheelParam(-3 * WHEEL_DELTA, 0));  // one cell per message, however far
    EXPECT_EQ(owner.X(), 2 * kCellWidth);
    owner.Send(WM_MOUSEWHEEL, WheelParam(WHEEL_DELTA, 0));
    EXPECT_EQ(owner.X(), kCellWidth);
    EXPECT_EQ(owner.view.Anchor(), 0);  // scrolling leaves the selection

    const struct {
        WORD code, position;
        int64_t expected;
    } codes[] = {{SB_LINERIGHT, 0, 200}, {SB_PAGERIGHT, 0, 650}, {SB_LINELEFT, 0, 550}, {SB_PAGELEFT, 0, 100},
                 {SB_RIGHT, 0, 4550},    {SB_LINERIGHT, 0, 4550}, {SB_THUMBTRACK, 1234, 1234},
                 {SB_THUMBPOSITION, 2000, 2000}, {SB_ENDSCROLL, 0, 2000}, {SB_LEFT, 0, 0}};
    for (const auto& step : codes) {
        owner.Send(WM_HSCROLL, MAKEWPARAM(step.code, step.position));
        EXPECT_EQ(owner.X(), step.expected) << "code " << step.code;
        EXPECT_EQ(owner.BarPosition(SB_HORZ), step.expected);
    }

    Column();
    owner.Send(WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA, 0));
    EXPECT_EQ(owner.view.ScrollPosition(), (ContentPoint{0, kCellHeight}));
    owner.Send(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(owner.Y(), 1500 - 330);
    owner.Send(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(owner.Y(), 1500 - 660);
}

TEST_F(CellView, ScrollToIndexShowIndexResizeAndNewCountKeepThePlace) {
    Row();
    owner.view.ScrollToIndex(7);  // just into view
    EXPECT_EQ(owner.view.Selection(), (CellSelection{7, 7}));
    EXPECT_EQ(owner.X(), 800 - 450);
    owner.view.ShowIndex(20);  // to the top-left
    EXPECT_EQ(owner.X(), 2000);
    owner.view.ShowIndex(48);  // clamped so the view ends with the content
    EXPECT_EQ(owner.X(), 4550);
    owner.view.ScrollToIndex(1000);
    EXPECT_EQ(owner.view.Caret(), 49);
    owner.SetStrip(true, 10, 450, kCellHeight);  // fewer cells: selection and scroll follow
    EXPECT_EQ(owner.view.Selection(), (CellSelection{9, 9}));
    EXPECT_EQ(owner.X(), 1000 - 450);

    Column(40);
    owner.view.ShowIndex(12);
    owner.SetStrip(false, 40, 100, 200);  // a resize keeps the first visible cell at the top
    EXPECT_EQ(owner.view.FirstVisibleIndex(), 12);
    EXPECT_EQ(owner.Y(), 12 * kCellHeight);
}

TEST_F(CellView, LongStripReachesItsLastCellAndTakesTheMouse) {
    ContentPoint extent = StripContentExtent(true, 256, kCellHeight, 100000);
    owner.view.SetGrid(256, kCellHeight, 100000, extent.x, extent.y);
    owner.view.ShowIndex(99999);
    const LONG width = owner.view.ClientSize().cx;
    EXPECT_EQ(owner.X(), 25600000 - width);
    EXPECT_EQ(owner.BarPosition(SB_HORZ), 25600000 - width);
    owner.Click({width - 10, 10});
    EXPECT_EQ(owner.activated, (std::vector<int>{99999}));
    std::vector<int> painted = owner.PaintNow();  // below the row: positions past the count
    painted.erase(std::remove_if(painted.begin(), painted.end(), [](int i) { return i >= 100000; }), painted.end());
    EXPECT_EQ(painted, (std::vector<int>{99999 - (width - 1) / 256, 99999}));

    // A "Static" would let clicks fall through to its parent; the view answers as a window.
    POINT inside{100, 30};
    ::ClientToScreen(owner.Window(), &inside);
    EXPECT_EQ(owner.Send(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);
}
