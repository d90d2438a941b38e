// INI access: creation with the byte-order mark, the value encodings and bad files.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "store/Inifile_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
const std::string kBom("\xFF\xFE", 2);
}

TEST(Inifile, OpenCreatesAMissingFileHoldingOnlyTheByteOrderMark) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"new.ini"));
    EXPECT_EQ(ReadFileBytes(folder.Join(L"new.ini")), kBom);
    EXPECT_EQ(ini.GetInt(L"S", L"missing", 42), 42);
    EXPECT_EQ(ini.GetString(L"S", L"missing", L"既定"), L"既定");
    EXPECT_EQ(ReadFileBytes(folder.Join(L"new.ini")), kBom);  // reading writes nothing
}

TEST(Inifile, AnExistingFileIsNeverTruncated) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"locked.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[A]\r\nkey=1\r\n"));
    {
        // Another program holds it open without sharing: creation must not replace it.
        HANDLE locked = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(locked, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(Inifile_CL::CreateIfMissing(path));
        ::CloseHandle(locked);
    }
    EXPECT_FALSE(Inifile_CL::CreateIfMissing(path));
    EXPECT_EQ(ReadFileBytes(path), "[A]\r\nkey=1\r\n");
    // A single-byte file stays single-byte and is readable.
    Inifile_CL ini(path);
    EXPECT_EQ(ini.GetInt(L"A", L"key", 0), 1);
}

TEST(Inifile, JapaneseTextAndIntegersRoundTrip) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"日本語.ini"));
    ini.WriteString(L"MOVIE_INFO", L"title", L"となりの映画　第１話");
    ini.WriteInt(L"MOVIE", L"volume", -17);
    ini.WriteInt(L"MOVIE", L"max", 2147483647);
    ini.WriteInt(L"MOVIE", L"min", -2147483647 - 1);
    Inifile_CL again(folder.Join(L"日本語.ini"));
    EXPECT_EQ(again.GetString(L"MOVIE_INFO", L"title", L""), L"となりの映画　第１話");
    EXPECT_EQ(again.GetInt(L"MOVIE", L"volume", 0), -17);
    EXPECT_EQ(again.GetInt(L"MOVIE", L"max", 0), 2147483647);
    EXPECT_EQ(again.GetInt(L"MOVIE", L"min", 0), -2147483647 - 1);
    std::string bytes = ReadFileBytes(folder.Join(L"日本語.ini"));
    EXPECT_EQ(bytes.substr(0, 2), kBom);  // still UTF-16 after writes
}

TEST(Inifile, IntegerTextIsReadByItsLeadingDigits) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"a.ini"));
    ini.WriteString(L"S", L"digits", L"12abc");
    ini.WriteString(L"S", L"word", L"abc");
    EXPECT_EQ(ini.GetInt(L"S", L"digits", 5), 12);
    EXPECT_EQ(ini.GetInt(L"S", L"word", 5), 0);
}

TEST(Inifile, LongStringsAreCutAtTheBufferSize) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"a.ini"));
    ini.WriteString(L"S", L"long", std::wstring(10000, L'長'));
    std::wstring read = ini.GetString(L"S", L"long", L"");
    EXPECT_LT(read.size(), static_cast<size_t>(Inifile_CL::kStringUnits));
    EXPECT_GE(read.size(), static_cast<size_t>(Inifile_CL::kStringUnits) - 2);
}

TEST(Inifile, UnboundFileReadsDefaultsAndWritesNothing) {
    Inifile_CL unbound;
    EXPECT_FALSE(unbound.IsBound());
    unbound.WriteString(L"S", L"k", L"v");
    unbound.WriteInt(L"S", L"k", 1);
    EXPECT_EQ(unbound.GetString(L"S", L"k", L"d"), L"d");
    EXPECT_EQ(unbound.GetInt(L"S", L"k", 7), 7);
    EXPECT_EQ(unbound.GetHex64(L"S", L"k", -1), -1);
    RECT r{};
    EXPECT_FALSE(unbound.WriteStruct(L"S", L"k", &r, sizeof(r)));
}

