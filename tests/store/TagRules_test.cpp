// How typed text becomes words, and how words join a movie's tags and the album's history.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/TagRules.h"

namespace {
using Words = std::vector<std::wstring>;

// prefix + from ... prefix + (to - 1), or the other way round when from > to.
Words Seq(const std::wstring& prefix, int from, int to, Words head = {}) {
    for (int i = from; i != to; i += from < to ? 1 : -1) head.push_back(prefix + std::to_wstring(from < to ? i : i - 1));
    return head;
}
Words Plus(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ApplyCase {
    const char* name;
    std::wstring input;
    Words tags, history, tagsAfter, historyAfter;
};
class TagInputRule : public ::testing::TestWithParam<ApplyCase> {};
}  // namespace

TEST_P(TagInputRule, AddsEachWordToTheMovieThenToTheHistory) {
    ApplyCase c = GetParam();
    ApplyTagInput(c.input, c.tags, c.history);
    EXPECT_EQ(c.tags, c.tagsAfter);
    EXPECT_EQ(c.history, c.historyAfter);
}

INSTANTIATE_TEST_SUITE_P(Inputs, TagInputRule, ::testing::Values(
    ApplyCase{"RepeatedWordOnce", L"a b a", {}, {L"old"}, {L"a", L"b"}, {L"a", L"b", L"old"}},
    ApplyCase{"FortyCharactersCut", std::wstring(40, L'長'), {}, {}, {std::wstring(32, L'長')}, {std::wstring(32, L'長')}},
    ApplyCase{"TwentyTagsFullHistoryGrows", L"n1 n2", Seq(L"t", 0, 20), {L"old"}, Seq(L"t", 0, 20), {L"n2", L"n1", L"old"}},
    ApplyCase{"FullInTheMiddle", L"x y z", Seq(L"t", 0, 18), {}, Plus(Seq(L"t", 0, 18), {L"x", L"y"}), {L"z", L"y", L"x"}},
    ApplyCase{"HundredDropsIndex99", L"new", {}, Seq(L"h", 0, 100), {L"new"}, Seq(L"h", 0, 99, {L"new"})},
    ApplyCase{"RepeatAtHundredMovesToFront", L"h99", {}, Seq(L"h", 0, 100), {L"h99"}, Seq(L"h", 0, 99, {L"h99"})},
    ApplyCase{"AmpersandAndIdeographicSpace", L"夏&海\u3000山", {}, {}, {L"夏", L"海", L"山"}, {L"山", L"海", L"夏"}},
    ApplyCase{"ControlsBreakDelAndNbspDoNot", L"\ta\x01" L"b\x7F" L"c\u00A0d\r\n", {}, {}, {L"a", L"b\x7F" L"c\u00A0d"},
              {L"b\x7F" L"c\u00A0d", L"a"}},
    ApplyCase{"OnlyTheFirstTwentyWords", L"w0 w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 w12 w13 w14 w15 w16 w17 w18 w19 w20 w21",
              {}, {}, Seq(L"w", 0, 20), Seq(L"w", 20, 0)},
    ApplyCase{"CaseSensitive", L"Rock rock Rock", {L"ROCK"}, {}, {L"ROCK", L"Rock", L"rock"}, {L"Rock", L"rock"}},
    ApplyCase{"BlanksOnly", L" &\u3000 ", {L"a"}, {L"b"}, {L"a"}, {L"b"}}),
    [](const ::testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

TEST(TagRules, PiecesOfAWordAndCutsThatNeverHalveASurrogatePair) {
    Words tags;
    EXPECT_EQ(AddMovieTag(tags, L"a b\u3000c d&e a"), 4u);
    EXPECT_EQ(tags, (Words{L"a", L"b", L"c", L"d&e"}));
    EXPECT_EQ(CutTag(std::wstring(31, L'z') + L"\U0001F3AC"), std::wstring(31, L'z'));
    EXPECT_EQ(CutTag(std::wstring(30, L'z') + L"\U0001F3ACx"), std::wstring(30, L'z') + L"\U0001F3AC");
    Words history = Seq(L"h", 0, 150, {L"dup"});  // too long, with a repeat: back to the limit
    EXPECT_TRUE(AddHistoryTag(history, L"dup"));
    EXPECT_EQ(history, Seq(L"h", 0, 99, {L"dup"}));
    EXPECT_FALSE(AddHistoryTag(history, L""));
}
