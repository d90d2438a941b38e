#pragma once
// A filter with one input and one output pin that turns each input sample into one output
// sample: receive, transform, deliver; flushes, end of stream and new segments pass
// downstream.
//
// Threads: Receive and EndOfStream on the upstream streaming thread, under m_receiveLock;
// NewSegment on that thread too, between samples but without the lock (a source may send it
// from its seeking thread while a sample of ours is held downstream); state changes and
// flushes on the graph's thread. StopStreaming may overlap the end of a last Transform (see
// Stop), so it must not tear down what Transform uses. The input type can change on the
// streaming thread when a sample carries one; SetInputMediaType then runs under both locks.

#include <windows.h>
#include <dshow.h>

#include <mutex>

#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/InputPin_CL.h"
#include "media/dshow/OutputPin_CL.h"
#include "media/dshow/SeekingPassThru_CL.h"

class TransformFilter_CL;

class TransformInputPin_CL : public InputPin_CL {
public:
    TransformInputPin_CL(TransformFilter_CL* filter, const wchar_t* name);
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    HRESULT SetMediaType(const MediaType_CL& type) override;
    HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

private:
    TransformFilter_CL* m_transform;
};

class TransformOutputPin_CL : public OutputPin_CL {
public:
    TransformOutputPin_CL(TransformFilter_CL* filter, const wchar_t* name);
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT CheckConnect(IPin* peer) override;
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    HRESULT GetMediaType(int position, MediaType_CL* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    TransformFilter_CL* m_transform;
    SeekingPassThru_CL m_seeking;
};

class TransformFilter_CL : public BaseFilter_CL {
public:
    TransformFilter_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid);
    ~TransformFilter_CL() override;

    int GetPinCount() override { return 2; }
    BasePin_CL* GetPin(int index) override;

    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;

    // What the derived filter decides.
    // Whether the input could take the type. Also asked about types that are never used
    // (QueryAccept, the candidates of a connection), so it must not keep anything.
    virtual HRESULT CheckInputType(const MediaType_CL& type) = 0;
    virtual HRESULT CheckTransform(const MediaType_CL& input, const MediaType_CL& output) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT GetMediaType(int position, MediaType_CL* type) = 0;
    // S_OK delivers the output sample; S_FALSE drops it; an error stops the stream.
    virtual HRESULT Transform(IMediaSample* input, IMediaSample* output) = 0;
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }

    // Streaming events, with the base behaviour of passing them downstream.
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    // The input's type has been set: at connection (graph's thread) or from a sample that
    // carries a new one (streaming thread, receive lock held). Called under the filter lock;
    // this is where a filter keeps the type it streams with.
    virtual HRESULT SetInputMediaType(const MediaType_CL&) { return S_OK; }

    TransformInputPin_CL& InputPin() { return m_input; }
    TransformOutputPin_CL& OutputPin() { return m_output; }
    std::mutex& ReceiveLock() { return m_receiveLock; }

protected:
    std::mutex m_receiveLock;  // serialises the streaming calls and StopStreaming
    TransformInputPin_CL m_input;
    TransformOutputPin_CL m_output;
};
