// The settings sheets on the real player: opened from the picture menu and by their commands,
// their tabs and pages as the user sees them, controls changed with the real mouse and keys,
// what apply writes and what the player shows at once, and what cancel leaves alone.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/CommandIds.h"
#include "store/ContentRecordNaming.h"
#include "tests/e2e/SettingsSheetFixture.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/e2e/RemoteMemory.h"
#include "tests/support/IniMap.h"

namespace {

class SettingsE2eTest : public SettingsSheetFixture {};

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
    EXPECT_TRUE(ClickUntil(clock, [&] { return ::SendMessageW(clock, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
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

TEST_F(SettingsE2eTest, ControlsChangedWithTheMouseAndKeysAreWrittenAndShownAtOnce) {
    PlayerProcess_CL player;
    std::wstring movie;
    HWND window = StartOnMovie(&player, L"display.avi", 60, &movie);
    ASSERT_NE(window, nullptr);
    HWND video = VideoWindowOf(window);
    HWND strip = StripWindowOf(window);
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_THUMBNAIL_STRIP, 0), 0));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(strip) != FALSE; }, 5000));
    ASSERT_TRUE(PostKey(&player, 'P'));  // paused: the picture stands still, the clock is what changes
    ASSERT_TRUE(WaitForLog(L"Pause: leave bPlay=1 bPause=1"));
    EXPECT_GE(ScreenRect(strip).top, ScreenRect(video).bottom) << "the strip starts below the picture";
    const RECT clockArea{0, 0, 160, 40};
    const uint64_t withoutClock = AreaSum(video, clockArea);
    const IniMap before = Settings();

    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_APP_SETTINGS, 0), 0));
    HWND sheet = WaitForSheet(player, kAppSheet);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, 1);
    ASSERT_NE(page, nullptr);

    // The check box, clicked.
    HWND clock = ChildWithText(page, L"Button", L"時計を表示する(F9)");
    ASSERT_TRUE(ClickUntil(clock, [&] { return ::SendMessageW(clock, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    // The combo box, opened with a click and its last item taken with the keys.
    std::vector<HWND> combos = ChildrenOf(page, WC_COMBOBOXEXW);
    ASSERT_EQ(combos.size(), 2u);
    ASSERT_TRUE(ClickUntil(combos[0], [&] { return ::SendMessageW(combos[0], CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    PressKey(VK_END);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(combos[0], CB_GETCURSEL, 0, 0) == 3; }, 5000));
    // The slider, clicked and moved with the keys: the player previews each opacity at once.
    std::vector<HWND> sliders = ChildrenOf(page, TRACKBAR_CLASSW);
    ASSERT_EQ(sliders.size(), 1u);
    ASSERT_TRUE(ClickUntil(sliders[0], [&] { return FocusOf(player) == sliders[0]; }));
    PressKey(VK_HOME);
    auto alpha = [&]() {
        BYTE value = 0;
        DWORD flags = 0;
        const bool layered = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        return layered && ::GetLayeredWindowAttributes(window, nullptr, &value, &flags) ? static_cast<int>(value) : -1;
    };
    EXPECT_TRUE(WaitUntil([&] { return alpha() == 10; }, 5000)) << "alpha " << alpha();
    for (int i = 0; i < 5; ++i) PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(sliders[0], TBM_GETPOS, 0, 0) == 15; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return alpha() == 15; }, 5000));
    EXPECT_NE(ChildWithText(page, L"Static", L"透過度(15)"), nullptr);

    // 適用: written at once, and the player follows while the sheet stays open.
    const size_t follows = LogCount(L"設定を反映します");
    ASSERT_TRUE(PressSheetButton(sheet, kApplyButton, [&] { return LogCount(L"設定を反映します") > follows; }));
    EXPECT_EQ(alpha(), -1) << "the preview ended: the window is opaque as configured";
    const IniMap after = Settings();
    // The two pages opened (基本設定 always is) wrote every key with the value they showed.
    IniMap expected = before;
    for (const auto& [key, value] : std::vector<std::pair<std::pair<std::wstring, std::wstring>, std::wstring>>{
             {{L"SETTING", L"duplicate_launch"}, L"0"},    {{L"SETTING", L"hidden_decode"}, L"1"},
             {{L"SETTING", L"play_op_frame"}, L"0"},       {{L"SETTING", L"play_cm_frame"}, L"0"},
             {{L"SETTING", L"play_ed_frame"}, L"0"},       {{L"SETTING", L"skip_sec_button_index"}, L"2"},
             {{L"SETTING", L"no_resume"}, L"0"},           {{L"SETTING", L"next_play_rate_keep"}, L"1"},
             {{L"LIST", L"direction"}, L"1"},              {{L"SETTING", L"transparent"}, L"15"},
             {{L"SETTING", L"mouse_transparent"}, L"0"},   {{L"SETTING", L"enable_title"}, L"0"},
             {{L"SETTING", L"enable_playtime"}, L"0"},     {{L"SETTING", L"enable_clock"}, L"1"},
             {{L"SETTING", L"now_time_pos"}, L"0"}}) {
        expected[key] = value;
    }
    for (const auto& key : ChangedKeys(expected, after)) {
        ADD_FAILURE() << "unexpected value of " << std::string(key.second.begin(), key.second.end());
    }

    // Shown at once: the strip stands right of the picture and the clock is drawn.
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(strip).left >= ScreenRect(video).right; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return AreaSum(video, clockArea) != withoutClock; }, 5000)) << "no clock drawn";
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ASSERT_TRUE(WaitForLog(L"アプリケーションの設定: 1"));
    // The new opacity is the one the transparent display uses.
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_TRANSPARENT_ON, 0), 0));
    EXPECT_TRUE(WaitUntil([&] { return alpha() == 15; }, 5000));
    MouseTo(POINT{1, 1});
    ClosePlayer(&player);
}

