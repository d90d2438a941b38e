// Play lists on the real player: a text list given on the command line and an ASX list
// dropped on the window play their entries in order, one after the other.

#include <windows.h>

#include <string>
#include <vector>

#include "intake/PlayListFormats.h"
#include "store/AtomicRecordWriter_CL.h"
#include "tests/e2e/MovieFixture.h"

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
};

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

}  // namespace
