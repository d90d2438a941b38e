// The version file's rules: reading a body, ordering versions, the notice text, which
// addresses may be opened, and which Content-Length values allow a body at all.

#include <gtest/gtest.h>

#include <string>

#include "update/InetHttp_CL.h"
#include "update/UpdateTexts.h"
#include "update/VersionFile.h"

namespace {
struct BodyCase {
    std::string body;
    const wchar_t* version;
    const wchar_t* address;
    bool hasAddress;
};

class VersionBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(VersionBody, GivesVersionAndAddress) {
    const BodyCase& c = GetParam();
    VersionFile file = ParseVersionFile(c.body);
    EXPECT_EQ(file.version, c.version);
    EXPECT_EQ(file.address, c.address);
    EXPECT_EQ(file.hasAddress, c.hasAddress);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, VersionBody,
    ::testing::Values(
        BodyCase{"1.3.2.0\r\nhttp://a.jp/dl\r\n", L"1.3.2.0", L"http://a.jp/dl", true},
        BodyCase{"1.3.2\r\n\r\nhttp://a.jp/\r\n", L"1.3.2", L"http://a.jp/", true},  // line end not in the version
        BodyCase{"1.3.10abc\r\nhttp://x\r\n", L"1.3.10a", L"\r\nhttp://x", true},   // at most 7 bytes
        BodyCase{std::string("1.3\0.9\0\r\nhttp://x\r\n", 19), L"1.3", L"http://x", true},  // NUL ends it
        BodyCase{"<html><body>404</body></html>\r\n", L"0.0.0.0", L"dy>404</body></html>", true},
        BodyCase{"<", L"0.0.0.0", L"", false},
        BodyCase{"", L"", L"", false},
        BodyCase{"1.3", L"1.3", L"", false},
        BodyCase{"1.3.2.0\r\nab", L"1.3.2.0", L"", true},         // 11 bytes: an empty address
        BodyCase{"1.3.2.0\r\na", L"1.3.2.0", L"", false},          // 10 bytes: none
        BodyCase{"1.3.2.0\r\nabc", L"1.3.2.0", L"a", true},
        BodyCase{"9.9.9.9\r\n\xe3\x81\x82\r\n", L"9.9.9.9", L"\u00e3\u0081\u0082", true}));  // bytes, not UTF-8
}  // namespace

TEST(VersionOrder, ComparesAsPlainStringsByCodeValue) {
    EXPECT_TRUE(IsOlderVersion(L"1.3.1", L"1.3.2"));
    EXPECT_FALSE(IsOlderVersion(L"1.3.2", L"1.3.1"));
    EXPECT_FALSE(IsOlderVersion(L"1.3.1", L"1.3.1"));
    EXPECT_TRUE(IsOlderVersion(L"1.3.10", L"1.3.9"));   // string order, not numeric
    EXPECT_TRUE(IsOlderVersion(L"1.3.1", L"1.3.1.0"));  // a proper prefix is smaller
    EXPECT_FALSE(IsOlderVersion(L"1.3.1.0", L"1.3.1"));
    EXPECT_TRUE(IsOlderVersion(L"", L"0"));
    EXPECT_TRUE(IsOlderVersion(L"0.0.0.0", L"1.3.1"));
    EXPECT_FALSE(IsOlderVersion(L"1.3.1", L"0.0.0.0"));  // an error page is never newer
}

TEST(VersionNotice, TextIsExact) {
    EXPECT_EQ(MakeNoticeText(L"1.3.2", L"1.3.1"),
              L"最新のバージョン1.3.2が公開されています。\r\nサイトへ移動しますか？\r\n\r\n"
              L"　（現在インストールされているバージョンは1.3.1です。）\r\n");
}

namespace {
struct AddressCase {
    const wchar_t* address;
    bool openable;
};
class OpenableAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(OpenableAddress, OnlyPlainWebAddresses) {
    EXPECT_EQ(IsOpenableAddress(GetParam().address), GetParam().openable) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, OpenableAddress,
    ::testing::Values(AddressCase{L"http://update.lumikino.jp/", true},
                      AddressCase{L"https://update.lumikino.jp/dl?v=1.3.2&x=%20", true},
                      AddressCase{L"HTTP://UPDATE.LUMIKINO.JP/", true},
                      AddressCase{L"http://", false}, AddressCase{L"https:///etc", false},
                      AddressCase{L"file:///C:/Windows/System32/calc.exe", false},
                      AddressCase{L"C:\\Windows\\System32\\calc.exe", false},
                      AddressCase{L"\\\\server\\share\\setup.exe", false},
                      AddressCase{L"calc.exe", false}, AddressCase{L"javascript:alert(1)", false},
                      AddressCase{L"ftp://x.jp/", false}, AddressCase{L" http://x.jp/", false},
                      AddressCase{L"http://x.jp/a b", false}, AddressCase{L"http://x.jp/\r\n", false},
                      AddressCase{L"http://x.jp/\t", false}, AddressCase{L"http://x.jp/\x7f", false},
                      AddressCase{L"http://x.jp/\u00a0", false}, AddressCase{L"http://x.jp/\u3000", false},
                      AddressCase{L"", false}));

struct LengthCase {
    const wchar_t* header;
    uint32_t accepted;
};
class ContentLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ContentLength, AllowsOnlyOneByteTo64KiB) {
    EXPECT_EQ(InetHttp_CL::AcceptedBodyLength(GetParam().header), GetParam().accepted) << GetParam().header;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ContentLength,
    ::testing::Values(LengthCase{L"20", 20}, LengthCase{L" 20 ", 20}, LengthCase{L"1", 1},
                      LengthCase{L"65536", 65536}, LengthCase{L"65537", 0}, LengthCase{L"0", 0},
                      LengthCase{L"", 0}, LengthCase{L"-5", 0}, LengthCase{L"+5", 0},
                      LengthCase{L"4294967295", 0}, LengthCase{L"4294967316", 0},
                      LengthCase{L"1000000000000", 0}, LengthCase{L"99999999999999999999999999", 0},
                      LengthCase{L"12abc", 0}, LengthCase{L"0x10", 0}, LengthCase{L"1 2", 0}));
}  // namespace
