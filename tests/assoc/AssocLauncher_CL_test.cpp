#include "assoc/AssocLauncher_CL.h"

#include <gtest/gtest.h>

#include "tests/assoc/AssocTestSupport.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
class AssocLauncherTest : public ::testing::Test {
protected:
    // No helper path: nothing is started, the request is still written.
    AssocLauncher_CL Launcher(const std::wstring& exe = L"C:\\Lumikino\\Lumikino.exe") const {
        return AssocLauncher_CL(exe, m_request, L"");
    }

    TempFolder_CL m_folder;
    std::wstring m_request = m_folder.Join(L"file_ext_info.txt");
};
}  // namespace

TEST_F(AssocLauncherTest, WritesTheRequestAndReplacesALongerOne) {
    ASSERT_TRUE(WriteFileBytes(m_request, std::string(5000, 'x')));
    ASSERT_TRUE(Launcher().WriteRequest({{L".avi", L"Lumikino"}}));
    AssocRequestText expected;
    ASSERT_TRUE(FormatAssocRequest(L"C:\\Lumikino\\Lumikino.exe", {{L".avi", L"Lumikino"}}, &expected));
    EXPECT_EQ(ReadFileBytes(m_request), expected.bytes);
}

TEST_F(AssocLauncherTest, APathTheRequestCannotCarryWritesAndStartsNothing) {
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'a') + L"\\Lumikino.exe";
    EXPECT_FALSE(Launcher(tooLong).Send({{L".avi", L"Lumikino"}}));
    EXPECT_FALSE(Launcher(L"C:\\Café\\Lumikino.exe").Send({}));
    EXPECT_FALSE(FileExists(m_request));
    // Not even an earlier request is touched.
    ASSERT_TRUE(WriteFileBytes(m_request, "earlier"));
    EXPECT_FALSE(Launcher(tooLong).Send({}));
    EXPECT_EQ(ReadFileBytes(m_request), "earlier");
}

TEST_F(AssocLauncherTest, AHelperThatCannotBeStartedIsReportedAsNotStarted) {
    AssocLauncher_CL launcher(L"C:\\Lumikino\\Lumikino.exe", m_request, m_folder.Join(L"Lumikino_FileExtChange.exe"));
    EXPECT_FALSE(launcher.StartHelper());
    EXPECT_FALSE(launcher.Send({}));
    EXPECT_TRUE(FileExists(m_request));  // the request was written before the start failed
    AssocLauncher_CL unwritable(L"C:\\Lumikino\\Lumikino.exe", m_folder.Join(L"missing\\file_ext_info.txt"), L"");
    EXPECT_FALSE(unwritable.WriteRequest({}));
}

TEST_F(AssocLauncherTest, RegisterAllNamesEveryRecordAndTheDropFileEntries) {
    const std::wstring dropIni = m_folder.Join(L"LumikinoDropFileExt.ini");
    ASSERT_TRUE(WriteFileBytes(dropIni, Utf16File(L"[DROP_EXT_INFO]\r\ncount=5\r\nitem0=.AVI\r\nitem1=.TS\r\n"
                                                  L"item2=\r\nitem3=.m2ts\r\nitem4=.ts\r\n")));
    EXPECT_EQ(ReadDropExtensionFile(dropIni), (std::vector<std::wstring>{L".avi", L".ts", L".m2ts"}));
    std::vector<LaunchExtension> records = {Record(L".avi", true, L"AVIFile"), Record(L".mp4", false, L"")};
    SendRegisterAll(Launcher(), records, dropIni);
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)),
              "item0=.avi,AVIFile\r\nitem1=.mp4,\r\nitem2=.ts,\r\nitem3=.m2ts,\r\ncount=4\r\n");
    // Without the file only the records stand in the request; the built-in drop extensions do not.
    SendRegisterAll(Launcher(), records, m_folder.Join(L"none.ini"));
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)), "item0=.avi,AVIFile\r\nitem1=.mp4,\r\ncount=2\r\n");
    EXPECT_FALSE(FileExists(m_folder.Join(L"none.ini")));
}

TEST_F(AssocLauncherTest, HandBackOnlyBeforeVersionSix) {
    std::vector<LaunchExtension> records = {Record(L".avi", true, L"AVIFile"), Record(L".mkv", true, L"")};
    EXPECT_FALSE(SendHandBack(Launcher(), records, 6));
    EXPECT_FALSE(FileExists(m_request));
    EXPECT_TRUE(records[0].associated);
    SendHandBack(Launcher(), records, 5);
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)), "item0=.avi,AVIFile\r\nitem1=.mkv,\r\ncount=2\r\n");
    EXPECT_FALSE(records[0].associated);
}

TEST_F(AssocLauncherTest, ThePlayersOwnPathsComeFromItsFolderAndTheDataFolder) {
    DocumentsRedirect_CL redirect(m_folder.Path());
    AssocLauncher_CL launcher;
    EXPECT_EQ(launcher.ExePath(), TestProgramPath());
    EXPECT_EQ(launcher.RequestPath(), m_folder.Path() + L"\\Lumikino\\file_ext_info.txt");
    EXPECT_EQ(launcher.HelperPath(), TestProgramFolder() + L"\\Lumikino_FileExtChange.exe");
}
