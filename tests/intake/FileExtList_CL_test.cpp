// The drop-extension list: reading the file, its damaged forms, and the copy that ships.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "intake/FileExtList_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

const std::vector<std::wstring> kBuiltIns = {L".flv", L".rm", L".vob", L".iso"};

std::vector<std::wstring> Joined(std::vector<std::wstring> head, const std::vector<std::wstring>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(FileExtList, MissingFileHoldsOnlyTheBuiltInExtensions) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"LumikinoDropFileExt.ini");
    FileExtList_CL list(path);
    EXPECT_EQ(list.Extensions(), kBuiltIns);
    EXPECT_FALSE(FileExists(path));  // reading never creates the file
    EXPECT_TRUE(list.Contains(L".FLV"));
    EXPECT_FALSE(list.Contains(L".mp4"));
    EXPECT_FALSE(list.Contains(L""));
}

TEST(FileExtList, ReadsEntriesInKeyOrderLoweredWithoutEmptiesOrDuplicates) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"ext.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[DROP_EXT_INFO]\r\ncount=9\r\n"
                                               L"item0=.MP4\r\n"
                                               L"item1=\r\n"          // empty: skipped
                                               L"item2=.avi\r\n"
                                               L"item3=.Mp4\r\n"      // same as item0 once lowered
                                               L"item4=.VOB\r\n"      // a built-in named by the file
                                               L"item6=.mkv\r\n"      // item5 missing: skipped
                                               L"item8=.ＭＯＶ\r\n"
                                               L"item9=.wmv\r\n")));  // beyond count: not read
    FileExtList_CL list(path);
    EXPECT_EQ(list.Extensions(),
              Joined({L".mp4", L".avi", L".vob", L".mkv", L".ｍｏｖ"}, {L".flv", L".rm", L".iso"}));
    EXPECT_TRUE(list.Contains(L".MKV"));
    EXPECT_FALSE(list.Contains(L".wmv"));
    EXPECT_FALSE(list.Contains(L"mp4"));  // entries carry their dot
}

TEST(FileExtList, DamagedCountsReadNothingFromTheFile) {
    TempFolder_CL folder;
    for (const wchar_t* count : {L"0", L"-3", L"abc", L""}) {
        const std::wstring path = folder.Join(L"ext.ini");
        ASSERT_TRUE(WriteFileBytes(path, Utf16File(std::wstring(L"[DROP_EXT_INFO]\r\ncount=") + count +
                                                   L"\r\nitem0=.mp4\r\n")));
        EXPECT_EQ(FileExtList_CL(path).Extensions(), kBuiltIns) << count;
    }
}

TEST(FileExtList, ReadsASingleByteFileToo) {
    // A user may save the file from a plain editor; the profile functions still read it.
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"ext.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[DROP_EXT_INFO]\r\ncount=2\r\nitem0=.TS\r\nitem1=.rm\r\n"));
    EXPECT_EQ(FileExtList_CL(path).Extensions(), Joined({L".ts", L".rm"}, {L".flv", L".vob", L".iso"}));
}

TEST(FileExtList, TheShippedListLiesBesideTheProgram) {
    const std::wstring path = FileExtList_CL::DefaultIniPath();
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(FileExists(path)) << "the build copies LumikinoDropFileExt.ini beside the programs";
    const std::string bytes = ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));  // UTF-16 LE like every INI file

    FileExtList_CL list;
    for (const wchar_t* movie : {L".mp4", L".avi", L".mkv", L".wmv", L".mpg", L".mov", L".ts", L".mp3",
                                 L".wav", L".m4a"}) {
        EXPECT_TRUE(list.Contains(movie)) << movie;
    }
    // Play lists and archives are never movies.
    for (const wchar_t* other : {L".asx", L".wvx", L".wax", L".playlist", L".zip", L".ini", L""}) {
        EXPECT_FALSE(list.Contains(other)) << other;
    }
    // The built-in entries appear once each, after the file's.
    const std::vector<std::wstring>& all = list.Extensions();
    for (const std::wstring& builtIn : kBuiltIns) {
        EXPECT_EQ(std::count(all.begin(), all.end(), builtIn), 1) << builtIn;
    }
    EXPECT_GT(all.size(), kBuiltIns.size() + 10);
}

}  // namespace