TEST_F(SettingsE2eTest, IntervalsEditedInTheListAreClampedSortedAndOfferedByTheStrip) {
    PlayerProcess_CL player;
    std::wstring movie;
    HWND window = StartOnMovie(&player, L"intervals.avi", 30, &movie);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_APP_SETTINGS, 0), 0));
    HWND sheet = WaitForSheet(player, kAppSheet);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, 2);
    std::vector<HWND> lists = ChildrenOf(page, WC_LISTVIEWW);
    ASSERT_EQ(lists.size(), 1u);
    RemoteListView list(player.ProcessId(), lists[0]);
    ASSERT_TRUE(list.IsValid());

    // Row 1 of the list: selected with a click, its menu opened with a right click, its one
    // item chosen, the seconds typed into the dialog and its button clicked.
    auto Fail = [](const char* step) {
        ADD_FAILURE() << step;
        return false;
    };
    auto editFirstRow = [&](const wchar_t* typed) {
        const RECT row = list.RowRectOnScreen(0);
        const POINT middle{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        bool selected = false, menu = false;
        for (int attempt = 0; attempt < 3 && !selected; ++attempt) {
            MouseTo(middle);
            LeftButton(true);
            LeftButton(false);
            selected = WaitUntil([&] { return list.IsSelected(0); }, 2000);
        }
        if (!selected) return Fail("the row was not selected");
        for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
            RightButton(true);
            RightButton(false);
            menu = WaitUntil([&] { return MenuOf(player) != nullptr; }, 2000);
        }
        if (!menu) return Fail("no menu");
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        const std::wstring caption = L"サムネイルの表示間隔(sec)";
        HWND edit = nullptr;
        if (!WaitUntil([&] { return (edit = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true)) != nullptr; },
                       5000)) {
            return Fail("no edit dialog");
        }
        HWND field = ::FindWindowExW(edit, nullptr, L"Edit", nullptr);
        // The dialog opens with the caret in its field; what stands there is replaced.
        if (!WaitUntil([&] { return FocusOf(player) == field; }, 5000)) return Fail("the field has no keyboard focus");
        ::SendMessageW(field, EM_SETSEL, 0, -1);
        TypeText(typed);
        const std::wstring text = typed;
        if (!WaitUntil([&] { return TextOf(field) == text; }, 5000)) {
            std::string shown;
            for (wchar_t c : TextOf(field)) shown += c < 128 ? static_cast<char>(c) : '?';
            ADD_FAILURE() << "typed text: \"" << shown << "\"";
            return false;
        }
        return ClickUntil(::FindWindowExW(edit, nullptr, L"Button", nullptr), [&] { return !::IsWindow(edit); }) ||
               Fail("the dialog stayed");
    };
    ASSERT_TRUE(editFirstRow(L"601"));
    EXPECT_TRUE(WaitUntil([&] { return list.CellText(5, 1) == L"600秒"; }, 5000));
    EXPECT_EQ(list.Column(0), (std::vector<std::wstring>{L"5秒毎に表示", L"10秒毎に表示", L"15秒毎に表示",
                                                        L"30秒毎に表示", L"60秒毎に表示", L"600秒毎に表示"}));
    ASSERT_TRUE(editFirstRow(L"0"));
    EXPECT_TRUE(WaitUntil([&] { return list.CellText(0, 1) == L"1秒"; }, 5000));
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ASSERT_TRUE(WaitForLog(L"アプリケーションの設定: 1"));
    const int expected[6] = {1, 10, 15, 30, 60, 600};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(SettingInt(L"THUMB_MENU", (L"thumb_time" + std::to_wstring(i)).c_str()), expected[i]);

    // The strip's menu offers the new intervals.
    HWND strip = StripWindowOf(window);
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_THUMBNAIL_STRIP, 0), 0));
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(strip) != FALSE; }, 5000));
    ASSERT_TRUE(OpenMenu(player, window, strip, POINT{40, 40}, L"StripMenu intervals:"));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(LogContains(L"StripMenu intervals: 1秒毎に表示|10秒毎に表示|15秒毎に表示|30秒毎に表示|60秒毎に表示|600秒毎に表示"));
    EXPECT_TRUE(WaitUntil([&] { return MenuOf(player) == nullptr; }, 5000));
    MouseTo(POINT{1, 1});
    ClosePlayer(&player);
}

