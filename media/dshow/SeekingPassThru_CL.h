#pragma once
// IMediaSeeking passed upstream: a renderer or a transform filter answers seeking by asking the
// pin that feeds its input. The owner's IUnknown is used for reference counting and queries.
// Thread: any (the graph's seeking calls).

#include <windows.h>
#include <dshow.h>

class BasePin_CL;

class SeekingPassThru_CL : public IMediaSeeking {
public:
    SeekingPassThru_CL(IUnknown* owner, BasePin_CL* inputPin) : m_owner(owner), m_inputPin(inputPin) {}
    virtual ~SeekingPassThru_CL() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return m_owner->QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_owner->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_owner->Release(); }

    HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* capabilities) override;
    HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* capabilities) override;
    HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* format) override;
    HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* format) override;
    HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* format) override;
    HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* format) override;
    HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override;
    HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override;
    HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* stop) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* current) override;
    HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                const GUID* sourceFormat) override;
    HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                           DWORD stopFlags) override;
    HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* current, LONGLONG* stop) override;
    HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    HRESULT STDMETHODCALLTYPE SetRate(double rate) override;
    HRESULT STDMETHODCALLTYPE GetRate(double* rate) override;
    HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* preroll) override;

private:
    // The upstream pin's IMediaSeeking with a reference, or null.
    IMediaSeeking* Upstream();

    IUnknown* m_owner;
    BasePin_CL* m_inputPin;
};
