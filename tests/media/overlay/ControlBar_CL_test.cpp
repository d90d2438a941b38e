// The control bar's items: placement, pictures per state, hit tests, tips, hover and volume.

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "media/ControlBar_CL.h"

namespace {

using Bar = ControlBar_CL;

RECT Client(LONG width, LONG height) { return RECT{0, 0, width, height}; }

ControlBarState Stopped() { return ControlBarState{}; }

ControlBarState Playing(int volume = 10) {
    ControlBarState s;
    s.contentLoaded = true;
    s.playbackStarted = true;
    s.volumeStep = volume;
    return s;
}

ControlBarState Paused() {
    ControlBarState s = Playing();
    s.paused = true;
    return s;
}

size_t Index(const Bar& bar, UINT command) {
    const int i = bar.IndexOf(command);
    EXPECT_GE(i, 0) << "no item sends 0x" << std::hex << command;
    return static_cast<size_t>(i < 0 ? 0 : i);
}

bool SameRect(const RECT& a, const AtlasRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.left + b.width && a.bottom == b.top + b.height;
}

AtlasSprite Shown(const Bar& bar, UINT command) {
    const RECT rc = bar.SourceRect(Index(bar, command));
    for (const AtlasRect& a : kAtlasRects) {
        if (SameRect(rc, a)) return a.sprite;
    }
    ADD_FAILURE() << "source rectangle of 0x" << std::hex << command << " is no atlas picture";
    return AtlasSprite::Count;
}

POINT At(LONG x, LONG y) { return POINT{x, y}; }

}  // namespace

// ---------------------------------------------------------------------------------------
// Placement

struct PlaceCase {
    LONG width;
    LONG height;
    UINT command;
    LONG x;
    LONG y;
};

class ControlBarPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(ControlBarPlacement, ItemStandsWhereTheLayoutRulesPutIt) {
    const PlaceCase& c = GetParam();
    Bar bar;
    bar.Layout(Client(c.width, c.height), Stopped());   // volume 0
    const ControlBarItem& item = bar.Item(Index(bar, c.command));
    EXPECT_EQ(item.left, static_cast<float>(c.x));
    EXPECT_EQ(item.top, static_cast<float>(c.y));
}

// 640 x 480: g = 296, bottom row at 431, upper buttons at 372.
// 1280 x 720: g = 616, bottom row at 671, upper buttons at 612.
// 1281 x 721: odd sizes round the halves down.
INSTANTIATE_TEST_SUITE_P(ClientSizes, ControlBarPlacement, ::testing::Values(
    PlaceCase{640, 480, CMD_NO_ACTION, 192, 174},
    PlaceCase{640, 480, CMD_OPEN_FILE, 24, 431},
    PlaceCase{640, 480, CMD_SHOW_PLAY_LIST, 88, 431},
    PlaceCase{640, 480, CMD_STOP, 88, 431},
    PlaceCase{640, 480, CMD_SLOWER, 160, 431},
    PlaceCase{640, 480, CMD_PREVIOUS, 224, 431},
    PlaceCase{640, 480, CMD_PLAY_PAUSE, 296, 431},
    PlaceCase{640, 480, CMD_NEXT, 368, 431},
    PlaceCase{640, 480, CMD_FASTER, 432, 431},
    PlaceCase{640, 480, CMD_MUTE, 456, 431},
    PlaceCase{640, 480, CMD_SHOW_HISTORY, 448, 372},
    PlaceCase{640, 480, CMD_CAPTURE, 512, 372},
    PlaceCase{640, 480, CMD_THUMBNAIL_STRIP, 576, 372},
    PlaceCase{640, 480, CMD_FULL_SCREEN, 512, 1},
    PlaceCase{640, 480, CMD_CLOSE, 592, 1},
    PlaceCase{640, 480, CMD_VOLUME_STEP, 520, 453},
    PlaceCase{640, 480, CMD_VOLUME_KNOB, 516, 443},
    PlaceCase{1280, 720, CMD_NO_ACTION, 512, 294},
    PlaceCase{1280, 720, CMD_OPEN_FILE, 24, 671},
    PlaceCase{1280, 720, CMD_SHOW_PLAY_LIST, 88, 671},
    PlaceCase{1280, 720, CMD_STOP, 408, 671},
    PlaceCase{1280, 720, CMD_SLOWER, 480, 671},
    PlaceCase{1280, 720, CMD_PREVIOUS, 544, 671},
    PlaceCase{1280, 720, CMD_PLAY_PAUSE, 616, 671},
    PlaceCase{1280, 720, CMD_NEXT, 688, 671},
    PlaceCase{1280, 720, CMD_FASTER, 752, 671},
    PlaceCase{1280, 720, CMD_MUTE, 1096, 671},
    PlaceCase{1280, 720, CMD_SHOW_HISTORY, 1088, 612},
    PlaceCase{1280, 720, CMD_CAPTURE, 1152, 612},
    PlaceCase{1280, 720, CMD_THUMBNAIL_STRIP, 1216, 612},
    PlaceCase{1280, 720, CMD_FULL_SCREEN, 1152, 1},
    PlaceCase{1280, 720, CMD_CLOSE, 1232, 1},
    PlaceCase{1280, 720, CMD_VOLUME_STEP, 1160, 693},
    PlaceCase{1280, 720, CMD_VOLUME_KNOB, 1156, 683},
    PlaceCase{1281, 721, CMD_NO_ACTION, 512, 295},
    PlaceCase{1281, 721, CMD_PLAY_PAUSE, 616, 672},
    PlaceCase{1281, 721, CMD_STOP, 408, 672}));

