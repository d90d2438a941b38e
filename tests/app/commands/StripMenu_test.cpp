// The thumbnail strip's context menu as the user gets it: built from the strip's state, made
// into a real menu and read back item by item with GetMenuItemInfoW.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/commands/MenuModel.h"
#include "app/commands/StripMenu.h"
#include "base/CommandIds.h"
#include "ui/PopupMenu_CL.h"

namespace {

// One line per item: depth dots, the text, the number in hex, then "checked" / "greyed";
// separators read "-".
void ReadRealMenu(HMENU menu, int depth, std::vector<std::wstring>* lines) {
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
        if (info.hSubMenu) ReadRealMenu(info.hSubMenu, depth + 1, lines);
    }
}

std::vector<std::wstring> Realised(const std::vector<MenuEntry>& entries) {
    PopupMenu_CL menu;
    EXPECT_TRUE(FillPopupMenu(entries, &menu));
    std::vector<std::wstring> lines;
    ReadRealMenu(menu.Handle(), 0, &lines);
    return lines;
}

// The strip menu of a content with nothing set, the 10 s interval and the large cells.
std::vector<std::wstring> NothingSetLines() {
    return {
        L"リストを現在の再生位置へ移動する|8140",
        L"お気に入りフレームへ移動する|0000", L".お気に入り１に移動|8160", L".お気に入り２に移動|8161",
        L".お気に入り３に移動|8162", L".お気に入り４に移動|8163", L".お気に入り５に移動|8164",
        L".お気に入り６に移動|8165", L".お気に入り７に移動|8166", L".お気に入り８に移動|8167",
        L".お気に入り９に移動|8168", L".お気に入り10に移動|8169",
        L"スキップフレームへ移動する|0000", L".オープニングフレームに移動|8146",
        L".エンディングフレームに移動|8147", L".ＣＭフレーム1に移動|8148", L".ＣＭフレーム2に移動|8149",
        L".ＣＭフレーム3に移動|814a", L".ＣＭフレーム4に移動|814b", L".ＣＭフレーム5に移動|814c",
        L".ＣＭフレーム6に移動|814d", L".ＣＭフレーム7に移動|814e", L".ＣＭフレーム8に移動|814f",
        L".ＣＭフレーム9に移動|8150", L".ＣＭフレーム10に移動|8151",
        L"縮小画像の表示間隔を設定する|0000", L".1秒毎に表示|8030", L".5秒毎に表示|8031",
        L".10秒毎に表示|8032|checked", L".15秒毎に表示|8033", L".30秒毎に表示|8034", L".60秒毎に表示|8035",
        L"縮小画像のサイズを設定する\t(F3)|0000", L".小|8080", L".中|8081", L".大|8082|checked",
        L"お気に入りに設定する|0000", L".お気に入り１に設定する|8050", L".お気に入り２に設定する|8051",
        L".お気に入り３に設定する|8052", L".お気に入り４に設定する|8053", L".お気に入り５に設定する|8054",
        L".お気に入り６に設定する|8055", L".お気に入り７に設定する|8056", L".お気に入り８に設定する|8057",
        L".お気に入り９に設定する|8058", L".お気に入り10に設定する|8059",
        L"スキップフレームに設定する|0000", L".オープニングフレームに設定する|8040",
        L".エンディングフレームに設定する|8041", L".ＣＭフレーム１に設定する|8042",
        L".ＣＭフレーム２に設定する|8043", L".ＣＭフレーム３に設定する|8044",
        L".ＣＭフレーム４に設定する|8045", L".ＣＭフレーム５に設定する|8046",
        L".ＣＭフレーム６に設定する|8047", L".ＣＭフレーム７に設定する|8048",
        L".ＣＭフレーム８に設定する|8049", L".ＣＭフレーム９に設定する|804a",
        L".ＣＭフレーム10に設定する|804b",
        L"ループ再生を開始する|80b0",
    };
}

// Replaces one line of an expected menu.
void Replace(std::vector<std::wstring>* lines, const std::wstring& before, const std::wstring& after) {
    for (std::wstring& line : *lines) {
        if (line == before) {
            line = after;
            return;
        }
    }
    ADD_FAILURE() << "no line to replace";
}

