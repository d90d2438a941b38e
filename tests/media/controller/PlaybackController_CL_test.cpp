// The playback controller on real graphs under the platform's graph manager: the staged
// resume read from the picture, the saved resume position, the skip ranges and the A-B loop
// counted in ticks, the rate ladders with the pitch filter, volume, the end of the stream
// with the play list and "/EndClose", and the graph's lifetime against the tick.

#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <cmath>
#include <cstdio>

#include "media/CMyRenderer.h"
#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "media/PlaybackIds.h"
#include "media/PlaybackRules.h"
#include "tests/media/controller/ControllerFixture.h"

namespace {
constexpr int64_t kSecond = kPlaybackRefTimePerSecond;

bool NeverAPicture(void*) { return false; }
}  // namespace

using ControllerResume = ControllerTest;

TEST_F(ControllerResume, StartsWithinHalfASecondOfTheSavedPositionReadFromThePicture) {
    m_record.last_play_frame = 20 * kSecond;
    Load(MovieSpec(30), L"resume.avi");
    m_controller->PlayResume(m_record.last_play_frame);
    EXPECT_TRUE(m_controller->IsPlaying());
    EXPECT_TRUE(m_controller->ResumeSeekPending());
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeSeekPending() && !m_controller->ResumeRunPending(); }, 5000));
    EXPECT_TRUE(m_controller->HealthCheckActive());
    // The first picture after the run is the saved position's.
    double first = -1;
    ASSERT_TRUE(PumpUntil([&] { return (first = PictureSeconds(200)) >= 0; }, 3000));
    EXPECT_NEAR(first, 20.0, 0.5);
    EXPECT_NEAR(GraphSeconds(), 20.0, 0.5);
    // And it plays on from there.
    double later = -1;
    EXPECT_TRUE(PumpUntil([&] { return (later = PictureSeconds(210)) >= 21.0; }, 4000)) << "picture at " << later;
    EXPECT_LT(later, 23.0);
    EXPECT_EQ(m_host.launchResets, 1);
}

struct ResumeEdge {
    const char* name;
    int64_t requested;
    double expectedSeconds;
};
class ControllerResumeEdge : public ControllerTest, public ::testing::WithParamInterface<ResumeEdge> {};

TEST_P(ControllerResumeEdge, StartsWhereTheRuleSaysReadFromThePicture) {
    Load(MovieSpec(30), L"edge.avi");
    m_controller->PlayResume(GetParam().requested);
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeRunPending() && !m_controller->ResumeSeekPending(); }, 5000));
    double first = -1;
    ASSERT_TRUE(PumpUntil([&] { return (first = PictureSeconds(static_cast<int>(GetParam().expectedSeconds * 10))) >= 0; },
                          3000));
    EXPECT_NEAR(first, GetParam().expectedSeconds, 0.5) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Edges, ControllerResumeEdge, ::testing::Values(
    ResumeEdge{"three seconds before the end", 27 * kSecond, 0.0},
    ResumeEdge{"before the start", -5 * kSecond, 0.0},
    ResumeEdge{"inside", 12 * kSecond, 12.0}));

TEST_F(ControllerResume, WithoutAnyPictureTheRunComes1200msAfterTheSeek) {
    Load(MovieSpec(10), L"nopicture.avi");
    m_controller->SetPictureProbe(NeverAPicture, nullptr);
    m_controller->PlayResume(4 * kSecond);
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeSeekPending(); }, 3000));
    const ULONGLONG seeked = ::GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeRunPending(); }, 5000));
    const ULONGLONG waited = ::GetTickCount64() - seeked;
    EXPECT_GE(waited, 1150u);  // GetTickCount granularity
    EXPECT_LT(waited, 2500u);
    OAFilterState state = State_Stopped;
    m_graph.MediaControl()->GetState(500, &state);
    EXPECT_EQ(state, State_Running);
}

TEST_F(ControllerResume, APictureLetsTheRunGoAheadWithoutTheFullWait) {
    Load(MovieSpec(10), L"picture.avi");
    m_controller->PlayResume(4 * kSecond);
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeSeekPending(); }, 3000));
    const ULONGLONG seeked = ::GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeRunPending(); }, 5000));
    EXPECT_LT(::GetTickCount64() - seeked, 1100u);
}