TEST(ControlBar, TopRowFollowsTheClientTop) {
    Bar bar;
    bar.Layout(RECT{0, 30, 800, 600}, Stopped());
    EXPECT_EQ(bar.Item(Index(bar, CMD_CLOSE)).top, 31.0f);
    EXPECT_EQ(bar.Item(Index(bar, CMD_FULL_SCREEN)).top, 31.0f);
}

struct KnobCase {
    int volume;
    LONG offsetFromRight;   // knob left = r - offset
};

class ControlBarKnob : public ::testing::TestWithParam<KnobCase> {};

TEST_P(ControlBarKnob, KnobMovesWithTheVolumeStepAndStaysOnTheSlider) {
    Bar bar;
    ControlBarState s = Playing(GetParam().volume);
    bar.Layout(Client(1000, 500), s);
    EXPECT_EQ(bar.Item(Index(bar, CMD_VOLUME_KNOB)).left, static_cast<float>(1000 - GetParam().offsetFromRight));
    EXPECT_EQ(bar.Item(Index(bar, CMD_VOLUME_KNOB)).top, 463.0f);
}

INSTANTIATE_TEST_SUITE_P(Steps, ControlBarKnob, ::testing::Values(
    KnobCase{0, 124}, KnobCase{1, 120},   // 94 / 20 = 4.7 rounds down
    KnobCase{10, 77}, KnobCase{19, 35}, KnobCase{20, 30},
    KnobCase{-3, 124}, KnobCase{25, 30}));   // out-of-range steps are clamped

