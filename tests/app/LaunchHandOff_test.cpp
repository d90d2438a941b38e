// The hand-off record as it arrives from another process.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/LaunchHandOff.h"

TEST(LaunchRecord, OnlyARecordOfExactlyItsSizeIsTaken) {
    LaunchRequest sent;
    sent.full_screen = 1;
    sent.start_position = 123456789;
    std::wcscpy(sent.path, L"C:\\動画\\a.mp4");
    sent.from_album = 1;
    std::vector<char> bytes(2000, 0x7F);
    std::memcpy(bytes.data(), &sent, sizeof(sent));

    for (DWORD size : {0u, 1u, 679u, 681u, 2000u}) {
        COPYDATASTRUCT data{0, size, bytes.data()};
        LaunchRequest out;
        out.loop = 5;
        EXPECT_FALSE(ReadLaunchRecord(&data, out)) << size;
        EXPECT_EQ(out.loop, 5);  // untouched
        EXPECT_EQ(out.path[0], L'\0');
    }
    COPYDATASTRUCT noData{0, 680, nullptr};
    LaunchRequest out;
    EXPECT_FALSE(ReadLaunchRecord(&noData, out));
    EXPECT_FALSE(ReadLaunchRecord(nullptr, out));

    COPYDATASTRUCT good{0, 680, bytes.data()};
    ASSERT_TRUE(ReadLaunchRecord(&good, out));
    EXPECT_EQ(out.full_screen, 1);
    EXPECT_EQ(out.start_position, 123456789);
    EXPECT_EQ(std::wstring(out.path), L"C:\\動画\\a.mp4");
    EXPECT_EQ(out.from_album, 1);
}

TEST(LaunchRecord, AnUnterminatedPathIsCutInsideItsField) {
    LaunchRequest sent;
    for (wchar_t& c : sent.path) c = L'x';
    sent.from_album = 0x41414141;  // what would follow an unterminated path in memory
    COPYDATASTRUCT data{0, sizeof(sent), &sent};
    LaunchRequest out;
    ASSERT_TRUE(ReadLaunchRecord(&data, out));
    EXPECT_EQ(std::wstring(out.path).size(), 259u);
}

TEST(LaunchRecord, NewRequestsStartEmptyAndCarriedOutRequestsForgetTheirOneShotParts) {
    LaunchRequest r;
    EXPECT_EQ(r.start_position, -1);
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&r);
    for (size_t i = 0; i < sizeof(r); ++i) {
        if (i >= 24 && i < 32) continue;  // start_position = -1
        ASSERT_EQ(raw[i], 0u) << i;
    }
    r.full_screen = 1;
    r.loop = 1;
    r.start_position = 5;
    std::wcscpy(r.path, L"x");
    r.ClearCarriedOut();
    EXPECT_EQ(r.full_screen, 0);
    EXPECT_EQ(r.loop, 1);
    EXPECT_EQ(r.start_position, -1);
    EXPECT_EQ(r.path[0], L'\0');
}