TEST_F(ControllerResume, AStalledRunIsResynchronisedOnceThenTheCheckEnds) {
    Load(MovieSpec(20), L"stall.avi");
    m_controller->PlayResume(5 * kSecond);
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeRunPending() && !m_controller->ResumeSeekPending(); }, 5000));
    ASSERT_TRUE(m_controller->HealthCheckActive());
    // The graph stops moving behind the controller's back, as a stalled decoder would.
    ASSERT_TRUE(SUCCEEDED(m_graph.MediaControl()->Pause()));
    OAFilterState state = State_Running;
    m_graph.MediaControl()->GetState(500, &state);
    ASSERT_EQ(state, State_Paused);
    // 1.5 s later the check finds no progress and runs the graph again (Pause, SetRate, Run);
    // 1.5 s after that it sees progress and ends.
    ASSERT_TRUE(PumpUntil([&] {
        OAFilterState now = State_Paused;
        return m_graph.MediaControl()->GetState(0, &now) == S_OK && now == State_Running;
    }, 3000));
    EXPECT_TRUE(m_controller->HealthCheckActive());
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->HealthCheckActive(); }, 3000));
    const double resumed = GraphSeconds();
    EXPECT_TRUE(PumpUntil([&] { return GraphSeconds() >= resumed + 0.3; }, 2000));
}

using ControllerSaving = ControllerTest;

TEST_F(ControllerSaving, TheRecordFollowsThePositionEverySecondAndKeepsItAtClose) {
    Load(MovieSpec(20), L"saving.avi");
    ASSERT_EQ(m_controller->Start(), S_OK);
    m_controller->Play(0);
    // Every second the stored value moves on and stays within a second of the graph.
    int64_t last = -1;
    int changes = 0;
    ASSERT_TRUE(PumpUntil([&] {
        int64_t stored = StoredLastPlayFrame();
        if (stored != last && stored > 0) {
            EXPECT_GT(stored, last);
            EXPECT_NEAR(static_cast<double>(stored) / 1e7, GraphSeconds(), 1.1);
            last = stored;
            ++changes;
        }
        return changes >= 3;
    }, 6000)) << "changes seen: " << changes;
    // Close: what is stored is where playback was.
    const double before = GraphSeconds();
    ::SendMessageW(m_controlWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(m_controlWindow));
    EXPECT_EQ(m_graph.Graph(), nullptr);
    EXPECT_NEAR(static_cast<double>(StoredLastPlayFrame()) / 1e7, before, 1.0);
}

TEST_F(ControllerSaving, PausedTheLastValueIsWrittenAgainAndStopResetsIt) {
    Load(MovieSpec(20), L"paused.avi");
    m_controller->Play(0);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 1.0; }, 4000));
    m_controller->Pause();
    m_controller->SaveLastPlayFrame();
    const int64_t saved = StoredLastPlayFrame();
    EXPECT_GT(saved, 9'000'000);
    m_record.SetLastPlayFrame(123);  // something else wrote meanwhile
    m_controller->SaveLastPlayFrame();
    EXPECT_EQ(StoredLastPlayFrame(), saved);
    m_controller->Stop(0);
    EXPECT_EQ(StoredLastPlayFrame(), -1);
    EXPECT_FALSE(m_controller->IsPlaying());
    m_controller->SaveLastPlayFrame();
    EXPECT_EQ(StoredLastPlayFrame(), -1);
}

using ControllerTick = ControllerTest;

TEST_F(ControllerTick, TheFirstTickInsideTheOpeningRangeSeeksToItsEnd) {
    m_record.skip[0].beg = 2 * kSecond;
    m_record.skip[0].end = 6 * kSecond;
    m_settings.play_op_frame = 0;
    Load(MovieSpec(20), L"opening.avi");
    m_controller->Play(0);
    m_controller->PlaybackTick();  // before the range: nothing
    EXPECT_EQ(m_controller->TickSeekCount(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 2.1; }, 5000));
    m_controller->PlaybackTick();
    EXPECT_EQ(m_controller->TickSeekCount(), 1u);
    // Where seeks go through a stopped graph the window does it, at its next message.
    EXPECT_TRUE(PumpUntil([&] { return GraphSeconds() >= 6.0; }, 2000)) << GraphSeconds();
    double picture = -1;
    EXPECT_TRUE(PumpUntil([&] { return (picture = PictureSeconds(60)) >= 6.0; }, 3000)) << picture;
    EXPECT_LT(picture, 7.5);
    m_controller->PlaybackTick();  // past the range: nothing more
    EXPECT_EQ(m_controller->TickSeekCount(), 1u);
}

