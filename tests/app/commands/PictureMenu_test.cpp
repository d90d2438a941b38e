// The context menus as the user gets them: built from the player's state, made into a real
// menu and read back item by item with GetMenuItemInfoW (texts, numbers, order, checks, greyed).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/commands/CommandRouter_CL.h"
#include "app/commands/MenuModel.h"
#include "base/CommandIds.h"
#include "ui/PopupMenu_CL.h"

namespace {

// One line per item: depth dots, the text, the number in hex, then "checked" / "greyed";
// separators read "-".
void ReadMenu(HMENU menu, int depth, std::vector<std::wstring>* lines) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 255;
        ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        std::wstring line(static_cast<size_t>(depth), L'.');
        if (info.fType & MFT_SEPARATOR) {
            line += L"-";
        } else {
            wchar_t id[16];
            swprintf(id, 16, L"|%04x", info.wID);
            line += text;
            line += id;
            if (info.fState & MFS_CHECKED) line += L"|checked";
            if (info.fState & MFS_GRAYED) line += L"|greyed";
        }
        lines->push_back(line);
        if (info.hSubMenu) ReadMenu(info.hSubMenu, depth + 1, lines);
    }
}

std::vector<std::wstring> Realised(const std::vector<MenuEntry>& entries) {
    PopupMenu_CL menu;
    EXPECT_TRUE(FillPopupMenu(entries, &menu));
    std::vector<std::wstring> lines;
    ReadMenu(menu.Handle(), 0, &lines);
    return lines;
}

