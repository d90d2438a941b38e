#pragma once
// One buffer of a MemAllocator_CL. When its last reference goes, it returns to its allocator
// instead of being destroyed. Thread: any; a sample is used by one thread at a time.

#include <windows.h>
#include <dshow.h>

#include <atomic>

class MemAllocator_CL;

class MediaSample_CL final : public IMediaSample {
public:
    MediaSample_CL(MemAllocator_CL* allocator, BYTE* buffer, LONG size);
    virtual ~MediaSample_CL();
    MediaSample_CL(const MediaSample_CL&) = delete;
    MediaSample_CL& operator=(const MediaSample_CL&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IMediaSample
    HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override;
    LONG STDMETHODCALLTYPE GetSize() override;
    HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT STDMETHODCALLTYPE IsSyncPoint() override;
    HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL value) override;
    HRESULT STDMETHODCALLTYPE IsPreroll() override;
    HRESULT STDMETHODCALLTYPE SetPreroll(BOOL value) override;
    LONG STDMETHODCALLTYPE GetActualDataLength() override;
    HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override;
    HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** type) override;
    HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE IsDiscontinuity() override;
    HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL value) override;
    HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG* start, LONGLONG* end) override;
    HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG* start, LONGLONG* end) override;

    // Thread: the allocator, under its lock. Clears the per-use properties before reuse.
    void ResetProperties();

private:
    MemAllocator_CL* m_allocator;  // outlives its samples: they are deleted by it
    BYTE* m_buffer;
    LONG m_size;
    std::atomic<LONG> m_references{0};

    LONG m_actualLength = 0;
    bool m_hasTime = false, m_hasStop = false;
    REFERENCE_TIME m_start = 0, m_stop = 0;
    bool m_hasMediaTime = false;
    LONGLONG m_mediaStart = 0, m_mediaStop = 0;
    bool m_syncPoint = false, m_preroll = false, m_discontinuity = false;
    AM_MEDIA_TYPE* m_mediaType = nullptr;
};
