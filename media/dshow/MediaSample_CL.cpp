#include "media/dshow/MediaSample_CL.h"

#include "media/dshow/MediaType_CL.h"
#include "media/dshow/MemAllocator_CL.h"

MediaSample_CL::MediaSample_CL(MemAllocator_CL* allocator, BYTE* buffer, LONG size)
    : m_allocator(allocator), m_buffer(buffer), m_size(size) {}

MediaSample_CL::~MediaSample_CL() { MediaType_CL::DeleteMediaType(m_mediaType); }

HRESULT STDMETHODCALLTYPE MediaSample_CL::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMediaSample) {
        *out = static_cast<IMediaSample*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE MediaSample_CL::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG STDMETHODCALLTYPE MediaSample_CL::Release() {
    LONG left = --m_references;
    if (left == 0) m_allocator->ReturnSample(this);
    return static_cast<ULONG>(left);
}

void MediaSample_CL::ResetProperties() {
    m_actualLength = 0;
    m_hasTime = m_hasStop = m_hasMediaTime = false;
    m_syncPoint = m_preroll = m_discontinuity = false;
    MediaType_CL::DeleteMediaType(m_mediaType);
    m_mediaType = nullptr;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::GetPointer(BYTE** buffer) {
    if (!buffer) return E_POINTER;
    *buffer = m_buffer;
    return S_OK;
}

LONG STDMETHODCALLTYPE MediaSample_CL::GetSize() { return m_size; }

HRESULT STDMETHODCALLTYPE MediaSample_CL::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!start || !stop) return E_POINTER;
    if (!m_hasTime) return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = m_start;
    if (!m_hasStop) {
        *stop = m_start + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *stop = m_stop;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    m_hasTime = start != nullptr;
    m_hasStop = start != nullptr && stop != nullptr;
    if (start) m_start = *start;
    if (start && stop) m_stop = *stop;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::IsSyncPoint() { return m_syncPoint ? S_OK : S_FALSE; }
HRESULT STDMETHODCALLTYPE MediaSample_CL::SetSyncPoint(BOOL value) {
    m_syncPoint = value != FALSE;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE MediaSample_CL::IsPreroll() { return m_preroll ? S_OK : S_FALSE; }
HRESULT STDMETHODCALLTYPE MediaSample_CL::SetPreroll(BOOL value) {
    m_preroll = value != FALSE;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE MediaSample_CL::IsDiscontinuity() { return m_discontinuity ? S_OK : S_FALSE; }
HRESULT STDMETHODCALLTYPE MediaSample_CL::SetDiscontinuity(BOOL value) {
    m_discontinuity = value != FALSE;
    return S_OK;
}

LONG STDMETHODCALLTYPE MediaSample_CL::GetActualDataLength() { return m_actualLength; }

HRESULT STDMETHODCALLTYPE MediaSample_CL::SetActualDataLength(LONG length) {
    if (length < 0 || length > m_size) return VFW_E_BUFFER_OVERFLOW;
    m_actualLength = length;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::GetMediaType(AM_MEDIA_TYPE** type) {
    if (!type) return E_POINTER;
    *type = nullptr;
    if (!m_mediaType) return S_FALSE;
    *type = MediaType_CL::CreateCopy(*m_mediaType);
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::SetMediaType(AM_MEDIA_TYPE* type) {
    MediaType_CL::DeleteMediaType(m_mediaType);
    m_mediaType = nullptr;
    if (!type) return S_OK;
    m_mediaType = MediaType_CL::CreateCopy(*type);
    return m_mediaType ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::GetMediaTime(LONGLONG* start, LONGLONG* end) {
    if (!start || !end) return E_POINTER;
    if (!m_hasMediaTime) return VFW_E_MEDIA_TIME_NOT_SET;
    *start = m_mediaStart;
    *end = m_mediaStop;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaSample_CL::SetMediaTime(LONGLONG* start, LONGLONG* end) {
    m_hasMediaTime = start && end;
    if (m_hasMediaTime) {
        m_mediaStart = *start;
        m_mediaStop = *end;
    }
    return S_OK;
}
