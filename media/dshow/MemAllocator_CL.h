#pragma once
// A memory allocator: a fixed set of equal buffers handed out as MediaSample_CL samples.
// Thread: any. GetBuffer may block the calling streaming thread until a sample comes back
// or the allocator is decommitted (which is how a stop unblocks an upstream filter).

#include <windows.h>
#include <dshow.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "media/dshow/ComObject.h"

class MediaSample_CL;

class MemAllocator_CL : public ComObject_CL, public IMemAllocator {
public:
    // Returns a new allocator with one reference.
    static HRESULT Create(IMemAllocator** out);

    LK_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT STDMETHODCALLTYPE SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    HRESULT STDMETHODCALLTYPE GetProperties(ALLOCATOR_PROPERTIES* props) override;
    HRESULT STDMETHODCALLTYPE Commit() override;
    HRESULT STDMETHODCALLTYPE Decommit() override;
    HRESULT STDMETHODCALLTYPE GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                        DWORD flags) override;
    HRESULT STDMETHODCALLTYPE ReleaseBuffer(IMediaSample* sample) override;

    // Thread: any. Called by a sample when its last reference goes.
    void ReturnSample(MediaSample_CL* sample);

    // For tests: samples handed out and not yet back.
    int OutstandingSamples();

private:
    MemAllocator_CL();
    ~MemAllocator_CL() override;
    void FreeBuffersLocked();

    // Guards everything below; m_sampleReturned is signalled with it.
    std::mutex m_lock;
    std::condition_variable m_sampleReturned;
    ALLOCATOR_PROPERTIES m_properties{};
    bool m_propertiesSet = false;
    bool m_committed = false;
    bool m_decommitPending = false;  // decommitted with samples still out: free when they return
    std::unique_ptr<BYTE[]> m_memory;
    std::vector<MediaSample_CL*> m_allSamples;
    std::vector<MediaSample_CL*> m_freeSamples;
};
