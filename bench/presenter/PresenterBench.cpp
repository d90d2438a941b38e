// Drawing 1920 x 1080 frames through the Direct3D presenter, against bare loops on the same
// device in the same run:
// - present path, colour adjustment on: time per frame against StretchRect + Present;
// - copy path (what draws under Wine): frames per second to the screen against a bare loop of
//   the same read-back and GDI copy.
// The CPU conversion pass alone is bench_conversion's.

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"
#include "media/DXHelper_CL.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kFrames = 60;

double Now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

std::vector<uint8_t> TestFrame(int index) {
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight * 2);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = &frame[static_cast<size_t>(y) * kWidth * 2];
        for (int x = 0; x < kWidth; x += 2, row += 4) {
            row[0] = static_cast<uint8_t>(16 + (x + index) % 200);
            row[1] = static_cast<uint8_t>(64 + y % 128);
            row[2] = row[0];
            row[3] = static_cast<uint8_t>(192 - y % 128);
        }
    }
    return frame;
}

HWND MakeWindow() {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                    nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(::DefWindowProcW));
    Pump();
    return window;
}

std::unique_ptr<DXHelper_CL> MakePresenter(HWND window, DXHelper_CL::PresentPath path) {
    DXHelper_CL::SetPresentPath(path);
    auto presenter = std::make_unique<DXHelper_CL>();
    presenter->SetPlaybackShown(true, true);
    if (!presenter->InitializeD3D9(window)) return nullptr;
    presenter->SetFrameFormat(kWidth, kHeight, 16, 9);
    presenter->SetSourceSize(kWidth, kHeight);
    presenter->SetFrameBufferCapacity(kWidth * kHeight * 2);
    // Colour adjustment on: brighter, more contrast, a little hue and saturation.
    presenter->SetProcAmpValue(1, 10 << 16);
    presenter->SetProcAmpValue(2, 0x13333);
    presenter->SetProcAmpValue(4, 5 << 16);
    presenter->SetProcAmpValue(8, 0x11999);
    return presenter;
}

double TimePresenter(DXHelper_CL* presenter, const std::vector<std::vector<uint8_t>>& frames) {
    for (int i = 0; i < 5; ++i) presenter->Draw(frames[i % frames.size()].data());
    double start = Now();
    for (int i = 0; i < kFrames; ++i) {
        presenter->Draw(frames[i % frames.size()].data());
        Pump();
    }
    return (Now() - start) / kFrames;
}

}  // namespace

int wmain() {
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(TestFrame(i * 7));
    HWND window = MakeWindow();

    // Present path against StretchRect + Present on the same device.
    {
        auto presenter = MakePresenter(window, DXHelper_CL::PresentPath::kPresent);
        if (!presenter) {
            std::printf("no Direct3D device\n");
            return 1;
        }
        double presenterMs = TimePresenter(presenter.get(), frames);
        IDirect3DDevice9* device = presenter->Device();
        ComPtr<IDirect3DSurface9> surface;
        device->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, surface.GetAddressOf(),
                                            nullptr);
        // The presenter draws into a swap chain of the window: the bare loop presents the same.
        ComPtr<IDirect3DSwapChain9> swapChain;
        presenter->BackBuffer()->GetContainer(__uuidof(IDirect3DSwapChain9),
                                              reinterpret_cast<void**>(swapChain.GetAddressOf()));
        if (!swapChain) {
            std::printf("the presenter's target is no swap chain\n");
            return 1;
        }
        double start = Now();
        for (int i = 0; i < kFrames; ++i) {
            device->StretchRect(surface.Get(), nullptr, presenter->BackBuffer(), nullptr, D3DTEXF_LINEAR);
            swapChain->Present(nullptr, nullptr, nullptr, nullptr, 0);
            Pump();
        }
        double bareMs = (Now() - start) / kFrames;
        std::printf("present path 1080p with colour adjustment: %.2f ms/frame, StretchRect+Present %.2f ms/frame, "
                    "ratio %.2fx\n",
                    presenterMs, bareMs, presenterMs / bareMs);
    }

    // Copy path against the bare read-back and GDI copy on the same device.
    {
        auto presenter = MakePresenter(window, DXHelper_CL::PresentPath::kCopy);
        if (!presenter) return 1;
        double presenterMs = TimePresenter(presenter.get(), frames);
        IDirect3DDevice9* device = presenter->Device();
        ComPtr<IDirect3DSurface9> readBack;
        device->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                            readBack.GetAddressOf(), nullptr);
        double start = Now();
        for (int i = 0; i < kFrames; ++i) {
            device->GetRenderTargetData(presenter->BackBuffer(), readBack.Get());
            HDC surfaceDc = nullptr;
            if (SUCCEEDED(readBack->GetDC(&surfaceDc))) {
                HDC windowDc = ::GetDC(window);
                ::BitBlt(windowDc, 0, 0, kWidth, kHeight, surfaceDc, 0, 0, SRCCOPY);
                ::ReleaseDC(window, windowDc);
                readBack->ReleaseDC(surfaceDc);
            }
            Pump();
        }
        double bareMs = (Now() - start) / kFrames;
        std::printf("copy path 1080p to the screen: %.2f ms/frame (%.1f fps), bare read-back + GDI copy %.2f ms/frame "
                    "(%.1f fps), ratio %.2fx\n",
                    presenterMs, 1000.0 / presenterMs, bareMs, 1000.0 / bareMs, presenterMs / bareMs);
    }

    ::DestroyWindow(window);
    return 0;
}
