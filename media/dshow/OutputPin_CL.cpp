#include "media/dshow/OutputPin_CL.h"

#include "media/dshow/MemAllocator_CL.h"

OutputPin_CL::OutputPin_CL(BaseFilter_CL* filter, const wchar_t* name) : BasePin_CL(filter, name, PINDIR_OUTPUT) {}

OutputPin_CL::~OutputPin_CL() { BreakConnect(); }

HRESULT OutputPin_CL::CompleteConnect(IPin* peer) {
    IMemInputPin* input = nullptr;
    HRESULT hr = peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (FAILED(hr) || !input) return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = DecideAllocator(input);
    if (FAILED(hr)) {
        input->Release();
        return hr;
    }
    m_input = input;
    return S_OK;
}

HRESULT OutputPin_CL::DecideAllocator(IMemInputPin* input) {
    ALLOCATOR_PROPERTIES request{};
    input->GetAllocatorRequirements(&request);  // a wish list; failing to give one is fine
    if (request.cbAlign == 0) request.cbAlign = 1;

    IMemAllocator* allocator = nullptr;
    if (SUCCEEDED(input->GetAllocator(&allocator)) && allocator) {
        ALLOCATOR_PROPERTIES props = request;
        if (SUCCEEDED(DecideBufferSize(allocator, &props)) && SUCCEEDED(input->NotifyAllocator(allocator, FALSE))) {
            m_allocator = allocator;
            return S_OK;
        }
        allocator->Release();
        allocator = nullptr;
    }
    HRESULT hr = MemAllocator_CL::Create(&allocator);
    if (FAILED(hr)) return hr;
    ALLOCATOR_PROPERTIES props = request;
    hr = DecideBufferSize(allocator, &props);
    if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator, FALSE);
    if (FAILED(hr)) {
        allocator->Release();
        return hr;
    }
    m_allocator = allocator;
    return S_OK;
}

HRESULT OutputPin_CL::BreakConnect() {
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    if (m_input) {
        m_input->Release();
        m_input = nullptr;
    }
    return S_OK;
}

HRESULT OutputPin_CL::Active() { return m_allocator ? m_allocator->Commit() : VFW_E_NO_ALLOCATOR; }

HRESULT OutputPin_CL::Inactive() { return m_allocator ? m_allocator->Decommit() : S_OK; }

HRESULT OutputPin_CL::GetDeliveryBuffer(IMediaSample** sample, DWORD flags) {
    if (!m_allocator) return VFW_E_NO_ALLOCATOR;
    return m_allocator->GetBuffer(sample, nullptr, nullptr, flags);
}

HRESULT OutputPin_CL::Deliver(IMediaSample* sample) {
    if (!m_input) return VFW_E_NOT_CONNECTED;
    return m_input->Receive(sample);
}

HRESULT OutputPin_CL::DeliverEndOfStream() { return m_connected ? m_connected->EndOfStream() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin_CL::DeliverBeginFlush() { return m_connected ? m_connected->BeginFlush() : VFW_E_NOT_CONNECTED; }
HRESULT OutputPin_CL::DeliverEndFlush() { return m_connected ? m_connected->EndFlush() : VFW_E_NOT_CONNECTED; }

HRESULT OutputPin_CL::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return m_connected ? m_connected->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}
