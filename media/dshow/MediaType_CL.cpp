#include "media/dshow/MediaType_CL.h"

#include <cstring>

MediaType_CL::MediaType_CL() : AM_MEDIA_TYPE() {}

MediaType_CL::MediaType_CL(const AM_MEDIA_TYPE& other) : AM_MEDIA_TYPE() { CopyInto(*this, other); }

MediaType_CL::MediaType_CL(const MediaType_CL& other) : AM_MEDIA_TYPE() { CopyInto(*this, other); }

MediaType_CL& MediaType_CL::operator=(const MediaType_CL& other) {
    return *this = static_cast<const AM_MEDIA_TYPE&>(other);
}

MediaType_CL& MediaType_CL::operator=(const AM_MEDIA_TYPE& other) {
    if (&other != this) {
        Clear();
        CopyInto(*this, other);
    }
    return *this;
}

MediaType_CL::~MediaType_CL() { FreeContents(*this); }

void MediaType_CL::Clear() {
    FreeContents(*this);
    AM_MEDIA_TYPE& self = *this;
    self = AM_MEDIA_TYPE();
}

bool MediaType_CL::AllocateFormat(ULONG size) {
    if (pbFormat) ::CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
    if (size == 0) return true;
    pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(size));
    if (!pbFormat) return false;
    std::memset(pbFormat, 0, size);
    cbFormat = size;
    return true;
}

HRESULT MediaType_CL::CopyInto(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) {
    target = source;
    target.pbFormat = nullptr;
    target.cbFormat = 0;
    if (source.cbFormat && source.pbFormat) {
        target.pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(source.cbFormat));
        if (!target.pbFormat) {
            target.pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target.pbFormat, source.pbFormat, source.cbFormat);
        target.cbFormat = source.cbFormat;
    }
    if (target.pUnk) target.pUnk->AddRef();
    return S_OK;
}

void MediaType_CL::FreeContents(AM_MEDIA_TYPE& type) {
    if (type.pbFormat) ::CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) type.pUnk->Release();
    type.pUnk = nullptr;
}

void MediaType_CL::DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    FreeContents(*type);
    ::CoTaskMemFree(type);
}

AM_MEDIA_TYPE* MediaType_CL::CreateCopy(const AM_MEDIA_TYPE& source) {
    auto* copy = static_cast<AM_MEDIA_TYPE*>(::CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!copy) return nullptr;
    if (FAILED(CopyInto(*copy, source))) {
        ::CoTaskMemFree(copy);
        return nullptr;
    }
    return copy;
}
