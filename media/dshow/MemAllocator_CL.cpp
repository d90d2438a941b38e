#include "media/dshow/MemAllocator_CL.h"

#include <new>

#include "media/dshow/MediaSample_CL.h"

namespace {
constexpr LONG kMaxBufferBytes = 256 * 1024 * 1024;  // no stream needs more; refuse absurd requests
constexpr LONG kMaxBuffers = 1024;
}  // namespace

HRESULT MemAllocator_CL::Create(IMemAllocator** out) {
    if (!out) return E_POINTER;
    auto* allocator = new (std::nothrow) MemAllocator_CL();
    if (!allocator) return E_OUTOFMEMORY;
    return allocator->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(out));
}

MemAllocator_CL::MemAllocator_CL() : ComObject_CL(nullptr) {}

MemAllocator_CL::~MemAllocator_CL() {
    std::lock_guard<std::mutex> lock(m_lock);
    FreeBuffersLocked();
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IMemAllocator) return GetInterface(static_cast<IMemAllocator*>(this), out);
    return ComObject_CL::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) {
    if (!request || !actual) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_committed) return VFW_E_ALREADY_COMMITTED;
    if (!m_allSamples.empty()) return VFW_E_BUFFERS_OUTSTANDING;
    LONG align = request->cbAlign <= 0 ? 1 : request->cbAlign;
    if (align & (align - 1)) return VFW_E_BADALIGN;
    if (request->cBuffers <= 0 || request->cBuffers > kMaxBuffers || request->cbBuffer <= 0 ||
        request->cbBuffer > kMaxBufferBytes || request->cbPrefix < 0 || request->cbPrefix > 4096 ||
        align > 4096) {
        return E_INVALIDARG;
    }
    m_properties = *request;
    m_properties.cbAlign = align;
    // Round each buffer (with its prefix) up to the alignment.
    LONG total = request->cbBuffer + request->cbPrefix;
    LONG rounded = (total + align - 1) / align * align;
    m_properties.cbBuffer = rounded - request->cbPrefix;
    m_propertiesSet = true;
    *actual = m_properties;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::GetProperties(ALLOCATOR_PROPERTIES* props) {
    if (!props) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *props = m_properties;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::Commit() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_propertiesSet) return VFW_E_SIZENOTSET;
    if (m_committed) return S_OK;
    m_decommitPending = false;
    if (m_allSamples.empty()) {
        LONG stride = m_properties.cbBuffer + m_properties.cbPrefix;
        size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(m_properties.cBuffers) +
                       static_cast<size_t>(m_properties.cbAlign);
        m_memory.reset(new (std::nothrow) BYTE[bytes]);
        if (!m_memory) return E_OUTOFMEMORY;
        BYTE* base = m_memory.get();
        uintptr_t misalign = reinterpret_cast<uintptr_t>(base + m_properties.cbPrefix) % m_properties.cbAlign;
        if (misalign) base += m_properties.cbAlign - misalign;
        for (LONG i = 0; i < m_properties.cBuffers; ++i) {
            auto* sample = new (std::nothrow)
                MediaSample_CL(this, base + static_cast<size_t>(i) * stride + m_properties.cbPrefix,
                               m_properties.cbBuffer);
            if (!sample) {
                FreeBuffersLocked();
                return E_OUTOFMEMORY;
            }
            m_allSamples.push_back(sample);
            m_freeSamples.push_back(sample);
        }
    }
    m_committed = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::Decommit() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_committed) return S_OK;
    m_committed = false;
    if (m_freeSamples.size() == m_allSamples.size()) {
        FreeBuffersLocked();
    } else {
        m_decommitPending = true;
    }
    m_sampleReturned.notify_all();  // waiting GetBuffer calls now fail
    return S_OK;
}

void MemAllocator_CL::FreeBuffersLocked() {
    for (MediaSample_CL* sample : m_allSamples) delete sample;
    m_allSamples.clear();
    m_freeSamples.clear();
    m_memory.reset();
    m_decommitPending = false;
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*,
                                                     DWORD flags) {
    if (!sample) return E_POINTER;
    *sample = nullptr;
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (!m_committed) return VFW_E_NOT_COMMITTED;
        if (!m_freeSamples.empty()) break;
        if (flags & AM_GBF_NOWAIT) return VFW_E_TIMEOUT;
        m_sampleReturned.wait(lock);
    }
    MediaSample_CL* free = m_freeSamples.back();
    m_freeSamples.pop_back();
    free->ResetProperties();
    free->AddRef();
    // A sample out keeps its allocator alive.
    NonDelegatingAddRef();
    *sample = free;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MemAllocator_CL::ReleaseBuffer(IMediaSample* sample) {
    // Samples come back by their own Release; nothing else may hand one back.
    return sample ? S_OK : E_POINTER;
}

void MemAllocator_CL::ReturnSample(MediaSample_CL* sample) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_freeSamples.push_back(sample);
        if (m_decommitPending && m_freeSamples.size() == m_allSamples.size()) FreeBuffersLocked();
        m_sampleReturned.notify_one();
    }
    NonDelegatingRelease();  // may delete us: nothing after this line
}

int MemAllocator_CL::OutstandingSamples() {
    std::lock_guard<std::mutex> lock(m_lock);
    return static_cast<int>(m_allSamples.size() - m_freeSamples.size());
}
