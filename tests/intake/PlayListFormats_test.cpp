// The play list files: the ASX and text lists written exactly as their formats lay
// them out (compared with files written out here by hand), archive entries and paths code page
// 932 cannot hold left out, text lists read back line by line with bad lines skipped, and
// both saved to and read from disk.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "intake/PlayListFiles.h"
#include "intake/PlayListFormats.h"
#include "intake/PlayList_CL.h"
#include "store/AtomicRecordWriter_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

PlayListItem Entry(const std::wstring& path, bool inArchive = false) {
    PlayListItem item;
    item.path = path;
    item.inArchive = inArchive ? 1 : 0;
    return item;
}

// UTF-16 LE bytes of a text, written out unit by unit.
std::string Utf16(const std::wstring& text) {
    std::string bytes;
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

TEST(AsxList, EntriesAreWrittenLineByLineEscapedAndArchiveEntriesLeftOut) {
    const std::vector<PlayListItem> items = {
        Entry(L"C:\\動画\\第1話.avi"),
        Entry(L"C:\\zip\\inner.mp4", true),
        Entry(L"D:\\Tom & Jerry's\\<best>.mkv"),
    };
    const std::string expected = std::string("\xFF\xFE") + Utf16(
        L"<asx version = \"3.0\" >\n"
        L"\t<entry>\n"
        L"\t\t<title>第1話.avi</title>\n"
        L"\t\t<ref href = \"C:\\動画\\第1話.avi\" />\n"
        L"\t</entry>\n"
        L"\t<entry>\n"
        L"\t\t<title>&lt;best&gt;.mkv</title>\n"
        L"\t\t<ref href = \"D:\\Tom &amp; Jerry&apos;s\\&lt;best&gt;.mkv\" />\n"
        L"\t</entry>\n"
        L"</asx>\n");
    EXPECT_EQ(MakeAsxList(items), expected);
}

TEST(AsxList, OnlyArchiveEntriesGiveTheFrameOfAnEmptyList) {
    const std::string expected = std::string("\xFF\xFE") + Utf16(L"<asx version = \"3.0\" >\n</asx>\n");
    EXPECT_EQ(MakeAsxList({Entry(L"C:\\zip\\a.avi", true)}), expected);
    EXPECT_EQ(MakeAsxList({}), expected);
}

TEST(XmlEscaping, EachSpecialCharacterOnceInOnePass) {
    EXPECT_EQ(XmlEscape(L"a\"b&c'd<e>f"), L"a&quot;b&amp;c&apos;d&lt;e&gt;f");
    EXPECT_EQ(XmlEscape(L"&amp;"), L"&amp;amp;");  // already escaped text is escaped again
    EXPECT_EQ(XmlEscape(L"動画"), L"動画");
}

TEST(TextList, PathsInCodePage932WithCrLfAndArchiveEntriesLeftOut) {
    // 動 = 93 AE, 画 = 89 E6, 表 = 95 5C (its trail byte is a backslash).
    const std::vector<PlayListItem> items = {
        Entry(L"C:\\動画\\a.avi"),
        Entry(L"C:\\zip\\b.avi", true),
        Entry(L""),
        Entry(L"D:\\表.mp4"),
    };
    const TextListBytes list = MakeTextList(items);
    EXPECT_EQ(list.bytes, std::string("C:\\\x93\xAE\x89\xE6\\a.avi\r\n"
                                      "\r\n"
                                      "D:\\\x95\x5C.mp4\r\n"));
    EXPECT_EQ(list.leftOut, 0);
    EXPECT_EQ(MakeTextList({Entry(L"C:\\zip\\b.avi", true)}).bytes, "");
}

TEST(TextList, PathsCodePage932CannotHoldAreLeftOutAndCounted) {
    // é has only a look-alike there, 한 and the emoji nothing at all.
    const std::vector<PlayListItem> items = {
        Entry(L"C:\\caf\u00e9.avi"),
        Entry(L"C:\\ok.avi"),
        Entry(L"C:\\\ud55c.avi"),
        Entry(L"C:\\\U0001F600.avi"),
    };
    const TextListBytes list = MakeTextList(items);
    EXPECT_EQ(list.bytes, "C:\\ok.avi\r\n");
    EXPECT_EQ(list.leftOut, 3);
}

TEST(TextList, ReadingGivesEveryLineAsAPathAndSkipsBadLines) {
    const std::string longLine(kTextListLineLimit + 1, 'x');
    const std::string fitting(kTextListLineLimit, 'y');
    const std::string bytes = std::string("C:\\\x93\xAE\x89\xE6\\a.avi\r\n") +  // 動画
                              "\r\n" +                                     // an empty path
                              longLine + "\r\n" +                          // too long: skipped
                              "D:\\\x95\x5C.mp4\r\n" +                     // 表
                              "E:\\bad\x81\x20.avi\r\n" +                  // no such character
                              fitting + "\r\n" +
                              "F:\\last.avi";                              // no line end
    int skipped = -1;
    const std::vector<std::wstring> paths = ParseTextList(bytes, &skipped);
    const std::vector<std::wstring> expected = {L"C:\\動画\\a.avi", L"", L"D:\\表.mp4",
                                                std::wstring(kTextListLineLimit, L'y'), L"F:\\last.avi"};
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(skipped, 2);
    EXPECT_TRUE(ParseTextList("").empty());
    EXPECT_EQ(ParseTextList("a\nb\n"), (std::vector<std::wstring>{L"a", L"b"}));  // LF alone ends a line too
}

TEST(TextList, WrittenListsReadBackTheSamePaths) {
    const std::vector<PlayListItem> items = {Entry(L"C:\\動画\\ソ表.avi"), Entry(L""), Entry(L"\\\\server\\share\\x.mkv")};
    const std::vector<std::wstring> paths = ParseTextList(MakeTextList(items).bytes);
    ASSERT_EQ(paths.size(), items.size());
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(paths[i], items[i].path);
}

}  // namespace

