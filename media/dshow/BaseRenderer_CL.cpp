#include "media/dshow/BaseRenderer_CL.h"

#include <evcode.h>

namespace {
constexpr REFERENCE_TIME kMinimumLateness = 200'000;  // 20 ms: later than this counts as late

HANDLE ManualEvent(bool signalled) { return ::CreateEventW(nullptr, TRUE, signalled ? TRUE : FALSE, nullptr); }
}  // namespace

// --- input pin ---

RendererInputPin_CL::RendererInputPin_CL(BaseRenderer_CL* renderer, const wchar_t* name)
    : InputPin_CL(renderer, name), m_renderer(renderer) {}

HRESULT RendererInputPin_CL::CheckMediaType(const MediaType_CL& type) { return m_renderer->CheckMediaType(type); }

HRESULT RendererInputPin_CL::SetMediaType(const MediaType_CL& type) {
    HRESULT hr = InputPin_CL::SetMediaType(type);
    if (FAILED(hr)) return hr;
    return m_renderer->SetMediaType(type);
}

HRESULT RendererInputPin_CL::BreakConnect() {
    m_renderer->OnConnectionBroken();
    return InputPin_CL::BreakConnect();
}

HRESULT STDMETHODCALLTYPE RendererInputPin_CL::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_renderer->ReceiveLock());
    HRESULT hr = CheckStreaming(sample);
    if (hr != S_OK) return hr;
    return m_renderer->Render(sample);
}

HRESULT STDMETHODCALLTYPE RendererInputPin_CL::EndOfStream() {
    std::lock_guard<std::mutex> lock(m_renderer->ReceiveLock());
    if (IsFlushing() || m_filter->State() == State_Stopped) return S_OK;
    InputPin_CL::EndOfStream();
    m_renderer->EndOfStreamReached();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RendererInputPin_CL::BeginFlush() {
    InputPin_CL::BeginFlush();
    m_renderer->FlushStarted();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RendererInputPin_CL::EndFlush() {
    // Wait for a Receive that the flush released to leave before taking samples again.
    std::lock_guard<std::mutex> lock(m_renderer->ReceiveLock());
    InputPin_CL::EndFlush();
    m_renderer->FlushEnded();
    return S_OK;
}

// --- renderer ---

BaseRenderer_CL::BaseRenderer_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid)
    : BaseFilter_CL(name, outer, clsid),
      m_input(this, L"In"),
      m_seeking(static_cast<IBaseFilter*>(this), &m_input),
      m_abortEvent(ManualEvent(true)),
      m_runEvent(ManualEvent(false)),
      m_pausedEvent(ManualEvent(false)),
      m_readyEvent(ManualEvent(false)),
      m_adviseEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

BaseRenderer_CL::~BaseRenderer_CL() = default;

HRESULT STDMETHODCALLTYPE BaseRenderer_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), out);
    if (iid == IID_IAMFilterMiscFlags) return GetInterface(static_cast<IAMFilterMiscFlags*>(this), out);
    return BaseFilter_CL::NonDelegatingQueryInterface(iid, out);
}

BasePin_CL* BaseRenderer_CL::GetPin(int index) { return index == 0 ? &m_input : nullptr; }

HRESULT STDMETHODCALLTYPE BaseRenderer_CL::Stop() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    ::SetEvent(m_abortEvent.Get());  // a Receive waiting for its time or for Run leaves now
    ::ResetEvent(m_runEvent.Get());
    ::ResetEvent(m_pausedEvent.Get());
    ::ResetEvent(m_readyEvent.Get());
    m_completeSent = false;
    return BaseFilter_CL::Stop();
}

