#include "assoc/AssocRequest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "tests/assoc/AssocTestSupport.h"
#include "tests/support/TempFolder_CL.h"

namespace {
// The request up to its item lines.
std::string HeaderOf(const std::string& bytes) { return bytes.substr(0, bytes.find("[FILE_EXT]\r\n") + 12); }
}  // namespace

TEST(AssocRequestText, MatchesTheRequestWrittenByHandByteForByte) {
    const std::string expected =
        ReadFileBytes(TestProgramFolder() + L"\\assoc_test_data\\request_three_items.txt");
    ASSERT_FALSE(expected.empty());
    AssocRequestText request;
    // "ソ" ends in the byte 0x5C in code page 932: the path must pass through untouched.
    ASSERT_TRUE(FormatAssocRequest(L"C:\\動画ソフト\\Lumikino\\Lumikino.exe",
                                   {{L".avi", L"Lumikino"}, {L".mp4", L"WMP11.AssocFile.MP4"}, {L".mkv", L""}},
                                   &request));
    EXPECT_EQ(request.itemCount, 3);
    EXPECT_EQ(request.skippedCount, 0);
    EXPECT_EQ(request.bytes, expected);
    EXPECT_NE(request.bytes.substr(0, 3), "\xEF\xBB\xBF");
}

TEST(AssocRequestText, NoItemsStillEndsWithACountOfZero) {
    AssocRequestText request;
    ASSERT_TRUE(FormatAssocRequest(L"C:\\Lumikino\\Lumikino.exe", {}, &request));
    const std::string tail = "[FILE_EXT]\r\ncount=0\r\n";
    ASSERT_GE(request.bytes.size(), tail.size());
    EXPECT_EQ(request.bytes.substr(request.bytes.size() - tail.size()), tail);
    EXPECT_EQ(request.bytes.rfind("[APP_INFO]\r\napp=Lumikino\r\nexe=C:\\Lumikino\\Lumikino.exe\r\nicon=,0\r\n", 0), 0u);
    EXPECT_EQ(request.itemCount, 0);
}

TEST(AssocRequestText, ItemsWithNamesTheRequestCannotCarryAreLeftOutWithoutGaps) {
    AssocRequestText request;
    ASSERT_TRUE(FormatAssocRequest(L"C:\\L\\Lumikino.exe",
                                   {{L".a=b", L"X"},
                                    {L".avi", L"Old;Handler"},
                                    {L".mp4", L"Lumikino"},
                                    {L".m[1]", L""},
                                    {L".mov", L"Bad\r\nLine"},
                                    {L".ok", L"Café"},  // no exact form in code page 932
                                    {L"", L"Lumikino"},
                                    {L".mkv", L"Old\\Key"},
                                    {L".wmv", L"WMP.wmv"}},
                                   &request));
    const std::string items = request.bytes.substr(HeaderOf(request.bytes).size());
    EXPECT_EQ(items, "item0=.mp4,Lumikino\r\nitem1=.wmv,WMP.wmv\r\ncount=2\r\n");
    EXPECT_EQ(request.itemCount, 2);
    EXPECT_EQ(request.skippedCount, 7);
}

struct ExePathCase {
    std::wstring path;
    bool accepted;
};
class AssocRequestExePath : public ::testing::TestWithParam<ExePathCase> {};
TEST_P(AssocRequestExePath, OnlyAPathTheHelperReadsBackAsItIsMakesARequest) {
    AssocRequestText request;
    request.bytes = "left over";
    EXPECT_EQ(FormatAssocRequest(GetParam().path, {{L".avi", L"Lumikino"}}, &request), GetParam().accepted);
    if (!GetParam().accepted) {
        EXPECT_TRUE(request.bytes.empty());
        EXPECT_EQ(request.itemCount, 0);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Paths, AssocRequestExePath,
    ::testing::Values(ExePathCase{L"C:\\" + std::wstring(250, L'a') + L"\\x.exe", true},       // 259 characters
                      ExePathCase{L"C:\\" + std::wstring(251, L'a') + L"\\x.exe", false},      // 260
                      ExePathCase{L"C:\\" + std::wstring(240, L'動') + L"\\Lumikino.exe", true},  // 256, 2-byte
                      ExePathCase{L"", false},
                      ExePathCase{L"C:\\Café\\Lumikino.exe", false},        // é has no form in 932
                      ExePathCase{L"C:\\Ｐｌａｙｅｒ\\Lumikino.exe", true},  // full-width letters do
                      ExePathCase{L"C:\\a\u2022b\\Lumikino.exe", false},    // a best fit would be "?"
                      ExePathCase{L"C:\\a\nexe=C:\\evil.exe", false}));

struct NameCase {
    const wchar_t* name;
    bool safe;
};
class AssocRequestName : public ::testing::TestWithParam<NameCase> {};
TEST_P(AssocRequestName, ControlCharactersAndIniSyntaxAreNotSafe) {
    EXPECT_EQ(IsRequestSafeName(GetParam().name), GetParam().safe) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Names, AssocRequestName,
                         ::testing::Values(NameCase{L"", true}, NameCase{L".mp4", true},
                                           NameCase{L"WMP11.AssocFile.MP4", true}, NameCase{L"動画.再生", true},
                                           NameCase{L"a b", true}, NameCase{L"[x", false}, NameCase{L"x]", false},
                                           NameCase{L"a=b", false}, NameCase{L"a,b", false}, NameCase{L";a", false},
                                           NameCase{L"a\\b", false}, NameCase{L"a\tb", false},
                                           NameCase{L"a\x7f", false}, NameCase{L"a\x1b", false}));

TEST(AssocRequestEncoding, JapaneseRoundTripsAndForeignLettersAreRefused) {
    std::string bytes;
    ASSERT_TRUE(EncodeCodePage932(L"動画", &bytes));
    EXPECT_EQ(bytes, "\x93\xae\x89\xe6");
    EXPECT_TRUE(EncodeCodePage932(L"", &bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(EncodeCodePage932(L"\u00e9", &bytes));
    EXPECT_FALSE(EncodeCodePage932(L"\U0001F600", &bytes));
    EXPECT_FALSE(EncodeCodePage932(L"\u0107", &bytes));  // ć: best fit would give "c"
}
