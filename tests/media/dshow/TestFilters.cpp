#include "tests/media/dshow/TestFilters.h"

#include <cstring>

namespace {
const CLSID kTestClsid = {0x1b2c3d4e, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
}

MediaType_CL TestVideoType(int width, int height, const GUID& subtype) {
    MediaType_CL type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = FORMAT_VideoInfo;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = width * height * 2;
    type.AllocateFormat(sizeof(VIDEOINFOHEADER));
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biBitCount = 16;
    vih->bmiHeader.biPlanes = 1;
    vih->bmiHeader.biCompression = subtype.Data1;
    vih->AvgTimePerFrame = 333333;
    return type;
}

PushSourcePin::PushSourcePin(PushSourceFilter* filter) : OutputPin_CL(filter, L"Out") {}

HRESULT PushSourcePin::CheckMediaType(const MediaType_CL& type) {
    for (const MediaType_CL& mine : offered) {
        if (mine.subtype == type.subtype) return S_OK;
    }
    return S_FALSE;
}

HRESULT PushSourcePin::GetMediaType(int position, MediaType_CL* type) {
    if (position < 0) return E_INVALIDARG;
    if (position >= static_cast<int>(offered.size())) return VFW_S_NO_MORE_ITEMS;
    *type = offered[position];
    return S_OK;
}

HRESULT PushSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    request->cBuffers = bufferCount;
    request->cbBuffer = bufferBytes;
    if (request->cbAlign <= 0) request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

PushSourceFilter::PushSourceFilter() : BaseFilter_CL(L"Push source", nullptr, kTestClsid), m_pin(this) {}

PushSourceFilter* PushSourceFilter::Create() {
    auto* filter = new PushSourceFilter();
    filter->AddRef();
    return filter;
}

HRESULT PushSourceFilter::Push(const std::vector<BYTE>& bytes, REFERENCE_TIME start, REFERENCE_TIME stop, bool timed,
                               const AM_MEDIA_TYPE* newType) {
    IMediaSample* sample = nullptr;
    HRESULT hr = m_pin.GetDeliveryBuffer(&sample);
    if (FAILED(hr)) return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    LONG length = static_cast<LONG>(bytes.size()) < sample->GetSize() ? static_cast<LONG>(bytes.size()) : sample->GetSize();
    std::memcpy(data, bytes.data(), length);
    sample->SetActualDataLength(length);
    if (timed) sample->SetTime(&start, &stop);
    if (newType) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(newType));
    hr = m_pin.Deliver(sample);
    sample->Release();
    return hr;
}

RecordingRenderer::RecordingRenderer()
    : BaseRenderer_CL(L"Recording renderer", nullptr, kTestClsid),
      m_typeEntered(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_typeRelease(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

RecordingRenderer* RecordingRenderer::Create() {
    auto* filter = new RecordingRenderer();
    filter->AddRef();
    return filter;
}

HRESULT RecordingRenderer::CheckMediaType(const MediaType_CL& type) {
    return type.majortype == MEDIATYPE_Video && type.subtype == acceptedSubtype ? S_OK : S_FALSE;
}

HRESULT RecordingRenderer::SetMediaType(const MediaType_CL& type) {
    const auto* vih = type.FormatAs<VIDEOINFOHEADER>();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_widthsSet.push_back(vih ? vih->bmiHeader.biWidth : -1);
    }
    if (m_holdTypes) {
        ::SetEvent(m_typeEntered.Get());
        ::WaitForSingleObject(m_typeRelease.Get(), 10000);  // bounded, so a failing test cannot hang
    }
    return S_OK;
}

std::vector<LONG> RecordingRenderer::WidthsSet() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_widthsSet;
}

HRESULT RecordingRenderer::DoRenderSample(IMediaSample* sample) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = -1, stop = -1;
    sample->GetTime(&start, &stop);
    std::lock_guard<std::mutex> lock(m_lock);
    m_rendered.push_back({std::vector<BYTE>(data, data + sample->GetActualDataLength()), start});
    return S_OK;
}

void RecordingRenderer::OnReceiveFirstSample(IMediaSample*) {
    std::lock_guard<std::mutex> lock(m_lock);
    ++m_firstSamples;
}

std::vector<RecordingRenderer::Seen> RecordingRenderer::Rendered() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_rendered;
}

int RecordingRenderer::FirstSamples() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_firstSamples;
}

InvertTransform::InvertTransform() : TransformFilter_CL(L"Invert", nullptr, kTestClsid) {}

InvertTransform* InvertTransform::Create() {
    auto* filter = new InvertTransform();
    filter->AddRef();
    return filter;
}

HRESULT InvertTransform::CheckInputType(const MediaType_CL& type) {
    return type.majortype == MEDIATYPE_Video ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT InvertTransform::CheckTransform(const MediaType_CL& input, const MediaType_CL& output) {
    return input.subtype == output.subtype ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT InvertTransform::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    request->cBuffers = 2;
    request->cbBuffer = 4096;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

HRESULT InvertTransform::GetMediaType(int position, MediaType_CL* type) {
    if (!InputPin().IsConnected()) return E_UNEXPECTED;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = InputPin().ConnectionType();
    return S_OK;
}

HRESULT InvertTransform::Transform(IMediaSample* input, IMediaSample* output) {
    BYTE *in = nullptr, *out = nullptr;
    input->GetPointer(&in);
    output->GetPointer(&out);
    LONG length = input->GetActualDataLength();
    if (length > output->GetSize()) return E_FAIL;
    for (LONG i = 0; i < length; ++i) out[i] = static_cast<BYTE>(~in[i]);
    output->SetActualDataLength(length);
    REFERENCE_TIME start, stop;
    if (input->GetTime(&start, &stop) == S_OK) output->SetTime(&start, &stop);
    return length == 1 ? S_FALSE : S_OK;  // one-byte samples are dropped, to test S_FALSE
}

HRESULT InvertTransform::StartStreaming() {
    ++startCount;
    return S_OK;
}
HRESULT InvertTransform::StopStreaming() {
    ++stopCount;
    return S_OK;
}
HRESULT InvertTransform::BeginFlush() {
    ++flushCount;
    return TransformFilter_CL::BeginFlush();
}