// ---- the files on disk ----

namespace {

TEST(PlayListFiles, ATextListSavedAndReadBackAppendsItsEntriesAfterTheOnesListed) {
    TempFolder_CL folder;
    PlayList_CL list;
    list.AppendPath(L"C:\\動画\\一.avi");
    list.Append(Entry(L"C:\\zip\\inner.avi", true));
    list.AppendPath(L"C:\\caf\u00e9.avi");
    list.AppendPath(L"D:\\二.mkv");
    const std::wstring path = folder.Join(L"list.playlist");
    int leftOut = -1;
    ASSERT_EQ(WriteTextListFile(path, list, &leftOut), S_OK);
    EXPECT_EQ(leftOut, 1);

    PlayList_CL read;
    read.AppendPath(L"E:\\already.avi");
    EXPECT_EQ(ReadTextListFile(path, read), 3u);
    ASSERT_EQ(read.Count(), 3u);
    EXPECT_EQ(read.At(1).path, L"C:\\動画\\一.avi");
    EXPECT_EQ(read.At(1).displayName, L"一");
    EXPECT_EQ(read.At(2).path, L"D:\\二.mkv");
    EXPECT_EQ(read.At(2).extension, L".mkv");
    EXPECT_TRUE(read.SeveralItems());
    EXPECT_TRUE(read.IsChanged());
}

TEST(PlayListFiles, AMissingListAppendsNothingAndASaveReplacesTheOldListWhole) {
    TempFolder_CL folder;
    PlayList_CL list;
    EXPECT_EQ(ReadTextListFile(folder.Join(L"missing.playlist"), list), 0u);
    EXPECT_FALSE(list.SeveralItems());

    const std::wstring path = folder.Join(L"list.asx");
    list.AppendPath(L"C:\\a.avi");
    list.AppendPath(L"C:\\b.avi");
    ASSERT_EQ(WriteAsxListFile(path, list), S_OK);
    PlayList_CL shorter;
    shorter.AppendPath(L"C:\\c.avi");
    ASSERT_EQ(WriteAsxListFile(path, shorter), S_OK);
    std::string bytes;
    ASSERT_EQ(AtomicRecordWriter_CL::ReadBytes(path, &bytes), S_OK);
    EXPECT_EQ(bytes, MakeAsxList(shorter.Items()));
    // A folder that does not exist: the save fails and says so.
    EXPECT_TRUE(FAILED(WriteAsxListFile(folder.Join(L"no\\such\\list.asx"), list)));
}

}  // namespace
