#include "media/dshow/InputPin_CL.h"

#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/MemAllocator_CL.h"

InputPin_CL::InputPin_CL(BaseFilter_CL* filter, const wchar_t* name) : BasePin_CL(filter, name, PINDIR_INPUT) {}

InputPin_CL::~InputPin_CL() {
    if (m_allocator) m_allocator->Release();
}

HRESULT STDMETHODCALLTYPE InputPin_CL::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IMemInputPin) {
        *out = static_cast<IMemInputPin*>(this);
        AddRef();
        return S_OK;
    }
    return BasePin_CL::QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE InputPin_CL::GetAllocator(IMemAllocator** allocator) {
    if (!allocator) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    if (!m_allocator) {
        HRESULT hr = MemAllocator_CL::Create(&m_allocator);
        if (FAILED(hr)) return hr;
    }
    *allocator = m_allocator;
    m_allocator->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    if (!allocator) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    allocator->AddRef();
    if (m_allocator) m_allocator->Release();
    m_allocator = allocator;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT InputPin_CL::CheckStreaming(IMediaSample* sample) {
    if (!IsConnected()) return VFW_E_NOT_CONNECTED;
    if (m_flushing) return S_FALSE;
    if (m_filter->State() == State_Stopped) return VFW_E_WRONG_STATE;
    if (m_endOfStream) return VFW_E_SAMPLE_REJECTED_EOS;
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample && sample->GetMediaType(&changed) == S_OK && changed) {
        MediaType_CL type(*changed);
        MediaType_CL::DeleteMediaType(changed);
        // Checked and taken under the filter lock, as at connection time: the graph's thread
        // reads the type under it (ConnectionMediaType, the other pin's checks), and the
        // filter's own hooks then see the same locking whichever way a type arrives. We hold
        // the receive lock here, which comes first in the lock order.
        std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
        if (CheckMediaType(type) != S_OK) return VFW_E_INVALIDMEDIATYPE;
        HRESULT hr = SetMediaType(type);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::Receive(IMediaSample* sample) {
    if (!sample) return E_POINTER;
    return CheckStreaming(sample);
}

HRESULT STDMETHODCALLTYPE InputPin_CL::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
    if (!samples || !processed) return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK) break;
        ++*processed;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::ReceiveCanBlock() { return S_OK; }

HRESULT STDMETHODCALLTYPE InputPin_CL::BeginFlush() {
    m_flushing = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::EndFlush() {
    m_endOfStream = false;
    m_flushing = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InputPin_CL::EndOfStream() {
    m_endOfStream = true;
    return S_OK;
}

HRESULT InputPin_CL::Inactive() {
    m_endOfStream = false;
    m_flushing = false;
    // Decommitting unblocks an upstream filter waiting for one of our buffers.
    return m_allocator ? m_allocator->Decommit() : S_OK;
}

HRESULT InputPin_CL::BreakConnect() {
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    return S_OK;
}
