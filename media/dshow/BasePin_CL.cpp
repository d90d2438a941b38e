#include "media/dshow/BasePin_CL.h"

#include <cstring>

#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/EnumMediaTypes_CL.h"

BasePin_CL::BasePin_CL(BaseFilter_CL* filter, const wchar_t* name, PIN_DIRECTION direction)
    : m_filter(filter), m_name(name ? name : L""), m_direction(direction) {}

BasePin_CL::~BasePin_CL() {
    if (m_connected) m_connected->Release();
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
    } else if (iid == IID_IQualityControl) {
        *out = static_cast<IQualityControl*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE BasePin_CL::AddRef() { return m_filter->AddRef(); }
ULONG STDMETHODCALLTYPE BasePin_CL::Release() { return m_filter->Release(); }

bool BasePin_CL::TypeMatches(const AM_MEDIA_TYPE& partial, const AM_MEDIA_TYPE& full) {
    if (partial.majortype != GUID_NULL && partial.majortype != full.majortype) return false;
    if (partial.subtype != GUID_NULL && partial.subtype != full.subtype) return false;
    if (partial.formattype != GUID_NULL && partial.formattype != full.formattype) return false;
    return true;
}

HRESULT BasePin_CL::CheckConnect(IPin* peer) {
    PIN_DIRECTION peerDirection;
    HRESULT hr = peer->QueryDirection(&peerDirection);
    if (FAILED(hr)) return hr;
    return peerDirection == m_direction ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT BasePin_CL::CompleteConnect(IPin*) { return S_OK; }
HRESULT BasePin_CL::BreakConnect() { return S_OK; }

HRESULT BasePin_CL::SetMediaType(const MediaType_CL& type) {
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    m_type = type;
    return S_OK;
}

MediaType_CL BasePin_CL::ConnectionType() const {
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    return m_type;
}

HRESULT BasePin_CL::GetMediaType(int, MediaType_CL*) { return VFW_S_NO_MORE_ITEMS; }

HRESULT BasePin_CL::AttemptConnection(IPin* receivePin, const MediaType_CL& type) {
    HRESULT hr = CheckMediaType(type);
    if (hr != S_OK) return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    m_connected = receivePin;
    m_connected->AddRef();
    hr = SetMediaType(type);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, &type);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr)) return S_OK;
            receivePin->Disconnect();
        }
    }
    BreakConnect();
    m_connected->Release();
    m_connected = nullptr;
    m_type.Clear();
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT BasePin_CL::TryTypesOf(IPin* receivePin, IEnumMediaTypes* types, const AM_MEDIA_TYPE* partial) {
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    types->Reset();
    for (;;) {
        AM_MEDIA_TYPE* candidate = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &candidate, &fetched) != S_OK || fetched != 1 || !candidate) break;
        MediaType_CL type(*candidate);
        MediaType_CL::DeleteMediaType(candidate);
        if (partial && !TypeMatches(*partial, type)) continue;
        HRESULT hr = AttemptConnection(receivePin, type);
        if (SUCCEEDED(hr)) return S_OK;
        last = hr;
    }
    return last == VFW_E_TYPE_NOT_ACCEPTED ? VFW_E_NO_ACCEPTABLE_TYPES : last;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    if (m_connected) return VFW_E_ALREADY_CONNECTED;
    if (m_filter->State() != State_Stopped) return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) return hr;
    // A fully given type is tried alone; a partial one filters our types, then the peer's.
    if (type && type->majortype != GUID_NULL && type->subtype != GUID_NULL && type->formattype != GUID_NULL) {
        return AttemptConnection(receivePin, MediaType_CL(*type));
    }
    IEnumMediaTypes* ours = nullptr;
    if (SUCCEEDED(EnumMediaTypes(&ours)) && ours) {
        hr = TryTypesOf(receivePin, ours, type);
        ours->Release();
        if (SUCCEEDED(hr)) return hr;
    }
    IEnumMediaTypes* theirs = nullptr;
    if (SUCCEEDED(receivePin->EnumMediaTypes(&theirs)) && theirs) {
        hr = TryTypesOf(receivePin, theirs, type);
        theirs->Release();
        if (SUCCEEDED(hr)) return hr;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    if (m_connected) return VFW_E_ALREADY_CONNECTED;
    if (m_filter->State() != State_Stopped) return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) return hr;
    MediaType_CL offered(*type);
    if (CheckMediaType(offered) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
    m_connected = connector;
    m_connected->AddRef();
    hr = SetMediaType(offered);
    if (SUCCEEDED(hr)) hr = CompleteConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        m_connected->Release();
        m_connected = nullptr;
        m_type.Clear();
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::Disconnect() {
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    if (m_filter->State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!m_connected) return S_FALSE;
    BreakConnect();
    m_connected->Release();
    m_connected = nullptr;
    m_type.Clear();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::ConnectedTo(IPin** pin) {
    if (!pin) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    *pin = m_connected;
    if (!m_connected) return VFW_E_NOT_CONNECTED;
    m_connected->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(m_filter->FilterLock());
    if (!m_connected) {
        *type = AM_MEDIA_TYPE();
        return VFW_E_NOT_CONNECTED;
    }
    return MediaType_CL::CopyInto(*type, m_type);
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryPinInfo(PIN_INFO* info) {
    if (!info) return E_POINTER;
    info->pFilter = m_filter;
    m_filter->AddRef();
    info->dir = m_direction;
    size_t units = m_name.size() < MAX_PIN_NAME - 1 ? m_name.size() : MAX_PIN_NAME - 1;
    m_name.copy(info->achName, units);
    info->achName[units] = L'\0';
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction) return E_POINTER;
    *direction = m_direction;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryId(LPWSTR* id) {
    if (!id) return E_POINTER;
    size_t bytes = (m_name.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    if (!*id) return E_OUTOFMEMORY;
    std::memcpy(*id, m_name.c_str(), bytes);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    return CheckMediaType(MediaType_CL(*type)) == S_OK ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types) return E_POINTER;
    return EnumMediaTypes_CL::Create(this, 0, types);
}

HRESULT STDMETHODCALLTYPE BasePin_CL::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE BasePin_CL::EndOfStream() { return S_OK; }

HRESULT STDMETHODCALLTYPE BasePin_CL::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    m_segmentStart = start;
    m_segmentStop = stop;
    m_segmentRate = rate;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BasePin_CL::Notify(IBaseFilter*, Quality) { return S_OK; }
HRESULT STDMETHODCALLTYPE BasePin_CL::SetSink(IQualityControl*) { return S_OK; }
