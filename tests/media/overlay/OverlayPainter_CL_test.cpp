// The overlay painter on a real Direct3D 9 device: the GDI back-end draws the control bar and
// the texts where the D3DX back-end draws them, redraws a text only when it changes, draws
// Japanese, and works again on a new device and after a reset.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/ControlBar_CL.h"
#include "media/DShowGraph_CL.h"
#include "media/GdiTextRaster_CL.h"
#include "media/OverlayLayout.h"
#include "media/OverlayPainter_CL.h"
#include "media/OverlayTexture.h"
#include "tests/media/overlay/OffscreenDevice_CL.h"

namespace {

using Backend = OverlayPainter_CL::Backend;

constexpr int kWidth = 640, kHeight = 480;
constexpr D3DCOLOR kBackground = D3DCOLOR_XRGB(40, 60, 90);
constexpr int64_t kSecond = 10'000'000;
// A pixel is ink when its channels differ from the reference by more than this in sum.
constexpr int kInkThreshold = 60;

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

int Difference(uint32_t a, uint32_t b) {
    return std::abs(Channel(a, 16) - Channel(b, 16)) + std::abs(Channel(a, 8) - Channel(b, 8)) +
           std::abs(Channel(a, 0) - Channel(b, 0));
}

bool Within(uint32_t a, uint32_t b, int levels) {
    return std::abs(Channel(a, 16) - Channel(b, 16)) <= levels && std::abs(Channel(a, 8) - Channel(b, 8)) <= levels &&
           std::abs(Channel(a, 0) - Channel(b, 0)) <= levels;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void Grow(RECT* bounds, LONG x, LONG y) {
    bounds->left = std::min(bounds->left, x);
    bounds->top = std::min(bounds->top, y);
    bounds->right = std::max(bounds->right, x + 1);
    bounds->bottom = std::max(bounds->bottom, y + 1);
}

// Bounds of the pixels in the region that differ from the reference picture; empty if none.
RECT InkAgainst(const OffscreenPicture& picture, const OffscreenPicture& reference, const RECT& region) {
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = std::max<LONG>(region.top, 0); y < std::min<LONG>(region.bottom, picture.height); ++y) {
        for (LONG x = std::max<LONG>(region.left, 0); x < std::min<LONG>(region.right, picture.width); ++x) {
            if (Difference(picture.At(x, y), reference.At(x, y)) > kInkThreshold) Grow(&bounds, x, y);
        }
    }
    return bounds.left == LONG_MAX ? RECT{0, 0, 0, 0} : bounds;
}

// Bounds of the pixels in the region that differ from one colour; empty if none.
RECT InkAgainstColour(const OffscreenPicture& picture, uint32_t colour, const RECT& region) {
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = region.top; y < region.bottom; ++y) {
        for (LONG x = region.left; x < region.right; ++x) {
            if (Difference(picture.At(x, y), colour) > kInkThreshold) Grow(&bounds, x, y);
        }
    }
    return bounds.left == LONG_MAX ? RECT{0, 0, 0, 0} : bounds;
}

// The title box as drawn: its white frame runs along the top row and the left column.
RECT TitleBoxOf(const OffscreenPicture& picture) {
    auto white = [](uint32_t p) { return Channel(p, 16) > 240 && Channel(p, 8) > 240 && Channel(p, 0) > 240; };
    LONG right = 0, bottom = 0;
    while (right < picture.width && white(picture.At(right, 0))) ++right;
    while (bottom < picture.height && white(picture.At(0, bottom))) ++bottom;
    return RECT{0, 0, right, bottom};
}

