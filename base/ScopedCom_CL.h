#pragma once
// COM for the calling thread while the object lives: CoInitialize at construction, and
// CoUninitialize at destruction when the initialisation succeeded.
// Thread: the one that made it, which must also end it.

#include <objbase.h>

class ScopedCom_CL {
public:
    ScopedCom_CL() : m_hr(::CoInitialize(nullptr)) {}
    ~ScopedCom_CL() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ScopedCom_CL(const ScopedCom_CL&) = delete;
    ScopedCom_CL& operator=(const ScopedCom_CL&) = delete;

    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};
