#include <gtest/gtest.h>

#include "base/DataFolder_CL.h"

struct PathCase {
    const wchar_t* path;
    bool absolute;
};
class AbsolutePathRule : public ::testing::TestWithParam<PathCase> {};

TEST_P(AbsolutePathRule, OnlyDriveAndUncPathsCount) {
    EXPECT_EQ(DataFolder_CL::IsAbsolutePath(GetParam().path), GetParam().absolute) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, AbsolutePathRule,
                         ::testing::Values(PathCase{L"C:\\users\\a\\Documents", true}, PathCase{L"d:/x", true},
                                           PathCase{L"\\\\server\\share", true}, PathCase{L"", false},
                                           PathCase{L"\\Lumikino\\zip", false}, PathCase{L"C:", false},
                                           PathCase{L"C:relative", false}, PathCase{L"\\\\\\x", false},
                                           PathCase{L"1:\\x", false}, PathCase{L"Documents", false}));

TEST(DataFolder, PathsHangBelowTheDocumentsFolder) {
    std::wstring documents = DataFolder_CL::DocumentsFolder();
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(DataFolder_CL::Root(), documents + L"\\Lumikino");
    EXPECT_EQ(DataFolder_CL::SettingsIniPath(), documents + L"\\Lumikino\\Lumikino.ini");
    EXPECT_EQ(DataFolder_CL::HistoryIniPath(), documents + L"\\Lumikino\\LumikinoHistory.ini");
    EXPECT_EQ(DataFolder_CL::LogPath(), documents + L"\\Lumikino\\log.txt");
    EXPECT_EQ(DataFolder_CL::ZipFolder(), documents + L"\\Lumikino\\zip");
}