TEST_F(ControllerTick, WithPlayOpeningOnTheRangeIsPlayedThrough) {
    m_record.skip[0].beg = 2 * kSecond;
    m_record.skip[0].end = 6 * kSecond;
    m_settings.play_op_frame = 1;
    Load(MovieSpec(20), L"through.avi");
    m_controller->Play(0);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 2.1; }, 5000));
    m_controller->PlaybackTick();
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 3.0; }, 3000));
    m_controller->PlaybackTick();
    EXPECT_EQ(m_controller->TickSeekCount(), 0u);
    EXPECT_LT(GraphSeconds(), 5.0);
    EXPECT_EQ(m_record.skip[0].no_skip, 1);  // the record's flag follows the setting
}

TEST_F(ControllerTick, TheLoopReturnsToAOnceBIsReached) {
    Load(MovieSpec(20), L"loop.avi");
    m_controller->Play(0);
    m_controller->LoopStart(3, 4);  // one-second thumbnails: A = 3 s, B = 5 s
    EXPECT_EQ(m_host.texts.back(), L"ＬＯＯＰ");
    EXPECT_TRUE(m_controller->Loop().active);
    double picture = -1;
    ASSERT_TRUE(PumpUntil([&] { return (picture = PictureSeconds(30)) >= 3.0; }, 3000)) << picture;
    EXPECT_LT(picture, 4.0);
    m_controller->PlaybackTick();
    EXPECT_EQ(m_controller->TickSeekCount(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 5.0; }, 4000));
    m_controller->PlaybackTick();
    EXPECT_EQ(m_controller->TickSeekCount(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return GraphSeconds() < 4.0; }, 2000)) << GraphSeconds();
    m_controller->LoopEnd();
    EXPECT_FALSE(m_controller->Loop().active);
    EXPECT_EQ(m_controller->Loop().start, -1);
}

TEST_F(ControllerTick, CountersPostTheirMessagesWhenTheyRunOut) {
    Load(MovieSpec(10), L"counters.avi");
    m_controller->SetStatusTicks(2);
    m_controller->SetIdleTicks(3);
    m_controller->SetLayoutRetryTicks(1);
    m_controller->PlaybackTick();
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(Posted(WM_SHOW_STATUS), 0);
    EXPECT_EQ(Posted(WM_UPDATE_LAYOUT), 1);  // the layout retry ran out
    m_controller->PlaybackTick();              // the status text times out
    m_controller->PlaybackTick();              // idle begins: the strip follow counts from 2
    EXPECT_EQ(Posted(WM_LIST_UPDATE), 0);
    m_controller->PlaybackTick();              // the second idle tick sends the first index
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_UPDATE_LAYOUT) == 2 && Posted(WM_LIST_UPDATE) == 1; }, 1000));
    EXPECT_EQ(Posted(WM_SHOW_STATUS), 1);

    // From then on every tick looks, and posts only when the thumbnail index changes.
    m_controller->Play(0);
    m_controller->PlaybackTick();
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(Posted(WM_LIST_UPDATE), 1);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 1.1; }, 4000));
    m_controller->PlaybackTick();
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_LIST_UPDATE) == 2; }, 1000));

    // Not while a dialog is open.
    m_controller->SetModalDialogOpen(true);
    ASSERT_TRUE(PumpUntil([&] { return GraphSeconds() >= 2.1; }, 4000));
    m_controller->PlaybackTick();
    m_controller->PlaybackTick();
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(Posted(WM_LIST_UPDATE), 2);
    EXPECT_EQ(m_controller->TickCount(), 8u);
}

TEST_F(ControllerTick, RedrawsAreAskedOfTheWindowNotDoneOnTheTimerThread) {
    m_settings.enable_clock = 1;
    Load(MovieSpec(10), L"clock.avi");
    const int before = m_host.redraws;
    m_controller->PlaybackTick();
    m_controller->PlaybackTick();  // one request at a time
    ASSERT_TRUE(PumpUntil([&] { return m_host.redraws > before; }, 1000));
    EXPECT_EQ(Posted(WM_PLAYBACK_REDRAW), 1);
    EXPECT_EQ(m_host.redraws, before + 1);
}

using ControllerRates = ControllerTest;