TEST(ControlBar, TinyClientsGiveWholeItemsAndSafeHitTests) {
    const RECT sizes[] = {Client(0, 0), Client(1, 1), Client(10, 10), Client(48, 48), Client(200, 100),
                          RECT{0, 0, -5, -5}};
    for (const RECT& client : sizes) {
        Bar bar;
        bar.Layout(client, Playing());
        for (size_t i = 0; i < bar.Count(); ++i) {
            const RECT w = bar.WindowRect(i);
            const RECT s = bar.SourceRect(i);
            EXPECT_GT(w.right, w.left) << "item " << i << " at width " << client.right;
            EXPECT_GT(w.bottom, w.top) << "item " << i << " at width " << client.right;
            EXPECT_EQ(w.right - w.left, s.right - s.left);
            EXPECT_EQ(w.bottom - w.top, s.bottom - s.top);
        }
        for (LONG y = -60; y <= 120; y += 7) {
            for (LONG x = -200; x <= 220; x += 7) {
                const int hit = bar.HitTest(At(x, y));
                ASSERT_GE(hit, -1);
                ASSERT_LT(hit, static_cast<int>(bar.Count()));
                if (hit >= 0) {
                    EXPECT_FALSE(bar.Item(static_cast<size_t>(hit)).hidden);
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------------------
// Pictures per state

struct StateCase {
    const char* name;
    ControlBarState state;
    UINT command;
    AtlasSprite shown;
};

class ControlBarPictures : public ::testing::TestWithParam<StateCase> {};

TEST_P(ControlBarPictures, TwoStateItemShowsThePictureOfTheState) {
    const StateCase& c = GetParam();
    Bar bar;
    bar.Layout(Client(1280, 720), c.state);
    EXPECT_EQ(static_cast<int>(Shown(bar, c.command)), static_cast<int>(c.shown)) << c.name;
}

ControlBarState With(ControlBarState s, bool ControlBarState::*flag, bool value) {
    s.*flag = value;
    return s;
}

INSTANTIATE_TEST_SUITE_P(States, ControlBarPictures, ::testing::Values(
    StateCase{"stopped", Stopped(), CMD_PLAY_PAUSE, AtlasSprite::Play},
    StateCase{"playing", Playing(), CMD_PLAY_PAUSE, AtlasSprite::Pause},
    StateCase{"paused", Paused(), CMD_PLAY_PAUSE, AtlasSprite::Play},
    StateCase{"started without content", With(Playing(), &ControlBarState::contentLoaded, false),
              CMD_PLAY_PAUSE, AtlasSprite::Play},
    StateCase{"stopped", Stopped(), CMD_SLOWER, AtlasSprite::Slow},
    StateCase{"playing", Playing(), CMD_SLOWER, AtlasSprite::Slow},
    StateCase{"paused", Paused(), CMD_SLOWER, AtlasSprite::FrameBack},
    StateCase{"playing", Playing(), CMD_FASTER, AtlasSprite::Fast},
    StateCase{"paused", Paused(), CMD_FASTER, AtlasSprite::FrameForward},
    StateCase{"sound on", Playing(), CMD_MUTE, AtlasSprite::SoundOn},
    StateCase{"muted", With(Playing(), &ControlBarState::muted, true), CMD_MUTE, AtlasSprite::Muted},
    StateCase{"strip shown", With(Playing(), &ControlBarState::thumbnailsShown, true),
              CMD_THUMBNAIL_STRIP, AtlasSprite::ThumbnailsHide},
    StateCase{"strip hidden", With(Playing(), &ControlBarState::thumbnailsShown, false),
              CMD_THUMBNAIL_STRIP, AtlasSprite::ThumbnailsShow},
    StateCase{"window", Playing(), CMD_FULL_SCREEN, AtlasSprite::FullScreen},
    StateCase{"full screen", With(Playing(), &ControlBarState::fullScreen, true),
              CMD_FULL_SCREEN, AtlasSprite::WindowMode},
    StateCase{"muted and paused", With(Paused(), &ControlBarState::muted, true), CMD_STOP, AtlasSprite::Stop},
    StateCase{"playing", Playing(), CMD_VOLUME_STEP, AtlasSprite::VolumeTrack},
    StateCase{"playing", Playing(), CMD_VOLUME_KNOB, AtlasSprite::VolumeKnob}));

TEST(ControlBar, PicturesSwitchBackWhenTheStateReturns) {
    Bar bar;
    bar.Layout(Client(800, 600), Playing());
    const RECT playing = bar.SourceRect(Index(bar, CMD_PLAY_PAUSE));
    bar.Layout(Client(800, 600), Paused());
    const RECT paused = bar.SourceRect(Index(bar, CMD_PLAY_PAUSE));
    bar.Layout(Client(800, 600), Playing());
    EXPECT_FALSE(EqualRect(&playing, &paused));
    const RECT again = bar.SourceRect(Index(bar, CMD_PLAY_PAUSE));
    EXPECT_TRUE(EqualRect(&playing, &again));
}

TEST(ControlBar, LogoGreetsUntilPlaybackOfAContentStarts) {
    Bar bar;
    const size_t logo = Index(bar, CMD_NO_ACTION);
    const struct {
        ControlBarState state;
        bool hidden;
    } cases[] = {
        {Stopped(), false},
        {With(Stopped(), &ControlBarState::contentLoaded, true), false},
        {With(Playing(), &ControlBarState::contentLoaded, false), false},
        {Playing(), true},
        {Paused(), true},
    };
    for (const auto& c : cases) {
        bar.Layout(Client(1280, 720), c.state);
        EXPECT_EQ(bar.Item(logo).hidden, c.hidden);
        if (!c.hidden) {
            EXPECT_EQ(bar.Item(logo).colourArgb, 0xFFFFFFFFu);
        }
    }
}

TEST(ControlBar, ItemsStartInTheDefaultColour) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing());
    for (size_t i = 0; i < bar.Count(); ++i) {
        EXPECT_EQ(bar.Item(i).colourArgb, 0xDCFFFFFFu) << "item " << i;
    }
}

// ---------------------------------------------------------------------------------------
// Commands and tips

TEST(ControlBar, EveryItemSendsItsOwnCommandOfTheBarRange) {
    Bar bar;
    std::set<UINT> commands;
    for (size_t i = 0; i < bar.Count(); ++i) {
        const UINT c = bar.Item(i).command;
        EXPECT_GE(c, 0x8570u);
        EXPECT_LE(c, 0x8581u);
        EXPECT_TRUE(commands.insert(c).second) << "two items send 0x" << std::hex << c;
    }
    EXPECT_EQ(commands.size(), 17u);
    EXPECT_EQ(CMD_PLAY_PAUSE, 0x8570u);
    EXPECT_EQ(CMD_VOLUME_STEP, 0x8576u);
    EXPECT_EQ(CMD_VOLUME_KNOB, 0x8577u);
    EXPECT_EQ(CMD_CLOSE, 0x8580u);
    EXPECT_EQ(CMD_NO_ACTION, 0x8581u);
}

TEST(ControlBar, TipsAreTheUserVisibleTexts) {
    Bar bar;
    const struct {
        UINT command;
        const wchar_t* tip;
    } cases[] = {
        {CMD_PLAY_PAUSE, L"再生／ポーズ"},
        {CMD_PREVIOUS, L"１０秒戻る"},
        {CMD_NEXT, L"１０秒進む"},
        {CMD_MUTE, L"ミュート／ミュート解除"},
        {CMD_SLOWER, L"スロー／コマ戻し"},
        {CMD_FASTER, L"倍速再生／コマ送り"},
        {CMD_OPEN_FILE, L"ファイルを開く"},
        {CMD_CAPTURE, L"画面キャプチャー"},
        {CMD_SHOW_PLAY_LIST, L"プレイリスト"},
        {CMD_CLOSE, L"アプリ終了"},
        {CMD_THUMBNAIL_STRIP, L"サムネイル表示／非表示"},
        {CMD_STOP, L""},
        {CMD_SHOW_HISTORY, L""},
        {CMD_FULL_SCREEN, L""},
        {CMD_VOLUME_STEP, L""},
        {CMD_VOLUME_KNOB, L""},
        {CMD_NO_ACTION, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bar.Item(Index(bar, c.command)).tip, std::wstring(c.tip)) << std::hex << c.command;
    }
}

struct SkipCase {
    int seconds;
    bool forward;
    const wchar_t* tip;
};

class ControlBarSkipTip : public ::testing::TestWithParam<SkipCase> {};

TEST_P(ControlBarSkipTip, SecondsInFullWidthDigitsThenTheDirection) {
    EXPECT_EQ(Bar::SkipTip(GetParam().seconds, GetParam().forward), std::wstring(GetParam().tip));
}

INSTANTIATE_TEST_SUITE_P(Seconds, ControlBarSkipTip, ::testing::Values(
    SkipCase{10, false, L"１０秒戻る"}, SkipCase{10, true, L"１０秒進む"},
    SkipCase{1, false, L"１秒戻る"}, SkipCase{5, true, L"５秒進む"},
    SkipCase{15, false, L"１５秒戻る"}, SkipCase{30, true, L"３０秒進む"},
    SkipCase{60, false, L"６０秒戻る"}, SkipCase{0, true, L"０秒進む"},
    SkipCase{120, true, L"１２０秒進む"}));

TEST(ControlBar, SkipSecondsRebuildBothTipsIndependently) {
    Bar bar;
    bar.SetSkipSeconds(5, 30);
    EXPECT_EQ(bar.Item(Index(bar, CMD_PREVIOUS)).tip, L"５秒戻る");
    EXPECT_EQ(bar.Item(Index(bar, CMD_NEXT)).tip, L"３０秒進む");
    bar.Layout(Client(640, 480), Playing());   // a layout keeps them
    EXPECT_EQ(bar.Item(Index(bar, CMD_PREVIOUS)).tip, L"５秒戻る");
    bar.SetSkipSeconds(60, 60);
    EXPECT_EQ(bar.Item(Index(bar, CMD_PREVIOUS)).tip, L"６０秒戻る");
    EXPECT_EQ(bar.Item(Index(bar, CMD_NEXT)).tip, L"６０秒進む");
}

// ---------------------------------------------------------------------------------------
// Hit test

TEST(ControlBarHitTest, EdgesAreInsideOnTheLeftAndTopOnly) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing());   // play/pause at (616, 671), 48 x 48
    const int play = static_cast<int>(Index(bar, CMD_PLAY_PAUSE));
    EXPECT_EQ(bar.HitTest(At(616, 671)), play);
    EXPECT_EQ(bar.HitTest(At(663, 718)), play);
    EXPECT_EQ(bar.HitTest(At(664, 700)), -1);   // gap before the forward button at 688
    EXPECT_EQ(bar.HitTest(At(640, 719)), -1);
    EXPECT_EQ(bar.HitTest(At(615, 700)), -1);
    EXPECT_EQ(bar.HitTest(At(640, 670)), -1);
    EXPECT_EQ(bar.HitTest(At(688, 671)), static_cast<int>(Index(bar, CMD_NEXT)));
}

TEST(ControlBarHitTest, LaterItemWinsWhereItemsOverlap) {
    Bar bar;
    bar.Layout(Client(640, 480), Playing());
    // At 640 pixels the stop button covers the play-list button exactly.
    EXPECT_EQ(bar.HitTest(At(100, 440)), static_cast<int>(Index(bar, CMD_STOP)));
    // The mute button overlaps the right half of the faster button.
    EXPECT_EQ(bar.HitTest(At(460, 440)), static_cast<int>(Index(bar, CMD_MUTE)));
    EXPECT_EQ(bar.HitTest(At(440, 440)), static_cast<int>(Index(bar, CMD_FASTER)));
    // The knob (volume 10 at x 563) lies over the slider.
    EXPECT_EQ(bar.HitTest(At(565, 455)), static_cast<int>(Index(bar, CMD_VOLUME_KNOB)));
    EXPECT_EQ(bar.HitTest(At(530, 455)), static_cast<int>(Index(bar, CMD_VOLUME_STEP)));
}

TEST(ControlBarHitTest, HiddenLogoIsNeverHit) {
    Bar bar;
    const POINT middle = At(640, 360);
    bar.Layout(Client(1280, 720), Stopped());
    EXPECT_EQ(bar.HitTest(middle), static_cast<int>(Index(bar, CMD_NO_ACTION)));
    bar.Layout(Client(1280, 720), Playing());
    EXPECT_EQ(bar.HitTest(middle), -1);
    ControlBarVolumeHit volume;
    EXPECT_EQ(bar.UpdateHover(middle, true, &volume), -1);
    EXPECT_EQ(volume.index, -1);
}

// ---------------------------------------------------------------------------------------
// Volume

struct StepCase {
    LONG dx;   // from the slider's left edge
    int step;
};

class ControlBarVolumeStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ControlBarVolumeStep, PressOnTheSliderGivesTheStepUnderThePoint) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing(0));   // slider 1160..1259 x 693..704, knob at 1156
    const ControlBarVolumeHit hit = bar.HitVolume(At(1160 + GetParam().dx, 699));
    EXPECT_EQ(hit.index, static_cast<int>(Index(bar, CMD_VOLUME_STEP)));
    EXPECT_TRUE(hit.setsVolume);
    EXPECT_EQ(hit.volumeStep, GetParam().step);
    EXPECT_EQ(Bar::VolumeStepAt(1160 + GetParam().dx, 1160), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Edges, ControlBarVolumeStep, ::testing::Values(
    StepCase{0, 0}, StepCase{4, 0}, StepCase{5, 1}, StepCase{47, 10}, StepCase{93, 19},
    StepCase{94, 20}, StepCase{99, 20}));

