#pragma once
// The player's video renderer. Accepts uncompressed YUY2 and RGB32 video, keeps the latest
// frame in a frame buffer in YUY2 layout, works out the play position for the overlay, and
// hands each frame to its presenter, which draws it into the video window. In the thumbnail
// graph a frame callback takes the frames instead and nothing is drawn.
//
// Threads: DoRenderSample and OnReceiveFirstSample run on the video streaming thread;
// SetVideoWindow, OnResize, Redraw, CopyFrame and CreateFrameBitmap on the UI thread. The
// frame lock (a Win32 mutex) guards the frame buffer, its size, the presenter and the
// position. The connect log and type-burst state are touched only on the graph's thread.

#include <windows.h>
#include <dshow.h>
#include <dvdmedia.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "media/PlayPositionTracker_CL.h"
#include "media/VideoPresenter_CL.h"
#include "media/dshow/BaseRenderer_CL.h"

// {99F56865-F7DD-4ACB-9DB9-C1F3C537CF1F}
constexpr CLSID CLSID_LumikinoRenderer = {0x99f56865, 0xf7dd, 0x4acb, {0x9d, 0xb9, 0xc1, 0xf3, 0xc5, 0x37, 0xcf, 0x1f}};

class CMyRenderer : public BaseRenderer_CL {
public:
    using FrameCallback = void (*)(void* context, const BYTE* data, const VIDEOINFOHEADER2& header);

    // A new renderer with one reference, or null; *result tells why not.
    static CMyRenderer* Create(HRESULT* result);

    // Thread: graph (connection).
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    HRESULT SetMediaType(const MediaType_CL& type) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    // Thread: streaming.
    HRESULT DoRenderSample(IMediaSample* sample) override;
    void OnReceiveFirstSample(IMediaSample* sample) override;

    // Thread: UI. Stores the window; a real window gets the presenter set up on it, at once
    // or, when the program defers it (PresenterSetUpDeferred), at the WM_PRESENTER_MAINTAIN
    // this posts: until then frames are kept and nothing is drawn.
    virtual void SetVideoWindow(HWND window);
    virtual void OnResize();
    virtual void Redraw();
    // Thread: UI. WM_PRESENTER_MAINTAIN: the presenter mends what a draw found (a lost device,
    // a new window or frame size) and the latest frame is drawn again.
    void MaintainPresenter();

    // Thread: UI. A copy of the latest frame (YUY2, top-down), empty when there is none.
    std::vector<uint8_t> CopyFrame();
    // Thread: UI. A top-down 32-bit DIB section of a frame; raw RGB32 sample data is taken as
    // it is (bottom-up), anything else as YUY2. The caller deletes it. Null on failure.
    HBITMAP CreateFrameBitmap(const BYTE* data, int width, int height, bool raw);
    void GetVideoSize(int* width, int* height);
    // The size the main window lays the video out with: 16:9 material is shown 16:9 wide.
    SIZE DisplaySize();

    void SetDuration(int64_t duration) { m_duration = duration; }
    int64_t Duration() const { return m_duration; }
    int64_t Position();
    void SetStillImagePath(const std::wstring& path);
    // Thread: the thumbnail worker, before its graph starts.
    void SetFrameCallback(void* context, FrameCallback callback);
    bool Redrawn() const { return m_redrawn.load(); }
    bool IsRgb32() const { return m_rgb32.load(); }
    const std::wstring& ConnectLog() const { return m_connectLog; }
    // The presenter, for the overlay settings; use it under FrameLock.
    VideoPresenter_CL* Presenter() { return m_presenter.get(); }
    HANDLE FrameLock() const { return m_frameLock.Get(); }

    // Pure: the checked video header of a type, widened to VIDEOINFOHEADER2. False for a type
    // whose format block is short, whose size is outside 1..16384 or whose width does not
    // pair up into YUY2 macropixels.
    static bool ReadVideoHeader(const AM_MEDIA_TYPE& type, VIDEOINFOHEADER2* header);

private:
    CMyRenderer(HRESULT* result);
    ~CMyRenderer() override;

    // Copies (and for RGB32 converts) a sample into the frame buffer; false when the sample is
    // shorter than its type says (it is skipped). Under the frame lock.
    bool TakeSampleLocked(IMediaSample* sample, const wchar_t* allocationTrace);
    // Under the frame lock, after a draw: asks the UI thread for the presenter's Maintain.
    void PostMaintenanceIfWanted();
    void PostMaintenance();
    void WriteConnectLog();

    KernelHandle_CL m_frameLock;
    std::unique_ptr<VideoPresenter_CL> m_presenter;  // under the frame lock
    HWND m_window = nullptr;
    VIDEOINFOHEADER2 m_header{};                      // under the frame lock
    int m_width = 0, m_height = 0;                    // under the frame lock
    bool m_topDownRgb = false;                        // under the frame lock
    std::atomic<bool> m_maintenancePosted{false};
    bool m_setUpPending = false;                      // under the frame lock
    std::atomic<bool> m_rgb32{false};
    std::atomic<bool> m_redrawn{false};
    std::vector<uint8_t> m_frame;                     // under the frame lock; grows only
    uint32_t m_frameLength = 0;                       // under the frame lock
    SIZE m_lastResetClient{0, 0};                     // UI thread
    void* m_callbackContext = nullptr;
    FrameCallback m_callback = nullptr;
    std::wstring m_connectLog;
    PlayPositionTracker_CL m_tracker;                 // under the frame lock
    std::atomic<int64_t> m_duration{0};

    // Sample statistics for the frame trace (streaming thread only).
    uint32_t m_lastSampleTick = 0, m_windowStartTick = 0, m_samplesInWindow = 0;
    bool m_statisticsLogged = false;
    int64_t m_lastLoggedStart = -1;

    // Suppression of repeated identical type notifications (graph thread only).
    bool m_typeSet = false;
    int m_lastWidth = 0, m_lastHeight = 0;
    DWORD m_lastAspectX = 0, m_lastAspectY = 0;
    GUID m_lastSubtype{};
    uint32_t m_lastTypeTick = 0;
    int m_burstCount = 0;
};
