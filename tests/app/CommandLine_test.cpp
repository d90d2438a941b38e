// The command-line parse, case by case.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "app/CommandLine.h"

namespace {
struct Expect {
    std::wstring path;
    int32_t fullScreen = 0, loop = 0, endClose = 0, noResume = 0, fromAlbum = 0;
    int64_t start = -1;
    ParseOutcome outcome = ParseOutcome::Run;
};

struct ParseCase {
    const char* name;
    std::vector<std::wstring> args;
    Expect expect;
};

Expect Path(const std::wstring& p) {
    Expect e;
    e.path = p;
    return e;
}
Expect With(Expect e, int64_t start) {
    e.start = start;
    return e;
}
}  // namespace

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, FillsTheLaunchRequest) {
    const ParseCase& c = GetParam();
    std::vector<std::wstring> args = {L"C:\\Program Files\\Lumikino\\Lumikino.exe"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    LaunchRequest r;
    EXPECT_EQ(ParseCommandLine(args, r), c.expect.outcome);
    EXPECT_EQ(std::wstring(r.path), c.expect.path);
    EXPECT_EQ(r.full_screen, c.expect.fullScreen);
    EXPECT_EQ(r.loop, c.expect.loop);
    EXPECT_EQ(r.end_close, c.expect.endClose);
    EXPECT_EQ(r.no_resume, c.expect.noResume);
    EXPECT_EQ(r.from_album, c.expect.fromAlbum);
    EXPECT_EQ(r.start_position, c.expect.start);
    EXPECT_EQ(r.reserved, 0);
}

namespace {
Expect AllSwitches() {
    Expect e = Path(L"a.mp4");
    e.fullScreen = e.loop = e.endClose = e.noResume = e.fromAlbum = 1;
    return e;
}
Expect NoResume(Expect e) {
    e.noResume = 1;
    return e;
}
Expect Ext() {
    Expect e;
    e.outcome = ParseOutcome::ExtResume;
    return e;
}
const int64_t kMax = std::numeric_limits<int64_t>::max();
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParse,
    ::testing::Values(
        ParseCase{"no_arguments", {}, Expect{}},
        ParseCase{"path_only", {L"D:\\動画\\a b.mp4"}, Path(L"D:\\動画\\a b.mp4")},
        ParseCase{"all_switches", {L"a.mp4", L"/FullScreen", L"/Loop", L"/EndClose", L"/NoResume", L"/Kinoshelf"},
                  AllSwitches()},
        ParseCase{"switches_are_case_sensitive", {L"a.mp4", L"/fullscreen", L"/LOOP"}, Path(L"a.mp4")},
        ParseCase{"switch_as_first_argument_is_the_path", {L"/FullScreen", L"/Loop"},
                  [] { Expect e = Path(L"/FullScreen"); e.loop = 1; return e; }()},
        ParseCase{"ext_resume_first", {L"/ExtResume", L"x.mp4"}, Ext()},
        ParseCase{"ext_resume_later_is_nothing", {L"x.mp4", L"/ExtResume"}, Path(L"x.mp4")},
        ParseCase{"start_frame_29_characters", {L"a.mp4", L"/StartFrame:0000000a:00000000"},
                  With(Path(L"a.mp4"), 10LL << 32)},
        ParseCase{"start_frame_low_word", {L"a.mp4", L"/StartFrame:00000000:05f5e100"},
                  With(Path(L"a.mp4"), 100000000)},
        ParseCase{"start_frame_16_characters_ignored", {L"a.mp4", L"/StartFrame:0000000a:0000000"}, Path(L"a.mp4")},
        ParseCase{"start_frame_unparsable_reads_zero", {L"a.mp4", L"/StartFrame:zzzzzzzz:zzzzzzzz"},
                  With(Path(L"a.mp4"), 0)},
        ParseCase{"start_milliseconds", {L"a.mp4", L"/start", L"90000"}, With(Path(L"a.mp4"), 900000000)},
        ParseCase{"start_as_last_argument_ignored", {L"a.mp4", L"/start"}, Path(L"a.mp4")},
        ParseCase{"start_without_digits_is_zero", {L"a.mp4", L"/start", L"abc"}, With(Path(L"a.mp4"), 0)},
        ParseCase{"start_leading_digits", {L"a.mp4", L"/start", L"1500ms"}, With(Path(L"a.mp4"), 15000000)},
        ParseCase{"start_saturates", {L"a.mp4", L"/start", L"99999999999999999999999"}, With(Path(L"a.mp4"), kMax)},
        ParseCase{"start_product_saturates", {L"a.mp4", L"/start", L"922337203685478"}, With(Path(L"a.mp4"), kMax)},
        ParseCase{"start_value_is_examined_again", {L"a.mp4", L"/start", L"/Loop"},
                  [] { Expect e = With(Path(L"a.mp4"), 0); e.loop = 1; return e; }()},
        ParseCase{"start_prefix_matches_longer_words", {L"a.mp4", L"/startposition", L"20"},
                  With(Path(L"a.mp4"), 200000)},
        ParseCase{"no_resume_cleared_by_start", {L"a.mp4", L"/NoResume", L"/start", L"1000"},
                  With(Path(L"a.mp4"), 10000000)},
        ParseCase{"no_resume_cleared_by_start_frame", {L"a.mp4", L"/StartFrame:00000000:00000001", L"/NoResume"},
                  With(Path(L"a.mp4"), 1)},
        ParseCase{"no_resume_kept_without_start", {L"a.mp4", L"/NoResume"}, NoResume(Path(L"a.mp4"))},
        ParseCase{"path_of_259_characters", {std::wstring(259, L'p')}, Path(std::wstring(259, L'p'))},
        ParseCase{"path_of_260_characters_opens_nothing", {std::wstring(260, L'p'), L"/Loop"},
                  [] { Expect e; e.loop = 1; return e; }()},
        ParseCase{"empty_path_argument", {L""}, Path(L"")}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(CommandLineNumbers, MillisecondsToReferenceTime) {
    EXPECT_EQ(MillisecondsArgumentToRefTime(L""), 0);
    EXPECT_EQ(MillisecondsArgumentToRefTime(L"0"), 0);
    EXPECT_EQ(MillisecondsArgumentToRefTime(L"1"), 10000);
    EXPECT_EQ(MillisecondsArgumentToRefTime(L"-5"), 0);
    EXPECT_EQ(MillisecondsArgumentToRefTime(L"922337203685477"), 922337203685477LL * 10000);
    EXPECT_EQ(MillisecondsArgumentToRefTime(L"922337203685478"), kMax);
}

TEST(CommandLineNumbers, ProcessArgumentsStartWithTheProgram) {
    std::vector<std::wstring> args = ProcessArguments();
    ASSERT_FALSE(args.empty());
    EXPECT_NE(args[0].find(L"app_tests"), std::wstring::npos);
}
