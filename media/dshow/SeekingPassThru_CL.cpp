#include "media/dshow/SeekingPassThru_CL.h"

#include "media/dshow/BasePin_CL.h"

IMediaSeeking* SeekingPassThru_CL::Upstream() {
    IPin* upstream = m_inputPin->ConnectedPin();
    if (!upstream) return nullptr;
    IMediaSeeking* seeking = nullptr;
    if (FAILED(upstream->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)))) return nullptr;
    return seeking;
}

// Every call goes to the upstream pin; without one there is nothing to seek.
#define LK_PASS_UPSTREAM(call)                        \
    IMediaSeeking* upstream = Upstream();             \
    if (!upstream) return E_NOTIMPL;                  \
    HRESULT hr = upstream->call;                      \
    upstream->Release();                              \
    return hr

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetCapabilities(DWORD* capabilities) {
    LK_PASS_UPSTREAM(GetCapabilities(capabilities));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::CheckCapabilities(DWORD* capabilities) {
    LK_PASS_UPSTREAM(CheckCapabilities(capabilities));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::IsFormatSupported(const GUID* format) {
    LK_PASS_UPSTREAM(IsFormatSupported(format));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::QueryPreferredFormat(GUID* format) {
    LK_PASS_UPSTREAM(QueryPreferredFormat(format));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetTimeFormat(GUID* format) {
    LK_PASS_UPSTREAM(GetTimeFormat(format));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::IsUsingTimeFormat(const GUID* format) {
    LK_PASS_UPSTREAM(IsUsingTimeFormat(format));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::SetTimeFormat(const GUID* format) {
    LK_PASS_UPSTREAM(SetTimeFormat(format));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetDuration(LONGLONG* duration) {
    LK_PASS_UPSTREAM(GetDuration(duration));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetStopPosition(LONGLONG* stop) {
    LK_PASS_UPSTREAM(GetStopPosition(stop));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetCurrentPosition(LONGLONG* current) {
    LK_PASS_UPSTREAM(GetCurrentPosition(current));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source, const GUID* sourceFormat) {
    LK_PASS_UPSTREAM(ConvertTimeFormat(target, targetFormat, source, sourceFormat));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
    LK_PASS_UPSTREAM(SetPositions(current, currentFlags, stop, stopFlags));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetPositions(LONGLONG* current, LONGLONG* stop) {
    LK_PASS_UPSTREAM(GetPositions(current, stop));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
    LK_PASS_UPSTREAM(GetAvailable(earliest, latest));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::SetRate(double rate) {
    LK_PASS_UPSTREAM(SetRate(rate));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetRate(double* rate) {
    LK_PASS_UPSTREAM(GetRate(rate));
}

HRESULT STDMETHODCALLTYPE SeekingPassThru_CL::GetPreroll(LONGLONG* preroll) {
    LK_PASS_UPSTREAM(GetPreroll(preroll));
}
