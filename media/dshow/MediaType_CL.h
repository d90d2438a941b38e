#pragma once
// An AM_MEDIA_TYPE that owns its format block (allocated with CoTaskMemAlloc, as the
// platform frees it) and its IUnknown. Thread: any; one instance is not shared unlocked.

#include <windows.h>
#include <dshow.h>

class MediaType_CL : public AM_MEDIA_TYPE {
public:
    MediaType_CL();
    explicit MediaType_CL(const AM_MEDIA_TYPE& other);
    MediaType_CL(const MediaType_CL& other);
    MediaType_CL& operator=(const MediaType_CL& other);
    MediaType_CL& operator=(const AM_MEDIA_TYPE& other);
    ~MediaType_CL();

    void Clear();
    bool IsEmpty() const { return majortype == GUID_NULL; }
    // Replaces the format block with size bytes (zeroed); false when memory ran out.
    bool AllocateFormat(ULONG size);
    // The format block as T when it is at least sizeof(T) bytes, else null.
    template <typename T>
    const T* FormatAs() const {
        return (pbFormat && cbFormat >= sizeof(T)) ? reinterpret_cast<const T*>(pbFormat) : nullptr;
    }

    // Deep copies in the platform's convention (target's old contents are not freed).
    static HRESULT CopyInto(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source);
    // Frees what an AM_MEDIA_TYPE owns, and for DeleteMediaType the structure itself.
    static void FreeContents(AM_MEDIA_TYPE& type);
    static void DeleteMediaType(AM_MEDIA_TYPE* type);
    static AM_MEDIA_TYPE* CreateCopy(const AM_MEDIA_TYPE& source);
};
