// The settings sheets on the real player: opened from the picture menu and by their commands,
// their tabs and pages as the user sees them, controls changed with the real mouse and keys,
// what apply writes and what the player shows at once, and what cancel leaves alone.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/CommandIds.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/e2e/RemoteMemory.h"
#include "tests/support/IniMap.h"

namespace {

constexpr wchar_t kAppSheet[] = L"アプリケーションの設定";
constexpr wchar_t kContentSheet[] = L"コンテンツの設定";

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(HWND window) {
    const RECT rect = ScreenRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The children of a page of one class, with their texts, top to bottom.
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* className) {
    struct Found {
        const wchar_t* className;
        std::vector<HWND> windows;
    } found{className, {}};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Found*>(param);
            wchar_t name[64] = {};
            ::GetClassNameW(child, name, 64);
            if (std::wstring(name) == f->className) f->windows.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::stable_sort(found.windows.begin(), found.windows.end(),
                     [](HWND a, HWND b) { return ScreenRect(a).top < ScreenRect(b).top; });
    return found.windows;
}

std::vector<std::wstring> GroupCaptions(HWND page) {
    std::vector<std::wstring> captions;
    for (HWND button : ChildrenOf(page, L"Button")) {
        if ((::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) captions.push_back(TextOf(button));
    }
    return captions;
}

HWND ChildWithText(HWND page, const wchar_t* className, const std::wstring& text) {
    return ::FindWindowExW(page, nullptr, className, text.c_str());
}

class SettingsE2eTest : public MovieFixture {
protected:
    // The sheet with the caption once it shows and lies on top where the user would click.
    HWND WaitForSheet(const PlayerProcess_CL& player, const std::wstring& caption) const {
        HWND sheet = nullptr;
        WaitUntil(
            [&] {
                sheet = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true);
                return sheet && ::GetAncestor(::WindowFromPoint(Centre(sheet)), GA_ROOT) == sheet;
            },
            15000);
        return sheet;
    }

    // The tab titles, read through a buffer in the player.
    std::vector<std::wstring> TabTitles(const PlayerProcess_CL& player, HWND sheet) const {
        HWND tabs = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        constexpr size_t kUnits = 128;
        RemoteMemory memory(player.ProcessId(), sizeof(TCITEMW) + kUnits * sizeof(wchar_t));
        std::vector<std::wstring> titles;
        const int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = reinterpret_cast<wchar_t*>(memory.At(sizeof(TCITEMW)));
            item.cchTextMax = kUnits;
            std::vector<wchar_t> text(kUnits, L'\0');
            if (!memory.Write(&item, sizeof(item)) || !::SendMessageW(tabs, TCM_GETITEMW, i, memory.Param()) ||
                !memory.Read(text.data(), kUnits * sizeof(wchar_t), sizeof(TCITEMW))) {
                titles.push_back(L"<unreadable>");
                continue;
            }
            titles.push_back(text.data());
        }
        return titles;
    }

    static HWND ShowPage(HWND sheet, int index) {
        ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
        return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    // A click of the real mouse on the middle of a control.
    static void Click(HWND control) {
        MouseTo(Centre(control));
        LeftButton(true);
        LeftButton(false);
    }

    // Every control of a page lies inside the page, which lies inside the sheet.
    static void ExpectControlsInside(HWND sheet, HWND page) {
        const RECT pageRect = ScreenRect(page), sheetRect = ScreenRect(sheet);
        EXPECT_TRUE(pageRect.left >= sheetRect.left && pageRect.right <= sheetRect.right &&
                    pageRect.top >= sheetRect.top && pageRect.bottom <= sheetRect.bottom);
        for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const RECT rect = ScreenRect(child);
            EXPECT_TRUE(rect.left >= pageRect.left && rect.right <= pageRect.right && rect.top >= pageRect.top &&
                        rect.bottom <= pageRect.bottom)
                << "a control sticks out of its page: \"" << std::string(TextOf(child).size(), '?') << "\"";
        }
    }

    IniMap Settings() const { return ReadIniMap(DataPath(L"Lumikino.ini")); }
};

TEST_F(SettingsE2eTest, TheMenuOpensTheSheetWithItsNinePagesAndCancelWritesNothing) {
    WriteSettings(std::wstring(kPictureSettings) + L"[LIST]\r\ndirection=1\r\n[WINDOW]\r\nposx=40\r\n");
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    // In the middle of the screen, where a sheet wider than the player fits centred over it.
    ::SetWindowPos(window, nullptr, 500, 300, 480, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    const IniMap before = Settings();
    HWND video = VideoWindowOf(window);
    ASSERT_TRUE(ChooseFromMenu(player, window, video, POINT{100, 100}, L"", {VK_UP}, L"PictureMenu", CMD_APP_SETTINGS));
    HWND sheet = WaitForSheet(player, kAppSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabTitles(player, sheet),
              (std::vector<std::wstring>{L"基本設定", L"表示設定", L"縮小画像表示設定", L"音声設定", L"色設定", L"削除設定",
                                         L"操作設定", L"関連付け", L"バージョン情報"}));
    // The sheet stands centred over the player.
    const RECT sheetRect = ScreenRect(sheet), playerRect = ScreenRect(window);
    EXPECT_NEAR((sheetRect.left + sheetRect.right) / 2, (playerRect.left + playerRect.right) / 2, 8);

    const std::vector<std::vector<std::wstring>> groups = {
        {L"起動", L"サムネイル", L"スキップフレーム", L"［＋］／［－］ボタンの移動時間", L"リジューム再生", L"再生速度"},
        {L"サムネイルの表示位置(F5)", L"ウインドウ透過表示(Window7以降)", L"再生ウインドウ表示"},
        {},
        {L"スロー、倍速再生設定"},
        {L"色調の調整"},
        {L"削除設定"},
        {L"無操作カウンター", L"再生画面でのダブルクリックの動作"},
        {L"関連付け", L"レジストリ情報"},  // Wine reports a version above 5: the new layout
        {L"バージョン情報", L"バージョンアップの通知", L"このプログラムに含まれているライブラリの著作権について"},
    };
    for (int index = 0; index < 9; ++index) {
        SCOPED_TRACE(index);
        HWND page = ShowPage(sheet, index);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(GroupCaptions(page), groups[static_cast<size_t>(index)]);
        ExpectControlsInside(sheet, page);
    }
    HWND thumbnails = ShowPage(sheet, 2);
    EXPECT_NE(ChildWithText(thumbnails, L"Static", L"縮小画像表示間隔メニュー"), nullptr);
    HWND version = ShowPage(sheet, 8);
    EXPECT_NE(ChildWithText(version, L"Static", L"Version : 1.3.1"), nullptr);
    EXPECT_NE(ChildWithText(version, L"Button", L"サポートサイトへ"), nullptr);

    // A box ticked and a side chosen, then cancelled: nothing is written.
    HWND display = ShowPage(sheet, 1);
    HWND clock = ChildWithText(display, L"Button", L"時計を表示する(F9)");
    ASSERT_NE(clock, nullptr);
    Click(clock);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(clock, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
    ::PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForLog(L"アプリケーションの設定: 0"));
    EXPECT_EQ(Settings(), before);

    // The command itself opens it too.
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_APP_SETTINGS, 0), 0));
    sheet = WaitForSheet(player, kAppSheet);
    ASSERT_NE(sheet, nullptr);
    ::PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForLogCount(L"アプリケーションの設定: 0", 2));
    ClosePlayer(&player);
}

}  // namespace
