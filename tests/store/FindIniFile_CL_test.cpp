// The plain scan of a record folder and the bucket index built from the same enumeration.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/ContentRecordNaming.h"
#include "store/FindIniFile_CL.h"
#include "store/Inifile_CL.h"
#include "store/RecordBucketIndex_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

void WriteRecord(const std::wstring& path, int hash, const std::wstring& link) {
    Inifile_CL record(path);
    record.WriteInt(L"MOVIE_INFO", L"hash", hash);
    record.WriteString(L"MOVIE_INFO", L"link_name", link);
}

std::vector<std::wstring> Paths(const std::vector<FindIniFile_CL::Entry>& entries) {
    std::vector<std::wstring> paths;
    for (const auto& e : entries) paths.push_back(e.path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

TEST(FindIniFile, ListsIniFilesWithTheirMatchKeysSkippingTheSettingsFileAndFolders) {
    TempFolder_CL folder;
    WriteRecord(folder.Join(L"a.ini"), -5, L"D:\\動画\\a.mp4");
    ASSERT_TRUE(WriteFileBytes(folder.Join(L"empty.ini"), std::string("\xFF\xFE", 2)));
    WriteRecord(folder.Join(L"Lumikino.ini"), 1, L"settings");
    WriteRecord(folder.Join(L"lumikino.ini.txt"), 1, L"not ini");
    ::CreateDirectoryW(folder.Join(L"folder.ini").c_str(), nullptr);
    std::vector<FindIniFile_CL::Entry> entries = FindIniFile_CL::Scan(folder.Path());
    EXPECT_EQ(Paths(entries), (std::vector<std::wstring>{folder.Join(L"a.ini"), folder.Join(L"empty.ini")}));
    for (const auto& e : entries) {
        if (e.path == folder.Join(L"a.ini")) {
            EXPECT_EQ(e.hash, static_cast<uint32_t>(-5));
            EXPECT_EQ(e.linkName, L"D:\\動画\\a.mp4");
        } else {
            EXPECT_EQ(e.hash, 0u);
            EXPECT_EQ(e.linkName, L"");
        }
    }
    EXPECT_TRUE(FindIniFile_CL::Scan(folder.Join(L"missing")).empty());
}

TEST(FindIniFile, ReadingTheKeysOfAVanishedFileCreatesNothing) {
    TempFolder_CL folder;
    uint32_t hash = 1;
    std::wstring link = L"x";
    EXPECT_EQ(FindIniFile_CL::ReadMatchKeys(folder.Join(L"gone.ini"), &hash, &link), FindIniFile_CL::KeyRead::Gone);
    EXPECT_FALSE(FileExists(folder.Join(L"gone.ini")));
}

TEST(FindIniFile, ALockedRecordIsUnreadableNotEmpty) {
    TempFolder_CL folder;
    WriteRecord(folder.Join(L"locked.ini"), 7, L"movie");
    HANDLE lock = ::CreateFileW(folder.Join(L"locked.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    uint32_t hash = 0;
    std::wstring link;
    EXPECT_EQ(FindIniFile_CL::ReadMatchKeys(folder.Join(L"locked.ini"), &hash, &link),
              FindIniFile_CL::KeyRead::Unreadable);
    ::CloseHandle(lock);
    EXPECT_EQ(FindIniFile_CL::ReadMatchKeys(folder.Join(L"locked.ini"), &hash, &link), FindIniFile_CL::KeyRead::Read);
    EXPECT_EQ(hash, 7u);
    EXPECT_EQ(link, L"movie");
}

TEST(RecordBucketIndex, ARefreshReadsOnlyNewAndChangedFiles) {
    TempFolder_CL folder;
    for (int i = 0; i < 5; ++i) WriteRecord(folder.Join(LocalRecordName(3, i)), 100 + i, L"movie" + std::to_wstring(i));
    RecordBucketIndex_CL index;
    EXPECT_FALSE(index.IsEnumerated());
    EXPECT_EQ(index.Refresh(folder.Path(), 1000), 5u);
    EXPECT_EQ(index.Size(), 5u);
    EXPECT_EQ(index.Refresh(folder.Path(), 1001), 0u);

    // Another program changes one record (its size changes), adds one and removes one.
    WriteRecord(folder.Join(LocalRecordName(3, 1)), 101, L"renamed movie one");
    WriteRecord(folder.Join(LocalRecordName(3, 7)), 107, L"movie7");
    ASSERT_TRUE(::DeleteFileW(folder.Join(LocalRecordName(3, 4)).c_str()));
    EXPECT_EQ(index.Refresh(folder.Path(), 1002), 2u);
    EXPECT_EQ(index.Size(), 5u);
    EXPECT_TRUE(index.Matches(101, L"movie1").empty());
    ASSERT_EQ(index.Matches(101, L"renamed movie one").size(), 1u);
    EXPECT_EQ(index.At(index.Matches(101, L"renamed movie one")[0]).name, LocalRecordName(3, 1));
    EXPECT_EQ(index.Matches(107, L"movie7").size(), 1u);
    EXPECT_TRUE(index.Matches(104, L"movie4").empty());
    EXPECT_TRUE(index.Matches(107, L"MOVIE7").empty());  // link names compare exactly
    EXPECT_TRUE(index.Matches(108, L"movie7").empty());  // and so do hashes
}

TEST(RecordBucketIndex, AnIndexIsFreshForAMomentOnly) {
    TempFolder_CL folder;
    RecordBucketIndex_CL index;
    index.Refresh(folder.Path(), 10000);
    EXPECT_TRUE(index.IsFresh(11999, 2000));
    EXPECT_FALSE(index.IsFresh(12000, 2000));
    index.MarkStale();
    EXPECT_FALSE(index.IsFresh(10001, 2000));
}

TEST(RecordBucketIndex, FirstFreeIndexSkipsNamesTakenByFilesAndFoldersOfThisBucket) {
    TempFolder_CL folder;
    WriteRecord(folder.Join(LocalRecordName(3, 0)), 1, L"a");
    ::CreateDirectoryW(folder.Join(LocalRecordName(3, 1)).c_str(), nullptr);
    WriteRecord(folder.Join(L"CONTENTS003-00002.INI"), 1, L"b");
    WriteRecord(folder.Join(LocalRecordName(4, 3)), 1, L"another bucket's name");
    RecordBucketIndex_CL index;
    index.Refresh(folder.Path(), 0);
    EXPECT_EQ(index.FirstFreeIndex(3, 0, kRecordIndexCount), 3);
    EXPECT_EQ(index.FirstFreeIndex(3, 4, kRecordIndexCount), 4);
    EXPECT_EQ(index.FirstFreeIndex(3, 0, 3), -1);
    EXPECT_EQ(index.FirstFreeIndex(3, kRecordIndexCount, kRecordIndexCount), -1);
}
