#pragma once
// The Direct3D 9 presenter: draws the renderer's YUY2 frames into the video window through the
// DXVA2 video processor (scaling, colour conversion and, where the processor offers it, colour
// adjustment in one blit), and the overlay on top (OverlayPainter_CL): message line, title box
// with play time and stars, clock, and the control bar from the image atlas.
//
// The device lives on a hidden window of its own; the picture is drawn into a target sized to
// the video window, one of two ways chosen once per process:
// - present: an additional swap chain on the video window, shown with its Present;
// - copy: a render target, read back into system memory and drawn into the video window with
//   GDI. Wine shows nothing a device presents into a child window, so this path is taken there.
// Colour adjustment goes through the processor when it offers all four controls, otherwise
// through ColourAdjust_CL on the frame as it is uploaded (FrameConverter_CL's SIMD passes on
// its helper threads); both read the same raw values.
//
// Threads: the device belongs to the user-interface thread (see PresenterDevice_CL). There,
// under the owning renderer's frame lock, InitializeD3D9 makes or takes the device,
// ResetDevice follows the window's size (a new window-sized target, never a device reset) and
// Maintain restores a lost device, follows the window's and the frame's sizes and remakes what
// a loss took. Draw runs under the same lock on the streaming thread or the UI thread and only
// draws into what exists: when it finds the device lost, the window resized or the frame size
// changed it raises MaintenanceWanted and goes on at the old size (or draws nothing while the
// device is lost); the renderer then asks the UI thread to call Maintain. The overlay and
// colour setters run on the UI thread without that lock; they store under m_stateLock, and
// Draw takes a copy under it, so a string is never read while it is being replaced.

