#pragma once
// IEnumPins over a filter's pins. Holds a reference on the filter. Thread: any.

#include <windows.h>
#include <dshow.h>

#include "media/dshow/ComObject.h"

class BaseFilter_CL;

class EnumPins_CL : public ComObject_CL, public IEnumPins {
public:
    static HRESULT Create(BaseFilter_CL* filter, int position, IEnumPins** out);

    LK_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override;

private:
    EnumPins_CL(BaseFilter_CL* filter, int position);
    ~EnumPins_CL() override;

    BaseFilter_CL* m_filter;  // one reference held
    int m_position;
};