TEST(ControlBarVolume, StepRuleClampsBothEnds) {
    EXPECT_EQ(Bar::VolumeStepAt(-1000, 0), 0);
    EXPECT_EQ(Bar::VolumeStepAt(-4, 0), 0);
    EXPECT_EQ(Bar::VolumeStepAt(5000, 0), 20);
    EXPECT_EQ(Bar::VolumeStepAt(300, 206), 20);
}

TEST(ControlBarVolume, KnobActsAsTheSliderAndLightsIt) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing(0));   // knob 1156..1171 x 683..714
    const size_t slider = Index(bar, CMD_VOLUME_STEP);
    const ControlBarVolumeHit hit = bar.HitVolume(At(1157, 686));   // knob only, left of and above the slider
    EXPECT_EQ(hit.index, static_cast<int>(slider));
    EXPECT_TRUE(hit.setsVolume);
    EXPECT_EQ(hit.volumeStep, 0);
    EXPECT_EQ(bar.Item(slider).colourArgb, 0xFFFFFFFFu);

    bar.Layout(Client(1280, 720), Playing(20));   // knob 1250..1265, past the slider's right end
    const ControlBarVolumeHit end = bar.HitVolume(At(1264, 700));
    EXPECT_EQ(end.index, static_cast<int>(slider));
    EXPECT_EQ(end.volumeStep, 20);
}

