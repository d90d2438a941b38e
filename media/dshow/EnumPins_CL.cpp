#include "media/dshow/EnumPins_CL.h"

#include <new>

#include "media/dshow/BaseFilter_CL.h"
#include "media/dshow/BasePin_CL.h"

HRESULT EnumPins_CL::Create(BaseFilter_CL* filter, int position, IEnumPins** out) {
    if (!out) return E_POINTER;
    auto* enumerator = new (std::nothrow) EnumPins_CL(filter, position);
    if (!enumerator) return E_OUTOFMEMORY;
    return enumerator->NonDelegatingQueryInterface(IID_IEnumPins, reinterpret_cast<void**>(out));
}

EnumPins_CL::EnumPins_CL(BaseFilter_CL* filter, int position)
    : ComObject_CL(nullptr), m_filter(filter), m_position(position) {
    m_filter->AddRef();
}

EnumPins_CL::~EnumPins_CL() { m_filter->Release(); }

HRESULT STDMETHODCALLTYPE EnumPins_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IEnumPins) return GetInterface(static_cast<IEnumPins*>(this), out);
    return ComObject_CL::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE EnumPins_CL::Next(ULONG count, IPin** pins, ULONG* fetched) {
    if (!pins || (count > 1 && !fetched)) return E_POINTER;
    ULONG got = 0;
    while (got < count && m_position < m_filter->GetPinCount()) {
        BasePin_CL* pin = m_filter->GetPin(m_position++);
        if (!pin) continue;
        pins[got++] = pin;
        pin->AddRef();
    }
    if (fetched) *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE EnumPins_CL::Skip(ULONG count) {
    int pins = m_filter->GetPinCount();
    if (m_position + static_cast<int>(count) > pins) {
        m_position = pins;
        return S_FALSE;
    }
    m_position += static_cast<int>(count);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumPins_CL::Reset() {
    m_position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumPins_CL::Clone(IEnumPins** out) { return Create(m_filter, m_position, out); }
