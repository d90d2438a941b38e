// The play history's file: PATH values as the file holds them (the "|dS|" form, the older
// plain form, hand-edited digits), the list's order after plays, and all 100 slots written.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "store/Inifile_CL.h"
#include "store/PlayHistory.h"
#include "tests/support/TempFolder_CL.h"

namespace {

HistorySlot Played(const std::wstring& path) {
    HistorySlot slot;
    slot.path = path;
    return slot;
}

TEST(PlayHistory, PathValuesReadAsTheFileHoldsThem) {
    const struct {
        const wchar_t* value;
        const wchar_t* path;
        int folder, stars;
        bool prefixed;
    } cases[] = {
        {L"|03|D:\\v\\a.mp4", L"D:\\v\\a.mp4", 0, 3, true},
        {L"|10|D:\\v\\season", L"D:\\v\\season", 1, 0, true},
        {L"|05|\\\\server\\share\\b.avi", L"\\\\server\\share\\b.avi", 0, 5, true},
        {L"D:\\old\\form.mkv", L"D:\\old\\form.mkv", 0, 0, false},         // older plain form
        {L"|97|D:\\v\\edited.mp4", L"D:\\v\\edited.mp4", 0, 0, true},       // digits out of range read 0
        {L"|x-|D:\\v\\letters.mp4", L"D:\\v\\letters.mp4", 0, 0, true},
        {L"||D:\\v\\short.mp4", L"D:\\v\\short.mp4", 0, 0, true},            // last bar at 1: no digits
        {L"|13|D:\\a|b.mp4", L"b.mp4", 1, 3, true},                          // the last bar ends the prefix
    };
    for (const auto& c : cases) {
        const HistorySlot slot = ParseHistoryPath(c.value);
        EXPECT_EQ(slot.path, c.path) << std::wstring(c.value).size();
        EXPECT_EQ(slot.folder, c.folder);
        EXPECT_EQ(slot.stars, c.stars);
        EXPECT_EQ(slot.prefixed, c.prefixed);
    }
    EXPECT_EQ(FormatHistoryPath(L"D:\\v\\a.mp4", 0, 3), L"|03|D:\\v\\a.mp4");
    EXPECT_EQ(FormatHistoryPath(L"D:\\v", 1, 0), L"|10|D:\\v");
    EXPECT_EQ(FormatHistoryPath(L"D:\\v\\a.mp4", 0, 9), L"|00|D:\\v\\a.mp4");
}

TEST(PlayHistory, APlayComesFirstOnceAndTheHundredAndFirstDropsTheOldest) {
    std::vector<HistorySlot> list;
    for (int i = 0; i < 101; ++i) AddToHistory(list, Played(L"D:\\m" + std::to_wstring(i) + L".mp4"));
    ASSERT_EQ(list.size(), 100u);
    EXPECT_EQ(list.front().path, L"D:\\m100.mp4");
    EXPECT_EQ(list.back().path, L"D:\\m1.mp4");  // m0 went
    AddToHistory(list, Played(L"D:\\m50.mp4"));
    EXPECT_EQ(list.size(), 100u);
    EXPECT_EQ(list.front().path, L"D:\\m50.mp4");
    EXPECT_EQ(list[1].path, L"D:\\m100.mp4");
    AddToHistory(list, Played(L"D:\\M50.mp4"));  // another case is another path
    EXPECT_EQ(list[1].path, L"D:\\m50.mp4");
    AddToHistory(list, Played(L""));
    EXPECT_EQ(list.front().path, L"D:\\M50.mp4");
}

TEST(PlayHistory, TheFileHoldsAllHundredSlotsInOrderInUtf16) {
    TempFolder_CL folder;
    Inifile_CL file;
    file.Open(folder.Join(L"LumikinoHistory.ini"));
    std::vector<HistorySlot> list = {{L"D:\\v\\a.mp4", L"夜のニュース", 0, 3}, {L"D:\\v\\season", L"season", 1, 0}};
    ASSERT_TRUE(WriteHistory(file, list));
    const std::string bytes = ReadFileBytes(folder.Join(L"LumikinoHistory.ini"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    // Sections item0 ... item99 in order, written by hand from the format.
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    size_t at = 0;
    for (int i = 0; i < 100; ++i) {
        const size_t found = text.find(L"[item" + std::to_wstring(i) + L"]", at);
        ASSERT_NE(found, std::wstring::npos) << i;
        at = found + 1;
    }
    const struct {
        int slot;
        const wchar_t* path;
        const wchar_t* name;
    } expected[] = {{0, L"|03|D:\\v\\a.mp4", L"夜のニュース"}, {1, L"|10|D:\\v\\season", L"season"}, {2, L"", L""}, {99, L"", L""}};
    for (const auto& e : expected) {
        EXPECT_EQ(file.GetString(HistorySection(e.slot), L"PATH", L"-"), e.path);
        EXPECT_EQ(file.GetString(HistorySection(e.slot), L"NAME", L"-"), e.name);
    }
    const std::vector<HistorySlot> read = ReadHistory(file);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, L"夜のニュース");
    EXPECT_EQ(read[0].stars, 3);
    EXPECT_EQ(read[1].folder, 1);

    // Recording switched off with "Yes": every PATH empty, the names stay.
    EraseHistoryPaths(file);
    EXPECT_TRUE(ReadHistory(file).empty());
    EXPECT_EQ(file.GetString(HistorySection(0), L"NAME", L"-"), L"夜のニュース");
}

TEST(PlayHistory, GapsDoNotEndTheScanAndAnOldPlainPathIgnoresItsName) {
    TempFolder_CL folder;
    Inifile_CL file;
    file.Open(folder.Join(L"LumikinoHistory.ini"));
    file.WriteString(L"item3", L"PATH", L"D:\\old.avi");
    file.WriteString(L"item3", L"NAME", L"ignored");
    file.WriteString(L"item97", L"PATH", L"|02|D:\\new.avi");
    const std::vector<HistorySlot> read = ReadHistory(file);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].path, L"D:\\old.avi");
    EXPECT_TRUE(read[0].name.empty());
    EXPECT_EQ(read[1].path, L"D:\\new.avi");
    EXPECT_EQ(read[1].stars, 2);
}

}  // namespace

TEST(PlayHistory, ALineBreakInANameCannotSpillIntoAnotherKey) {
    TempFolder_CL folder;
    Inifile_CL file;
    file.Open(folder.Join(L"LumikinoHistory.ini"));
    std::vector<HistorySlot> list = {{L"D:\\a.mp4", L"題名\r\nPATH=C:\\evil.exe", 0, 0}, {L"D:\\b.mp4", L"b", 0, 0}};
    ASSERT_TRUE(WriteHistory(file, list));
    EXPECT_EQ(file.GetString(L"item0", L"PATH", L"-"), L"|00|D:\\a.mp4");
    EXPECT_EQ(file.GetString(L"item0", L"NAME", L"-"), L"題名  PATH=C:\\evil.exe");
    EXPECT_EQ(file.GetString(L"item1", L"PATH", L"-"), L"|00|D:\\b.mp4");
    // A second write replaces the file whole: the profile functions see the new slots.
    ASSERT_TRUE(WriteHistory(file, {list[1]}));
    EXPECT_EQ(file.GetString(L"item0", L"PATH", L"-"), L"|00|D:\\b.mp4");
    EXPECT_EQ(file.GetString(L"item1", L"PATH", L"-"), L"");
}
