#pragma once
// Small filters built on our filter layer for its tests: a source whose samples the test
// pushes by hand, a renderer that records what reaches it, and a transform that inverts bytes.

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "base/UniqueHandle_CL.h"

#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/BaseRenderer_CL.h"
#include "media/dshow/OutputPin_CL.h"
#include "media/dshow/TransformFilter_CL.h"

// The media type the test filters speak: video/YUY2 with a VIDEOINFOHEADER of w x h.
MediaType_CL TestVideoType(int width, int height, const GUID& subtype = MEDIASUBTYPE_YUY2);

class PushSourceFilter;

class PushSourcePin : public OutputPin_CL {
public:
    PushSourcePin(PushSourceFilter* filter);
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    HRESULT GetMediaType(int position, MediaType_CL* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

    std::vector<MediaType_CL> offered;  // set before connecting
    LONG bufferBytes = 4096;
    LONG bufferCount = 2;
};

class PushSourceFilter : public BaseFilter_CL {
public:
    static PushSourceFilter* Create();  // one reference
    int GetPinCount() override { return 1; }
    BasePin_CL* GetPin(int index) override { return index == 0 ? &m_pin : nullptr; }

    // Thread: a test's streaming thread. Delivers one sample, carrying a new media type when
    // one is given; the result of Receive.
    HRESULT Push(const std::vector<BYTE>& bytes, REFERENCE_TIME start, REFERENCE_TIME stop, bool timed = true,
                 const AM_MEDIA_TYPE* newType = nullptr);
    PushSourcePin& Pin() { return m_pin; }

private:
    PushSourceFilter();
    PushSourcePin m_pin;
};

class RecordingRenderer : public BaseRenderer_CL {
public:
    static RecordingRenderer* Create();  // one reference
    HRESULT CheckMediaType(const MediaType_CL& type) override;
    // Records the frame width of every type set; while types are held, signals TypeEntered
    // and waits for ReleaseType before returning.
    HRESULT SetMediaType(const MediaType_CL& type) override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
    void OnReceiveFirstSample(IMediaSample* sample) override;

    void HoldTypes(bool hold) { m_holdTypes = hold; }
    HANDLE TypeEntered() const { return m_typeEntered.Get(); }
    void ReleaseType() { ::SetEvent(m_typeRelease.Get()); }
    std::vector<LONG> WidthsSet();

    struct Seen {
        std::vector<BYTE> bytes;
        REFERENCE_TIME start;
    };
    std::vector<Seen> Rendered();
    int FirstSamples();
    GUID acceptedSubtype = MEDIASUBTYPE_YUY2;

private:
    RecordingRenderer();
    std::mutex m_lock;
    std::vector<Seen> m_rendered;
    std::vector<LONG> m_widthsSet;
    int m_firstSamples = 0;
    std::atomic<bool> m_holdTypes{false};
    KernelHandle_CL m_typeEntered, m_typeRelease;  // auto-reset events
};

class InvertTransform : public TransformFilter_CL {
public:
    static InvertTransform* Create();  // one reference
    HRESULT CheckInputType(const MediaType_CL& type) override;
    HRESULT CheckTransform(const MediaType_CL& input, const MediaType_CL& output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT GetMediaType(int position, MediaType_CL* type) override;
    HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    HRESULT BeginFlush() override;

    int startCount = 0, stopCount = 0, flushCount = 0;

private:
    InvertTransform();
};
