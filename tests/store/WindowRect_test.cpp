// Window rectangles in the settings file and the monitor hit test.

#include <gtest/gtest.h>

#include <windows.h>

#include "store/Inifile_CL.h"
#include "store/MultiScreen_CL.h"
#include "store/WindowRect.h"
#include "tests/support/TempFolder_CL.h"

TEST(MultiScreen, HitTestIncludesLeftTopAndExcludesRightBottom) {
    MultiScreen_CL screens({RECT{0, 0, 1920, 1080}, RECT{1920, -200, 3200, 824}});
    EXPECT_EQ(screens.FindMonitor({0, 0}), 0);
    EXPECT_EQ(screens.FindMonitor({1919, 1079}), 0);
    EXPECT_EQ(screens.FindMonitor({1920, 0}), 1);
    EXPECT_EQ(screens.FindMonitor({1920, 1079}), -1);
    EXPECT_EQ(screens.FindMonitor({-1, 10}), -1);
    EXPECT_EQ(screens.FindMonitor({2000, -200}), 1);
    EXPECT_EQ(MultiScreen_CL(std::vector<RECT>{}).FindMonitor({0, 0}), -1);
    // The first monitor containing the point wins when rectangles overlap.
    EXPECT_EQ(MultiScreen_CL({RECT{0, 0, 100, 100}, RECT{50, 50, 150, 150}}).FindMonitor({60, 60}), 0);
}

TEST(MultiScreen, ThePlatformReportsAtLeastOneMonitor) {
    MultiScreen_CL screens;
    ASSERT_FALSE(screens.Monitors().empty());
    const RECT& r = screens.Monitors()[0];
    EXPECT_TRUE(screens.Contains(POINT{r.left, r.top}));
}

class WindowRectTest : public ::testing::Test {
protected:
    WindowRectTest() : m_ini(m_folder.Join(L"Lumikino.ini")) {
        m_window = ::CreateWindowExW(0, L"STATIC", L"rect test", WS_OVERLAPPEDWINDOW, 100, 120, 500, 400,
                                     nullptr, nullptr, nullptr, nullptr);
    }
    ~WindowRectTest() override { ::DestroyWindow(m_window); }
    TempFolder_CL m_folder;
    Inifile_CL m_ini;
    HWND m_window;
    MultiScreen_CL m_screens{std::vector<RECT>{RECT{0, 0, 1600, 1000}}};
};

TEST_F(WindowRectTest, ANormalWindowIsSavedAndLoadsBack) {
    ASSERT_NE(m_window, nullptr);
    ASSERT_TRUE(SaveWindowRectTo(m_ini, m_screens, m_window, L"WINDOW", L"rect"));
    RECT actual{};
    ::GetWindowRect(m_window, &actual);
    RECT loaded = LoadWindowRectFrom(m_ini, m_screens, L"WINDOW", L"rect", RECT{1, 2, 3, 4});
    EXPECT_EQ(loaded.left, actual.left);
    EXPECT_EQ(loaded.top, actual.top);
    EXPECT_EQ(loaded.right, actual.right);
    EXPECT_EQ(loaded.bottom, actual.bottom);
}

TEST_F(WindowRectTest, MinimisedMaximisedAndOffScreenWindowsAreNotSaved) {
    ASSERT_NE(m_window, nullptr);
    RECT stored{10, 10, 500, 400};
    ASSERT_TRUE(m_ini.WriteStruct(L"WINDOW", L"rect", &stored, sizeof(stored)));
    const std::string before = ReadFileBytes(m_ini.Path());

    ::ShowWindow(m_window, SW_MAXIMIZE);
    EXPECT_FALSE(SaveWindowRectTo(m_ini, m_screens, m_window, L"WINDOW", L"rect"));
    ::ShowWindow(m_window, SW_MINIMIZE);
    EXPECT_FALSE(SaveWindowRectTo(m_ini, m_screens, m_window, L"WINDOW", L"rect"));
    ::ShowWindow(m_window, SW_RESTORE);
    ::ShowWindow(m_window, SW_HIDE);
    EXPECT_FALSE(SaveWindowRectTo(m_ini, MultiScreen_CL({RECT{5000, 5000, 6000, 6000}}), m_window, L"WINDOW",
                                  L"rect"));
    EXPECT_EQ(ReadFileBytes(m_ini.Path()), before);
}

TEST_F(WindowRectTest, ARectangleOnARemovedMonitorOrDamagedLoadsAsTheDefault) {
    RECT onSecond{2000, 100, 2600, 500};
    ASSERT_TRUE(m_ini.WriteStruct(L"WINDOW", L"rect", &onSecond, sizeof(onSecond)));
    RECT fallback{1, 2, 481, 362};
    RECT loaded = LoadWindowRectFrom(m_ini, m_screens, L"WINDOW", L"rect", fallback);
    EXPECT_EQ(loaded.left, 1);
    EXPECT_EQ(loaded.bottom, 362);
    MultiScreen_CL twoScreens({RECT{0, 0, 1600, 1000}, RECT{1600, 0, 3200, 1000}});
    EXPECT_EQ(LoadWindowRectFrom(m_ini, twoScreens, L"WINDOW", L"rect", fallback).left, 2000);
    m_ini.WriteString(L"WINDOW", L"rect", L"0011");
    EXPECT_EQ(LoadWindowRectFrom(m_ini, twoScreens, L"WINDOW", L"rect", fallback).left, 1);
}

namespace {

TEST(SaneWindowRectTest, AbsurdRectanglesBecomeTheDefaultOnTheWorkArea) {
    const RECT work{0, 0, 1920, 1040};
    const SIZE least{480, 360}, preferred{640, 480};
    struct Case {
        const char* name;
        RECT stored;
        RECT expected;
    };
    const Case cases[] = {
        {"sane stays", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"tiny", {100, 100, 110, 105}, {640, 280, 1280, 760}},
        {"empty", {0, 0, 0, 0}, {640, 280, 1280, 760}},
        {"inverted", {900, 700, 100, 100}, {640, 280, 1280, 760}},
        {"huge", {0, 0, 20000, 15000}, {640, 280, 1280, 760}},
        {"hanging off the right and bottom", {1500, 900, 2300, 1500}, {1120, 440, 1920, 1040}},
        {"above and left of the area", {-300, -50, 500, 550}, {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT sane = SaneWindowRect(c.stored, work, least, preferred);
        EXPECT_EQ(sane.left, c.expected.left);
        EXPECT_EQ(sane.top, c.expected.top);
        EXPECT_EQ(sane.right, c.expected.right);
        EXPECT_EQ(sane.bottom, c.expected.bottom);
    }
}

TEST(SaneWindowRectTest, AWorkAreaSmallerThanTheDefaultTakesTheWholeArea) {
    RECT sane = SaneWindowRect(RECT{0, 0, 5, 5}, RECT{0, 0, 600, 400}, SIZE{480, 360}, SIZE{640, 480});
    EXPECT_EQ(sane.right - sane.left, 600);
    EXPECT_EQ(sane.bottom - sane.top, 400);
}

}  // namespace
