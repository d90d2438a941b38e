#include "app/OpenFileFilter.h"

#include <gtest/gtest.h>

namespace {

// Splits a double-NUL-terminated filter into its parts.
std::vector<std::wstring> Parts(const std::wstring& filter) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start < filter.size()) {
        size_t end = filter.find(L'\0', start);
        if (end == std::wstring::npos || end == start) break;
        parts.push_back(filter.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

TEST(OpenFileFilterTest, MovieExtensionsComeFirstThenAllFilesAndTheWholeEndsWithTwoNuls) {
    std::wstring filter = OpenFileFilter({L".avi", L"mp4", L".MKV"});
    ASSERT_GE(filter.size(), 2u);
    EXPECT_EQ(filter[filter.size() - 1], L'\0');
    EXPECT_EQ(filter[filter.size() - 2], L'\0');
    std::vector<std::wstring> parts = Parts(filter);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0], L"動画ファイル");
    EXPECT_EQ(parts[1], L"*.avi;*.mp4;*.MKV");
    EXPECT_EQ(parts[2], L"すべてのファイル (*.*)");
    EXPECT_EQ(parts[3], L"*.*");
}

TEST(OpenFileFilterTest, BrokenExtensionsAreLeftOutAndNoneLeavesOnlyAllFiles) {
    std::vector<std::wstring> parts = Parts(OpenFileFilter({L"", L".", L"a;b", L"*", L".ts"}));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[1], L"*.ts");

    parts = Parts(OpenFileFilter({L"", L"x y"}));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], L"すべてのファイル (*.*)");
}

TEST(OpenFileFilterTest, TheFolderOfAChosenFileKeepsADriveRoot) {
    EXPECT_EQ(FolderOfChosenFile(L"C:\\movies\\a b.avi"), L"C:\\movies");
    EXPECT_EQ(FolderOfChosenFile(L"C:\\a.avi"), L"C:\\");
    EXPECT_EQ(FolderOfChosenFile(L"\\\\server\\share\\a.avi"), L"\\\\server\\share");
    EXPECT_EQ(FolderOfChosenFile(L"a.avi"), L"");
}

}  // namespace
