#pragma once
// A renderer with one input pin: holds the first sample while paused, schedules samples
// against the reference clock while running, drops frames that arrive too late, handles
// flushing, end of stream and state changes, and sends EC_COMPLETE.
//
// Threads: Receive and EndOfStream on the upstream streaming thread, serialised by
// m_receiveLock; everything else on the graph's thread. The streaming thread waits on
// events, never on the filter lock: m_abortEvent (stop or flush), m_runEvent (running),
// m_pausedEvent (paused) and m_readyEvent (a paused renderer has its first sample, or the
// stream ended) are manual-reset events set by the graph's thread under the filter lock.

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <mutex>

#include "base/UniqueHandle_CL.h"
#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/InputPin_CL.h"
#include "media/dshow/SeekingPassThru_CL.h"

class BaseRenderer_CL;

class RendererInputPin_CL : public InputPin_CL {
public:
    RendererInputPin_CL(BaseRenderer_CL* renderer, const wchar_t* name);
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    HRESULT SetMediaType(const MediaType_CL& type) override;
    HRESULT BreakConnect() override;
    HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;

private:
    BaseRenderer_CL* m_renderer;
};

class BaseRenderer_CL : public BaseFilter_CL, public IAMFilterMiscFlags {
public:
    BaseRenderer_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid);
    ~BaseRenderer_CL() override;

    LK_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    int GetPinCount() override { return 1; }
    BasePin_CL* GetPin(int index) override;

    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;

    // IAMFilterMiscFlags: the graph counts us among the renderers whose EC_COMPLETE it awaits.
    ULONG STDMETHODCALLTYPE GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    // What the derived renderer decides and does.
    virtual HRESULT CheckMediaType(const MediaType_CL& type) = 0;
    // Called under the filter lock: at connection on the graph's thread, or on the streaming
    // thread (receive lock held) when a sample carries a new type.
    virtual HRESULT SetMediaType(const MediaType_CL&) { return S_OK; }
    // Thread: streaming. Draws (or takes) one sample when its time has come.
    virtual HRESULT DoRenderSample(IMediaSample* sample) = 0;
    // Thread: streaming. A sample arrived while paused (the picture to show until running).
    virtual void OnReceiveFirstSample(IMediaSample*) {}
    virtual void OnConnectionBroken() {}

    // Thread: streaming, called by the input pin.
    HRESULT Render(IMediaSample* sample);
    void EndOfStreamReached();
    void FlushStarted();
    void FlushEnded();

    // Whether frames later than their duration are dropped (on by default).
    void SetDropLateFrames(bool drop) { m_dropLateFrames = drop; }
    LONG FramesRendered() const { return m_framesRendered.load(); }
    LONG FramesDropped() const { return m_framesDropped.load(); }
    RendererInputPin_CL& InputPin() { return m_input; }
    std::mutex& ReceiveLock() { return m_receiveLock; }

private:
    void SendCompleteLocked();
    // Waits until the sample's time on the clock; false when the wait was ended by a state
    // change (then the loop in Render decides again). Sets *late when the time had passed.
    bool WaitForPresentationTime(REFERENCE_TIME start, REFERENCE_TIME stop, bool* late, bool* render);

    std::mutex m_receiveLock;
    RendererInputPin_CL m_input;
    SeekingPassThru_CL m_seeking;
    KernelHandle_CL m_abortEvent, m_runEvent, m_pausedEvent, m_readyEvent, m_adviseEvent;
    bool m_completeSent = false;  // under m_filterLock
    std::atomic<bool> m_dropLateFrames{true};
    std::atomic<LONG> m_framesRendered{0};
    std::atomic<LONG> m_framesDropped{0};
};