::testing::AssertionResult NearRect(const RECT& a, const RECT& b, LONG tolerance) {
    if (Empty(a) || Empty(b)) {
        return ::testing::AssertionFailure()
               << "an empty box: (" << a.left << "," << a.top << ")-(" << a.right << "," << a.bottom << ") vs ("
               << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
    }
    if (std::abs(a.left - b.left) <= tolerance && std::abs(a.top - b.top) <= tolerance &&
        std::abs(a.right - b.right) <= tolerance && std::abs(a.bottom - b.bottom) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.left << "," << a.top << ")-(" << a.right << "," << a.bottom
                                         << ") vs (" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom
                                         << ") beyond " << tolerance << " px";
}

class OverlayPainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        // WIC, which decodes the atlas, is a COM server.
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(m_device.Open(kWidth, kHeight));
        ControlBarState state;
        state.contentLoaded = true;
        state.playbackStarted = true;
        state.volumeStep = 12;
        m_bar.Layout(RECT{0, 0, kWidth, kHeight}, state);
        m_bar.UpdateHover(POINT{-1, -1}, false, nullptr);  // idle colours: translucent items
        m_bar.SetColour(static_cast<size_t>(m_bar.IndexOf(CMD_PLAY_PAUSE)), ControlBar_CL::kLitColourArgb);
    }
    void TearDown() override {
        m_device.Close();
        ::CoUninitialize();
    }

    // A painter of the back-end on this test's device, or null (and the test skipped) when
    // that back-end is not available here.
    std::unique_ptr<OverlayPainter_CL> Painter(Backend backend, const std::wstring& atlas) {
        auto painter = std::make_unique<OverlayPainter_CL>(backend);
        if (painter->ActiveBackend() != backend) return nullptr;
        EXPECT_EQ(painter->Create(m_device.Device(), atlas), S_OK);
        return painter;
    }
    std::unique_ptr<OverlayPainter_CL> Painter(Backend backend) {
        return Painter(backend, DShowGraph_CL::StillImagePath());
    }

    OffscreenPicture Render(OverlayPainter_CL* painter, const OverlayScene& scene) {
        OffscreenPicture picture;
        EXPECT_TRUE(m_device.BeginFrame(kBackground));
        painter->Draw(m_device.Device(), scene, m_device.Size());
        m_device.EndFrame();
        EXPECT_TRUE(m_device.ReadBack(&picture));
        return picture;
    }

    static OverlayScene TitleScene(const std::wstring& title) {
        OverlayScene scene;
        scene.title = title;
        scene.showTitle = true;
        return scene;
    }

    static OverlayScene TimeScene() {
        OverlayScene scene;
        scene.title = L"movie";
        scene.showTime = true;
        scene.position = 65 * kSecond;
        scene.duration = 120 * kSecond;
        scene.starCount = 3;
        return scene;
    }

    static OverlayScene ClockScene(int corner) {
        OverlayScene scene;
        scene.showClock = true;
        scene.clockCorner = corner;
        scene.now.wHour = 12;
        scene.now.wMinute = 34;
        scene.now.wMilliseconds = 700;  // the colon shows
        return scene;
    }

    OffscreenDevice_CL m_device;
    ControlBar_CL m_bar;
};

// ---- The GDI back-end against D3DX -------------------------------------------------------

TEST_F(OverlayPainterTest, ControlBarMatchesTheD3dxSprites) {
    auto d3dx = Painter(Backend::kD3dx);
    if (!d3dx) GTEST_SKIP() << "no D3DX here";
    auto gdi = Painter(Backend::kGdi);
    ASSERT_TRUE(gdi->HasAtlas());
    ASSERT_TRUE(d3dx->HasAtlas());
    OverlayScene scene;
    scene.controlBar = &m_bar;
    const OffscreenPicture expected = Render(d3dx.get(), scene);
    const OffscreenPicture actual = Render(gdi.get(), scene);

    long area = 0, close = 0, drawn = 0;
    for (size_t i = 0; i < m_bar.Count(); ++i) {
        if (m_bar.Item(i).hidden) continue;
        const RECT r = m_bar.WindowRect(i);
        for (LONG y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, kHeight); ++y) {
            for (LONG x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, kWidth); ++x) {
                ++area;
                close += Within(actual.At(x, y), expected.At(x, y), 8) ? 1 : 0;
                drawn += Difference(actual.At(x, y), kBackground & 0xFFFFFF) > kInkThreshold ? 1 : 0;
            }
        }
    }
    ASSERT_GT(area, 0);
    EXPECT_GE(close * 100, area * 99) << close << " of " << area << " pixels within 8 levels";
    // The bar is really there, not two empty pictures that agree.
    EXPECT_GT(drawn * 10, area) << drawn << " of " << area << " pixels differ from the background";
}

