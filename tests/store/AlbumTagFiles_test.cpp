// The album application's files: the current album, its tag history and a movie's tags, read
// with bounds whatever the files say, written back with "count" and no stale items.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "store/AlbumTagFiles.h"
#include "store/TagRules.h"
#include "tests/support/IniMap.h"
#include "tests/support/TempFolder_CL.h"

namespace {
using Words = std::vector<std::wstring>;

// A UTF-16 INI file as the album application keeps them; each test writes a path only once.
std::wstring Ini(const std::wstring& path, const std::wstring& text) {
    WriteFileBytes(path, Utf16File(text));
    return path;
}

std::wstring Items(int count, const std::wstring& prefix) {
    std::wstring lines;
    for (int i = 0; i < count; ++i) lines += L"item" + std::to_wstring(i) + L"=" + prefix + std::to_wstring(i) + L"\r\n";
    return lines;
}
}  // namespace

TEST(AlbumFiles, TheAlbumIsLastIndexPlusOneWhenThatHasFourDigits) {
    TempFolder_CL temp;
    EXPECT_EQ(ReadCurrentAlbumNumber(temp.Path()), 1);
    EXPECT_FALSE(FileExists(temp.Join(L"Kinoshelf.ini")));  // reading makes no file
    const struct { const wchar_t* value; int album; } cases[] = {
        {L"2", 3}, {L"9998", 9999}, {L"9999", kNoAlbum}, {L"-1", kNoAlbum}, {L"4294967296", kNoAlbum}, {L"junk", 1}};
    for (const auto& c : cases) {
        const std::wstring root = temp.Join(c.value);
        ::CreateDirectoryW(root.c_str(), nullptr);
        Ini(root + L"\\Kinoshelf.ini", std::wstring(L"[ALBUM_INFO]\r\nlast_index=") + c.value);
        EXPECT_EQ(ReadCurrentAlbumNumber(root), c.album) << c.value;
    }
    EXPECT_EQ(AlbumInfoPath(L"C:\\D\\Kinoshelf", 12), L"C:\\D\\Kinoshelf\\ALBUM_0012\\AlbumInfo.ini");
    EXPECT_EQ(AlbumInfoPath(L"C:\\D\\Kinoshelf", kNoAlbum), L"");
}

TEST(AlbumFiles, RoundTripsInUtf16KeepingOtherKeysAndMakingNothingThatIsMissing) {
    TempFolder_CL temp;
    const std::wstring history = temp.Join(L"ALBUM_0001\\AlbumInfo.ini");
    EXPECT_TRUE(ReadTagHistory(history).empty());
    EXPECT_FALSE(WriteTagHistory(history, {L"a"}));  // no album folder: none is made
    EXPECT_FALSE(FolderExists(temp.Join(L"ALBUM_0001")));
    ::CreateDirectoryW(temp.Join(L"ALBUM_0001").c_str(), nullptr);
    ASSERT_TRUE(WriteTagHistory(history, {L"旅行", L"家族の記録"}));
    EXPECT_EQ(ReadFileBytes(history).substr(0, 2), std::string("\xFF\xFE", 2));
    EXPECT_EQ(ReadTagHistory(history), (Words{L"旅行", L"家族の記録"}));

    EXPECT_FALSE(WriteMovieTags(temp.Join(L"gone.ini"), {L"a"}));  // a record is never made here
    EXPECT_FALSE(FileExists(temp.Join(L"gone.ini")));
    const std::wstring record = Ini(temp.Join(L"record.ini"), L"[MOVIE_INFO]\r\nplay_count=3\r\n");
    ASSERT_TRUE(WriteMovieTags(record, {L"アニメ", L"夏"}));
    EXPECT_EQ(ReadMovieTags(record), (Words{L"アニメ", L"夏"}));
    EXPECT_EQ((ReadIniMap(record)[{L"MOVIE_INFO", L"play_count"}]), L"3");
}

TEST(AlbumFiles, ReadingIsBoundedWhateverCountSays) {
    TempFolder_CL temp;
    Words history = ReadTagHistory(Ini(temp.Join(L"h.ini"), L"[TAG_HISTORY]\r\ncount=2147483647\r\n" + Items(150, L"h")));
    ASSERT_EQ(history.size(), kTagHistoryMax);
    EXPECT_EQ(history.back(), L"h99");
    Words tags = ReadMovieTags(Ini(temp.Join(L"t.ini"), L"[TAG_INFO]\r\ncount=2147483647\r\n" + Items(30, L"t")));
    EXPECT_EQ(tags.size(), kMovieTagMax);
    EXPECT_TRUE(ReadTagHistory(Ini(temp.Join(L"n.ini"), L"[TAG_HISTORY]\r\ncount=-1\r\n" + Items(3, L"h"))).empty());
    const std::wstring odd = L"[TAG_HISTORY]\r\ncount=4\r\nitem0=" + std::wstring(50, L'長') + L"\r\nitem1=\r\nitem3=z\r\n";
    EXPECT_EQ(ReadTagHistory(Ini(temp.Join(L"o.ini"), odd)), (Words{std::wstring(32, L'長'), L"z"}));
}

TEST(AlbumFiles, AShorterListDeletesOnlyTheItemsBehindItsEnd) {
    TempFolder_CL temp;
    const std::wstring path = Ini(temp.Join(L"AlbumInfo.ini"), L"[TAG_HISTORY]\r\ncount=5\r\n" + Items(5, L"h") +
                                                                   L"ITEM7=u\r\nitem05=p\r\n[OTHER]\r\nitem4=o\r\n");
    ASSERT_TRUE(WriteTagList(path, kSectionTagHistory, {L"x"}, false));
    const IniMap expected = {{{L"TAG_HISTORY", L"count"}, L"1"}, {{L"TAG_HISTORY", L"item0"}, L"x"},
                             {{L"TAG_HISTORY", L"item05"}, L"p"}, {{L"OTHER", L"item4"}, L"o"}};
    EXPECT_EQ(ReadIniMap(path), expected);
}
