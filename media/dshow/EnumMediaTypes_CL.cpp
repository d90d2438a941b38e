#include "media/dshow/EnumMediaTypes_CL.h"

#include <new>

#include "media/dshow/BasePin_CL.h"
#include "media/dshow/MediaType_CL.h"

HRESULT EnumMediaTypes_CL::Create(BasePin_CL* pin, int position, IEnumMediaTypes** out) {
    if (!out) return E_POINTER;
    auto* enumerator = new (std::nothrow) EnumMediaTypes_CL(pin, position);
    if (!enumerator) return E_OUTOFMEMORY;
    return enumerator->NonDelegatingQueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(out));
}

EnumMediaTypes_CL::EnumMediaTypes_CL(BasePin_CL* pin, int position)
    : ComObject_CL(nullptr), m_pin(pin), m_position(position) {
    m_pin->AddRef();
}

EnumMediaTypes_CL::~EnumMediaTypes_CL() { m_pin->Release(); }

HRESULT STDMETHODCALLTYPE EnumMediaTypes_CL::NonDelegatingQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IEnumMediaTypes) return GetInterface(static_cast<IEnumMediaTypes*>(this), out);
    return ComObject_CL::NonDelegatingQueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE EnumMediaTypes_CL::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
    if (!types || (count > 1 && !fetched)) return E_POINTER;
    ULONG got = 0;
    while (got < count) {
        MediaType_CL type;
        if (m_pin->GetMediaType(m_position, &type) != S_OK) break;
        ++m_position;
        AM_MEDIA_TYPE* copy = MediaType_CL::CreateCopy(type);
        if (!copy) break;
        types[got++] = copy;
    }
    if (fetched) *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE EnumMediaTypes_CL::Skip(ULONG count) {
    for (ULONG i = 0; i < count; ++i) {
        MediaType_CL type;
        if (m_pin->GetMediaType(m_position, &type) != S_OK) return S_FALSE;
        ++m_position;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumMediaTypes_CL::Reset() {
    m_position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EnumMediaTypes_CL::Clone(IEnumMediaTypes** out) {
    return Create(m_pin, m_position, out);
}
