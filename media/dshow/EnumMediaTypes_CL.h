#pragma once
// IEnumMediaTypes over the types a pin offers (its GetMediaType positions). Holds a reference
// on the pin's filter. Thread: any.

#include <windows.h>
#include <dshow.h>

#include "media/dshow/ComObject.h"

class BasePin_CL;

class EnumMediaTypes_CL : public ComObject_CL, public IEnumMediaTypes {
public:
    static HRESULT Create(BasePin_CL* pin, int position, IEnumMediaTypes** out);

    LK_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override;

private:
    EnumMediaTypes_CL(BasePin_CL* pin, int position);
    ~EnumMediaTypes_CL() override;

    BasePin_CL* m_pin;  // its filter holds one reference for us
    int m_position;
};
