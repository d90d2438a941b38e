#pragma once
// An input pin that takes samples through IMemInputPin.
//
// Receive, EndOfStream and NewSegment arrive on the upstream filter's streaming thread;
// BeginFlush and EndFlush on the graph's thread (or the upstream filter's seeking thread).
// The flushing and end-of-stream flags are atomics read by both.

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <mutex>

#include "media/dshow/BasePin_CL.h"

class InputPin_CL : public BasePin_CL, public IMemInputPin {
public:
    InputPin_CL(BaseFilter_CL* filter, const wchar_t* name);
    ~InputPin_CL() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return BasePin_CL::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return BasePin_CL::Release(); }

    // IMemInputPin
    HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
    HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override;

    // IPin: the flags only; derived pins add what their filter does.
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;

    HRESULT Inactive() override;
    HRESULT BreakConnect() override;

    bool IsFlushing() const { return m_flushing.load(); }
    bool AtEndOfStream() const { return m_endOfStream.load(); }

protected:
    // Thread: streaming, with the filter's receive lock held by derived pins.
    // S_OK when a sample may be taken now; S_FALSE while flushing; an error when stopped,
    // unconnected or past the end of the stream. Also takes a type change carried by the
    // sample, under the filter lock (CheckMediaType and SetMediaType both run inside it).
    HRESULT CheckStreaming(IMediaSample* sample);

    IMemAllocator* m_allocator = nullptr;  // one reference; changes only while stopped
    std::atomic<bool> m_flushing{false};
    std::atomic<bool> m_endOfStream{false};
};
