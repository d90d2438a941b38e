#include "media/dshow/BaseFilter_CL.h"

#include <evcode.h>

#include <cwchar>

#include "media/dshow/BasePin_CL.h"
#include "media/dshow/EnumPins_CL.h"

BaseFilter_CL::BaseFilter_CL(const wchar_t* name, IUnknown* outer, REFCLSID clsid)
    : ComObject_CL(outer), m_clsid(clsid), m_name(name ? name : L"") {}

BaseFilter_CL::~BaseFilter_CL() {
    if (m_clock) m_clock->Release();
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IBaseFilter || iid == IID_IMediaFilter || iid == IID_IPersist) {
        return GetInterface(static_cast<IBaseFilter*>(this), out);
    }
    return ComObject_CL::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::Stop() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_state != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            if (BasePin_CL* pin = GetPin(i); pin && pin->IsConnected()) pin->Inactive();
        }
    }
    m_state = State_Stopped;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::Pause() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_state == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            if (BasePin_CL* pin = GetPin(i); pin && pin->IsConnected()) {
                HRESULT hr = pin->Active();
                if (FAILED(hr)) return hr;
            }
        }
    }
    m_state = State_Paused;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::Run(REFERENCE_TIME start) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr)) return hr;
    }
    m_start = start;
    m_state = State_Running;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::GetState(DWORD, FILTER_STATE* state) {
    if (!state) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    *state = m_state;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::SetSyncSource(IReferenceClock* clock) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (clock) clock->AddRef();
    if (m_clock) m_clock->Release();
    m_clock = clock;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::GetSyncSource(IReferenceClock** clock) {
    if (!clock) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    *clock = m_clock;
    if (m_clock) m_clock->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::EnumPins(IEnumPins** pins) {
    if (!pins) return E_POINTER;
    return EnumPins_CL::Create(this, 0, pins);
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::FindPin(LPCWSTR id, IPin** pin) {
    if (!id || !pin) return E_POINTER;
    *pin = nullptr;
    for (int i = 0; i < GetPinCount(); ++i) {
        BasePin_CL* candidate = GetPin(i);
        if (candidate && candidate->Name() == id) {
            *pin = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::QueryFilterInfo(FILTER_INFO* info) {
    if (!info) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    size_t units = m_name.size() < MAX_FILTER_NAME - 1 ? m_name.size() : MAX_FILTER_NAME - 1;
    m_name.copy(info->achName, units);
    info->achName[units] = L'\0';
    info->pGraph = m_graph;
    if (m_graph) m_graph->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    m_graph = graph;
    m_sink = nullptr;
    if (graph) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) && sink) {
            m_sink = sink;
            sink->Release();  // the graph outlives its membership; holding it would be a cycle
        }
    }
    if (name) m_name = name;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BaseFilter_CL::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

bool BaseFilter_CL::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    IMediaEventSink* sink;
    {
        std::lock_guard<std::recursive_mutex> lock(m_filterLock);
        sink = m_sink;
    }
    if (!sink) return false;
    // EC_COMPLETE names the filter that completed.
    if (code == EC_COMPLETE && param2 == 0) param2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
    return SUCCEEDED(sink->Notify(code, param1, param2));
}

FILTER_STATE BaseFilter_CL::State() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    return m_state;
}

REFERENCE_TIME BaseFilter_CL::StartTime() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    return m_start;
}

IReferenceClock* BaseFilter_CL::Clock() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    if (m_clock) m_clock->AddRef();
    return m_clock;
}

IFilterGraph* BaseFilter_CL::Graph() {
    std::lock_guard<std::recursive_mutex> lock(m_filterLock);
    return m_graph;
}
