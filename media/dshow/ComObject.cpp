#include "media/dshow/ComObject.h"

namespace {
std::atomic<LONG> g_liveObjects{0};
}

ComObject_CL::ComObject_CL(IUnknown* outer) : m_owner(outer) { ++g_liveObjects; }

LONG ComObject_CL::LiveObjects() { return g_liveObjects.load(); }

HRESULT STDMETHODCALLTYPE ComObject_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) return GetNonDelegatingUnknown(out);
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ComObject_CL::NonDelegatingAddRef() { return static_cast<ULONG>(++m_references); }

ULONG STDMETHODCALLTYPE ComObject_CL::NonDelegatingRelease() {
    LONG left = --m_references;
    if (left == 0) {
        // Keep the count from reaching zero again should the destructor AddRef and Release.
        m_references = 1;
        --g_liveObjects;
        delete this;
    }
    return static_cast<ULONG>(left);
}
