// Play lists on the real player: a text list given on the command line and an ASX list
// dropped on the window play their entries in order, one after the other; the play list
// dialog shows the list and its reorder, sort, shuffle, check, delete, loop, save, double
// click and drops act on it.

#include <windows.h>

#include <string>
#include <vector>

#include <algorithm>

#include "app/playlist/DialogPlayList_CL.h"
#include "base/CommandIds.h"
#include "intake/PlayListFormats.h"
#include "store/AtomicRecordWriter_CL.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/e2e/RemoteListView.h"

namespace {

class PlayListE2eTest : public MovieFixture {
protected:
    std::wstring WriteList(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = m_movies.Join(name);
        AtomicRecordWriter_CL writer;
        EXPECT_EQ(writer.WriteBytes(path, bytes), S_OK);
        return path;
    }
    static std::vector<PlayListItem> Entries(const std::vector<std::wstring>& paths) {
        std::vector<PlayListItem> items(paths.size());
        for (size_t i = 0; i < paths.size(); ++i) items[i].path = paths[i];
        return items;
    }

    // Tab on the player: its play list dialog, once shown (null when it did not show).
    HWND ShowDialogWithTab(PlayerProcess_CL* player) {
        if (!PostKey(player, VK_TAB)) return nullptr;
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = FindProcessWindow(player->ProcessId(), L"#32770", nullptr, true);
            wchar_t title[64] = {};
            if (dialog) ::GetWindowTextW(dialog, title, 64);
            return dialog && std::wstring(title) == DialogPlayList_CL::kTitle;
        }, 10000);
        return dialog;
    }
    // The folder of sample movies the test command makes; empty when there is none.
    static std::wstring TestMediaFolder() {
        wchar_t folder[MAX_PATH] = {};
        const DWORD units = ::GetEnvironmentVariableW(L"LK_TEST_MEDIA", folder, MAX_PATH);
        return units == 0 || units >= MAX_PATH ? std::wstring() : std::wstring(folder);
    }
    static HWND ListViewOf(HWND dialog) { return ::FindWindowExW(dialog, nullptr, L"SysListView32", nullptr); }
    static HWND ButtonOf(HWND dialog, const wchar_t* text) { return ::FindWindowExW(dialog, nullptr, L"Button", text); }

    static POINT Middle(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
    static void ClickWindow(HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        ClickAt(POINT{rect.left + 8, (rect.top + rect.bottom) / 2});
    }
    static void PostTool(HWND dialog, UINT command) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    // The row shows as the one playing: light blue behind it (whatever the dialog's
    // transparency lets through, blue stays well above red).
    static bool IsPlayingRow(const RemoteListView& rows, int row) {
        RECT rect = rows.RowRectOnScreen(row);
        BgrxPicture picture = ScreenPicture_CL::CaptureClient(rows.Window());
        ::MapWindowPoints(nullptr, rows.Window(), reinterpret_cast<POINT*>(&rect), 2);
        int blue = 0, all = 0;
        for (int y = std::max(0L, rect.top + 1); y < std::min<LONG>(picture.height, rect.bottom - 1); ++y) {
            for (int x = std::max(0L, rect.left); x < std::min<LONG>(picture.width, rect.right); ++x) {
                const uint8_t* p = picture.At(x, y);
                ++all;
                blue += p[0] > 190 && p[0] > p[2] + 40;
            }
        }
        return all > 0 && blue * 2 > all;
    }

    // Waits until the dialog's first column reads names.
    static bool WaitForRows(const RemoteListView& rows, const std::vector<std::wstring>& names) {
        return WaitUntil([&] { return rows.Column(0) == names; }, 10000);
    }
};