TEST_F(OverlayPainterTest, ControlBarIsTheAtlasDrawnOneToOne) {
    auto gdi = Painter(Backend::kGdi);
    ASSERT_TRUE(gdi->HasAtlas());
    BgraImage atlas;
    ASSERT_EQ(LoadBgraImage(DShowGraph_CL::StillImagePath().c_str(), &atlas), S_OK);
    OverlayScene scene;
    OffscreenPicture expected = Render(gdi.get(), scene);  // the band alone
    scene.controlBar = &m_bar;
    const OffscreenPicture actual = Render(gdi.get(), scene);

    // Each item's atlas pixels, modulated by its colour, blended over what lies under it.
    std::vector<bool> covered(static_cast<size_t>(kWidth) * kHeight, false);
    for (size_t i = 0; i < m_bar.Count(); ++i) {
        const ControlBarItem& item = m_bar.Item(i);
        if (item.hidden) continue;
        const RECT source = m_bar.SourceRect(i);
        const RECT target = m_bar.WindowRect(i);
        for (LONG y = 0; y < source.bottom - source.top; ++y) {
            for (LONG x = 0; x < source.right - source.left; ++x) {
                const LONG tx = target.left + x, ty = target.top + y;
                if (tx < 0 || ty < 0 || tx >= kWidth || ty >= kHeight) continue;
                const uint32_t texel =
                    atlas.pixels[static_cast<size_t>(source.top + y) * atlas.width + source.left + x];
                const double alpha = Channel(texel, 24) * Channel(item.colourArgb, 24) / (255.0 * 255.0);
                uint32_t& out = expected.pixels[static_cast<size_t>(ty) * kWidth + tx];
                uint32_t blended = 0;
                for (int shift : {16, 8, 0}) {
                    const double colour = Channel(texel, shift) * Channel(item.colourArgb, shift) / 255.0;
                    const double value = colour * alpha + Channel(out, shift) * (1.0 - alpha);
                    blended |= static_cast<uint32_t>(value + 0.5) << shift;
                }
                out = blended;
                covered[static_cast<size_t>(ty) * kWidth + tx] = true;
            }
        }
    }
    long area = 0, close = 0;
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            if (!covered[static_cast<size_t>(y) * kWidth + x]) continue;
            ++area;
            close += Within(actual.At(x, y), expected.At(x, y), 3) ? 1 : 0;
        }
    }
    ASSERT_GT(area, 0);
    EXPECT_GE(close * 1000, area * 999) << close << " of " << area << " pixels within 3 levels";
}

TEST_F(OverlayPainterTest, TitleAndItsBoxMatchD3dx) {
    auto d3dx = Painter(Backend::kD3dx);
    if (!d3dx) GTEST_SKIP() << "no D3DX here";
    auto gdi = Painter(Backend::kGdi);
    for (const wchar_t* title : {L"Lumikino sample movie (2024)", L"日本語のタイトル　第１話"}) {
        const OverlayScene scene = TitleScene(title);
        const OffscreenPicture expected = Render(d3dx.get(), scene);
        const OffscreenPicture actual = Render(gdi.get(), scene);
        const RECT expectedBox = TitleBoxOf(expected), actualBox = TitleBoxOf(actual);
        EXPECT_TRUE(NearRect(actualBox, expectedBox, 2)) << "title box";
        const uint32_t fill = expected.At(3, 3);
        const RECT inside{3, 3, std::min(actualBox.right, expectedBox.right) - 3,
                          std::min(actualBox.bottom, expectedBox.bottom) - 3};
        EXPECT_TRUE(NearRect(InkAgainstColour(actual, fill, inside), InkAgainstColour(expected, fill, inside), 2))
            << "title text";
    }
}

