#include "media/dshow/TransformFilter_CL.h"

// --- input pin ---

TransformInputPin_CL::TransformInputPin_CL(TransformFilter_CL* filter, const wchar_t* name)
    : InputPin_CL(filter, name), m_transform(filter) {}

HRESULT TransformInputPin_CL::CheckMediaType(const MediaType_CL& type) {
    HRESULT hr = m_transform->CheckInputType(type);
    if (hr != S_OK) return hr;
    // With the output already connected, the new input must still fit its type.
    if (m_transform->OutputPin().IsConnected()) {
        return m_transform->CheckTransform(type, m_transform->OutputPin().ConnectionType());
    }
    return S_OK;
}

HRESULT TransformInputPin_CL::SetMediaType(const MediaType_CL& type) {
    HRESULT hr = InputPin_CL::SetMediaType(type);
    if (FAILED(hr)) return hr;
    return m_transform->SetInputMediaType(type);
}

HRESULT STDMETHODCALLTYPE TransformInputPin_CL::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_transform->ReceiveLock());
    HRESULT hr = CheckStreaming(sample);
    if (hr != S_OK) return hr;
    return m_transform->Receive(sample);
}

HRESULT STDMETHODCALLTYPE TransformInputPin_CL::EndOfStream() {
    std::lock_guard<std::mutex> lock(m_transform->ReceiveLock());
    if (IsFlushing() || m_filter->State() == State_Stopped) return S_OK;
    InputPin_CL::EndOfStream();
    return m_transform->EndOfStream();
}

HRESULT STDMETHODCALLTYPE TransformInputPin_CL::BeginFlush() {
    InputPin_CL::BeginFlush();
    return m_transform->BeginFlush();
}

HRESULT STDMETHODCALLTYPE TransformInputPin_CL::EndFlush() {
    HRESULT hr = m_transform->EndFlush();
    InputPin_CL::EndFlush();
    return hr;
}

HRESULT STDMETHODCALLTYPE TransformInputPin_CL::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    InputPin_CL::NewSegment(start, stop, rate);
    return m_transform->NewSegment(start, stop, rate);
}

// --- output pin ---

TransformOutputPin_CL::TransformOutputPin_CL(TransformFilter_CL* filter, const wchar_t* name)
    : OutputPin_CL(filter, name), m_transform(filter), m_seeking(static_cast<IPin*>(this), &filter->InputPin()) {}

HRESULT STDMETHODCALLTYPE TransformOutputPin_CL::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IMediaSeeking) {
        *out = static_cast<IMediaSeeking*>(&m_seeking);
        AddRef();
        return S_OK;
    }
    return OutputPin_CL::QueryInterface(iid, out);
}

HRESULT TransformOutputPin_CL::CheckConnect(IPin* peer) {
    // The output types follow from the input's.
    if (!m_transform->InputPin().IsConnected()) return E_UNEXPECTED;
    return OutputPin_CL::CheckConnect(peer);
}

HRESULT TransformOutputPin_CL::CheckMediaType(const MediaType_CL& type) {
    if (!m_transform->InputPin().IsConnected()) return E_INVALIDARG;
    return m_transform->CheckTransform(m_transform->InputPin().ConnectionType(), type);
}

HRESULT TransformOutputPin_CL::GetMediaType(int position, MediaType_CL* type) {
    return m_transform->GetMediaType(position, type);
}

HRESULT TransformOutputPin_CL::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    return m_transform->DecideBufferSize(allocator, request);
}

// --- filter ---

TransformFilter_CL::TransformFilter_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid)
    : BaseFilter_CL(name, outer, clsid), m_input(this, L"In"), m_output(this, L"Out") {}

TransformFilter_CL::~TransformFilter_CL() = default;

BasePin_CL* TransformFilter_CL::GetPin(int index) {
    if (index == 0) return &m_input;
    if (index == 1) return &m_output;
    return nullptr;
}

HRESULT STDMETHODCALLTYPE TransformFilter_CL::Stop() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    FILTER_STATE before = m_state;
    // Decommitting first unblocks a Receive waiting for an output buffer.
    HRESULT hr = BaseFilter_CL::Stop();
    // No waiting for the receive lock here: a Receive may sit in a downstream filter that the
    // graph has not stopped yet (the graph does not promise to stop downstream filters first),
    // and it can only leave once that filter stops. StopStreaming must therefore cope with a
    // last Receive still finishing.
    if (before != State_Stopped && m_input.IsConnected()) StopStreaming();
    return hr;
}

HRESULT STDMETHODCALLTYPE TransformFilter_CL::Pause() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_state == State_Stopped && m_input.IsConnected()) {
        HRESULT hr = StartStreaming();
        if (FAILED(hr)) return hr;
    }
    return BaseFilter_CL::Pause();
}

HRESULT TransformFilter_CL::Receive(IMediaSample* sample) {
    if (!m_output.IsConnected()) return S_OK;  // nobody to deliver to
    IMediaSample* output = nullptr;
    HRESULT hr = m_output.GetDeliveryBuffer(&output);
    if (FAILED(hr)) return hr;
    hr = Transform(sample, output);
    if (hr == S_OK) {
        hr = m_output.Deliver(output);
    } else if (hr == S_FALSE) {
        hr = S_OK;
    }
    output->Release();
    return hr;
}

HRESULT TransformFilter_CL::EndOfStream() { return m_output.IsConnected() ? m_output.DeliverEndOfStream() : S_OK; }
HRESULT TransformFilter_CL::BeginFlush() { return m_output.IsConnected() ? m_output.DeliverBeginFlush() : S_OK; }
HRESULT TransformFilter_CL::EndFlush() { return m_output.IsConnected() ? m_output.DeliverEndFlush() : S_OK; }

HRESULT TransformFilter_CL::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return m_output.IsConnected() ? m_output.DeliverNewSegment(start, stop, rate) : S_OK;
}
