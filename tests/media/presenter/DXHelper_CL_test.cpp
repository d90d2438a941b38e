#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <mutex>
#include <thread>

#include "media/BlitGeometry.h"
#include "media/DeviceThreadCheck.h"
#include "media/PresenterDevice_CL.h"
#include "media/ProcAmpChoice.h"
#include "tests/media/presenter/PresenterFixture.h"

namespace {

// Saturated and plain colours in video-range Y'CbCr: red, green, blue, light grey.
const YCbCr kQuadrants[4] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {180, 128, 128}};
constexpr int kTolerance = 3;

// The window pixel at the centre of quadrant q of a frame shown with these rectangles.
POINT QuadrantCentre(const BlitRects& rects, int frameWidth, int frameHeight, int quadrant) {
    const int fx = (quadrant % 2) ? frameWidth * 3 / 4 : frameWidth / 4;
    const int fy = (quadrant / 2) ? frameHeight * 3 / 4 : frameHeight / 4;
    const RECT& s = rects.source;
    const RECT& d = rects.destination;
    return POINT{d.left + static_cast<LONG>((fx - s.left) * int64_t{d.right - d.left} / (s.right - s.left)),
                 d.top + static_cast<LONG>((fy - s.top) * int64_t{d.bottom - d.top} / (s.bottom - s.top))};
}

BlitRects Placement(int frameWidth, int frameHeight, int aspectY, SIZE client) {
    BlitInput input;
    input.frameWidth = frameWidth;
    input.frameHeight = frameHeight;
    input.aspectY = aspectY;
    input.client = client;
    return ComputeBlitRects(input);
}

bool QuadrantsShow(const Picture& picture, const BlitRects& rects, int frameWidth, int frameHeight,
                   const YCbCr colours[4]) {
    for (int q = 0; q < 4; ++q) {
        POINT p = QuadrantCentre(rects, frameWidth, frameHeight, q);
        if (!Near(picture.At(p.x, p.y), ToRgb(colours[q]), kTolerance)) return false;
    }
    return true;
}

void ExpectQuadrants(const Picture& picture, const BlitRects& rects, int frameWidth, int frameHeight,
                     const YCbCr colours[4]) {
    for (int q = 0; q < 4; ++q) {
        POINT p = QuadrantCentre(rects, frameWidth, frameHeight, q);
        EXPECT_TRUE(ColourNear(picture.At(p.x, p.y), ToRgb(colours[q]), kTolerance))
            << "quadrant " << q << " at " << p.x << "," << p.y;
    }
}

bool IsBlack(Rgb colour) { return colour.r <= 2 && colour.g <= 2 && colour.b <= 2; }

struct SizeCase {
    const char* name;
    int frameWidth, frameHeight, aspectY;
    int clientWidth, clientHeight;
};

TEST_F(PresenterTest, FramesOfKnownColoursReachTheVideoWindowInPlace) {
    const SizeCase cases[] = {
        {"4:3 in a wide window (pillarbox)", 320, 240, 3, 500, 240},
        {"4:3 in a tall window (letterbox)", 320, 240, 3, 320, 400},
        {"odd frame and window sizes", 322, 178, 0, 333, 251},
        {"16:9 anamorphic 1440x1080 shown 16:9", 1440, 1080, 9, 480, 360},
    };
    Open(100, 100);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResizeClient(c.clientWidth, c.clientHeight);
        SetFormat(c.frameWidth, c.frameHeight, 16, c.aspectY);
        std::vector<uint8_t> frame = QuadrantFrame(c.frameWidth, c.frameHeight, kQuadrants);
        BlitRects rects = Placement(c.frameWidth, c.frameHeight, c.aspectY, SIZE{c.clientWidth, c.clientHeight});
        Picture picture = DrawUntil(frame.data(), [&](const Picture& p) {
            return QuadrantsShow(p, rects, c.frameWidth, c.frameHeight, kQuadrants);
        });
        ASSERT_EQ(picture.width, c.clientWidth);
        ExpectQuadrants(picture, rects, c.frameWidth, c.frameHeight, kQuadrants);
        // The bars beside or above the picture are black.
        const RECT& d = rects.destination;
        if (d.left > 1) {
            EXPECT_TRUE(IsBlack(picture.At(d.left / 2, c.clientHeight / 2)));
        }
        if (d.top > 1) {
            EXPECT_TRUE(IsBlack(picture.At(c.clientWidth / 2, d.top / 2)));
        }
        if (d.right < c.clientWidth - 1) {
            EXPECT_TRUE(IsBlack(picture.At((d.right + c.clientWidth) / 2, c.clientHeight / 2)));
        }
    }
}