TEST_F(OverlayPainterTest, WrappedTitleBreaksWhereD3dxBreaksIt) {
    auto d3dx = Painter(Backend::kD3dx);
    if (!d3dx) GTEST_SKIP() << "no D3DX here";
    auto gdi = Painter(Backend::kGdi);
    const OverlayScene scene = TitleScene(
        L"A long title that wraps: it runs on and on past the right edge of the window, so that the title box "
        L"grows to hold two lines of it");
    const OffscreenPicture expected = Render(d3dx.get(), scene);
    const OffscreenPicture actual = Render(gdi.get(), scene);
    const RECT expectedBox = TitleBoxOf(expected), actualBox = TitleBoxOf(actual);
    // The same lines: the box is as tall, and the ink covers the same area.
    EXPECT_NEAR(actualBox.bottom, expectedBox.bottom, 2);
    const uint32_t fill = expected.At(3, 3);
    const RECT inside{3, 3, std::min(actualBox.right, expectedBox.right) - 3,
                      std::min(actualBox.bottom, expectedBox.bottom) - 3};
    EXPECT_TRUE(NearRect(InkAgainstColour(actual, fill, inside), InkAgainstColour(expected, fill, inside), 2));
    // GDI's measure counts the space a line was broken at; Wine's D3DX leaves it out. The box
    // may be wider by that one space, never narrower.
    GdiTextRaster_CL raster;
    ASSERT_TRUE(raster.Create(gdi->FontFace().c_str()));
    const LONG space = raster.Measure(kTitleFont, L"a a", DT_SINGLELINE, 0).cx -
                       raster.Measure(kTitleFont, L"aa", DT_SINGLELINE, 0).cx;
    EXPECT_GE(actualBox.right, expectedBox.right - 2);
    EXPECT_LE(actualBox.right, expectedBox.right + space + 2);
}

TEST_F(OverlayPainterTest, PlayTimeAndStarsMatchD3dx) {
    auto d3dx = Painter(Backend::kD3dx);
    if (!d3dx) GTEST_SKIP() << "no D3DX here";
    auto gdi = Painter(Backend::kGdi);
    const OverlayScene scene = TimeScene();
    const OffscreenPicture expected = Render(d3dx.get(), scene);
    const OffscreenPicture actual = Render(gdi.get(), scene);
    const RECT box = TitleBoxOf(expected);
    EXPECT_TRUE(NearRect(TitleBoxOf(actual), box, 0));
    const uint32_t fill = expected.At(3, 3);
    const RECT timeRegion{3, 3, 4 + kStarOffsetX - 1, box.bottom - 3};
    const RECT starRegion{4 + kStarOffsetX - 1, 3, box.right - 3, box.bottom - 3};
    EXPECT_TRUE(NearRect(InkAgainstColour(actual, fill, timeRegion), InkAgainstColour(expected, fill, timeRegion), 2))
        << "play time";
    EXPECT_TRUE(NearRect(InkAgainstColour(actual, fill, starRegion), InkAgainstColour(expected, fill, starRegion), 2))
        << "stars";
}

TEST_F(OverlayPainterTest, ClockAndMessageMatchD3dx) {
    auto d3dx = Painter(Backend::kD3dx);
    if (!d3dx) GTEST_SKIP() << "no D3DX here";
    auto gdi = Painter(Backend::kGdi);
    const OffscreenPicture bare = Render(gdi.get(), OverlayScene());
    const RECT everywhere{0, 0, kWidth, kHeight};
    for (int corner = 0; corner < 4; ++corner) {
        const OverlayScene scene = ClockScene(corner);
        EXPECT_TRUE(NearRect(InkAgainst(Render(gdi.get(), scene), bare, everywhere),
                             InkAgainst(Render(d3dx.get(), scene), bare, everywhere), 2))
            << "clock in corner " << corner;
    }
    OverlayScene message;
    message.message = L"一時停止 (Pause)";
    EXPECT_TRUE(NearRect(InkAgainst(Render(gdi.get(), message), bare, everywhere),
                         InkAgainst(Render(d3dx.get(), message), bare, everywhere), 2))
        << "message";
}