TEST(ControlBarVolume, PressElsewhereLeavesTheVolume) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing());
    const ControlBarVolumeHit play = bar.HitVolume(At(620, 680));
    EXPECT_EQ(play.index, static_cast<int>(Index(bar, CMD_PLAY_PAUSE)));
    EXPECT_FALSE(play.setsVolume);
    const ControlBarVolumeHit none = bar.HitVolume(At(5, 5));
    EXPECT_EQ(none.index, -1);
    EXPECT_FALSE(none.setsVolume);
}

// ---------------------------------------------------------------------------------------
// Hover

TEST(ControlBarHover, OnlyTheItemUnderThePointerIsLit) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing());
    const size_t play = Index(bar, CMD_PLAY_PAUSE);
    EXPECT_EQ(bar.UpdateHover(At(630, 690), false, nullptr), static_cast<int>(play));
    for (size_t i = 0; i < bar.Count(); ++i) {
        EXPECT_EQ(bar.Item(i).colourArgb, i == play ? 0xFFFFFFFFu : 0xC8FFFFFFu) << "item " << i;
    }
    EXPECT_EQ(bar.UpdateHover(At(5, 300), false, nullptr), -1);
    for (size_t i = 0; i < bar.Count(); ++i) {
        EXPECT_EQ(bar.Item(i).colourArgb, 0xC8FFFFFFu) << "item " << i;
    }
}