// ---- Colour adjustment -------------------------------------------------------------------

constexpr int32_t kOne = 0x10000;

int ClampInt(double value) {
    long rounded = std::lround(value);
    return rounded < 0 ? 0 : rounded > 255 ? 255 : static_cast<int>(rounded);
}

// The adjusted colour by the formulas, before the conversion to RGB.
YCbCr Adjusted(YCbCr in, double b, double c, double hDegrees, double s) {
    const double h = hDegrees * 3.14159265358979323846 / 180.0;
    const double cb = in.cb - 128.0, cr = in.cr - 128.0;
    return YCbCr{static_cast<uint8_t>(ClampInt((in.y - 16) * c + 16 + b)),
                 static_cast<uint8_t>(ClampInt((cb * std::cos(h) + cr * std::sin(h)) * c * s + 128)),
                 static_cast<uint8_t>(ClampInt((cr * std::cos(h) - cb * std::sin(h)) * c * s + 128))};
}

struct AdjustCase {
    const char* name;
    int mask;
    double value;
    double b, c, h, s;
};

TEST_F(PresenterTest, ColourControlsFollowTheirFormulasOnScreen) {
    const AdjustCase cases[] = {
        {"brightness +30", 1, 30, 30, 1, 0, 1},
        {"brightness -40", 1, -40, -40, 1, 0, 1},
        {"contrast 1.5", 2, 1.5, 0, 1.5, 0, 1},
        {"contrast 0.5", 2, 0.5, 0, 0.5, 0, 1},
        {"hue 90", 4, 90, 0, 1, 90, 1},
        {"hue -45", 4, -45, 0, 1, -45, 1},
        {"saturation 0", 8, 0, 0, 1, 0, 0},
        {"saturation 1.8", 8, 1.8, 0, 1, 0, 1.8},
    };
    // The picture is letterboxed clear of the control bar's band at the bottom.
    const int width = 320, height = 240;
    Open(width, 360);
    SetFormat(width, height, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(width, height, kQuadrants);
    BlitRects rects = Placement(width, height, 3, SIZE{width, 360});
    // The neutral setting shows the colours unchanged.
    Picture neutral = DrawUntil(frame.data(), [&](const Picture& p) {
        return QuadrantsShow(p, rects, width, height, kQuadrants);
    });
    ExpectQuadrants(neutral, rects, width, height, kQuadrants);

    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t neutralValues[4] = {0, kOne, 0, kOne};
        for (int mask : {1, 2, 4, 8}) m_presenter->SetProcAmpValue(mask, neutralValues[ProcAmpIndex(mask)]);
        m_presenter->SetProcAmpValue(c.mask, static_cast<int32_t>(std::lround(c.value * kOne)));
        YCbCr expected[4];
        for (int q = 0; q < 4; ++q) expected[q] = Adjusted(kQuadrants[q], c.b, c.c, c.h, c.s);
        Picture picture = DrawUntil(frame.data(), [&](const Picture& p) {
            return QuadrantsShow(p, rects, width, height, expected);
        });
        ExpectQuadrants(picture, rects, width, height, expected);
    }
}

