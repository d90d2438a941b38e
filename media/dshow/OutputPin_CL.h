#pragma once
// An output pin that delivers samples to a downstream IMemInputPin, from an allocator agreed
// at connection time. Deliveries run on our filter's streaming thread (the thread that
// called our input pin); Active and Inactive on the graph's thread.

#include <windows.h>
#include <dshow.h>

#include "media/dshow/BasePin_CL.h"

class OutputPin_CL : public BasePin_CL {
public:
    OutputPin_CL(BaseFilter_CL* filter, const wchar_t* name);
    ~OutputPin_CL() override;

    HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }

    HRESULT CompleteConnect(IPin* peer) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // Sizes the agreed allocator's buffers (IMemAllocator::SetProperties).
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

    HRESULT GetDeliveryBuffer(IMediaSample** sample, DWORD flags = 0);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    IMemAllocator* Allocator() const { return m_allocator; }

private:
    HRESULT DecideAllocator(IMemInputPin* input);

    IMemInputPin* m_input = nullptr;         // one reference while connected
    IMemAllocator* m_allocator = nullptr;    // one reference while connected
};