// ---- Caching, Japanese, device life ---------------------------------------------------

TEST_F(OverlayPainterTest, UnchangedTextsAreNotDrawnAgainAndChangedOnesAre) {
    auto painter = Painter(Backend::kGdi);
    OverlayScene scene = TimeScene();
    scene.showTitle = true;
    scene.title = L"first title";
    scene.showClock = true;
    scene.now = ClockScene(0).now;
    const OffscreenPicture first = Render(painter.get(), scene);
    const int drawn = painter->TextRenderCount();
    EXPECT_EQ(drawn, 4);  // title, time, stars, clock

    EXPECT_TRUE(NearRect(TitleBoxOf(Render(painter.get(), scene)), TitleBoxOf(first), 0));
    EXPECT_EQ(painter->TextRenderCount(), drawn);

    scene.title = L"second, longer title of the movie";
    const OffscreenPicture second = Render(painter.get(), scene);
    EXPECT_EQ(painter->TextRenderCount(), drawn + 1);
    EXPECT_GT(TitleBoxOf(second).right, TitleBoxOf(first).right);

    scene.position += kSecond;  // the time line moves on once a second
    Render(painter.get(), scene);
    EXPECT_EQ(painter->TextRenderCount(), drawn + 2);

    scene.now.wMilliseconds = 100;  // the clock's colon blinks
    Render(painter.get(), scene);
    EXPECT_EQ(painter->TextRenderCount(), drawn + 3);
}

TEST_F(OverlayPainterTest, ChangedTitleShowsTheNewText) {
    auto painter = Painter(Backend::kGdi);
    const OffscreenPicture a = Render(painter.get(), TitleScene(L"AAAA AAAA"));
    const OffscreenPicture b = Render(painter.get(), TitleScene(L"iiii iiii"));
    const RECT inside{3, 3, 250, 30};
    const RECT changed = InkAgainst(a, b, inside);
    EXPECT_FALSE(Empty(changed));
    EXPECT_GE(changed.left, 6 - 2);
}

TEST_F(OverlayPainterTest, JapaneseTitleHasInk) {
    auto painter = Painter(Backend::kGdi);
    const OffscreenPicture picture = Render(painter.get(), TitleScene(L"日本語のタイトル"));
    const RECT box = TitleBoxOf(picture);
    const RECT ink = InkAgainstColour(picture, picture.At(3, 3), RECT{3, 3, box.right - 3, box.bottom - 3});
    ASSERT_FALSE(Empty(ink));
    EXPECT_GT(ink.right - ink.left, 8 * 10);  // eight characters of a 16-pixel font
    EXPECT_GT(ink.bottom - ink.top, 8);
}

TEST_F(OverlayPainterTest, CreateAfterReleaseDrawsOnANewDevice) {
    auto painter = Painter(Backend::kGdi);
    OverlayScene scene = TitleScene(L"same title");
    scene.controlBar = &m_bar;
    const OffscreenPicture before = Render(painter.get(), scene);
    const int drawn = painter->TextRenderCount();
    painter->Release();
    EXPECT_FALSE(painter->HasFonts());
    EXPECT_FALSE(painter->HasAtlas());

    m_device.Close();
    ASSERT_TRUE(m_device.Open(kWidth, kHeight));
    ASSERT_EQ(painter->Create(m_device.Device(), DShowGraph_CL::StillImagePath()), S_OK);
    const OffscreenPicture after = Render(painter.get(), scene);
    EXPECT_EQ(painter->TextRenderCount(), drawn + 1);  // drawn afresh for the new device
    EXPECT_TRUE(Empty(InkAgainst(after, before, RECT{0, 0, kWidth, kHeight})));
}