#include <windows.h>
#include <d3d9.h>
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
#include "media/FrameConverter_CL.h"
#include "media/PresenterDevice_CL.h"
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
    // Thread: UI. Releases the device a released presenter left for the next movie (the
    // program's end; tests that count devices).
    static void ReleaseParkedDevice();

    bool InitializeD3D9(HWND window) override;
    bool ResetDevice() override;
    void Draw(const uint8_t* frame) override;
    void ReleaseDevice() override;
    bool MaintenanceWanted() const override { return m_maintenanceWanted.load(); }
    bool Maintain() override;

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
    bool DeviceLost() const { return m_lost; }
    bool HasVideoProcessor() const { return m_processor.processor != nullptr; }
    // No usable processor: frames are converted to RGB on the CPU and stretched.
    bool ConvertsOnCpu() const { return m_processor.rgbSource; }
    bool AdjustsColourItself() const { return m_cpuColour; }
    bool HasOverlayResources() const { return m_device && m_device->Overlay().HasFonts(); }
    const std::wstring& FontFace() const { return m_fontFace; }

    // Test hooks. After SimulateDeviceLoss the next Draw finds the device lost, as a failed
    // Present shows a real loss; the next TestCooperativeLevel then reports it lost and the one
    // after that waiting for Reset. ReadBackBuffer copies the last finished picture as 32-bit
    // pixels (B, G, R, x), rows top-down. ResetCount counts device resets, TargetCount the
    // window-sized targets made. Under the frame lock.
    void SimulateDeviceLoss() { m_simulatedLoss = 3; }
    bool ReadBackBuffer(std::vector<uint32_t>* pixels, SIZE* size);
    int ResetCount() const { return m_resetCount; }
    int TargetCount() const { return m_targetCount; }
    // The device and the window-sized target it draws into, for benchmarks that compare
    // against bare loops on the same device. Under the frame lock.
    IDirect3DDevice9* Device() const { return m_device ? m_device->Device() : nullptr; }
    IDirect3DSurface9* BackBuffer() const { return m_target.surface.Get(); }

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

    // What Draw draws into, sized to the video window: the back buffer of a swap chain on the
    // video window (present path), or a render target read back into system memory (copy).
    struct WindowTarget {
        Microsoft::WRL::ComPtr<IDirect3DSwapChain9> swapChain;
        Microsoft::WRL::ComPtr<IDirect3DSurface9> surface;
        Microsoft::WRL::ComPtr<IDirect3DSurface9> readBack;
        SIZE size{0, 0};
    };

    // What the processor check found for a frame size on this presenter's device, so that a
    // device reset or a new target does not check again.
    struct ProcessorVerdict {
        bool known = false;
        int width = 0, height = 0;
        bool usable = false;
        GUID guid{};
    };

    // Thread: UI (the device's owner), under the frame lock.
    bool CreateWindowTarget(SIZE size);
    bool RestoreDevice();
    void ReleaseDefaultPool();
    bool SetUpVideoProcessor();
    using ProbeBlit = std::function<HRESULT(IDirect3DSurface9* target, const RECT& source, const RECT& destination)>;
    bool DrawsRed(IDirect3DSurface9* source, const ProbeBlit& blit);
    bool ProcessorDraws(const VideoProcessorPart& part);
    bool SetUpFallbackSurface();
    void ReleaseVideoProcessor();
    void ReleaseAll();
    SIZE ClientSize() const;
    int FrameWidth() const { return m_frameWidth > 0 ? m_frameWidth : m_sourceWidth; }
    int FrameHeight() const { return m_frameHeight > 0 ? m_frameHeight : m_sourceHeight; }
    // Thread: the drawing thread. Asks the UI thread for Maintain.
    void RequestMaintenance() { m_maintenanceWanted = true; }

    bool Upload(const uint8_t* frame, const OverlayState& state);
    bool WriteSurface(const uint8_t* frame);
    void Blit(const OverlayState& state, SIZE client);
    void DrawOverlay(const OverlayState& state, SIZE client);
    // Lays the bar out for the video window's client area and the overlay state. Under m_stateLock.
    void LayOutBarForWindow();
    // Logs a failed drawing step with its code when the frame log is on.
    static void NoteDrawFailure(const wchar_t* step, HRESULT hr);
    void Show(SIZE client);

    static std::atomic<int> s_presentPath;
    static std::atomic<FARPROC> s_softwareRasterizer;

    HWND m_window = nullptr;  // the video window
    bool m_copyPath = false;

    std::unique_ptr<PresenterDevice_CL> m_device;
    IDirect3DDevice9* Dev() const { return m_device->Device(); }
    WindowTarget m_target;
    VideoProcessorPart m_processor;
    ProcessorVerdict m_verdict;
    bool m_lost = false;  // Present found the device lost; Maintain restores it
    std::atomic<bool> m_maintenanceWanted{false};

    std::wstring m_fontFace;  // the overlay's, for the log and the tests
    std::wstring m_stillImagePath;

    int m_sourceWidth = 640, m_sourceHeight = 480;
    int m_frameWidth = 0, m_frameHeight = 0, m_aspectX = 16, m_aspectY = 9;
    uint32_t m_frameBufferCapacity = 0;
    int64_t m_position = -1, m_duration = -1;

    // Colour adjustment on the CPU, applied as each frame is written to the source surface (a
    // redraw passes the renderer's frame again, so new values show at once).
    bool m_cpuColour = false;
    ColourAdjust_CL m_colourAdjust;
    // The CPU conversion's threads: started with the first device on the UI thread, joined
    // when the presenter goes.
    std::unique_ptr<FrameConverter_CL> m_converter;
    FrameConverter_CL& Converter();
    int32_t m_appliedProcAmp[4] = {0, 0x10000, 0, 0x10000};
    bool m_haveFrame = false;

    std::mutex m_stateLock;
    OverlayState m_state;  // under m_stateLock

    int m_simulatedLoss = 0;
    int m_resetCount = 0;
    int m_targetCount = 0;
};

// The factory the program installs with SetPresenterFactory.
std::unique_ptr<VideoPresenter_CL> CreateDXHelper();