TEST_F(SettingsE2eTest, TheContentSheetWritesTheRecordAndSharesAndUnsharesIt) {
    PlayerProcess_CL player;
    std::wstring movie;
    HWND window = StartOnMovie(&player, L"content.avi", 30, &movie);
    ASSERT_NE(window, nullptr);
    const std::wstring shared = SharedRecordPath(movie);
    const std::wstring local = RecordOf(movie);
    ASSERT_FALSE(local.empty());

    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CONTENT_SETTINGS, 0), 0));
    HWND sheet = WaitForSheet(player, kContentSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabTitles(player, sheet), (std::vector<std::wstring>{L"コンテンツ設定", L"色調整"}));
    HWND page = ShowPage(sheet, 0);
    EXPECT_EQ(GroupCaptions(page), (std::vector<std::wstring>{L"コンテンツ情報の共有", L"コンテンツタイトル", L"再生制御",
                                                              L"音量オフセット", L"★マーク"}));
    // The title typed over the old one.
    HWND title = ChildrenOf(page, L"Edit").at(0);
    ASSERT_TRUE(ClickUntil(title, [&] { return FocusOf(player) == title; }));
    ::SendMessageW(title, EM_SETSEL, 0, -1);
    TypeText(L"Evening News");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(title) == L"Evening News"; }, 5000));
    HWND noResume = ChildWithText(page, L"Button", L"リジューム再生は行わない（音楽プロモーション映像の時に便利です）");
    ASSERT_TRUE(ClickUntil(noResume, [&] { return ::SendMessageW(noResume, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    // The volume offset from its left end thirteen steps to the right.
    HWND volume = ChildrenOf(page, TRACKBAR_CLASSW).at(0);
    ASSERT_TRUE(ClickUntil(volume, [&] { return FocusOf(player) == volume; }));
    PressKey(VK_HOME);
    for (int i = 0; i < 13; ++i) PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(volume, TBM_GETPOS, 0, 0) == 3; }, 5000));
    EXPECT_NE(ChildWithText(page, L"Static", L"( 3)"), nullptr);
    HWND stars = ChildrenOf(page, WC_COMBOBOXEXW).at(0);
    ASSERT_TRUE(ClickUntil(stars, [&] { return ::SendMessageW(stars, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    PressKey(VK_END);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(stars, CB_GETCURSEL, 0, 0) == 5; }, 5000));
    HWND share = ChildWithText(page, L"Button", L"コンテンツ情報を動画データと同じフォルダへコピーして共有する");
    ASSERT_TRUE(ClickUntil(share, [&] { return ::SendMessageW(share, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    // The colour: switched on, brightness ten steps up.
    HWND colour = ShowPage(sheet, 1);
    HWND enable = ChildWithText(colour, L"Button", L"コンテンツの色調を個別に設定する");
    ASSERT_TRUE(ClickUntil(enable, [&] { return ::SendMessageW(enable, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    HWND brightness = ChildrenOf(colour, TRACKBAR_CLASSW).at(0);
    ASSERT_TRUE(ClickUntil(brightness, [&] { return FocusOf(player) == brightness; }));
    const LRESULT start = ::SendMessageW(brightness, TBM_GETPOS, 0, 0);
    for (int i = 0; i < 10; ++i) PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(brightness, TBM_GETPOS, 0, 0) == start + 10; }, 5000));
    EXPECT_EQ(::SendMessageW(noResume, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ASSERT_TRUE(WaitForLog(L"コンテンツ情報の共有: 成功"));

    // The record now lies beside the movie with every value; the local one holds them too.
    for (const std::wstring& path : {shared, local}) {
        const IniMap record = ReadIniMap(path);
        EXPECT_EQ(record.at({L"MOVIE_INFO", L"content_name"}), L"Evening News");
        EXPECT_EQ(record.at({L"MOVIE_INFO", L"no_resume"}), L"1");
        EXPECT_EQ(record.at({L"MOVIE_INFO", L"vol_offset"}), L"3");
        EXPECT_EQ(record.at({L"MOVIE_INFO", L"star_count"}), L"5");
        EXPECT_EQ(record.at({L"PROC_AMP", L"enable"}), L"1");
        EXPECT_EQ(record.at({L"PROC_AMP", L"brightness"}), std::to_wstring((start + 10) * 6553));
    }

    // Unshared: the box opens ticked; cleared, the copy beside the movie goes.
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CONTENT_SETTINGS, 0), 0));
    sheet = WaitForSheet(player, kContentSheet);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, 0);
    share = ChildWithText(page, L"Button", L"コンテンツ情報を動画データと同じフォルダへコピーして共有する");
    EXPECT_EQ(::SendMessageW(share, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(ClickUntil(share, [&] { return ::SendMessageW(share, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ASSERT_TRUE(WaitForLog(L"コンテンツ情報の共有解除: 成功"));
    EXPECT_FALSE(FileExists(shared));
    EXPECT_EQ(ReadIniMap(local).at({L"MOVIE_INFO", L"content_name"}), L"Evening News");

    // A folder where the copy would go: sharing fails with the message, and the player goes on.
    ASSERT_TRUE(::CreateDirectoryW(shared.c_str(), nullptr));
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CONTENT_SETTINGS, 0), 0));
    sheet = WaitForSheet(player, kContentSheet);
    ASSERT_NE(sheet, nullptr);
    page = ShowPage(sheet, 0);
    share = ChildWithText(page, L"Button", L"コンテンツ情報を動画データと同じフォルダへコピーして共有する");
    ASSERT_TRUE(ClickUntil(share, [&] { return ::SendMessageW(share, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    const std::wstring caption = L"ファイル書き込み失敗";
    HWND notice = nullptr;
    const bool noticed = WaitUntil(
        [&] { return (notice = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true)) != nullptr; }, 10000);
    if (!noticed) PrintLogTail(30);
    ASSERT_TRUE(noticed);
    bool said = false;
    for (HWND text : ChildrenOf(notice, L"Static")) said |= TextOf(text).find(L"共有ファイルの書き込みに失敗しました。") == 0;
    EXPECT_TRUE(said);
    ::PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForLog(L"コンテンツ情報の共有: 失敗"));
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0);
    EXPECT_EQ(RecordOf(movie), local) << "the record stays where it was";
    ::RemoveDirectoryW(shared.c_str());
    MouseTo(POINT{1, 1});
    ClosePlayer(&player);
}

TEST_F(SettingsE2eTest, TheContentSheetWithNoMovieLoadedWritesNoFile) {
    WriteSettingsAndPlace(kSettings);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    const IniMap before = Settings();
    ASSERT_TRUE(player.PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_CONTENT_SETTINGS, 0), 0));
    HWND sheet = WaitForSheet(player, kContentSheet);
    ASSERT_NE(sheet, nullptr);
    HWND page = ShowPage(sheet, 0);
    HWND title = ChildrenOf(page, L"Edit").at(0);
    ASSERT_TRUE(ClickUntil(title, [&] { return FocusOf(player) == title; }));
    TypeText(L"nothing");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(title) == L"nothing"; }, 5000));
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ASSERT_TRUE(WaitForLog(L"コンテンツの設定: 1"));
    EXPECT_TRUE(ContentRecordPaths().empty());
    EXPECT_EQ(Settings(), before);
    MouseTo(POINT{1, 1});
    ClosePlayer(&player);
}

}  // namespace