TEST_F(OverlayPainterTest, DrawingGoesOnAfterADeviceReset) {
    for (Backend backend : {Backend::kGdi, Backend::kD3dx}) {
        auto painter = Painter(backend);
        if (!painter) continue;
        OverlayScene scene = TimeScene();
        scene.showTitle = true;
        scene.controlBar = &m_bar;
        const OffscreenPicture before = Render(painter.get(), scene);
        painter->BeforeReset();
        ASSERT_EQ(m_device.Reset(), S_OK);
        painter->AfterReset();
        const OffscreenPicture after = Render(painter.get(), scene);
        EXPECT_TRUE(Empty(InkAgainst(after, before, RECT{0, 0, kWidth, kHeight})))
            << (backend == Backend::kGdi ? "GDI" : "D3DX");
        painter->Release();
    }
}

TEST_F(OverlayPainterTest, MissingAtlasLeavesTheBarOutButDrawsTexts) {
    auto painter = Painter(Backend::kGdi, L"C:\\no such folder\\player_image.png");
    EXPECT_TRUE(painter->HasFonts());
    EXPECT_FALSE(painter->HasAtlas());
    OverlayScene barOnly;
    barOnly.controlBar = &m_bar;
    const OffscreenPicture withBar = Render(painter.get(), barOnly);
    const OffscreenPicture bare = Render(painter.get(), OverlayScene());
    EXPECT_TRUE(Empty(InkAgainst(withBar, bare, RECT{0, 0, kWidth, kHeight})));
    const OffscreenPicture titled = Render(painter.get(), TitleScene(L"title"));
    EXPECT_FALSE(Empty(InkAgainst(titled, bare, RECT{0, 0, kWidth, kHeight})));
}

TEST_F(OverlayPainterTest, SelectionIsFramedOnlyWhenItDoesNotZoom) {
    auto painter = Painter(Backend::kGdi);
    const OffscreenPicture bare = Render(painter.get(), OverlayScene());
    OverlayScene scene;
    scene.selection = RECT{300, 200, 100, 50};  // dragged up and left: corners swapped
    const RECT framed = InkAgainst(Render(painter.get(), scene), bare, RECT{0, 0, kWidth, kHeight});
    EXPECT_TRUE(NearRect(framed, RECT{100, 50, 300, 200}, 0));
    scene.selectionZoom = true;
    EXPECT_TRUE(Empty(InkAgainst(Render(painter.get(), scene), bare, RECT{0, 0, kWidth, kHeight})));
}

TEST_F(OverlayPainterTest, BandLiesAlongTheBottom) {
    auto painter = Painter(Backend::kGdi);
    const OffscreenPicture picture = Render(painter.get(), OverlayScene());
    const uint32_t background = kBackground & 0xFFFFFF;
    EXPECT_EQ(picture.At(kWidth / 2, kHeight - kBandHeight - 1), background);
    EXPECT_NE(picture.At(kWidth / 2, kHeight - kBandHeight), background);
    EXPECT_NE(picture.At(kWidth / 2, kHeight - 1), background);
}

// ---- Choosing the back-end ---------------------------------------------------------------

struct BackendCase {
    const wchar_t* setting;
    bool d3dxLoaded;
    Backend expected;
};

class BackendChoice : public ::testing::TestWithParam<BackendCase> {};

TEST_P(BackendChoice, D3dxOnlyWhenAskedForAndInstalled) {
    const BackendCase& c = GetParam();
    EXPECT_EQ(OverlayPainter_CL::ChooseBackend(c.setting, c.d3dxLoaded), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BackendChoice,
    ::testing::Values(BackendCase{nullptr, true, Backend::kGdi}, BackendCase{nullptr, false, Backend::kGdi},
                      BackendCase{L"", true, Backend::kGdi}, BackendCase{L"gdi", true, Backend::kGdi},
                      BackendCase{L"d3dx", true, Backend::kD3dx}, BackendCase{L"D3DX", true, Backend::kD3dx},
                      BackendCase{L"d3dx", false, Backend::kGdi}, BackendCase{L"something", true, Backend::kGdi}));

}  // namespace
