#pragma once
// The Direct3D 9 presenter: draws the renderer's YUY2 frames into the video window through the
// DXVA2 video processor (scaling, colour conversion and, where the processor offers it, colour
// adjustment in one blit), and the overlay on top: message line, title box with play time and
// stars, clock, and the control bar from the image atlas.
//
// Two ways to the screen, chosen once per process:
// - present: the device belongs to the video window and Present shows the back buffer;
// - copy: the device belongs to a hidden top-level window, the finished back buffer is read
//   back into system memory and drawn into the video window with GDI. Wine shows nothing a
//   device presents into a child window, so this path is taken there.
// Colour adjustment goes through the processor when it offers all four controls, otherwise
// through ColourAdjust_CL on the frame as it is uploaded; both read the same raw values.
//
// Threads: InitializeD3D9, ResetDevice, Draw and ReleaseDevice run under the owning renderer's
// frame lock, from the streaming thread and the UI thread. The overlay and colour setters run
// on the UI thread without that lock; they store under m_stateLock, and Draw takes a copy
// under it, so a string is never read while it is being replaced.

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dxva2api.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "media/BlitGeometry.h"
#include "media/ColourAdjust_CL.h"
#include "media/ControlBar_CL.h"
#include "media/VideoPresenter_CL.h"

class DXHelper_CL : public VideoPresenter_CL {
public:
    enum class PresentPath { kPresent, kCopy };

    DXHelper_CL();
    ~DXHelper_CL() override;
    DXHelper_CL(const DXHelper_CL&) = delete;
    DXHelper_CL& operator=(const DXHelper_CL&) = delete;

    // Process-wide choices, made by the program at start-up before any presenter exists.
    // The path: LK_PRESENT_PATH=copy or =present in the environment wins; otherwise copy under
    // Wine (ntdll exports wine_get_version) and present elsewhere.
    static PresentPath DetectPresentPath();
    static void SetPresentPath(PresentPath path);
    static PresentPath CurrentPresentPath();
    // rgb9rast.dll's D3D9GetSWInfo when start-up found it; registered as the software device.
    static void SetSoftwareRasterizer(FARPROC entry);

    bool InitializeD3D9(HWND window) override;
    bool ResetDevice() override;
    void Draw(const uint8_t* frame) override;
    void ReleaseDevice() override;

    void SetFrameFormat(int width, int height, int aspectX, int aspectY) override;
    void SetSourceSize(int width, int height) override;
    void SetFrameBufferCapacity(uint32_t bytes) override { m_frameBufferCapacity = bytes; }
    void SetPosition(int64_t position, int64_t duration) override;
    void SetStillImagePath(const std::wstring& path) override;

    void SetZoomMode(int mode) override;
    void SetMessageText(const std::wstring& text) override;
    void SetTitleText(const std::wstring& text) override;
    void SetStarCount(int count) override;
    void SetSelection(bool zoom, const RECT& selection) override;
    void SetShowTitle(bool show) override;
    void SetShowTime(bool show) override;
    void SetShowClock(bool show, int corner) override;
    void SetPlaybackShown(bool contentLoaded, bool started) override;
    void SetOverlay(const OverlayModel& model) override;
    ProcAmpRange GetProcAmpRange(int mask) override;
    void SetProcAmpValue(int mask, int32_t raw) override;
    // (max - min) / step / 32, at least 1: how far a page key moves a colour slider.
    int32_t ProcAmpPageSize(int mask);

    // The control bar: its state for the two-state items (the content and playing flags come
    // from SetPlaybackShown), its skip tips, the video window's hover and volume hits, and a
    // copy of its items as last laid out, for tool tips. Thread: UI.
    void SetControlBarState(const ControlBarState& state);
    void SetSkipSeconds(int back, int forward);
    int UpdateHover(POINT point, bool volumeDrag, ControlBarVolumeHit* volume);
    ControlBarVolumeHit HitVolume(POINT point);
    ControlBar_CL ControlBarSnapshot();

    // What the presenter found on this machine, for the log and the tests.
    bool HasDevice() const { return m_device != nullptr; }
    bool HasVideoProcessor() const { return m_processor.processor != nullptr; }
    // No usable processor: frames are converted to RGB on the CPU and stretched.
    bool ConvertsOnCpu() const { return m_processor.rgbSource; }
    bool AdjustsColourItself() const { return m_cpuColour; }
    bool HasOverlayResources() const { return m_sprite != nullptr && m_fonts[0] != nullptr; }
    const std::wstring& FontFace() const { return m_fontFace; }