TEST_F(PresenterTest, ColourValuesOutsideTheControlsAreRefused) {
    Open(128, 256);
    // Unknown masks change nothing; the ranges are the nominal ones.
    m_presenter->SetProcAmpValue(16, 50 * kOne);
    m_presenter->SetProcAmpValue(3, 50 * kOne);
    EXPECT_EQ(m_presenter->GetProcAmpRange(2).maximum, 10 * kOne);
    EXPECT_EQ(m_presenter->GetProcAmpRange(99).minimum, -100 * kOne);
    EXPECT_EQ(m_presenter->ProcAmpPageSize(1), 62);  // 200 / 0.1 / 32
    SetFormat(64, 48, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(64, 48, kQuadrants);
    BlitRects rects = Placement(64, 48, 3, SIZE{128, 256});
    Picture picture = DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 64, 48, kQuadrants); });
    ExpectQuadrants(picture, rects, 64, 48, kQuadrants);
}

// ---- Frame size, device loss, threads ----------------------------------------------------

TEST_F(PresenterTest, LargerFrameMidStreamIsShownWhole) {
    Open(200, 300);
    SetFormat(64, 48, 4, 3);
    std::vector<uint8_t> small = QuadrantFrame(64, 48, kQuadrants);
    m_presenter->Draw(small.data());
    // The stream switches to a bigger frame: the surface must grow with it.
    const YCbCr swapped[4] = {kQuadrants[3], kQuadrants[2], kQuadrants[1], kQuadrants[0]};
    SetFormat(320, 240, 4, 3);
    std::vector<uint8_t> large = QuadrantFrame(320, 240, swapped);
    BlitRects rects = Placement(320, 240, 3, SIZE{200, 300});
    Picture picture = DrawUntil(large.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 320, 240, swapped); });
    ExpectQuadrants(picture, rects, 320, 240, swapped);
}

TEST_F(PresenterTest, FrameBufferSmallerThanTheFrameKeepsThePreviousPicture) {
    Open(128, 256);
    SetFormat(64, 48, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(64, 48, kQuadrants);
    BlitRects rects = Placement(64, 48, 3, SIZE{128, 256});
    DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 64, 48, kQuadrants); });
    // The renderer says its buffer holds less than a frame: nothing is read from it.
    m_presenter->SetFrameBufferCapacity(100);
    const YCbCr other[4] = {kQuadrants[3], kQuadrants[3], kQuadrants[3], kQuadrants[3]};
    std::vector<uint8_t> short_frame = QuadrantFrame(64, 48, other);
    m_presenter->Draw(short_frame.data());
    ExpectQuadrants(CaptureWindow(), rects, 64, 48, kQuadrants);
}

TEST_F(PresenterTest, LostDeviceIsResetOnTheOwnerThreadAndDrawingGoesOn) {
    Open(96, 256);
    SetFormat(96, 72, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(96, 72, kQuadrants);
    BlitRects rects = Placement(96, 72, 3, SIZE{96, 256});
    DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 96, 72, kQuadrants); });
    const int resetsBefore = m_presenter->ResetCount();
    m_presenter->SimulateDeviceLoss();
    m_presenter->Draw(frame.data());  // finds the loss: nothing more is drawn, the UI thread is asked
    EXPECT_TRUE(m_presenter->DeviceLost());
    EXPECT_TRUE(m_presenter->MaintenanceWanted());
    m_presenter->Draw(frame.data());  // a draw never resets
    EXPECT_EQ(m_presenter->ResetCount(), resetsBefore);
    EXPECT_FALSE(m_presenter->Maintain());  // still lost: wait
    EXPECT_EQ(m_presenter->ResetCount(), resetsBefore);
    EXPECT_TRUE(m_presenter->Maintain());  // ready for reset: reset here
    EXPECT_EQ(m_presenter->ResetCount(), resetsBefore + 1);
    EXPECT_FALSE(m_presenter->DeviceLost());
    Picture picture = DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 96, 72, kQuadrants); });
    ExpectQuadrants(picture, rects, 96, 72, kQuadrants);
    EXPECT_EQ(DeviceThreadCheck::Violations(), 0);
}