// Every picture menu ends with the settings and the support site.
std::vector<std::wstring> WithSettingsTail(std::vector<std::wstring> lines) {
    for (const wchar_t* line : {L"-", L"コンテンツ設定|80d0", L"-", L"サポートサイトへ|80d2", L"-", L"アプリ設定|80d1"}) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(PictureMenu, WindowedFramedOpaqueWithoutFavoritesOrAlbum) {
    PictureMenuState state;  // window, frame shown, not topmost, opaque, ratio 0
    std::vector<std::wstring> expected = {
        L"全画面表示\t(ESC/F4)|8020",
        L"-",
        L"表示方法|0000",
        L".リストを現在の再生位置へ移動する|8140",
        L".-",
        L".フレーム無し表示|80e1",
        L".最前面に表示する|80f1",
        L".ウインドウを透過表示する|80f8",
        L".-",
        L".動画再生の画面比率\t(F1)|0000",
        L"..比率を守って最大幅で表示|8011|checked",
        L"..比率を守って縦が最大になるように表示する|8012",
        L"..比率を無視して表示する|8013",
        L"..コンテンツそのままのサイズで表示|8014",
        L"-",
        L"お気に入り|0000",
        L"-",
    };
    EXPECT_EQ(Realised(BuildPictureMenu(state)), WithSettingsTail(expected));
}

TEST(PictureMenu, FullScreenBorderlessTopmostTransparentWithFavoritesAndAlbum) {
    PictureMenuState state;
    state.fullScreen = true;
    state.borderless = true;
    state.topmost = true;
    state.transparent = true;
    state.outputRate = 3;
    state.favorites[0] = {true, L"OP"};
    state.favorites[7] = {true, L""};
    state.favorites[9] = {true, L""};
    state.fromAlbum = true;
    state.starCount = 3;
    std::vector<std::wstring> expected = {
        L"ウインドウ表示\t(ESC/F4)|8021",
        L"-",
        L"表示方法|0000",
        L".リストを現在の再生位置へ移動する|8140",
        L".-",
        L".フレーム有り表示|80e0",
        L".最前面に表示しない|80f0",
        L".ウインドウを透過表示しない|80f9",
        L".-",
        L".動画再生の画面比率\t(F1)|0000",
        L"..比率を守って最大幅で表示|8011",
        L"..比率を守って縦が最大になるように表示する|8012",
        L"..比率を無視して表示する|8013",
        L"..コンテンツそのままのサイズで表示|8014|checked",
        L"-",
        L"お気に入り|0000",
        L".\"OP\"から再生|8070",
        L".お気に入り８から再生|8077",
        L".お気に入り10から再生|8079",
        L"-",
        L"Kinoshelf|0000",
        L".タグを追加する|8120",
        L".-",
        L".★を付ける|8121",
        L"..☆|8130",
        L"..★|8131",
        L"..★★|8132",
        L"..★★★|8133|checked",
        L"..★★★★|8134",
        L"..★★★★★|8135",
    };
    EXPECT_EQ(Realised(BuildPictureMenu(state)), WithSettingsTail(expected));
}

TEST(PictureMenu, EachRatioModeChecksOnlyItsItem) {
    for (int mode = 0; mode < 4; ++mode) {
        PictureMenuState state;
        state.outputRate = mode;
        int checked = 0;
        for (const std::wstring& line : Realised(BuildPictureMenu(state))) {
            if (line.find(L"|checked") == std::wstring::npos) continue;
            ++checked;
            wchar_t id[8];
            swprintf(id, 8, L"|%04x", CMD_RATIO_FIRST + mode);
            EXPECT_NE(line.find(id), std::wstring::npos) << line;
        }
        EXPECT_EQ(checked, 1) << "mode " << mode;
    }
}

TEST(PictureMenu, CommandsTheRouterWouldNotRunAreGreyed) {
    CommandRouter_CL router;
    router.Register(CMD_RATIO_FIRST, CMD_RATIO_LAST, [](WORD, LPARAM) {});
    router.Register(CMD_PLAY_FAVORITE_FIRST, CMD_PLAY_FAVORITE_LAST, [](WORD, LPARAM) {},
                    [](WORD id) { return CommandState{id == CMD_PLAY_FAVORITE_FIRST, false}; });
    PictureMenuState state;
    state.favorites[0].set = true;
    state.favorites[1].set = true;
    std::vector<MenuEntry> entries = BuildPictureMenu(state);
    ApplyCommandStates(router, &entries);
    const std::vector<std::wstring> lines = Realised(entries);
    auto lineOf = [&lines](const std::wstring& start) {
        for (const std::wstring& line : lines) {
            if (line.rfind(start, 0) == 0) return line;
        }
        return std::wstring();
    };
    EXPECT_EQ(lineOf(L"..比率を無視して表示する"), L"..比率を無視して表示する|8013");
    EXPECT_EQ(lineOf(L".お気に入り１から再生"), L".お気に入り１から再生|8070");
    EXPECT_EQ(lineOf(L".お気に入り２から再生"), L".お気に入り２から再生|8071|greyed");
    EXPECT_EQ(lineOf(L"コンテンツ設定"), L"コンテンツ設定|80d0|greyed");
    EXPECT_EQ(lineOf(L"表示方法"), L"表示方法|0000");  // sub-menus stay open
}

TEST(ListItemMenu, PlayTextFollowsArchiveAndDeleteFollowsTheSetting) {
    const std::vector<std::wstring> plain = {
        L"再生する|80a0", L"-", L"このファイルのあるフォルダを開く|80a2", L"-",
        L"ファイルを指定したフォルダへ解凍する|80a1"};
    EXPECT_EQ(Realised(BuildListItemMenu(false, false)), plain);
    const std::vector<std::wstring> archiveWithDelete = {
        L"テンポラリへ解凍後に再生する|80a0", L"-", L"このファイルのあるフォルダを開く|80a2", L"-",
        L"ファイルを指定したフォルダへ解凍する|80a1", L"-", L"動画ファイルを削除する|80a6"};
    EXPECT_EQ(Realised(BuildListItemMenu(true, true)), archiveWithDelete);
}

TEST(MenuNumberText, FullWidthUpToNineThenPlainDigits) {
    EXPECT_EQ(MenuNumberText(1), L"１");
    EXPECT_EQ(MenuNumberText(9), L"９");
    EXPECT_EQ(MenuNumberText(10), L"10");
}