TEST_F(ControllerRates, TheLaddersEndAtTenAndOneTenthAndThePitchFilterFollows) {
    Load(MovieSpec(20), L"rates.avi");
    ASSERT_NE(m_graph.PitchFilter(), nullptr);
    m_controller->Play(0);
    // F8 works once the graph has been running (the platform may never send EC_PAUSED).
    ASSERT_TRUE(m_controller->RateChangeAllowed());
    for (int press = 0; press < 25; ++press) m_controller->FasterKey();
    EXPECT_EQ(m_controller->RateIndex(), 18);
    EXPECT_EQ(m_controller->RequestedRate(), 10.0);
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 10.0);
    EXPECT_EQ(m_host.texts.back(), L"ＳＰＥＥＤx10.0");
    double graphRate = 0;
    m_graph.MediaSeeking()->GetRate(&graphRate);
    std::printf("[ info ] asked the graph for 10.0, it answers %.3f\n", graphRate);

    // The play key at a fast rate goes back to 1.0 and keeps playing.
    ASSERT_TRUE(m_controller->PlayKeyResetsRate());
    EXPECT_EQ(m_controller->RateIndex(), 0);
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 1.0);
    OAFilterState state = State_Stopped;
    m_graph.MediaControl()->GetState(500, &state);
    EXPECT_EQ(state, State_Running);
    EXPECT_TRUE(m_controller->IsPlaying());
    EXPECT_FALSE(m_controller->PlayKeyResetsRate());  // at 1.0 the key plays or pauses

    for (int press = 0; press < 12; ++press) m_controller->SlowerKey();
    EXPECT_EQ(m_controller->RateIndex(), -9);
    EXPECT_EQ(m_controller->RequestedRate(), static_cast<double>(0.1f));
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), static_cast<double>(0.1f));
    EXPECT_EQ(m_host.texts.back(), L"ＳＰＥＥＤｘ0．1");
}

TEST_F(ControllerRates, WhilePausedF7AndF8StepHalfASecondClampedToTheRange) {
    Load(MovieSpec(10), L"steps.avi");
    m_controller->Play(0);
    m_controller->Pause();
    ASSERT_EQ(m_controller->SeekTo(3 * kSecond), S_OK);
    m_controller->SlowerKey();
    EXPECT_NEAR(GraphSeconds(), 2.5, 0.05);
    EXPECT_EQ(m_host.texts.back(), L"－０．５ＳＥＣ");
    EXPECT_EQ(m_controller->RateIndex(), 0);  // no rate change while paused
    m_controller->FasterKey();
    m_controller->FasterKey();
    EXPECT_NEAR(GraphSeconds(), 3.5, 0.05);
    EXPECT_EQ(m_host.texts.back(), L"＋０．５ＳＥＣ");
    ASSERT_EQ(m_controller->SeekTo(2'000'000), S_OK);
    m_controller->SlowerKey();
    EXPECT_NEAR(GraphSeconds(), 0.0, 0.05);  // not below the start
    ASSERT_EQ(m_controller->SeekTo(m_controller->AvailableEnd() - 1'000'000), S_OK);
    m_controller->FasterKey();
    EXPECT_LE(GraphSeconds(), static_cast<double>(m_controller->AvailableEnd()) / 1e7 + 0.01);  // not past the end
}

TEST_F(ControllerRates, TheKeptRateReachesGraphAndFilterAfterAResumeAndAfterTheNextEntry) {
    m_settings.next_play_rate_keep = 1;
    Load(MovieSpec(20), L"kept1.avi");
    m_controller->Play(0);
    m_controller->SetRateIndex(5);  // 1.8
    m_controller->FasterKey();      // 2.0
    ASSERT_EQ(m_controller->RequestedRate(), 2.0);

    // A new content resumed: the deferred run sets 1.0 before Run, the pulse restores 2.0.
    m_controller->ReleaseFilterGraph();
    EXPECT_EQ(m_graph.Graph(), nullptr);
    Load(MovieSpec(20), L"kept2.avi");
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 1.0);  // a new filter
    m_controller->PlayResume(5 * kSecond);
    ASSERT_TRUE(PumpUntil([&] { return !m_controller->ResumeRunPending() && !m_controller->ResumeSeekPending(); }, 5000));
    PumpUntil([] { return false; }, 300);  // the pulse message
    EXPECT_EQ(m_controller->RateIndex(), 6);
    EXPECT_EQ(m_controller->RequestedRate(), 2.0);
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 2.0);

    // The next entry plays from its start through Play: the same rate again.
    m_controller->ReleaseFilterGraph();
    Load(MovieSpec(20), L"kept3.avi");
    m_controller->Play(0);
    EXPECT_EQ(m_controller->RequestedRate(), 2.0);
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 2.0);
}