std::vector<std::wstring> Sorted(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

TEST_F(PlayListE2eTest, ATextListOnTheCommandLineAndADroppedAsxListPlayTheirEntriesInOrder) {
    WriteSettings(kPictureSettings);
    const std::wstring first = WriteMovie(L"一話.avi", MovieOf(2, 160, 120));
    const std::wstring second = WriteMovie(L"二話 & 'b'.avi", MovieOf(2, 160, 120));
    const std::wstring third = WriteMovie(L"三話.avi", MovieOf(2, 160, 120));
    const std::wstring textList = WriteList(L"連続.playlist", MakeTextList(Entries({first, second})).bytes);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {textList});
    ASSERT_NE(window, nullptr);
    // The second plays once the first has ended: the list plays on.
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 1; }, 20000)) << "the first entry did not play";
    EXPECT_LT(PlayCountOf(second), 1) << "the second entry played first";
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(second) == 1; }, 20000)) << "the second entry did not follow";
    EXPECT_LT(PlayCountOf(third), 1) << "the third played before its list was dropped";

    // An ASX list dropped on the window: its entries replace the list, the third first.
    const std::wstring asxList = WriteList(L"drop.asx", MakeAsxList(Entries({third, first})));
    ASSERT_TRUE(PostDrop(player, window, {asxList}));
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(third) == 1; }, 20000)) << "the dropped list did not play";
    EXPECT_EQ(PlayCountOf(first), 1) << "the dropped list's second entry played first";
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 2; }, 20000)) << "its second entry did not follow";
    EXPECT_EQ(PlayCountOf(second), 1);
    EXPECT_FALSE(LogContains(L"この形式はまだ開けません"));
    ClosePlayer(&player);
}

TEST_F(PlayListE2eTest, TabShowsTheListAndTheDialogSortsMovesShufflesChecksDeletesAndLoops) {
    WriteSettings(kPictureSettings);
    const std::wstring tenth = WriteMovie(L"第10話.avi", MovieOf(4, 160, 120));
    const std::wstring first = WriteMovie(L"第1話.avi", MovieOf(4, 160, 120));
    const std::wstring second = WriteMovie(L"第2話.avi", MovieOf(4, 160, 120));
    const std::wstring list = WriteList(L"話.playlist", MakeTextList(Entries({tenth, first, second})).bytes);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {list});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(tenth) == 1; }, 20000)) << "the list did not play";

    HWND dialog = ShowDialogWithTab(&player);
    ASSERT_NE(dialog, nullptr) << "Tab did not show the play list";
    RemoteListView rows(player.ProcessId(), ListViewOf(dialog));
    ASSERT_TRUE(rows.IsValid());
    EXPECT_TRUE(WaitForRows(rows, {L"第10話", L"第1話", L"第2話"})) << "the rows are not the list in order";
    EXPECT_EQ(rows.CellText(0, 1), L".avi");
    EXPECT_EQ(rows.CellText(0, 5), m_movies.Path());

    // Keys typed in the dialog are the dialog's: F6 would show the player's strip.
    const size_t keysBefore = LogCount(L"KeyHandler(");
    ::PostMessageW(rows.Window(), WM_KEYDOWN, VK_F6, 1);
    ::PostMessageW(rows.Window(), WM_KEYUP, VK_F6, 1);
    // The header: natural order up, then down.
    ClickAt(Middle(rows.HeaderRectOnScreen(0)));
    EXPECT_TRUE(WaitForRows(rows, {L"第1話", L"第2話", L"第10話"})) << "the name column did not sort upwards";
    // Apart from the first click by more than a double click's distance: two clicks.
    const RECT header = rows.HeaderRectOnScreen(0);
    ClickAt(POINT{header.left + (header.right - header.left) / 4, (header.top + header.bottom) / 2});
    EXPECT_TRUE(WaitForRows(rows, {L"第10話", L"第2話", L"第1話"})) << "a second click did not sort downwards";
    EXPECT_EQ(LogCount(L"KeyHandler("), keysBefore) << "a key typed in the dialog reached the player";

    // The first row, one down: it stays selected.
    ClickAt(rows.RowMiddleOnScreen(0));
    ASSERT_TRUE(WaitUntil([&] { return rows.IsSelected(0); }, 5000));
    PostTool(dialog, DialogPlayList_CL::kToolMoveDown);
    EXPECT_TRUE(WaitForRows(rows, {L"第2話", L"第10話", L"第1話"})) << "move down did not move the row";
    EXPECT_TRUE(rows.IsSelected(1));

    PostTool(dialog, DialogPlayList_CL::kToolShuffle);
    EXPECT_TRUE(WaitForLog(L"プレイリストのシャッフル", 5000));
    EXPECT_EQ(Sorted(rows.Column(0)), Sorted({L"第1話", L"第2話", L"第10話"})) << "shuffle lost or doubled a row";

    // Every row checked, one unchecked again: deleting the checked rows leaves that one.
    ClickWindow(ButtonOf(dialog, L"全てチェックする"));
    ASSERT_TRUE(WaitUntil([&] { return rows.IsChecked(0) && rows.IsChecked(1) && rows.IsChecked(2); }, 5000))
        << "check all did not check every row";
    const std::wstring kept = rows.CellText(1, 0);
    ASSERT_TRUE(rows.SetChecked(1, false));
    ClickWindow(ButtonOf(dialog, L"チェックした項目を削除する"));
    EXPECT_TRUE(WaitForRows(rows, {kept})) << "delete checked did not remove the checked rows";

    // Loop play is written at once.
    ClickWindow(ButtonOf(dialog, L"プレイリストをループ再生する"));
    EXPECT_TRUE(WaitUntil([&] { return SettingInt(L"SETTING", L"loop_play") == 1; }, 5000)) << "loop_play not written";
    ClosePlayer(&player);
}

