#pragma once
// The base of our pins: IPin with media-type negotiation and enumeration.
//
// A pin belongs to its filter: AddRef and Release go to the filter, and the pin lives as long
// as the filter does. Connection state (peer, media type) is guarded by the filter lock. The
// peer changes only while the filter is stopped, on the graph's thread, so streaming threads
// read it without the lock. The media type can also change while streaming, when a sample
// carries a new one (see InputPin_CL): it is written under the filter lock and read under it,
// which is why ConnectionType hands out a copy.
//
// Lock order: a filter's receive lock (its streaming side) before its filter lock. The graph's
// thread never waits for the receive lock while it holds the filter lock.

#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <string>

#include "media/dshow/MediaType_CL.h"

class BaseFilter_CL;

class BasePin_CL : public IPin, public IQualityControl {
public:
    BasePin_CL(BaseFilter_CL* filter, const wchar_t* name, PIN_DIRECTION direction);
    virtual ~BasePin_CL();
    BasePin_CL(const BasePin_CL&) = delete;
    BasePin_CL& operator=(const BasePin_CL&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** pins, ULONG* count) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override = 0;
    HRESULT STDMETHODCALLTYPE EndFlush() override = 0;
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IQualityControl: quality messages are accepted and not acted on.
    HRESULT STDMETHODCALLTYPE Notify(IBaseFilter* sender, Quality quality) override;
    HRESULT STDMETHODCALLTYPE SetSink(IQualityControl* sink) override;

    // S_OK when the pin takes the type; anything else refuses it.
    virtual HRESULT CheckMediaType(const MediaType_CL& type) = 0;
    // The types this pin offers, from position 0; VFW_S_NO_MORE_ITEMS past the last.
    virtual HRESULT GetMediaType(int position, MediaType_CL* type);
    // Takes the type as the connection's. Thread: the graph's while connecting, or the
    // streaming thread for a type carried by a sample; either way under the filter lock, which
    // the base takes again for its own write. Derived pins pass the type on to their filter.
    virtual HRESULT SetMediaType(const MediaType_CL& type);
    virtual HRESULT CheckConnect(IPin* peer);
    virtual HRESULT CompleteConnect(IPin* peer);
    virtual HRESULT BreakConnect();
    // Stopped -> paused and back: commit and decommit allocators.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }

    bool IsConnected() const { return m_connected != nullptr; }
    IPin* ConnectedPin() const { return m_connected; }
    // Thread: any. A copy taken under the filter lock: the type may change while streaming.
    MediaType_CL ConnectionType() const;
    const std::wstring& Name() const { return m_name; }
    PIN_DIRECTION Direction() const { return m_direction; }
    BaseFilter_CL* Filter() const { return m_filter; }

    // Pure: true when a partly specified type (GUID_NULL as a wildcard) admits the full one.
    static bool TypeMatches(const AM_MEDIA_TYPE& partial, const AM_MEDIA_TYPE& full);

protected:
    HRESULT AttemptConnection(IPin* receivePin, const MediaType_CL& type);
    HRESULT TryTypesOf(IPin* receivePin, IEnumMediaTypes* types, const AM_MEDIA_TYPE* partial);

    BaseFilter_CL* m_filter;  // our owner
    std::wstring m_name;
    PIN_DIRECTION m_direction;
    IPin* m_connected = nullptr;  // one reference held while connected
    MediaType_CL m_type;  // under the filter lock
    REFERENCE_TIME m_segmentStart = 0;
    REFERENCE_TIME m_segmentStop = 0;
    double m_segmentRate = 1.0;
};
