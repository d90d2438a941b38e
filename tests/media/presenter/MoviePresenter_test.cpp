// Movies through the real graph, the renderer's conversions and the Direct3D presenter: what
// reaches the video window is the movie's picture, the right way up, in the right colours.

#include <gtest/gtest.h>

#include "media/BlitGeometry.h"
#include "media/CMyRenderer.h"
#include "media/DShowGraph_CL.h"
#include "media/DeviceThreadCheck.h"
#include "media/PlaybackIds.h"
#include "base/MutexLock_CL.h"
#include "tests/media/presenter/PresenterFixture.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

class MoviePresenterTest : public PresenterTest {
protected:
    void SetUp() override {
        PresenterTest::SetUp();
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SetPresenterFactory(CreateDXHelper);
    }
    void TearDown() override {
        m_graph.ReleaseFilterGraph();
        SetPresenterFactory(nullptr);
        SetPresenterSetUpDeferred(false);
        PresenterTest::TearDown();
        ::CoUninitialize();
    }

    // Plays the movie in the window until its orientation mark shows; the picture then.
    Picture PlayUntilMarkShows(const AviMovieSpec& movieSpec, const std::wstring& name, BlitRects* rects) {
        std::wstring path = m_folder.Join(name);
        std::string error;
        EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
        m_graph.SetVideoWindow(m_video);
        EXPECT_EQ(m_graph.CreateFilterGraph(path, true), S_OK) << m_graph.ErrorText();
        CMyRenderer* renderer = m_graph.Renderer();
        if (!renderer) return Picture();
        {
            MutexLock_CL lock(renderer->FrameLock());
            renderer->Presenter()->SetPlaybackShown(true, true);
        }
        RECT client{};
        ::GetClientRect(m_video, &client);
        BlitInput input;
        input.frameWidth = movieSpec.width;
        input.frameHeight = movieSpec.height;
        input.aspectY = 3;  // plain AVI headers carry no aspect: 4:3 by the renderer's rule
        input.client = SIZE{client.right, client.bottom};
        *rects = ComputeBlitRects(input);
        EXPECT_TRUE(SUCCEEDED(m_graph.MediaControl()->Run()));
        Picture picture;
        WaitUntil(
            [&] {
                Pump();
                picture = CaptureWindow();
                return MoviePictureShows(picture, *rects, movieSpec);
            },
            5000);
        m_graph.MediaControl()->Stop();
        return picture;
    }

    static int WindowX(const BlitRects& r, const AviMovieSpec& movieSpec, int x) {
        return r.destination.left + x * (r.destination.right - r.destination.left) / movieSpec.width;
    }
    static int WindowY(const BlitRects& r, const AviMovieSpec& movieSpec, int y) {
        return r.destination.top + y * (r.destination.bottom - r.destination.top) / movieSpec.height;
    }

    static bool MoviePictureShows(const Picture& picture, const BlitRects& rects, const AviMovieSpec& movieSpec) {
        const int markX = movieSpec.width / 16, markY = movieSpec.height / 32;
        Rgb mark = picture.At(WindowX(rects, movieSpec, markX), WindowY(rects, movieSpec, markY));
        Rgb bottom = picture.At(WindowX(rects, movieSpec, markX), WindowY(rects, movieSpec, movieSpec.height - markY));
        return Near(mark, Rgb{255, 255, 255}, 12) && bottom.r + bottom.g + bottom.b < 3 * 110;
    }

    void ExpectMoviePicture(const Picture& picture, const BlitRects& rects, const AviMovieSpec& movieSpec) {
        const int markX = movieSpec.width / 16, markY = movieSpec.height / 32;
        EXPECT_TRUE(ColourNear(picture.At(WindowX(rects, movieSpec, markX), WindowY(rects, movieSpec, markY)), Rgb{255, 255, 255}, 12))
            << "orientation mark top left";
        // Bottom left is background: a picture upside down would show the mark there.
        Rgb bottom = picture.At(WindowX(rects, movieSpec, markX), WindowY(rects, movieSpec, movieSpec.height - markY));
        EXPECT_LT(bottom.r + bottom.g + bottom.b, 3 * 110) << "upside down?";
        // The background is one of the movie's background colours.
        Rgb background = picture.At(WindowX(rects, movieSpec, markX), WindowY(rects, movieSpec, movieSpec.height / 2));
        bool matched = false;
        for (int frame = 0; frame < movieSpec.frameCount && !matched; ++frame) {
            AviRgb8 colour = AviWriter_CL::BackgroundColour(frame);
            matched = Near(background, Rgb{colour.r, colour.g, colour.b}, 6);
        }
        EXPECT_TRUE(matched) << background.r << "," << background.g << "," << background.b;
    }