struct Hex64Case {
    int64_t value;
    const wchar_t* text;
};
class Hex64Encoding : public ::testing::TestWithParam<Hex64Case> {};

TEST_P(Hex64Encoding, WritesHighWordColonLowWordAndReadsBack) {
    EXPECT_EQ(Inifile_CL::FormatHex64(GetParam().value), GetParam().text);
    EXPECT_EQ(Inifile_CL::ParseHex64(GetParam().text, 12345), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Hex64Encoding,
    ::testing::Values(Hex64Case{0, L"00000000:00000000"}, Hex64Case{0x123456789LL, L"00000001:23456789"},
                      Hex64Case{-1, L"ffffffff:ffffffff"},
                      Hex64Case{INT64_MAX, L"7fffffff:ffffffff"},
                      Hex64Case{INT64_MIN, L"80000000:00000000"},
                      Hex64Case{0xFFFFFFFFLL, L"00000000:ffffffff"},
                      Hex64Case{0x100000000LL, L"00000001:00000000"}));

TEST(Hex64Encoding, OddTextsReadAsTheParseRulesSay) {
    EXPECT_EQ(Inifile_CL::ParseHex64(L"", 77), 77);
    EXPECT_EQ(Inifile_CL::ParseHex64(L"0000000a", 77), 77);           // no low group
    EXPECT_EQ(Inifile_CL::ParseHex64(L"0000000A:0000000B", 0), (0xALL << 32) | 0xB);  // upper case
    EXPECT_EQ(Inifile_CL::ParseHex64(L"zzzzzzzz:00000010", 0), 0x10);  // unparsable group reads 0
    EXPECT_EQ(Inifile_CL::ParseHex64(L"00000001-00000002", 0), (1LL << 32) | 2);  // any separator
    EXPECT_EQ(Inifile_CL::ParseHex64(L"00000001:00000002ffff", 0), (1LL << 32) | 2);  // at most 8 digits
    EXPECT_EQ(Inifile_CL::ParseHex64(L"12g45678:1", 0), (0x12LL << 32) | 1);  // stops at a non-hex
}

TEST(Hex64Encoding, RoundTripThroughAFile) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"h.ini"));
    ini.WriteHex64(L"MOVIE_INFO", L"last_play_frame", 0x123456789LL);
    EXPECT_EQ(ini.GetString(L"MOVIE_INFO", L"last_play_frame", L""), L"00000001:23456789");
    EXPECT_EQ(ini.GetHex64(L"MOVIE_INFO", L"last_play_frame", 0), 0x123456789LL);
    EXPECT_EQ(ini.GetHex64(L"MOVIE_INFO", L"missing", -1), -1);
}

TEST(Inifile, StructsRoundTripAndDamagedOnesFail) {
    TempFolder_CL folder;
    Inifile_CL ini(folder.Join(L"s.ini"));
    RECT written{-10, 20, 630, 500};
    ASSERT_TRUE(ini.WriteStruct(L"WINDOW", L"rect", &written, sizeof(written)));
    RECT read{};
    ASSERT_TRUE(ini.GetStruct(L"WINDOW", L"rect", &read, sizeof(read)));
    EXPECT_EQ(std::memcmp(&read, &written, sizeof(RECT)), 0);
    std::wstring text = ini.GetString(L"WINDOW", L"rect", L"");
    ASSERT_FALSE(text.empty());
    text[3] = text[3] == L'0' ? L'1' : L'0';  // checksum no longer matches
    ini.WriteString(L"WINDOW", L"rect", text);
    EXPECT_FALSE(ini.GetStruct(L"WINDOW", L"rect", &read, sizeof(read)));
    EXPECT_FALSE(ini.GetStruct(L"WINDOW", L"missing", &read, sizeof(read)));
}

TEST(Inifile, IndexedKeysRunStemAndIndexTogether) {
    EXPECT_EQ(MakeIndexedKey(L"thumb_time", 0), L"thumb_time0");
    EXPECT_EQ(MakeIndexedKey(L"thumb_time", 15), L"thumb_time15");
    EXPECT_EQ(MakeIndexedKey(L"x", -1), L"x-1");
}