TEST_F(PlayListE2eTest, DropsOnTheDialogAppendAndADoubleClickPlaysAndTheListSaves) {
    WriteSettings(std::wstring(kPictureSettings) + L"enable_delete_menu=1\r\n");
    // The first plays on while the test works: what plays next can only come from the dialog.
    const std::wstring first = WriteMovie(L"あ.avi", MovieOf(60, 160, 120));
    const std::wstring second = WriteMovie(L"い & 'う'.avi", MovieOf(4, 160, 120));
    // Long enough to be still playing when it is deleted: once it ended the list would move on.
    const std::wstring dropped = WriteMovie(L"え.avi", MovieOf(30, 160, 120));
    const std::wstring list = WriteList(L"一覧.playlist", MakeTextList(Entries({first, second})).bytes);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {list});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 1; }, 20000)) << "the list did not play";
    HWND dialog = ShowDialogWithTab(&player);
    ASSERT_NE(dialog, nullptr);
    RemoteListView rows(player.ProcessId(), ListViewOf(dialog));
    ASSERT_TRUE(WaitForRows(rows, {L"あ", L"い & 'う'"}));

    // A movie and a folder holding a link to its parent, dropped on the dialog: both are added
    // to the list, which is kept, and the folder's walk ends with each movie listed once.
    std::vector<std::wstring> drops = {dropped};
    const std::wstring media = TestMediaFolder();
    if (!media.empty()) {
        const DWORD link = ::GetFileAttributesW((media + L"\\linked\\sub\\up").c_str());
        ASSERT_NE(link, INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(link & FILE_ATTRIBUTE_REPARSE_POINT) << "Wine does not show the link as a reparse point";
        drops.push_back(media + L"\\linked");
    }
    ASSERT_TRUE(PostDrop(player, dialog, drops));
    std::vector<std::wstring> expected = {L"あ", L"い & 'う'", L"え"};
    if (!media.empty()) {
        EXPECT_TRUE(WaitUntil([&] { return rows.RowCount() == 5; }, 10000)) << "the folder's movies were not listed once each";
        std::vector<std::wstring> names = rows.Column(0);
        EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + 3), expected);
        EXPECT_EQ(Sorted(std::vector<std::wstring>(names.begin() + 3, names.end())), Sorted({L"inner", L"top"}));
    } else {
        EXPECT_TRUE(WaitForRows(rows, expected)) << "the dropped movie was not appended";
    }
    EXPECT_EQ(PlayCountOf(dropped), -100) << "a movie dropped on the dialog played";

    // Saved as a text list: the file holds the rows' paths in order.
    PostTool(dialog, DialogPlayList_CL::kToolSave);
    HWND save = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (save = FindDialog(player.ProcessId(), L"保存先とファイル名を選択してください")) != nullptr; }, 10000))
        << "the save dialog did not open";
    const std::wstring saved = m_movies.Join(L"保存.playlist");
    ASSERT_TRUE(ChooseInSaveDialog(save, saved));
    ASSERT_TRUE(WaitUntil([&] { return ::GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000))
        << "the list was not saved";
    std::string bytes;
    ASSERT_TRUE(WaitUntil([&] { return !(bytes = ReadFileBytes(saved)).empty(); }, 5000));
    const std::vector<std::wstring> savedPaths = ParseTextList(bytes);
    ASSERT_EQ(savedPaths.size(), static_cast<size_t>(rows.RowCount()));
    for (size_t i = 0; i < savedPaths.size(); ++i) {
        EXPECT_EQ(savedPaths[i], rows.CellText(static_cast<int>(i), 5) + L"\\" + rows.CellText(static_cast<int>(i), 0) +
                                     rows.CellText(static_cast<int>(i), 1));
    }

    // A double click plays its row, which then shows as the one playing.
    EXPECT_TRUE(WaitUntil([&] { return IsPlayingRow(rows, 0) && !IsPlayingRow(rows, 2); }, 5000));
    ClickAt(rows.RowMiddleOnScreen(2), true);
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(dropped) == 1; }, 20000)) << "a double click did not play the row";
    ASSERT_TRUE(WaitUntil([&] { return IsPlayingRow(rows, 2) && !IsPlayingRow(rows, 0); }, 10000))
        << "the playing row did not follow";

    // "動画ファイルを削除する" on the movie playing: the player lets it go first, then the file
    // and its row go.
    ClickAt(rows.RowMiddleOnScreen(2));
    ASSERT_TRUE(ChooseFromMenu(player, dialog, rows.Window(), rows.RowMiddleInClient(2), L"", {VK_UP},
                               L"プレイリストの項目メニュー", CMD_LIST_DELETE));
    EXPECT_TRUE(WaitUntil([&] { return ::GetFileAttributesW(dropped.c_str()) == INVALID_FILE_ATTRIBUTES; }, 20000))
        << "the file was not deleted; the log ends:\n" << Log().substr(Log().size() > 3000 ? Log().size() - 3000 : 0).c_str();
    EXPECT_TRUE(WaitUntil([&] { return rows.RowCount() == static_cast<int>(savedPaths.size()) - 1; }, 5000));
    EXPECT_EQ(rows.CellText(2, 0), savedPaths.size() > 3 ? L"inner" : L"");
    const std::wstring log = Log();
    const size_t closed = log.find(L"削除のためコンテンツを閉じる"), deleted = log.find(L"動画ファイルを削除 1件");
    ASSERT_NE(closed, std::wstring::npos) << "the playing movie was not closed; the log ends:\n"
                                          << log.substr(log.size() > 3000 ? log.size() - 3000 : 0).c_str();
    EXPECT_LT(closed, deleted) << "the file was deleted before the movie let it go";
    ClosePlayer(&player);
}

