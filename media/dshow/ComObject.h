#pragma once
// Reference counting and aggregation for the COM objects of our filter layer.
//
// Every object has a non-delegating IUnknown that owns its reference count. When it is
// aggregated, the public IUnknown of each interface forwards to the outer object; otherwise
// it forwards to the object's own non-delegating IUnknown. Thread: any.

#include <windows.h>
#include <unknwn.h>

#include <atomic>

// The non-delegating IUnknown; a separate interface so that it has its own vtable slots.
struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

class ComObject_CL : public INonDelegatingUnknown {
public:
    // outer: the aggregating object, or null for a stand-alone object.
    explicit ComObject_CL(IUnknown* outer);
    virtual ~ComObject_CL() = default;
    ComObject_CL(const ComObject_CL&) = delete;
    ComObject_CL& operator=(const ComObject_CL&) = delete;

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    // Where the public IUnknown methods go: the outer object when aggregated.
    IUnknown* Owner() const { return m_owner; }
    LONG ReferenceCount() const { return m_references.load(); }

    // Count of live objects of this layer in the process, for leak checks.
    static LONG LiveObjects();

protected:
    // Hands out one interface with a reference.
    template <typename Interface>
    static HRESULT GetInterface(Interface* object, void** out) {
        *out = object;
        object->AddRef();
        return S_OK;
    }
    HRESULT GetNonDelegatingUnknown(void** out) {
        *out = static_cast<INonDelegatingUnknown*>(this);
        NonDelegatingAddRef();
        return S_OK;
    }

private:
    IUnknown* m_owner;  // not counted: the outer object owns us, or we are it
    std::atomic<LONG> m_references{0};
};

// The public IUnknown of a class derived from ComObject_CL, forwarding to its owner.
#define LK_DECLARE_IUNKNOWN                                                                   \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {               \
        return Owner() ? Owner()->QueryInterface(iid, out) : NonDelegatingQueryInterface(iid, out); \
    }                                                                                         \
    ULONG STDMETHODCALLTYPE AddRef() override {                                               \
        return Owner() ? Owner()->AddRef() : NonDelegatingAddRef();                           \
    }                                                                                         \
    ULONG STDMETHODCALLTYPE Release() override {                                              \
        return Owner() ? Owner()->Release() : NonDelegatingRelease();                         \
    }