    // Test hooks. The next TestCooperativeLevel reports a lost device, the one after that a
    // device waiting for Reset, as a real loss does. ReadBackBuffer copies the last finished
    // back buffer as 32-bit pixels (B, G, R, x), rows top-down. Both under the frame lock.
    void SimulateDeviceLoss() { m_simulatedLoss = 2; }
    bool ReadBackBuffer(std::vector<uint32_t>* pixels, SIZE* size);
    int ResetCount() const { return m_resetCount; }
    // The device and its back buffer, for benchmarks that compare against bare loops on the
    // same device. Under the frame lock.
    IDirect3DDevice9* Device() const { return m_device.Get(); }
    IDirect3DSurface9* BackBuffer() const { return m_backBuffer.Get(); }

private:
    struct VideoProcessorPart {
        Microsoft::WRL::ComPtr<IDirectXVideoProcessorService> service;
        Microsoft::WRL::ComPtr<IDirectXVideoProcessor> processor;
        Microsoft::WRL::ComPtr<IDirect3DSurface9> source;  // YUY2, surfaceWidth x surfaceHeight
        DXVA2_VideoDesc description{};
        GUID guid{};
        bool procAmpSupported[4] = {};
        DXVA2_ValueRange procAmpRanges[4] = {};
        DXVA2_ValueRange noiseRanges[6] = {}, detailRanges[6] = {};
        DXVA2_Fixed32 noise[6] = {}, detail[6] = {};
        bool rgbSource = false;  // the fallback: X8R8G8B8 converted on the CPU, no processor
        // The fallback writes into system memory and uploads with UpdateSurface: locking a
        // video-memory surface can cost a read-back of the whole picture.
        Microsoft::WRL::ComPtr<IDirect3DSurface9> staging;
        int surfaceWidth = 0, surfaceHeight = 0;
    };

    // Everything the UI thread sets, copied by Draw under m_stateLock.
    struct OverlayState {
        int zoomMode = kZoomFit;
        std::wstring message, title;
        int starCount = 0;
        bool selectionZoom = false;
        RECT selection{-1, -1, -1, -1};
        bool showTitle = false, showTime = false, showClock = false;
        int clockCorner = 0;
        int skipBackSeconds = 10, skipForwardSeconds = 10;  // what the skip tips say now
        bool contentLoaded = false, playbackStarted = false;
        int32_t procAmp[4] = {0, 0x10000, 0, 0x10000};
        ControlBarState barState;
        ControlBar_CL controlBar;  // laid out by each Draw, recoloured by hover updates
    };

    struct QuadVertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
    };

    D3DPRESENT_PARAMETERS PresentParameters() const;
    bool CreateDevice();
    bool SetUpVideoProcessor();
    using ProbeBlit = std::function<HRESULT(IDirect3DSurface9* target, const RECT& source, const RECT& destination)>;
    bool DrawsRed(IDirect3DSurface9* source, const ProbeBlit& blit);
    bool ProcessorDraws(const VideoProcessorPart& part);
    bool SetUpFallbackSurface();
    void CreateResources();
    void ReleaseResources();
    void ReleaseVideoProcessor();
    void ReleaseAll();
    bool EnsureHiddenWindow();
    void DestroyHiddenWindow();
    SIZE ClientSize() const;

    bool Upload(const uint8_t* frame, const OverlayState& state);
    bool WriteSurface(const uint8_t* frame);
    void Blit(const OverlayState& state, SIZE client);
    void DrawOverlay(const OverlayState& state, SIZE client);
    // Lays the bar out for the video window's client area and the overlay state. Under m_stateLock.
    void LayOutBarForWindow();
    // Logs a failed drawing step with its code when the frame log is on.
    static void NoteDrawFailure(const wchar_t* step, HRESULT hr);
    void AddQuad(std::vector<QuadVertex>* quads, float left, float top, float right, float bottom, D3DCOLOR colour);
    void AddFrame(std::vector<QuadVertex>* quads, const RECT& rect, int thickness, D3DCOLOR colour);
    void Show(SIZE client);

    static std::atomic<int> s_presentPath;
    static std::atomic<FARPROC> s_softwareRasterizer;

    HWND m_window = nullptr;         // the video window
    HWND m_deviceWindow = nullptr;   // the video window, or the hidden one on the copy path
    OwnedWindow_CL m_hiddenWindow;   // the copy path's device window
    bool m_copyPath = false;

    Microsoft::WRL::ComPtr<IDirect3D9> m_d3d;
    Microsoft::WRL::ComPtr<IDirect3DDevice9> m_device;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> m_backBuffer;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> m_readBack;  // copy path: system-memory twin
    D3DPRESENT_PARAMETERS m_presentParameters{};
    VideoProcessorPart m_processor;

    Microsoft::WRL::ComPtr<ID3DXSprite> m_sprite;
    Microsoft::WRL::ComPtr<IDirect3DTexture9> m_stillImage;
    Microsoft::WRL::ComPtr<ID3DXFont> m_fonts[4];  // message, title, time, clock
    std::wstring m_fontFace;
    std::wstring m_stillImagePath;

    int m_sourceWidth = 640, m_sourceHeight = 480;
    int m_frameWidth = 0, m_frameHeight = 0, m_aspectX = 16, m_aspectY = 9;
    uint32_t m_frameBufferCapacity = 0;
    int64_t m_position = -1, m_duration = -1;

    // Colour adjustment on the CPU, applied as each frame is written to the source surface (a
    // redraw passes the renderer's frame again, so new values show at once).
    bool m_cpuColour = false;
    ColourAdjust_CL m_colourAdjust;
    int32_t m_appliedProcAmp[4] = {0, 0x10000, 0, 0x10000};
    bool m_haveFrame = false;

    std::mutex m_stateLock;
    OverlayState m_state;  // under m_stateLock

    int m_simulatedLoss = 0;
    int m_resetCount = 0;
};

// The factory the program installs with SetPresenterFactory.
std::unique_ptr<VideoPresenter_CL> CreateDXHelper();
