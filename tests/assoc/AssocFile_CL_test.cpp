#include "assoc/helper/AssocFile_CL.h"

#include <gtest/gtest.h>

#include "tests/assoc/AssocTestSupport.h"
#include "tests/support/TempFolder_CL.h"

namespace {
class AssocFileLoad : public ::testing::Test {
protected:
    // Loads the request bytes as the helper in the test program's folder would.
    bool Load(const std::string& bytes) {
        EXPECT_TRUE(WriteFileBytes(m_request, bytes));
        return m_assoc.Load();
    }

    TempFolder_CL m_folder;
    std::wstring m_request = m_folder.Join(L"file_ext_info.txt");
    AssocFile_CL m_assoc{m_request, TestProgramFolder()};
};
}  // namespace

TEST_F(AssocFileLoad, RefusedItemsAreLeftOutAndEmptyOnesDoNotEndTheLoop) {
    ASSERT_TRUE(Load(HandWrittenRequest(L"Lumikino", TestProgramPath(),
                                        {L".avi,Lumikino", L"", L".exe,Lumikino", L"exefile\\shell\\open\\command",
                                         L".mp4", L".bat,", L".lkassoctest1,Old.Handler", L".x\\y,Lumikino",
                                         L"mkv,Lumikino", L".mov,Bad\\Handler", L".wmv,"})))
        << m_assoc.Problem();
    EXPECT_EQ(m_assoc.Request().items,
              (std::vector<AssocItem>{{L".avi", L"Lumikino"}, {L".lkassoctest1", L"Old.Handler"}, {L".wmv", L""}}));
    EXPECT_EQ(m_assoc.Request().refusedItems, 7);
}

TEST_F(AssocFileLoad, CountIsBoundedAndMissingItemsReadAsEmpty) {
    ASSERT_TRUE(Load(HandWrittenRequest(L"Lumikino", TestProgramPath(), {L".avi,Lumikino"}, L",0", 5)));
    EXPECT_EQ(m_assoc.Request().items.size(), 1u);
    ASSERT_TRUE(WriteFileBytes(m_request, AsciiBytes(L"[APP_INFO]\r\napp=Lumikino\r\nexe=" + TestProgramPath() +
                                                     L"\r\n[FILE_EXT]\r\nitem0=.avi,Lumikino\r\ncount=-3\r\n")));
    ASSERT_TRUE(m_assoc.Load());
    EXPECT_TRUE(m_assoc.Request().items.empty());
}

struct RefusalCase {
    const char* name;
    std::wstring app;
    std::wstring exe;
    std::wstring icon;
};
class AssocFileRefusal : public AssocFileLoad, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(AssocFileRefusal, ARequestThatDoesNotNameThisPlayerBesideTheHelperIsNotUsed) {
    EXPECT_FALSE(Load(HandWrittenRequest(GetParam().app, GetParam().exe, {L".avi,Lumikino"}, GetParam().icon)));
    EXPECT_FALSE(m_assoc.Problem().empty());
    EXPECT_TRUE(m_assoc.Request().items.empty());
    EXPECT_FALSE(m_assoc.Run(6));
    EXPECT_FALSE(m_assoc.Run(5));
}
INSTANTIATE_TEST_SUITE_P(
    Requests, AssocFileRefusal,
    ::testing::Values(RefusalCase{"OtherApplication", L"exefile", TestProgramPath(), L",0"},
                      RefusalCase{"ApplicationWithSubKey", L"Lumikino\\Shell", TestProgramPath(), L",0"},
                      RefusalCase{"ApplicationInOtherCase", L"lumikino", TestProgramPath(), L",0"},
                      RefusalCase{"EmptyApplication", L"", TestProgramPath(), L",0"},
                      RefusalCase{"PlayerOutsideTheFolder", L"Lumikino", L"C:\\windows\\system32\\cmd.exe", L",0"},
                      RefusalCase{"PlayerMissing", L"Lumikino", TestProgramFolder() + L"\\NoSuchPlayer.exe", L",0"},
                      RefusalCase{"PlayerIsAFolder", L"Lumikino", TestProgramFolder() + L"\\assoc_test_data", L",0"},
                      RefusalCase{"PlayerRelative", L"Lumikino", L"assoc_tests.exe", L",0"},
                      RefusalCase{"PlayerDottedOut", L"Lumikino",
                                  TestProgramFolder() + L"\\assoc_test_data\\..\\..\\" +
                                      TestProgramPath().substr(TestProgramPath().find_last_of(L'\\') + 1),
                                  L",0"},
                      RefusalCase{"IconNotAnIndex", L"Lumikino", TestProgramPath(), L",0 /evil"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(AssocFileLoad, AMissingOrEmptyRequestIsNotUsed) {
    EXPECT_FALSE(m_assoc.Load());
    EXPECT_FALSE(m_assoc.Run(6));
    EXPECT_FALSE(Load(std::string()));
    AssocFile_CL noPath(L"", TestProgramFolder());
    EXPECT_FALSE(noPath.Load());
}

TEST_F(AssocFileLoad, ThePlayerPathIsTakenInItsFullForm) {
    // A path through "." and ".." that ends in the helper's folder is the player beside it.
    const std::wstring name = TestProgramPath().substr(TestProgramPath().find_last_of(L'\\') + 1);
    const std::wstring dotted = TestProgramFolder() + L"\\.\\assoc_test_data\\..\\" + name;
    ASSERT_TRUE(Load(HandWrittenRequest(L"Lumikino", dotted, {}))) << m_assoc.Problem();
    EXPECT_TRUE(::CompareStringOrdinal(m_assoc.Request().exe.c_str(), -1, TestProgramPath().c_str(), -1, TRUE) ==
                CSTR_EQUAL);
}