TEST(ControlBarHover, LayoutKeepsTheHighlight) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing());
    const size_t play = Index(bar, CMD_PLAY_PAUSE);
    bar.UpdateHover(At(630, 690), false, nullptr);
    bar.Layout(Client(1280, 720), Paused());   // the presenter lays out on every frame
    EXPECT_EQ(bar.Item(play).colourArgb, 0xFFFFFFFFu);
    EXPECT_EQ(bar.Item(Index(bar, CMD_STOP)).colourArgb, 0xC8FFFFFFu);
}

TEST(ControlBarHover, LogoReturnsToOpaqueWhiteAtTheNextLayout) {
    Bar bar;
    bar.Layout(Client(1280, 720), Stopped());
    const size_t logo = Index(bar, CMD_NO_ACTION);
    bar.UpdateHover(At(5, 300), false, nullptr);
    EXPECT_EQ(bar.Item(logo).colourArgb, 0xC8FFFFFFu);
    bar.Layout(Client(1280, 720), Stopped());
    EXPECT_EQ(bar.Item(logo).colourArgb, 0xFFFFFFFFu);
}

TEST(ControlBarHover, PlainMoveOverTheKnobLightsTheKnobAndSetsNoVolume) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing(10));   // knob 1203..1218 x 683..714
    ControlBarVolumeHit volume;
    volume.setsVolume = true;
    const int lit = bar.UpdateHover(At(1210, 686), false, &volume);
    EXPECT_EQ(lit, static_cast<int>(Index(bar, CMD_VOLUME_KNOB)));
    EXPECT_FALSE(volume.setsVolume);
}

TEST(ControlBarHover, DragFromTheKnobAcrossTheSliderSetsTheVolumeOnEveryMove) {
    Bar bar;
    bar.Layout(Client(1280, 720), Playing(10));
    const size_t slider = Index(bar, CMD_VOLUME_STEP);
    const size_t knob = Index(bar, CMD_VOLUME_KNOB);
    int last = -1;
    for (LONG x = 1210; x >= 1150; x -= 6) {   // past the slider's left end
        ControlBarVolumeHit volume;
        const int lit = bar.UpdateHover(At(x, 700), true, &volume);
        if (x < 1160) {                          // past the slider's left end
            EXPECT_EQ(lit, -1);
            EXPECT_FALSE(volume.setsVolume);
            continue;
        }
        EXPECT_EQ(lit, static_cast<int>(slider)) << x;
        EXPECT_TRUE(volume.setsVolume) << x;
        EXPECT_EQ(volume.volumeStep, Bar::VolumeStepAt(x, 1160)) << x;
        EXPECT_EQ(bar.Item(slider).colourArgb, 0xFFFFFFFFu);
        EXPECT_EQ(bar.Item(knob).colourArgb, 0xC8FFFFFFu);
        if (last >= 0) {
            EXPECT_LE(volume.volumeStep, last);
        }
        last = volume.volumeStep;
    }
    EXPECT_EQ(last, 0);
}