TEST_F(PresenterTest, ResizeMakesANewTargetAndKeepsTheDevice) {
    Open(160, 120);
    SetFormat(160, 120, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(160, 120, kQuadrants);
    m_presenter->Draw(frame.data());
    const int devicesBefore = PresenterDevice_CL::CreatedCount();
    const int targetsBefore = m_presenter->TargetCount();
    // Tall enough that the bottom quadrants stand above the control bar's band.
    const int sizes[3][2] = {{300, 400}, {120, 330}, {640, 480}};
    for (const auto& size : sizes) {
        ResizeClient(size[0], size[1]);
        // The streaming thread's draw notices the new size and goes on at the old one.
        m_presenter->Draw(frame.data());
        EXPECT_TRUE(m_presenter->MaintenanceWanted());
        ASSERT_TRUE(m_presenter->ResetDevice());
        BlitRects rects = Placement(160, 120, 3, SIZE{size[0], size[1]});
        Picture picture =
            DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 160, 120, kQuadrants); });
        ExpectQuadrants(picture, rects, 160, 120, kQuadrants);
    }
    EXPECT_EQ(m_presenter->ResetCount(), 0);
    EXPECT_EQ(PresenterDevice_CL::CreatedCount(), devicesBefore);
    EXPECT_EQ(m_presenter->TargetCount(), targetsBefore + 3);
}

TEST_F(PresenterTest, TheNextMoviesPresenterDrawsOnTheSameDevice) {
    Open(160, 320);
    SetFormat(160, 120, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(160, 120, kQuadrants);
    m_presenter->Draw(frame.data());
    const int devicesBefore = PresenterDevice_CL::CreatedCount();
    m_presenter->ReleaseDevice();
    m_presenter = std::make_unique<DXHelper_CL>();
    m_presenter->SetPlaybackShown(true, true);
    SetFormat(96, 72, 4, 3);
    ASSERT_TRUE(m_presenter->InitializeD3D9(m_video));
    EXPECT_EQ(PresenterDevice_CL::CreatedCount(), devicesBefore);
    std::vector<uint8_t> other = QuadrantFrame(96, 72, kQuadrants);
    BlitRects rects = Placement(96, 72, 3, SIZE{160, 320});
    Picture picture = DrawUntil(other.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 96, 72, kQuadrants); });
    ExpectQuadrants(picture, rects, 96, 72, kQuadrants);
}

TEST_F(PresenterTest, DeviceCallsOffTheOwnerThreadAreCaught) {
    Open(64, 48);
    DeviceThreadCheck::SetDeliberate(true);
    const int before = DeviceThreadCheck::Violations();
    std::thread other([&] { m_presenter->Maintain(); });  // a UI-thread call made elsewhere
    other.join();
    m_presenter->SimulateDeviceLoss();
    m_presenter->Draw(nullptr);
    std::thread lost([&] { m_presenter->Maintain(); });  // tests and resets off the owner thread
    lost.join();
    EXPECT_EQ(DeviceThreadCheck::Violations(), before + 1);
    DeviceThreadCheck::SetDeliberate(false);
}

