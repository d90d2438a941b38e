#pragma once
// The base of our filters: IBaseFilter with its state machine (stopped, paused, running),
// the reference clock, the graph it has joined and its pins.
//
// Locking: m_filterLock guards the state, the start time, the clock, the graph and the name.
// It is taken by the graph's thread (state changes, queries); streaming threads take it only
// briefly to read the state. Pins are owned by the derived filter and live as long as it.

#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

#include "media/dshow/ComObject.h"

class BasePin_CL;

class BaseFilter_CL : public ComObject_CL, public IBaseFilter {
public:
    BaseFilter_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid);
    ~BaseFilter_CL() override;

    LK_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IPersist
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    // IMediaFilter
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

    // The pins, numbered from 0. Thread: any.
    virtual int GetPinCount() = 0;
    virtual BasePin_CL* GetPin(int index) = 0;

    // Thread: any. Sends an event to the graph (EC_COMPLETE and the like); false without a graph.
    bool NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

    FILTER_STATE State();
    REFERENCE_TIME StartTime();
    // The clock with a reference, or null.
    IReferenceClock* Clock();
    IFilterGraph* Graph();
    std::recursive_mutex& FilterLock() { return m_filterLock; }

protected:
    // State changes of the derived filter; the base has already taken m_filterLock.
    std::recursive_mutex m_filterLock;
    FILTER_STATE m_state = State_Stopped;  // under m_filterLock
    REFERENCE_TIME m_start = 0;            // under m_filterLock
    IReferenceClock* m_clock = nullptr;    // under m_filterLock; one reference held

private:
    CLSID m_clsid;
    std::wstring m_name;               // under m_filterLock
    IFilterGraph* m_graph = nullptr;   // not counted: the graph owns its filters
    IMediaEventSink* m_sink = nullptr; // not counted, for the same reason
};