TEST_F(ControllerRates, WithoutRateKeepingPlayStartsAtNormalSpeed) {
    m_settings.next_play_rate_keep = 0;
    Load(MovieSpec(10), L"nokeep.avi");
    m_controller->SetRateIndex(6);
    m_controller->Play(0);
    EXPECT_EQ(m_controller->RateIndex(), 0);
    EXPECT_EQ(m_controller->RequestedRate(), 1.0);
    EXPECT_EQ(m_graph.PitchFilter()->Rate(), 1.0);
}

using ControllerVolume = ControllerTest;

TEST_F(ControllerVolume, StepOffsetMuteAndBalanceReachTheGraph) {
    m_settings.volume = 0;
    m_settings.volume_balance = -30;
    m_controller = std::make_unique<PlaybackController_CL>(m_controlWindow, m_graph, m_host, m_settings);
    m_record.vol_offset = 4;
    Load(MovieSpec(10, true), L"volume.avi");  // with sound, and never seeked
    IBasicAudio* audio = m_graph.BasicAudio();
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(m_controller->LastVolume(), -9000);  // step 0 plus 4 x 2.5 dB
    long volume = 1, balance = 1;
    // The audio renderer answers what it was given where it can; what was asked is checked above.
    ASSERT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -9000);
    if (SUCCEEDED(audio->get_Balance(&balance))) {
        EXPECT_EQ(balance, -3000);
    } else {
        std::printf("[ info ] get_Balance is not answered here\n");
    }

    ::SendMessageW(m_controlWindow, WM_COMMAND, MAKEWPARAM(CMD_VOLUME_STEP, 0), 10);
    EXPECT_EQ(m_controller->VolumeStep(), 10);
    EXPECT_EQ(m_controller->LastVolume(), -1500);
    EXPECT_EQ(m_settings.volume, 10);
    EXPECT_EQ(m_host.texts.back(), L"ＶＯＬＵＭＥ１０");

    m_controller->ToggleMute();
    EXPECT_TRUE(m_controller->Muted());
    EXPECT_EQ(m_controller->LastVolume(), -9000);  // (4 - 40) x 250
    EXPECT_EQ(m_host.texts.back(), L"ＭＵＴＥ");
    ASSERT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -9000);
    m_controller->ToggleMute();
    EXPECT_FALSE(m_controller->Muted());
    EXPECT_EQ(m_controller->LastVolume(), -1500);
    EXPECT_EQ(m_host.texts.back(), L"");  // the text is cleared

    m_controller->VolumeUp();  // through the volume command, as the keys do
    EXPECT_EQ(m_controller->VolumeStep(), 11);
    EXPECT_EQ(m_controller->LastVolume(), -1250);
    m_controller->ToggleMute();
    m_controller->VolumeDown();  // a volume command ends the mute
    EXPECT_FALSE(m_controller->Muted());
    EXPECT_EQ(m_controller->VolumeStep(), 10);
}

using ControllerEnd = ControllerTest;

TEST_F(ControllerEnd, TheEndResetsTheResumePointAndMovesThroughTheListThenCloses) {
    m_record.last_play_frame = 3 * kSecond;
    m_host.list = PlayListCursor{2, 1, true, true};
    Load(MovieSpec(10), L"end.avi");
    EXPECT_EQ(StoredLastPlayFrame(), 3 * kSecond);

    // Entry 1 of 2 is due: the end posts WM_PLAY_NEXT (the list then moves on to 2).
    m_controller->Play(0);
    ASSERT_EQ(m_controller->SeekTo(9 * kSecond), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_PLAY_NEXT) == 1; }, 8000));
    EXPECT_EQ(StoredLastPlayFrame(), -1);
    EXPECT_FALSE(m_controller->IsPlaying());
    EXPECT_EQ(m_host.list.nextIndex, 2);
    EXPECT_TRUE(m_host.indexChanges.empty());

    // Past the end with repeat: back to the first entry.
    m_controller->Play(0);
    ASSERT_EQ(m_controller->SeekTo(9 * kSecond), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_PLAY_NEXT) == 2; }, 8000));
    ASSERT_EQ(m_host.indexChanges.size(), 1u);
    EXPECT_EQ(m_host.indexChanges[0], 0);

    // Nothing due and "/EndClose": the window is closed.
    m_host.list = PlayListCursor{2, 2, true, false};
    m_host.endClose = true;
    m_controller->Play(0);
    ASSERT_EQ(m_controller->SeekTo(9 * kSecond), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_CLOSE) == 1; }, 8000));
    EXPECT_EQ(Posted(WM_PLAY_NEXT), 2);
    EXPECT_FALSE(::IsWindow(m_controlWindow));
}