std::vector<std::wstring> CheckedLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> checked;
    for (const std::wstring& line : lines) {
        if (line.find(L"|checked") != std::wstring::npos) checked.push_back(line);
    }
    return checked;
}

}  // namespace

TEST(StripMenu, NothingSetOffersEverySetItemAndTheLoopStart) {
    StripMenuState state;
    EXPECT_EQ(Realised(BuildStripMenu(state)), NothingSetLines());
}

TEST(StripMenu, SetFavoritesRangesAndLoopOfferTheirCancelAndEndItems) {
    StripMenuState state;
    state.favoritesSet[0] = true;
    state.favoritesSet[7] = true;
    state.favoritesSet[9] = true;
    state.skipRangesSet[0] = true;   // opening
    state.skipRangesSet[2] = true;   // CM 1
    state.skipRangesSet[11] = true;  // CM 10
    std::vector<std::wstring> expected = NothingSetLines();
    Replace(&expected, L".お気に入り１に設定する|8050", L".お気に入り１をキャンセルする|80a0");
    Replace(&expected, L".お気に入り８に設定する|8057", L".お気に入り８をキャンセルする|80a7");
    Replace(&expected, L".お気に入り10に設定する|8059", L".お気に入り10をキャンセルする|80a9");
    Replace(&expected, L".オープニングフレームに設定する|8040", L".オープニングフレームをキャンセルする|8090");
    Replace(&expected, L".ＣＭフレーム１に設定する|8042", L".ＣＭフレーム１をキャンセルする|8092");
    Replace(&expected, L".ＣＭフレーム10に設定する|804b", L".ＣＭフレーム10をキャンセルする|809b");
    EXPECT_EQ(Realised(BuildStripMenu(state)), expected);

    state.skipRangesSet[1] = true;
    state.loopOn = true;
    Replace(&expected, L".エンディングフレームに設定する|8041", L".エンディングフレームをキャンセルする|8091");
    Replace(&expected, L"ループ再生を開始する|80b0", L"ループ再生を終了する|80b1");
    EXPECT_EQ(Realised(BuildStripMenu(state)), expected);
}

TEST(StripMenu, EachIntervalOfTheStoredLadderAndEachSizeChecksOnlyItsItem) {
    const wchar_t* sizeTexts[] = {L"小", L"中", L"大"};
    for (int interval = 0; interval < 6; ++interval) {
        for (int size = 0; size < 3; ++size) {
            StripMenuState state;
            state.intervalSeconds = {2, 3, 20, 45, 90, 120};
            state.intervalIndex = interval;
            state.cellSizeIndex = size;
            wchar_t intervalLine[64], sizeLine[64];
            swprintf(intervalLine, 64, L".%d秒毎に表示|%04x|checked", state.intervalSeconds[interval], 0x8030 + interval);
            swprintf(sizeLine, 64, L".%ls|%04x|checked", sizeTexts[size], 0x8080 + size);
            EXPECT_EQ(CheckedLines(Realised(BuildStripMenu(state))), (std::vector<std::wstring>{intervalLine, sizeLine}))
                << "interval " << interval << " size " << size;
        }
    }
    StripMenuState outside;
    outside.intervalIndex = 6;
    outside.cellSizeIndex = -1;
    EXPECT_TRUE(CheckedLines(Realised(BuildStripMenu(outside))).empty());
}

TEST(StripMenu, WithoutSelectionOnlyTheItemsThatTakeTheSelectionAreGreyed) {
    StripMenuState state;
    state.hasSelection = false;
    state.favoritesSet[1] = true;
    state.skipRangesSet[1] = true;
    std::vector<std::wstring> lines = Realised(BuildStripMenu(state));
    int greyed = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        bool isGreyed = line.find(L"|greyed") != std::wstring::npos;
        bool takesSelection = (line[0] == L'.' && line.find(L"に設定する|") != std::wstring::npos) ||
                              line.find(L"ループ再生を開始する|") != std::wstring::npos;
        EXPECT_EQ(isGreyed, takesSelection) << "line " << i;
        greyed += isGreyed ? 1 : 0;
    }
    EXPECT_EQ(greyed, 9 + 11 + 1);  // the favourites and ranges not set, and the loop start

    // A running loop can always be ended.
    state.loopOn = true;
    EXPECT_EQ(Realised(BuildStripMenu(state)).back(), L"ループ再生を終了する|80b1");
}
