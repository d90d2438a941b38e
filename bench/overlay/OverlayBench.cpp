// The overlay's cost per frame on one 1280 x 720 device, drawn by the GDI back-end (text
// bitmaps cached as textures, the atlas as textured quads) against the D3DX back-end (fonts
// and sprite) in the same run, each frame finished on the device (an event query):
// - playback: title, play time, stars, clock and control bar at 30 frames a second, so the
//   time text changes every 30th frame and the clock's colon every 15th;
// - changing: the play time different on every frame (a text drawn anew each frame);
// - bare: the same frames with no overlay, the cost every frame has anyway.
// The variants take turns frame by frame (each with a painter of its own, so one's texts do
// not disturb another's cache) and each figure is the median of its frames, so that a burst
// of other work on the machine moves every variant alike. The ratios compare overlay costs
// net of the bare frame.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "media/ControlBar_CL.h"
#include "media/DShowGraph_CL.h"
#include "media/Direct3DLibrary_CL.h"
#include "media/OverlayPainter_CL.h"
#include "tests/media/overlay/OffscreenDevice_CL.h"

namespace {

constexpr int kWidth = 1280, kHeight = 720;
constexpr int kFrames = 300;
constexpr int64_t kFrameTime = 10'000'000 / 30;  // reference time per frame at 30 frames a second

double NowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

enum class Load { kBare, kPlayback, kChanging };

OverlayScene SceneFor(Load load, int frame, const ControlBar_CL* bar) {
    OverlayScene scene;
    if (load == Load::kBare) return scene;
    scene.title = L"Lumikino サンプル動画　第１話 (2024)";
    scene.showTitle = true;
    scene.showTime = true;
    scene.duration = 3600LL * 10'000'000;
    scene.position = load == Load::kPlayback ? frame * kFrameTime : frame * 10'000'000LL;
    scene.starCount = 4;
    scene.showClock = true;
    scene.clockCorner = 3;
    scene.now.wHour = 21;
    scene.now.wMinute = 5 + frame / 1800;
    scene.now.wMilliseconds = static_cast<WORD>((frame * 1000 / 30) % 1000);
    scene.controlBar = bar;
    return scene;
}

// Milliseconds for one frame: begin, overlay, end, and wait until the device has done it.
double TimeFrame(OffscreenDevice_CL* device, OverlayPainter_CL* painter, const OverlayScene& scene) {
    const double start = NowMs();
    device->BeginFrame(D3DCOLOR_XRGB(16, 16, 16));
    if (painter) painter->Draw(device->Device(), scene, device->Size());
    device->EndFrame();
    device->Finish();
    return NowMs() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Variant {
    const char* name;
    OverlayPainter_CL::Backend backend;
    Load load;
    std::unique_ptr<OverlayPainter_CL> painter;
    std::vector<double> frameMs;
};

}  // namespace

int wmain() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // WIC decodes the atlas
    OffscreenDevice_CL device;
    if (!device.Open(kWidth, kHeight)) {
        std::printf("no Direct3D device\n");
        return 1;
    }
    ControlBarState state;
    state.contentLoaded = true;
    state.playbackStarted = true;
    state.volumeStep = 10;
    ControlBar_CL bar;
    bar.Layout(RECT{0, 0, kWidth, kHeight}, state);

    const std::wstring atlas = DShowGraph_CL::StillImagePath();
    const bool haveD3dx = Direct3DLibrary_CL::Instance().Loaded();
    Variant variants[] = {{"bare", OverlayPainter_CL::Backend::kGdi, Load::kBare, nullptr, {}},
                          {"GDI playback", OverlayPainter_CL::Backend::kGdi, Load::kPlayback, nullptr, {}},
                          {"GDI changing", OverlayPainter_CL::Backend::kGdi, Load::kChanging, nullptr, {}},
                          {"D3DX playback", OverlayPainter_CL::Backend::kD3dx, Load::kPlayback, nullptr, {}},
                          {"D3DX changing", OverlayPainter_CL::Backend::kD3dx, Load::kChanging, nullptr, {}}};
    const size_t count = haveD3dx ? 5 : 3;
    for (size_t v = 0; v < count; ++v) {
        if (variants[v].load == Load::kBare) continue;  // nothing drawn at all
        variants[v].painter = std::make_unique<OverlayPainter_CL>(variants[v].backend);
        if (FAILED(variants[v].painter->Create(device.Device(), atlas))) {
            std::printf("overlay resources could not be made (%s)\n", variants[v].name);
            return 1;
        }
    }
    // Warm-up: first uses of fonts, textures and glyph caches.
    for (int frame = 0; frame < 30; ++frame) {
        for (size_t v = 0; v < count; ++v) {
            TimeFrame(&device, variants[v].painter.get(), SceneFor(variants[v].load, frame, &bar));
        }
    }
    for (int frame = 0; frame < kFrames; ++frame) {
        for (size_t k = 0; k < count; ++k) {
            Variant& variant = variants[(frame + k) % count];  // a different one goes first each frame
            variant.frameMs.push_back(TimeFrame(&device, variant.painter.get(), SceneFor(variant.load, frame, &bar)));
        }
    }

    const double bareMs = Median(variants[0].frameMs);
    const double gdiPlaybackMs = Median(variants[1].frameMs), gdiChangingMs = Median(variants[2].frameMs);
    std::printf("overlay 1280x720, %d frames per variant (medians); bare frame %.3f ms\n", kFrames, bareMs);
    if (!haveD3dx) {
        std::printf(
            "GDI overlay: playback %.3f ms/frame, time changing every frame %.3f ms/frame (no D3DX here to "
            "compare with)\n",
            gdiPlaybackMs, gdiChangingMs);
        return 0;
    }
    const double d3dxPlaybackMs = Median(variants[3].frameMs), d3dxChangingMs = Median(variants[4].frameMs);
    auto net = [bareMs](double ms) { return std::max(ms - bareMs, 0.001); };
    std::printf("playback: GDI %.3f ms/frame, D3DX %.3f ms/frame; overlay cost net of the bare frame GDI/D3DX = %.2f\n",
                gdiPlaybackMs, d3dxPlaybackMs, net(gdiPlaybackMs) / net(d3dxPlaybackMs));
    std::printf("time changing every frame: GDI %.3f ms/frame, D3DX %.3f ms/frame; net GDI/D3DX = %.2f\n",
                gdiChangingMs, d3dxChangingMs, net(gdiChangingMs) / net(d3dxChangingMs));
    std::printf("texts drawn with GDI: playback %d, changing %d\n", variants[1].painter->TextRenderCount(),
                variants[2].painter->TextRenderCount());
    return 0;
}
