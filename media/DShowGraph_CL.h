#pragma once
// One DirectShow filter graph for one movie, with the interfaces the player uses on it. The
// build always puts our video renderer in, and on the playback path with pitch keeping our
// pitch filter, then lets the graph manager render the file and (on that path) swaps the
// DirectSound renderer for the waveOut one. Release takes it down in a fixed order.
//
// Thread: the playback holder is used only on the UI thread, the thumbnail holder only on
// the thumbnail worker. The streaming threads call into the filters, never into the holder.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "media/dshow/ControlUuids.h"

#include <string>

class CMyRenderer;
class LumiAudioPitchShiftFilter_CL;

class DShowGraph_CL {
public:
    DShowGraph_CL() = default;
    ~DShowGraph_CL();
    DShowGraph_CL(const DShowGraph_CL&) = delete;
    DShowGraph_CL& operator=(const DShowGraph_CL&) = delete;

    // The video window (null for the thumbnail holder): decides the clock, given to the renderer.
    void SetVideoWindow(HWND window) { m_hWnd = window; }
    HWND VideoWindow() const { return m_hWnd; }

    // thumbnail: no pitch filter, no audio-renderer swap.
    [[nodiscard]] HRESULT CreateFilterGraph(const std::wstring& path, bool thumbnail);
    // Builds with the retries below, waiting between attempts on the calling thread: for a
    // worker thread. The user-interface thread waits on a timer instead (the content loader).
    [[nodiscard]] HRESULT CreateFilterGraphWithRetry(const std::wstring& path, bool thumbnail,
                                                     const std::wstring& callerName);

    // The retry rule: the first build and five more, 1 s apart, since a file on a share that is
    // waking up may open on a later attempt; a file the graph manager could not find is not
    // tried again. attemptsMade counts the builds made so far, the last of which answered hr.
    static constexpr int kBuildAttempts = 6;
    static constexpr DWORD kBuildRetryDelayMs = 1000;
    static bool BuildAttemptAgain(HRESULT hr, int attemptsMade);
    // The graph trace of one failed or retried build attempt (log_detail_graph): the caller's
    // start line and the retry lines before another attempt, the end line after the last.
    static void TraceBuildAttempt(const std::wstring& callerName, HRESULT hr, int attemptsMade, bool again);
    void ReleaseFilterGraph();

    // The available range; where the platform answers an empty range, the length comes from
    // the duration instead (latest = duration, earliest = 0).
    HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest);

    // Moves the current position (the stop position stays). Wine's audio renderers hang in
    // Stop, and so in every later release, once a graph with sound was seeked while running
    // or paused; a graph seeked while stopped is fine. Where seeks need that, the graph is
    // stopped for the seek and put back into the state it had. Thread: whoever controls the
    // graph (the UI thread for the playback graph).
    HRESULT Seek(LONGLONG position);
    static HRESULT Seek(IMediaControl* control, IMediaSeeking* seeking, LONGLONG position);
    // True where seeks go through a stopped graph: under Wine, unless LK_SEEK_STOPPED=0 in the
    // environment (=1 forces it elsewhere).
    static bool SeeksNeedStoppedGraph();
    // 1 when video is not connected and a default sound renderer plays the audio.
    int IsSoundOnlyGraph();
    // The first input pin of a filter, with a reference, or null.
    static Microsoft::WRL::ComPtr<IPin> GetPin(IBaseFilter* filter);

    CMyRenderer* Renderer() const { return m_rendererObject; }
    LumiAudioPitchShiftFilter_CL* PitchFilter() const { return m_pitch; }
    IGraphBuilder* Graph() const { return m_graph.Get(); }
    IMediaControl* MediaControl() const { return m_mediaControl.Get(); }
    IMediaSeeking* MediaSeeking() const { return m_mediaSeeking.Get(); }
    IBasicAudio* BasicAudio() const { return m_basicAudio.Get(); }
    IMediaEventEx* MediaEventEx() const { return m_mediaEventEx.Get(); }
    LONGLONG Earliest() const { return m_earliest; }
    LONGLONG Latest() const { return m_latest; }
    const std::wstring& ErrorText() const { return m_errorText; }
    int PitchQuality() const { return m_pitchQuality; }
    void SetPitchQuality(int quality) { m_pitchQuality = quality; }
    // The running-object-table cookie of the current graph (0 = none).
    DWORD RotCookie() const { return m_rotCookie; }
    // (640, 380) without a renderer, else the renderer's display size.
    SIZE GetDisplaySize() const;

    // The still image the presenter shows; the program's folder + "\player_image.png".
    static std::wstring StillImagePath();

private:
    HRESULT Fail(HRESULT hr, const wchar_t* message);
    HRESULT SwapAudioRenderer();
    // Under Wine a graph that would clock itself by its own system clock gets the process's
    // shared one instead (see SharedSystemClock in the .cpp).
    void UseSharedSystemClockIfNeeded();
    void DumpFilters(const wchar_t* startLine, const wchar_t* lineFormat, const wchar_t* endLine);
    void RegisterInRunningObjectTable();
    void RevokeFromRunningObjectTable();
    void LogRendererConnection();

    HWND m_hWnd = nullptr;
    DWORD m_rotCookie = 0;
    std::wstring m_errorText;
    Microsoft::WRL::ComPtr<IGraphBuilder> m_graph;
    Microsoft::WRL::ComPtr<IMediaControl> m_mediaControl;
    Microsoft::WRL::ComPtr<IMediaSeeking> m_mediaSeeking;
    Microsoft::WRL::ComPtr<IBasicAudio> m_basicAudio;
    Microsoft::WRL::ComPtr<IMediaFilter> m_mediaFilter;
    Microsoft::WRL::ComPtr<IBaseFilter> m_renderer;
    CMyRenderer* m_rendererObject = nullptr;  // the object behind m_renderer, not counted
    Microsoft::WRL::ComPtr<IMediaEventEx> m_mediaEventEx;
    LumiAudioPitchShiftFilter_CL* m_pitch = nullptr;  // one reference
    LONGLONG m_earliest = -1;
    LONGLONG m_latest = -1;
    int m_pitchQuality = 1;
};
