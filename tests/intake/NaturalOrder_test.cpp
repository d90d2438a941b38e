// The natural order of the play list's name column.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "intake/NaturalOrder.h"

namespace {

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

struct OrderCase {
    const wchar_t* a;
    const wchar_t* b;
    int order;  // sign of NaturalCompare(a, b)
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.a)) << " vs " << ::testing::PrintToString(std::wstring(c.b));
}

class NaturalOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrder, ComparesRunsPairwise) {
    const OrderCase& c = GetParam();
    EXPECT_EQ(Sign(NaturalCompare(c.a, c.b)), c.order);
    // The order is antisymmetric.
    EXPECT_EQ(Sign(NaturalCompare(c.b, c.a)), -c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NaturalOrder,
    ::testing::Values(
        OrderCase{L"ep2", L"ep10", -1},                 // numbers by value, not by text
        OrderCase{L"ep9", L"ep10", -1},
        OrderCase{L"ep10", L"ep10", 0},
        OrderCase{L"ep02", L"ep2", 0},                  // leading zeros do not change the value
        OrderCase{L"ep2a", L"ep2b", -1},
        OrderCase{L"ep2", L"ep2a", -1},                 // the name that runs out first comes first
        OrderCase{L"", L"a", -1},
        OrderCase{L"", L"", 0},
        OrderCase{L"1", L"a", -1},                      // a digit run before a text run
        OrderCase{L"a1", L"aa", -1},
        OrderCase{L"B", L"a", -1},                      // text runs are case-sensitive, by code unit
        OrderCase{L"Ep2", L"ep1", -1},
        OrderCase{L"ｅｐ２", L"ep10", -1},              // full-width letters and digits as ASCII
        OrderCase{L"ＥＰ１０", L"EP10", 0},
        OrderCase{L"Ａ", L"B", -1},
        OrderCase{L"第2話", L"第10話", -1},
        OrderCase{L"第２話", L"第10話", -1},
        OrderCase{L"x99999999999999999999", L"x100000000000000000000", -1},  // beyond 64 bits
        OrderCase{L"x18446744073709551617", L"x18446744073709551616", 1},
        OrderCase{L"a 2", L"a 10", -1},
        OrderCase{L"movie", L"動画", -1}));

TEST(NaturalOrderSort, SortsEpisodesAsAPersonWould) {
    std::vector<std::wstring> names = {L"ep10", L"ep2", L"ep1", L"ｅｐ３", L"ep20", L"ep02b"};
    std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return NaturalCompare(a, b) < 0;
    });
    std::vector<std::wstring> expected = {L"ep1", L"ep2", L"ep02b", L"ｅｐ３", L"ep10", L"ep20"};
    EXPECT_EQ(names, expected);
}

TEST(NaturalOrderSort, FoldsOnlyFullWidthDigitsAndLatinLetters) {
    EXPECT_EQ(FoldFullWidth(L'０'), L'0');
    EXPECT_EQ(FoldFullWidth(L'９'), L'9');
    EXPECT_EQ(FoldFullWidth(L'Ａ'), L'A');
    EXPECT_EQ(FoldFullWidth(L'Ｚ'), L'Z');
    EXPECT_EQ(FoldFullWidth(L'ａ'), L'a');
    EXPECT_EQ(FoldFullWidth(L'ｚ'), L'z');
    EXPECT_EQ(FoldFullWidth(L'＠'), L'＠');  // U+FF20 lies between the ranges
    EXPECT_EQ(FoldFullWidth(L'［'), L'［');
    EXPECT_EQ(FoldFullWidth(L'あ'), L'あ');
}

}  // namespace
