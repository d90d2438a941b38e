// The play history on the real player: Backspace shows the movies played, the latest first,
// also one handed over by a second start; a double click plays a row again; the row's menu
// opens its folder in the file manager; rating keys reach the star column; and the history
// file holds what was played.

#include <windows.h>

#include <string>
#include <vector>

#include "app/history/DialogHistory_CL.h"
#include "base/CommandIds.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/support/IniMap.h"

namespace {

class HistoryE2eTest : public MovieFixture {
protected:
    // Backspace on the player: its history dialog, once shown (null when it did not show).
    HWND ShowHistoryWithBackspace(PlayerProcess_CL* player) {
        if (!PostKey(player, VK_BACK)) return nullptr;
        HWND dialog = nullptr;
        const std::wstring title = DialogHistory_CL::kTitle;
        WaitUntil([&] {
            dialog = FindProcessWindow(player->ProcessId(), L"#32770", &title, true);
            return dialog != nullptr;
        }, 10000);
        return dialog;
    }
    std::wstring HistoryValue(int slot, const wchar_t* key) const {
        return ReadIniMap(DataPath(L"LumikinoHistory.ini"))[{L"item" + std::to_wstring(slot), key}];
    }
};

TEST_F(HistoryE2eTest, BackspaceShowsTheLatestFirstAndItsRowsPlayOpenTheirFolderAndFollowRatings) {
    WriteSettings(kPictureSettings);
    const std::wstring first = WriteMovie(L"一本目.avi", MovieOf(30, 160, 120));
    const std::wstring second = WriteMovie(L"二本目 (b).avi", MovieOf(30, 160, 120));
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {first});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 1; }, 20000));
    // A second start hands its movie over: it plays in the running player and tops the history.
    {
        PlayerProcess_CL handOff;
        ASSERT_TRUE(handOff.Start({second}));
        DWORD exitCode = 1;
        ASSERT_TRUE(handOff.WaitForExit(kExitTimeoutMs, &exitCode));
    }
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(second) == 1; }, 20000));

    HWND dialog = ShowHistoryWithBackspace(&player);
    ASSERT_NE(dialog, nullptr) << "Backspace showed no history";
    RemoteListView rows(player.ProcessId(), ::FindWindowExW(dialog, nullptr, L"SysListView32", nullptr));
    ASSERT_TRUE(rows.IsValid());
    EXPECT_TRUE(WaitUntil([&] { return rows.Column(0) == std::vector<std::wstring>{L"二本目 (b)", L"一本目"}; }, 10000))
        << "the rows are not the movies played, latest first";
    EXPECT_EQ(rows.CellText(0, 1), L".avi");
    EXPECT_EQ(rows.CellText(0, 2), L"");

    // A rating key on the player reaches the star column of the movie playing.
    ASSERT_TRUE(PostKey(&player, '3'));
    EXPECT_TRUE(WaitUntil([&] { return rows.CellText(0, 2) == L"★★★"; }, 10000)) << rows.CellText(0, 2);

    // A double click plays the row again, and it moves to the top.
    const POINT row = rows.RowMiddleOnScreen(1);
    ASSERT_TRUE(WaitUntil([&] { return ::GetAncestor(::WindowFromPoint(row), GA_ROOT) == dialog; }, 5000))
        << "the dialog is not over the player";
    ClickAt(row, true);
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 2; }, 20000)) << "a double click did not play the row";
    EXPECT_TRUE(WaitUntil([&] { return rows.Column(0) == std::vector<std::wstring>{L"一本目", L"二本目 (b)"}; }, 10000));
    EXPECT_EQ(rows.CellText(1, 2), L"★★★");

    // "このファイルのあるフォルダを開く": the file manager is started with the path quoted.
    ASSERT_TRUE(ChooseFromMenu(player, dialog, rows.Window(), rows.RowMiddleInClient(1), L"", {VK_DOWN, VK_DOWN},
                               L"再生履歴の項目メニュー", CMD_LIST_OPEN_FOLDER));
    EXPECT_TRUE(WaitForLog(L"EXPLORER.EXE /select,\"" + second + L"\"", 5000));

    ClosePlayer(&player);
    // The file: the prefix with the folder flag and the stars, the names from the files.
    EXPECT_EQ(HistoryValue(0, L"PATH"), L"|00|" + first);
    EXPECT_EQ(HistoryValue(0, L"NAME"), L"一本目");
    EXPECT_EQ(HistoryValue(1, L"PATH"), L"|03|" + second);
    EXPECT_EQ(HistoryValue(1, L"NAME"), L"二本目 (b)");
    EXPECT_EQ(HistoryValue(2, L"PATH"), L"");
}

}  // namespace
