#include "media/MultimediaTimer_CL.h"

#include <mmsystem.h>

HRESULT MultimediaTimer_CL::Start(UINT periodMs, UINT resolutionMs, Callback callback, void* context) {
    Kill();
    m_callback = callback;
    m_context = context;
    // TIME_KILL_SYNCHRONOUS: after timeKillEvent no callback runs any more, so the owner may
    // free what the callback uses right after Kill.
    MMRESULT id = ::timeSetEvent(periodMs, resolutionMs, TimerProc, reinterpret_cast<DWORD_PTR>(this),
                                 TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (id == 0) return E_FAIL;
    m_id = id;
    return S_OK;
}

void MultimediaTimer_CL::Kill() {
    if (m_id == 0) return;
    ::timeKillEvent(m_id);
    m_id = 0;
}

void CALLBACK MultimediaTimer_CL::TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* self = reinterpret_cast<MultimediaTimer_CL*>(user);
    if (self->m_callback) self->m_callback(self->m_context);
}
