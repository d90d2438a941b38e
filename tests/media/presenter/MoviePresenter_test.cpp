// Movies through the real graph, the renderer's conversions and the Direct3D presenter: what
// reaches the video window is the movie's picture, the right way up, in the right colours.

#include <gtest/gtest.h>

#include "media/BlitGeometry.h"
#include "media/CMyRenderer.h"
#include "media/DShowGraph_CL.h"
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
        PresenterTest::TearDown();
        ::CoUninitialize();
    }

    // Plays the movie in the window until its orientation mark shows; the picture then.
    Picture PlayUntilMarkShows(const AviMovieSpec& spec, const std::wstring& name, BlitRects* rects) {
        std::wstring path = m_folder.Join(name);
        std::string error;
        EXPECT_TRUE(AviWriter_CL::Write(path, spec, &error)) << error;
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
        input.frameWidth = spec.width;
        input.frameHeight = spec.height;
        input.aspectY = 3;  // plain AVI headers carry no aspect: 4:3 by the renderer's rule
        input.client = SIZE{client.right, client.bottom};
        *rects = ComputeBlitRects(input);
        EXPECT_TRUE(SUCCEEDED(m_graph.MediaControl()->Run()));
        Picture picture;
        WaitUntil(
            [&] {
                Pump();
                picture = CaptureWindow();
                return MoviePictureShows(picture, *rects, spec);
            },
            5000);
        m_graph.MediaControl()->Stop();
        return picture;
    }

    static int WindowX(const BlitRects& r, const AviMovieSpec& spec, int x) {
        return r.destination.left + x * (r.destination.right - r.destination.left) / spec.width;
    }
    static int WindowY(const BlitRects& r, const AviMovieSpec& spec, int y) {
        return r.destination.top + y * (r.destination.bottom - r.destination.top) / spec.height;
    }

    static bool MoviePictureShows(const Picture& picture, const BlitRects& rects, const AviMovieSpec& spec) {
        const int markX = spec.width / 16, markY = spec.height / 32;
        Rgb mark = picture.At(WindowX(rects, spec, markX), WindowY(rects, spec, markY));
        Rgb bottom = picture.At(WindowX(rects, spec, markX), WindowY(rects, spec, spec.height - markY));
        return Near(mark, Rgb{255, 255, 255}, 12) && bottom.r + bottom.g + bottom.b < 3 * 110;
    }

    void ExpectMoviePicture(const Picture& picture, const BlitRects& rects, const AviMovieSpec& spec) {
        const int markX = spec.width / 16, markY = spec.height / 32;
        EXPECT_TRUE(ColourNear(picture.At(WindowX(rects, spec, markX), WindowY(rects, spec, markY)), Rgb{255, 255, 255}, 12))
            << "orientation mark top left";
        // Bottom left is background: a picture upside down would show the mark there.
        Rgb bottom = picture.At(WindowX(rects, spec, markX), WindowY(rects, spec, spec.height - markY));
        EXPECT_LT(bottom.r + bottom.g + bottom.b, 3 * 110) << "upside down?";
        // The background is one of the movie's background colours.
        Rgb background = picture.At(WindowX(rects, spec, markX), WindowY(rects, spec, spec.height / 2));
        bool matched = false;
        for (int frame = 0; frame < spec.frameCount && !matched; ++frame) {
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
    AviMovieSpec spec;
    spec.width = 320;
    spec.height = 240;
    spec.frameCount = 60;
    spec.withAudio = false;
    BlitRects rects;
    Picture picture = PlayUntilMarkShows(spec, L"yuy2.avi", &rects);
    ExpectMoviePicture(picture, rects, spec);
}

TEST_F(MoviePresenterTest, BottomUpRgb32MovieIsShownTheRightWayUp) {
    OpenWindows(500, 330, DXHelper_CL::PresentPath::kCopy);
    AviMovieSpec spec;
    spec.width = 352;
    spec.height = 198;
    spec.frameCount = 60;
    spec.pixel = AviMovieSpec::Pixel::Rgb32;
    spec.withAudio = false;
    BlitRects rects;
    Picture picture = PlayUntilMarkShows(spec, L"rgb32.avi", &rects);
    ExpectMoviePicture(picture, rects, spec);
}

}  // namespace