TEST_F(PresenterTest, ResizeAndDeviceLossWhileFramesArriveFromAnotherThread) {
    Open(160, 120);
    SetFormat(160, 120, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(160, 120, kQuadrants);
    const int violationsBefore = DeviceThreadCheck::Violations();
    std::mutex frameLock;  // the renderer's frame lock
    std::atomic<bool> stop{false};
    std::atomic<int> drawn{0};
    std::thread streaming([&] {
        while (!stop) {
            std::lock_guard<std::mutex> lock(frameLock);
            m_presenter->Draw(frame.data());
            ++drawn;
        }
    });
    const DWORD start = ::GetTickCount();
    int round = 0;
    while (::GetTickCount() - start < 3000) {
        const int width = 80 + (round * 37) % 300, height = 60 + (round * 53) % 200;
        ResizeClient(width, height);
        {
            std::lock_guard<std::mutex> lock(frameLock);
            if (round % 3 == 0) m_presenter->SimulateDeviceLoss();
            if (round % 2 == 0) m_presenter->ResetDevice();
            if (m_presenter->MaintenanceWanted()) m_presenter->Maintain();
            m_presenter->SetMessageText(round % 2 ? L"再生" : L"一時停止中です");
            m_presenter->Draw(frame.data());
        }
        m_presenter->SetTitleText(std::wstring(static_cast<size_t>(round % 50), L'題'));
        ++round;
    }
    stop = true;
    streaming.join();
    EXPECT_GT(drawn.load(), 10);
    EXPECT_GT(round, 10);
    EXPECT_GT(m_presenter->ResetCount(), 0);
    EXPECT_EQ(DeviceThreadCheck::Violations(), violationsBefore);
    // Still drawing correctly at a new size.
    m_presenter->SetMessageText(L"");
    m_presenter->SetTitleText(L"");
    ResizeClient(320, 400);
    RECT client{};
    ::GetClientRect(m_video, &client);
    BlitRects rects = Placement(160, 120, 3, SIZE{client.right, client.bottom});
    Picture picture = DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 160, 120, kQuadrants); });
    ExpectQuadrants(picture, rects, 160, 120, kQuadrants);
}

TEST_F(PresenterTest, NoPictureBeforePlaybackHasStarted) {
    Open(96, 256);
    SetFormat(96, 72, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(96, 72, kQuadrants);
    BlitRects rects = Placement(96, 72, 3, SIZE{96, 256});
    DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 96, 72, kQuadrants); });
    m_presenter->SetPlaybackShown(true, false);
    Picture picture = DrawUntil(frame.data(), [&](const Picture& p) { return IsBlack(p.At(24, 18 + 92)); });
    for (int q = 0; q < 4; ++q) {
        POINT p = QuadrantCentre(rects, 96, 72, q);
        EXPECT_TRUE(IsBlack(picture.At(p.x, p.y))) << q;
    }
}

TEST_F(PresenterTest, PresentPathShowsThePictureInATopLevelWindow) {
    Open(128, 256, DXHelper_CL::PresentPath::kPresent);
    SetFormat(128, 96, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(128, 96, kQuadrants);
    BlitRects rects = Placement(128, 96, 3, SIZE{128, 256});
    Picture picture = DrawUntil(
        frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, 128, 96, kQuadrants); }, true);
    ExpectQuadrants(picture, rects, 128, 96, kQuadrants);
}

}  // namespace

namespace {

TEST_F(PresenterTest, PerMovieColourValuesWinOverTheApplications) {
    const int width = 320, height = 240;
    Open(width, 360);
    SetFormat(width, height, 4, 3);
    std::vector<uint8_t> frame = QuadrantFrame(width, height, kQuadrants);
    BlitRects rects = Placement(width, height, 3, SIZE{width, 360});
    ProcAmpSource record, application;
    record.enable = 1;
    record.values[0] = 25 * kOne;  // brighter, the rest unset
    application.enable = 1;
    application.values[3] = 0;  // the application would take the colour out
    ProcAmpChoice choice = ChooseProcAmp(record, application);
    const int masks[4] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) m_presenter->SetProcAmpValue(masks[i], choice.values[i]);
    YCbCr expected[4];
    for (int q = 0; q < 4; ++q) expected[q] = Adjusted(kQuadrants[q], 25, 1, 0, 1);
    Picture picture = DrawUntil(frame.data(), [&](const Picture& p) { return QuadrantsShow(p, rects, width, height, expected); });
    ExpectQuadrants(picture, rects, width, height, expected);
}

}  // namespace