TEST_F(PlayListE2eTest, InFullScreenTheListPopsUpCentredAndHidesOnceItPlays) {
    WriteSettings(kPictureSettings);
    // The first plays on while the test works: the second can only come from the dialog.
    const std::wstring first = WriteMovie(L"一.avi", MovieOf(30, 160, 120));
    const std::wstring second = WriteMovie(L"二.avi", MovieOf(4, 160, 120));
    const std::wstring list = WriteList(L"全画面.playlist", MakeTextList(Entries({first, second})).bytes);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {list});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(first) == 1; }, 20000));
    ASSERT_TRUE(PostKey(&player, VK_F4));
    ASSERT_TRUE(WaitForLog(L"フルスクリーン", 5000));
    HWND dialog = ShowDialogWithTab(&player);
    ASSERT_NE(dialog, nullptr);
    RECT rect{}, screen{};
    ::GetWindowRect(dialog, &rect);
    ::GetWindowRect(window, &screen);
    EXPECT_EQ(rect.right - rect.left, DialogPlayList_CL::kPopUpWidthPx);
    EXPECT_EQ(rect.bottom - rect.top, DialogPlayList_CL::kPopUpHeightPx);
    EXPECT_NEAR((rect.left + rect.right) / 2, (screen.left + screen.right) / 2, 2) << "not centred on the player";
    RemoteListView rows(player.ProcessId(), ListViewOf(dialog));
    ASSERT_TRUE(WaitForRows(rows, {L"一", L"二"}));
    const POINT row = rows.RowMiddleOnScreen(1);
    ASSERT_TRUE(WaitUntil([&] { return ::GetAncestor(::WindowFromPoint(row), GA_ROOT) == dialog; }, 5000))
        << "the pop-up is not over the player";
    ClickAt(row, true);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5000)) << "the pop-up stayed";
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(second) == 1; }, 20000));
    // Back to a window, the pointer out of the way, as the next test expects to find them.
    ASSERT_TRUE(PostKey(&player, VK_F4));
    ASSERT_TRUE(WaitForLog(L"ウインドウ", 5000));
    MouseTo(POINT{1, 1});
    ClosePlayer(&player);
}

}  // namespace