    TempFolder_CL m_folder;
    DShowGraph_CL m_graph;
};

TEST_F(MoviePresenterTest, Yuy2MovieReachesTheWindow) {
    OpenWindows(400, 400, DXHelper_CL::PresentPath::kCopy);
    AviMovieSpec movieSpec;
    movieSpec.width = 320;
    movieSpec.height = 240;
    movieSpec.frameCount = 60;
    movieSpec.withAudio = false;
    BlitRects rects;
    Picture picture = PlayUntilMarkShows(movieSpec, L"yuy2.avi", &rects);
    ExpectMoviePicture(picture, rects, movieSpec);
}

TEST_F(MoviePresenterTest, BottomUpRgb32MovieIsShownTheRightWayUp) {
    OpenWindows(500, 330, DXHelper_CL::PresentPath::kCopy);
    AviMovieSpec movieSpec;
    movieSpec.width = 352;
    movieSpec.height = 198;
    movieSpec.frameCount = 60;
    movieSpec.pixel = AviMovieSpec::Pixel::Rgb32;
    movieSpec.withAudio = false;
    BlitRects rects;
    Picture picture = PlayUntilMarkShows(movieSpec, L"rgb32.avi", &rects);
    ExpectMoviePicture(picture, rects, movieSpec);
}

TEST_F(MoviePresenterTest, DeferredSetUpMakesTheDeviceOnTheUiThreadAndShowsTheKeptPicture) {
    OpenWindows(400, 400, DXHelper_CL::PresentPath::kCopy);
    SetPresenterSetUpDeferred(true);
    AviMovieSpec movieSpec;
    movieSpec.width = 320;
    movieSpec.height = 240;
    movieSpec.frameCount = 60;
    movieSpec.withAudio = false;
    std::wstring path = m_folder.Join(L"deferred.avi");
    std::string error;
    ASSERT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
    const int violationsBefore = DeviceThreadCheck::Violations();
    m_graph.SetVideoWindow(m_video);
    ASSERT_EQ(m_graph.CreateFilterGraph(path, true), S_OK) << m_graph.ErrorText();
    CMyRenderer* renderer = m_graph.Renderer();
    ASSERT_NE(renderer, nullptr);
    auto* presenter = dynamic_cast<DXHelper_CL*>(renderer->Presenter());
    ASSERT_NE(presenter, nullptr);
    {
        MutexLock_CL lock(renderer->FrameLock());
        presenter->SetPlaybackShown(true, true);
        EXPECT_FALSE(presenter->HasDevice()) << "the graph was built without waiting for a device";
    }
    // The graph runs and delivers while the device does not exist yet; the set-up request waits
    // in this (the UI) thread's queue.
    ASSERT_TRUE(SUCCEEDED(m_graph.MediaControl()->Run()));
    ASSERT_TRUE(WaitUntil([&] { return !renderer->CopyFrame().empty(); }, 5000));
    MSG request{};
    ASSERT_TRUE(::PeekMessageW(&request, m_top, WM_PRESENTER_MAINTAIN, WM_PRESENTER_MAINTAIN, PM_REMOVE));
    renderer->MaintainPresenter();
    EXPECT_TRUE(presenter->HasDevice());
    RECT client{};
    ::GetClientRect(m_video, &client);
    BlitInput input;
    input.frameWidth = movieSpec.width;
    input.frameHeight = movieSpec.height;
    input.aspectY = 3;
    input.client = SIZE{client.right, client.bottom};
    BlitRects rects = ComputeBlitRects(input);
    Picture picture;
    WaitUntil(
        [&] {
            Pump();
            picture = CaptureWindow();
            return MoviePictureShows(picture, rects, movieSpec);
        },
        5000);
    m_graph.MediaControl()->Stop();
    ExpectMoviePicture(picture, rects, movieSpec);
    EXPECT_EQ(DeviceThreadCheck::Violations(), violationsBefore);
}

}  // namespace