TEST_F(ControllerEnd, StopMovesOnWhenAnEntryIsDueAndOtherwiseNotesActivity) {
    Load(MovieSpec(10), L"stop.avi");
    m_host.list = PlayListCursor{3, 0, false, false};
    m_controller->Play(0);
    m_controller->Stop(0);
    ASSERT_TRUE(PumpUntil([&] { return Posted(WM_PLAY_NEXT) == 1; }, 1000));
    EXPECT_EQ(m_host.activity, 0);
    m_host.list = PlayListCursor{};
    m_host.endClose = true;
    m_controller->Play(0);
    m_controller->Stop(0);  // a user's stop never closes
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Posted(WM_CLOSE), 0);
    EXPECT_EQ(m_host.activity, 1);
}

using ControllerLifetime = ControllerTest;

TEST_F(ControllerLifetime, TheTickSeesAGraphOnlyBetweenLoadAndRelease) {
    EXPECT_FALSE(m_controller->TickSeesGraph());
    Load(MovieSpec(10), L"life.avi");
    EXPECT_TRUE(m_controller->TickSeesGraph());
    m_controller->ReleaseFilterGraph();
    EXPECT_FALSE(m_controller->TickSeesGraph());
    EXPECT_FALSE(m_controller->ContentLoaded());
    m_controller->PlaybackTick();  // nothing to reach for
    EXPECT_EQ(m_controller->TickSeekCount(), 0u);
}

TEST_F(ControllerLifetime, ThirtySecondsOfLoadsSeeksRatesAndReleasesUnderAFastTick) {
    AviMovieSpec movieSpec = MovieSpec(10);
    std::wstring path = WriteMovie(L"stress.avi", movieSpec);
    m_movie = movieSpec;
    Inifile_CL::CreateIfMissing(m_recordPath);
    m_record.Bind(m_recordPath);
    // Ranges the tick keeps seeking out of, so its seeks meet the releases.
    m_record.skip[0].beg = 0;
    m_record.skip[0].end = 2 * kSecond;
    m_record.skip[2].beg = 3 * kSecond;
    m_record.skip[2].end = 8 * kSecond;
    ASSERT_EQ(m_controller->Start(2), S_OK);  // a tick every 2 ms instead of 500

    const ULONGLONG end = ::GetTickCount64() + 30000;
    int rounds = 0;
    ULONGLONG slowest = 0;
    while (::GetTickCount64() < end) {
        const ULONGLONG started = ::GetTickCount64();
        ASSERT_EQ(m_graph.CreateFilterGraph(path, false), S_OK) << rounds;
        m_controller->OnContentLoaded(&m_record, false);
        switch (rounds % 4) {
            case 0: m_controller->Play(0); break;
            case 1: m_controller->PlayResume(5 * kSecond); break;
            case 2: m_controller->Play(0); m_controller->FasterKey(); m_controller->FasterKey(); break;
            default: m_controller->PlayResume(1 * kSecond); m_controller->SlowerKey(); break;
        }
        PumpUntil([] { return false; }, static_cast<DWORD>(rounds % 5) * 20);
        m_controller->SeekTo(static_cast<int64_t>(rounds % 9) * kSecond);
        m_controller->LoopStart(rounds % 3, rounds % 3 + 1);
        m_controller->PlaybackTick();
        m_controller->SaveLastPlayFrame();
        m_controller->ReleaseFilterGraph();
        ++rounds;
        slowest = std::max(slowest, ::GetTickCount64() - started);
    }
    const uint32_t ticks = m_controller->TickCount();
    std::printf("[ info ] %d load-release rounds, %u ticks, %u tick seeks, slowest round %llu ms\n", rounds, ticks,
                m_controller->TickSeekCount(), static_cast<unsigned long long>(slowest));
    EXPECT_GT(rounds, 20);
    EXPECT_GT(ticks, 1000u);
    EXPECT_LT(slowest, 10000u);

    // WM_DESTROY kills the tick before the graph goes: no tick runs afterwards.
    ::DestroyWindow(m_controlWindow);
    const uint32_t after = m_controller->TickCount();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(m_controller->TickCount(), after);
    // Leaked filters would show in the fixture's live-object count at tear-down.
}