HRESULT STDMETHODCALLTYPE BaseRenderer_CL::Pause() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    bool fromStopped = m_state == State_Stopped;
    HRESULT hr = BaseFilter_CL::Pause();
    if (FAILED(hr)) return hr;
    if (fromStopped) {
        m_completeSent = false;
        ::ResetEvent(m_readyEvent.Get());
        ::ResetEvent(m_abortEvent.Get());
        // Without a connection nothing will come: the pause is complete at once.
        if (!m_input.IsConnected()) ::SetEvent(m_readyEvent.Get());
    }
    ::ResetEvent(m_runEvent.Get());
    ::SetEvent(m_pausedEvent.Get());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseRenderer_CL::Run(REFERENCE_TIME start) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    HRESULT hr = BaseFilter_CL::Run(start);
    if (FAILED(hr)) return hr;
    ::ResetEvent(m_pausedEvent.Get());
    ::SetEvent(m_runEvent.Get());
    // A renderer with no stream, or whose stream ended while paused, is complete now.
    if (!m_input.IsConnected() || m_input.AtEndOfStream()) SendCompleteLocked();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseRenderer_CL::GetState(DWORD timeoutMs, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    FILTER_STATE now;
    {
        std::lock_guard<std::recursive_mutex> lock(m_filterLock);
        now = m_state;
    }
    *state = now;
    if (now != State_Paused) return S_OK;
    // Paused is reached only once a picture is there to show (or the stream has ended).
    if (::WaitForSingleObject(m_readyEvent.Get(), timeoutMs) == WAIT_OBJECT_0) return S_OK;
    return VFW_S_STATE_INTERMEDIATE;
}

void BaseRenderer_CL::SendCompleteLocked() {
    if (m_completeSent) return;
    m_completeSent = true;
    NotifyEvent(EC_COMPLETE, S_OK, 0);
}

void BaseRenderer_CL::EndOfStreamReached() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    ::SetEvent(m_readyEvent.Get());
    if (m_state == State_Running) SendCompleteLocked();
}

void BaseRenderer_CL::FlushStarted() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    ::SetEvent(m_abortEvent.Get());
}

void BaseRenderer_CL::FlushEnded() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    m_completeSent = false;
    if (m_state != State_Stopped) ::ResetEvent(m_abortEvent.Get());
    if (m_state == State_Paused) ::ResetEvent(m_readyEvent.Get());  // a new first sample is due
}

bool BaseRenderer_CL::WaitForPresentationTime(REFERENCE_TIME start, REFERENCE_TIME stop, bool* late, bool* render) {
    *late = false;
    *render = true;
    IReferenceClock* clock = Clock();
    if (!clock) return true;  // no clock: as fast as samples come
    REFERENCE_TIME base = StartTime();
    REFERENCE_TIME now = 0;
    if (FAILED(clock->GetTime(&now))) {
        clock->Release();
        return true;
    }
    REFERENCE_TIME due = base + start;
    REFERENCE_TIME allowance = stop - start > kMinimumLateness ? stop - start : kMinimumLateness;
    if (now > due + allowance) {
        *late = true;
        clock->Release();
        return true;
    }
    if (now >= due) {
        clock->Release();
        return true;
    }
    DWORD_PTR cookie = 0;
    ::ResetEvent(m_adviseEvent.Get());
    if (FAILED(clock->AdviseTime(base, start, reinterpret_cast<HEVENT>(m_adviseEvent.Get()), &cookie))) {
        clock->Release();
        return true;
    }
    HANDLE events[3] = {m_adviseEvent.Get(), m_abortEvent.Get(), m_pausedEvent.Get()};
    DWORD woke = ::WaitForMultipleObjects(3, events, FALSE, INFINITE);
    clock->Unadvise(cookie);
    clock->Release();
    if (woke == WAIT_OBJECT_0) return true;
    *render = false;
    return false;
}

HRESULT BaseRenderer_CL::Render(IMediaSample* sample) {
    if (sample->IsPreroll() == S_OK) return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT timeResult = sample->GetTime(&start, &stop);
    bool timed = SUCCEEDED(timeResult);
    bool shownWhilePaused = false;
    for (;;) {
        FILTER_STATE state = State();
        if (m_input.IsFlushing() || state == State_Stopped) return S_OK;
        if (state == State_Paused) {
            if (!shownWhilePaused) {
                OnReceiveFirstSample(sample);
                shownWhilePaused = true;
                ::SetEvent(m_readyEvent.Get());
            }
            // Hold the sample until Run, or let it go on a stop or flush.
            HANDLE events[2] = {m_abortEvent.Get(), m_runEvent.Get()};
            if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) return S_OK;
            continue;
        }
        if (!timed) break;
        bool late = false, render = true;
        if (!WaitForPresentationTime(start, stop, &late, &render)) continue;
        if (late && m_dropLateFrames) {
            ++m_framesDropped;
            return S_OK;
        }
        if (render) break;
    }
    HRESULT hr = DoRenderSample(sample);
    ++m_framesRendered;
    return hr;
}
