#include "media/DShowGraph_CL.h"

#include <objbase.h>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/Platform.h"
#include "base/TextFormat.h"
#include "media/CMyRenderer.h"
#include "media/LumiAudioPitchShiftFilter_CL.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kRendererName[] = L"Lumikino-Renderer";
constexpr wchar_t kPitchFilterName[] = L"LumiAudioPitchShiftFilter";
constexpr wchar_t kDirectSoundName[] = L"Default DirectSound Device";
constexpr wchar_t kMidiName[] = L"Default MidiOut Device";
constexpr wchar_t kWaveOutName[] = L"Audio Renderer (WaveOut)";
constexpr size_t kPathHeadUnits = 120;

bool GraphLog() { return ProcessLogSwitches().log_detail_graph; }

std::wstring FilterName(IBaseFilter* filter) {
    FILTER_INFO info{};
    if (!filter || FAILED(filter->QueryFilterInfo(&info))) return std::wstring();
    if (info.pGraph) info.pGraph->Release();
    return info.achName;
}

// The filter that owns the pin a given pin is connected to.
std::wstring UpstreamFilterName(IPin* pin) {
    ComPtr<IPin> upstream;
    if (!pin || FAILED(pin->ConnectedTo(&upstream)) || !upstream) return std::wstring();
    PIN_INFO info{};
    if (FAILED(upstream->QueryPinInfo(&info))) return std::wstring();
    std::wstring name = FilterName(info.pFilter);
    if (info.pFilter) info.pFilter->Release();
    return name;
}
}  // namespace

DShowGraph_CL::~DShowGraph_CL() {
    // A holder let go with its graph still built goes down in the same order as an explicit
    // release: stopped first, then the renderer taken out, then the parts in their order.
    if (m_graph || m_pitch || m_rotCookie != 0) ReleaseFilterGraph();
}

namespace {
// One system clock for every graph of the process, created once and never released: Wine's
// system clock can hang for ever in its last Release (its advise thread sleeps through the
// stop signal), and a graph without an audio renderer releases its own clock with itself.
IReferenceClock* SharedSystemClock() {
    static IReferenceClock* clock = [] {
        IReferenceClock* created = nullptr;
        if (FAILED(::CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                                      reinterpret_cast<void**>(&created)))) {
            return static_cast<IReferenceClock*>(nullptr);
        }
        return created;
    }();
    return clock;
}
}  // namespace

void DShowGraph_CL::UseSharedSystemClockIfNeeded() {
    if (!RunningUnderWine() || !m_graph) return;
    Microsoft::WRL::ComPtr<IMediaFilter> mediaFilter;
    if (FAILED(m_graph.As(&mediaFilter)) || FAILED(m_graph->SetDefaultSyncSource())) return;
    Microsoft::WRL::ComPtr<IReferenceClock> clock;
    if (FAILED(mediaFilter->GetSyncSource(&clock)) || !clock) return;
    Microsoft::WRL::ComPtr<IBaseFilter> owner;
    if (SUCCEEDED(clock.As(&owner))) return;  // an audio renderer's clock: it stays the master
    // The graph's own system clock has not started its thread yet: releasing it is safe.
    if (IReferenceClock* shared = SharedSystemClock()) mediaFilter->SetSyncSource(shared);
}

bool DShowGraph_CL::SeeksNeedStoppedGraph() {
    static const bool stopped = [] {
        wchar_t value[8] = {};
        DWORD length = ::GetEnvironmentVariableW(L"LK_SEEK_STOPPED", value, 8);
        if (length == 1 && (value[0] == L'0' || value[0] == L'1')) return value[0] == L'1';
        return RunningUnderWine();
    }();
    return stopped;
}

HRESULT DShowGraph_CL::Seek(LONGLONG position) { return Seek(m_mediaControl.Get(), m_mediaSeeking.Get(), position); }

HRESULT DShowGraph_CL::Seek(IMediaControl* control, IMediaSeeking* seeking, LONGLONG position) {
    if (!seeking) return E_POINTER;
    LONGLONG target = position;
    OAFilterState state = State_Stopped;
    const bool stopFirst = control && SeeksNeedStoppedGraph() && SUCCEEDED(control->GetState(0, &state)) &&
                           state != State_Stopped;
    if (stopFirst) control->Stop();
    HRESULT hr = seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (stopFirst) {
        if (state == State_Running) {
            control->Run();
        } else {
            control->Pause();
        }
    }
    return hr;
}

std::wstring DShowGraph_CL::StillImagePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD units = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, units);
    size_t slash = folder.find_last_of(L'\\');
    return (slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash)) + L"\\player_image.png";
}

HRESULT DShowGraph_CL::Fail(HRESULT hr, const wchar_t* message) {
    LogPrintf(L"%ls", message);
    m_errorText += message;
    return hr;
}

void DShowGraph_CL::RegisterInRunningObjectTable() {
    // A graph viewer can attach to the graph through this entry; failures only lose that.
    RevokeFromRunningObjectTable();  // every earlier entry keeps its graph (and file) alive
    ComPtr<IRunningObjectTable> table;
    if (FAILED(::GetRunningObjectTable(0, &table)) || !table) return;
    std::wstring name = FormatString(L"FilterGraph %08x pid %08x",
                                     static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_graph.Get())),
                                     static_cast<unsigned>(::GetCurrentProcessId()));
    ComPtr<IMoniker> moniker;
    if (FAILED(::CreateItemMoniker(L"!", name.c_str(), &moniker)) || !moniker) return;
    DWORD cookie = 0;
    if (SUCCEEDED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, m_graph.Get(), moniker.Get(), &cookie))) {
        m_rotCookie = cookie;
    }
}

void DShowGraph_CL::RevokeFromRunningObjectTable() {
    if (m_rotCookie == 0) return;
    ComPtr<IRunningObjectTable> table;
    if (SUCCEEDED(::GetRunningObjectTable(0, &table)) && table) table->Revoke(m_rotCookie);
    m_rotCookie = 0;
}

HRESULT DShowGraph_CL::CreateFilterGraph(const std::wstring& path, bool thumbnail) {
    m_errorText.clear();
    ReleaseFilterGraph();
    HRESULT hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    IID_PPV_ARGS(&m_graph));
    if (FAILED(hr) || !m_graph) return Fail(FAILED(hr) ? hr : E_NOINTERFACE, L"IID_IGraphBuilderの生成失敗\r\n");
    RegisterInRunningObjectTable();

    HRESULT created = S_OK;
    CMyRenderer* renderer = CMyRenderer::Create(&created);
    if (!renderer) return Fail(FAILED(created) ? created : E_OUTOFMEMORY, L"Lumikino-Rendererの生成失敗\r\n");
    m_rendererObject = renderer;
    // The holder takes over the creation reference. (mingw-w64's ComPtr::Attach adds a
    // reference of its own, unlike the documented one, so it is not used.)
    m_renderer = static_cast<IBaseFilter*>(renderer);
    renderer->Release();
    hr = m_graph->AddFilter(m_renderer.Get(), kRendererName);
    // (The text names AddRef; the result is AddFilter's.)
    if (FAILED(hr)) return Fail(hr, L"Lumikino-RendererのAddRef()失敗\r\n");

    if (!thumbnail) {
        HRESULT pitchResult = S_OK;
        m_pitch = LumiAudioPitchShiftFilter_CL::Create(&pitchResult);
        if (m_pitch) pitchResult = m_graph->AddFilter(m_pitch, kPitchFilterName);
        if (!m_pitch || FAILED(pitchResult)) {
            LogPrintf(L"LumiAudioPitchShiftFilter追加失敗。通常音声再生へフォールバック (hResult = 0x%08x)",
                      static_cast<unsigned>(pitchResult));
            m_errorText += L"LumiAudioPitchShiftFilter追加失敗。通常音声再生へフォールバック\r\n";
            if (m_pitch) m_pitch->Release();
            m_pitch = nullptr;  // audio then plays at normal pitch
        }
    }

    if (FAILED(m_graph.As(&m_mediaControl)) || !m_mediaControl) return Fail(E_NOINTERFACE, L"IID_IMediaControl取得失敗\r\n");
    if (FAILED(m_graph.As(&m_mediaSeeking)) || !m_mediaSeeking) return Fail(E_NOINTERFACE, L"IID_IMediaSeeking取得失敗\r\n");
    if (FAILED(m_graph.As(&m_basicAudio)) || !m_basicAudio) return Fail(E_NOINTERFACE, L"IID_IBasicAudio取得失敗\r\n");

    HRESULT rendered = m_graph->RenderFile(path.c_str(), nullptr);
    if (FAILED(rendered)) {
        LogPrintf(L"RenderFile失敗(hResult = 0x%08x, pathLen=%u, pathHead=\"%ls\")", static_cast<unsigned>(rendered),
                  static_cast<unsigned>(path.size()), path.substr(0, kPathHeadUnits).c_str());
    }
    // The renderer sets up drawing for the frame size only once RenderFile has connected it.
    if (m_rendererObject) {
        m_rendererObject->SetStillImagePath(StillImagePath());
        m_rendererObject->SetVideoWindow(m_hWnd);
    }
    if (FAILED(rendered)) return Fail(rendered, L"RenderFile()失敗\r\n");

    hr = GetAvailable(&m_earliest, &m_latest);
    if (FAILED(hr)) return Fail(hr, L"GetAvailable()失敗\r\n");
    if (m_rendererObject) m_rendererObject->SetDuration(m_latest - m_earliest);

    LogRendererConnection();

    if (!thumbnail) {
        hr = SwapAudioRenderer();
        if (FAILED(hr)) return hr;
    }

    if (FAILED(m_graph.As(&m_mediaEventEx)) || !m_mediaEventEx) return Fail(E_NOINTERFACE, L"IID_IMediaEventEx取得失敗\r\n");
    // The audio renderer may have changed: ask again for the volume interface.
    m_basicAudio.Reset();
    hr = m_graph.As(&m_basicAudio);
    if (FAILED(hr) || !m_basicAudio) {
        LogPrintf(L"CreateFilterGraph: IID_IBasicAudio 再取得失敗 hr=0x%08x (音量制御は不可の可能性)", static_cast<unsigned>(hr));
        m_basicAudio.Reset();
    }

    hr = m_mediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    if (FAILED(hr)) return Fail(hr, L"SetTimeFormat失敗\r\n");

    if (m_hWnd) {
        // The playback graph keeps its clock: the audio renderer is the master.
        if (GraphLog()) LogPrintf(L"%ls", L"CreateFilterGraph: 既定同期クロック(音声マスター)を使用");
        UseSharedSystemClockIfNeeded();
        return S_OK;
    }
    // Without a window (thumbnails) the graph runs with no clock, as fast as it decodes.
    hr = m_graph.As(&m_mediaFilter);
    if (SUCCEEDED(hr) && m_mediaFilter) hr = m_mediaFilter->SetSyncSource(nullptr);
    if (SUCCEEDED(hr) && m_mediaFilter) {
        if (GraphLog()) {
            LogPrintf(L"CreateFilterGraph: SetSyncSource(NULL) 成功 (m_hWnd=%p, thumbnail=%d, customRenderer=%d)", m_hWnd,
                      thumbnail ? 1 : 0, m_renderer ? 1 : 0);
        }
        return S_OK;
    }
    LogPrintf(L"CreateFilterGraph: SetSyncSource(NULL) 失敗 (hResult=0x%08x, m_hWnd=%p, thumbnail=%d, customRenderer=%d)",
              static_cast<unsigned>(hr), m_hWnd, thumbnail ? 1 : 0, m_renderer ? 1 : 0);
    return Fail(FAILED(hr) ? hr : E_NOINTERFACE, L"IID_IMediaFilter取得失敗\r\n");
}

void DShowGraph_CL::LogRendererConnection() {
    const bool log = GraphLog();
    ComPtr<IPin> pin = m_renderer ? GetPin(m_renderer.Get()) : nullptr;
    if (!m_renderer || !pin) {
        if (m_renderer) LogPrintf(L"%ls", L"CMyRenderer入力ピン取得失敗 (GetPin=NULL)");
        if (log) LogPrintf(L"%ls", L"CMyRenderer未使用: 既定レンダラ経路で再生");
        return;
    }
    ComPtr<IPin> upstream;
    HRESULT hr = pin->ConnectedTo(&upstream);
    if (FAILED(hr)) {
        LogPrintf(L"CMyRenderer入力ピン未接続/取得失敗 (ConnectedTo=0x%08x)", static_cast<unsigned>(hr));
        return;
    }
    if (!log) return;
    LogPrintf(L"%ls", L"CMyRenderer入力ピン接続OK (ConnectedTo=S_OK)");
    LogPrintf(L"CMyRenderer上流フィルタ = %ls", UpstreamFilterName(pin.Get()).c_str());
    AM_MEDIA_TYPE type{};
    if (FAILED(pin->ConnectionMediaType(&type))) return;
    const wchar_t* label = type.subtype == MEDIASUBTYPE_YUY2 ? L"YUY2" : (type.subtype == MEDIASUBTYPE_RGB32 ? L"RGB32" : L"OTHER");
    LONGLONG frameTime = 0;
    if (type.formattype == FORMAT_VideoInfo && type.pbFormat && type.cbFormat >= 88) {
        frameTime = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat)->AvgTimePerFrame;
    } else if (type.formattype == FORMAT_VideoInfo2 && type.pbFormat && type.cbFormat >= 112) {
        frameTime = reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat)->AvgTimePerFrame;
    }
    double fps = frameTime > 0 ? 10000000.0 / static_cast<double>(frameTime) : 0.0;
    LogPrintf(L"CMyRenderer入力MediaType subtype=%ls AvgTimePerFrame=%lld fps=%.3f", label,
              static_cast<long long>(frameTime), fps);
    if (type.pbFormat) ::CoTaskMemFree(type.pbFormat);
    if (type.pUnk) type.pUnk->Release();
}

void DShowGraph_CL::DumpFilters(const wchar_t* startLine, const wchar_t* lineFormat, const wchar_t* endLine) {
    if (!GraphLog()) return;
    LogPrintf(L"%ls", startLine);
    ComPtr<IEnumFilters> filters;
    if (SUCCEEDED(m_graph->EnumFilters(&filters)) && filters) {
        ComPtr<IBaseFilter> filter;
        while (filters->Next(1, &filter, nullptr) == S_OK) {
            std::wstring name = FilterName(filter.Get());
            LogPrintf(lineFormat, name.c_str());
            if (name == kDirectSoundName) {
                ComPtr<IPin> in = GetPin(filter.Get());
                LogPrintf(L"CreateFilterGraph: AudioRenderer上流(通常経路) = %ls", UpstreamFilterName(in.Get()).c_str());
            }
            filter.Reset();
        }
    }
    LogPrintf(L"%ls", endLine);
}

HRESULT DShowGraph_CL::SwapAudioRenderer() {
    const bool log = GraphLog();
    DumpFilters(L"CreateFilterGraph: GraphFilterDump START", L"CreateFilterGraph: GraphFilter = %ls",
                L"CreateFilterGraph: GraphFilterDump END");
    if (log) LogPrintf(L"%ls", L"CreateFilterGraph: テスト設定により音声出力をAudio Renderer(WaveOut系)へ切替");

    ComPtr<IEnumFilters> filters;
    if (FAILED(m_graph->EnumFilters(&filters)) || !filters) return Fail(E_FAIL, L"EnumFilters()失敗\r\n");
    ComPtr<IBaseFilter> directSound;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info{};
        HRESULT hr = filter->QueryFilterInfo(&info);
        if (FAILED(hr)) return Fail(hr, L"QueryFilterInfo()失敗\r\n");
        if (info.pGraph) info.pGraph->Release();
        m_errorText += std::wstring(L"★") + info.achName + L"\r\n";
        if (std::wstring(info.achName) == kDirectSoundName) directSound = filter;
        filter.Reset();
    }

    if (directSound) {
        ComPtr<IPin> in = GetPin(directSound.Get());
        if (!in) return Fail(E_FAIL, L"GetPin()失敗\r\n");
        ComPtr<IPin> upstream;
        HRESULT hr = in->ConnectedTo(&upstream);
        if (FAILED(hr) || !upstream) return Fail(FAILED(hr) ? hr : E_FAIL, L"ConnectedTo(out)失敗\r\n");
        if (log) LogPrintf(L"AudioRenderer入力の上流フィルタ = %ls", UpstreamFilterName(in.Get()).c_str());
        hr = in->Disconnect();
        if (FAILED(hr)) return Fail(hr, L"Disconnect(in)失敗\r\n");
        hr = upstream->Disconnect();
        if (FAILED(hr)) return Fail(hr, L"Disconnect(out)失敗\r\n");
        hr = m_graph->RemoveFilter(directSound.Get());
        if (FAILED(hr)) return Fail(hr, L"RemoveFilter失敗\r\n");
        ComPtr<IBaseFilter> waveOut;
        hr = ::CoCreateInstance(CLSID_AudioRender, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&waveOut));
        if (FAILED(hr) || !waveOut) return Fail(FAILED(hr) ? hr : E_FAIL, L"Audio Renderer生成失敗");
        hr = m_graph->AddFilter(waveOut.Get(), kWaveOutName);
        if (FAILED(hr)) return Fail(hr, L"Audio Renderer追加失敗");
        ComPtr<IPin> waveIn = GetPin(waveOut.Get());
        if (!waveIn) return Fail(E_FAIL, L"Audio Renderer入力ピン取得失敗");
        hr = m_graph->Connect(upstream.Get(), waveIn.Get());
        if (FAILED(hr)) return Fail(hr, L"Audio Renderer接続失敗");
    }

    if (log) {
        LogPrintf(L"%ls", L"CreateFilterGraph: FinalGraphFilterDump START");
        bool hasDirectSound = false, hasWaveOut = false;
        ComPtr<IEnumFilters> all;
        if (SUCCEEDED(m_graph->EnumFilters(&all)) && all) {
            ComPtr<IBaseFilter> each;
            while (all->Next(1, &each, nullptr) == S_OK) {
                std::wstring name = FilterName(each.Get());
                LogPrintf(L"CreateFilterGraph: FinalGraphFilter = %ls", name.c_str());
                hasDirectSound |= name == kDirectSoundName;
                hasWaveOut |= name == kWaveOutName;
                each.Reset();
            }
        }
        LogPrintf(L"CreateFilterGraph: FinalAudioRendererCheck hasDirectSound=%d hasWaveOut=%d", hasDirectSound ? 1 : 0,
                  hasWaveOut ? 1 : 0);
        LogPrintf(L"%ls", L"CreateFilterGraph: FinalGraphFilterDump END");
    }
    return S_OK;
}

bool DShowGraph_CL::BuildAttemptAgain(HRESULT hr, int attemptsMade) {
    return FAILED(hr) && hr != VFW_E_NOT_FOUND && attemptsMade < kBuildAttempts;
}

void DShowGraph_CL::TraceBuildAttempt(const std::wstring& callerName, HRESULT hr, int attemptsMade, bool again) {
    if (!GraphLog()) return;
    const unsigned code = static_cast<unsigned>(hr);
    if (attemptsMade > 1) LogPrintf(L"フィルタグラフの作成のリトライ結果(hResult = 0x%08x)", code);
    if (attemptsMade == 1 && FAILED(hr)) LogPrintf(L"%ls(START) = 0x%08x", callerName.c_str(), code);
    if (again) {
        LogPrintf(L"フィルタグラフの作成のリトライ(hResult = 0x%08x)", code);
    } else if (attemptsMade > 1 || FAILED(hr)) {
        LogPrintf(L"%ls(E N D)", callerName.c_str());
    }
}

HRESULT DShowGraph_CL::CreateFilterGraphWithRetry(const std::wstring& path, bool thumbnail,
                                                  const std::wstring& callerName) {
    // Nothing to open (the player starting without a movie): fail at once, no retries.
    if (path.empty()) {
        ReleaseFilterGraph();
        return VFW_E_NOT_FOUND;
    }
    for (int attempts = 1;; ++attempts) {
        const HRESULT hr = CreateFilterGraph(path, thumbnail);
        const bool again = BuildAttemptAgain(hr, attempts);
        TraceBuildAttempt(callerName, hr, attempts, again);
        if (!again) return hr;
        ReleaseFilterGraph();
        ::Sleep(kBuildRetryDelayMs);  // a worker's wait; nothing else waits on this thread
    }
}

void DShowGraph_CL::ReleaseFilterGraph() {
    const bool log = GraphLog();
    if (log) {
        LogPrintf(L"ReleaseFilterGraph(START): tid=%u graph=%p mediaControl=%p mediaEventEx=%p renderer=%p pitch=%p",
                  static_cast<unsigned>(::GetCurrentThreadId()), m_graph.Get(), m_mediaControl.Get(),
                  m_mediaEventEx.Get(), m_renderer.Get(), static_cast<void*>(m_pitch));
    }
    if (m_mediaControl) {
        HRESULT hr = m_mediaControl->Pause();
        if (log) LogPrintf(L"ReleaseFilterGraph: Pause=0x%08x", static_cast<unsigned>(hr));
        hr = m_mediaControl->StopWhenReady();
        if (log) LogPrintf(L"ReleaseFilterGraph: StopWhenReady=0x%08x", static_cast<unsigned>(hr));
        OAFilterState state = 0;
        hr = m_mediaControl->GetState(200, &state);
        if (log) LogPrintf(L"ReleaseFilterGraph: GetState(200)=0x%08x state=%d", static_cast<unsigned>(hr), static_cast<int>(state));
        hr = m_mediaControl->Stop();
        if (log) LogPrintf(L"ReleaseFilterGraph: Stop=0x%08x", static_cast<unsigned>(hr));
    }
    if (m_graph && m_renderer) m_graph->RemoveFilter(m_renderer.Get());
    // The viewer's entry holds the graph (and its file) alive: it goes with the graph.
    RevokeFromRunningObjectTable();
    m_mediaEventEx.Reset();
    if (m_pitch) {
        m_pitch->Release();
        m_pitch = nullptr;
    }
    m_renderer.Reset();
    m_rendererObject = nullptr;
    m_mediaFilter.Reset();
    m_basicAudio.Reset();
    m_mediaSeeking.Reset();
    m_mediaControl.Reset();
    m_graph.Reset();
    if (log) LogPrintf(L"ReleaseFilterGraph(END): tid=%u", static_cast<unsigned>(::GetCurrentThreadId()));
}

HRESULT DShowGraph_CL::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
    if (!m_mediaSeeking) return E_UNEXPECTED;
    *earliest = 0;
    *latest = 0;
    HRESULT hr = m_mediaSeeking->GetAvailable(earliest, latest);
    if (hr == S_OK && *latest <= *earliest) {
        // Some platforms answer an empty (or untouched) range for a seekable file: the length
        // is the duration then.
        *earliest = 0;
        LONGLONG duration = 0;
        if (SUCCEEDED(m_mediaSeeking->GetDuration(&duration)) && duration > 0) *latest = duration;
        return S_OK;
    }
    if (hr != E_NOTIMPL) return hr;
    *earliest = 0;
    *latest = 0;
    DWORD capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards;
    hr = m_mediaSeeking->CheckCapabilities(&capabilities);
    if (hr != S_OK) return hr;
    ComPtr<IMediaPosition> position;
    hr = m_graph.As(&position);
    if (FAILED(hr) || !position) return FAILED(hr) ? hr : E_NOINTERFACE;
    REFTIME seconds = 0;
    hr = position->get_Duration(&seconds);
    if (SUCCEEDED(hr)) *latest = static_cast<LONGLONG>(seconds * 10000000.0);
    return hr;
}

ComPtr<IPin> DShowGraph_CL::GetPin(IBaseFilter* filter) {
    if (!filter) return nullptr;
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins)) || !pins) return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT) return pin;
        pin.Reset();
    }
    return nullptr;
}

int DShowGraph_CL::IsSoundOnlyGraph() {
    if (m_renderer) {
        ComPtr<IPin> pin = GetPin(m_renderer.Get());
        if (!pin) {
            LogPrintf(L"%ls", L"MyRenderer入力ピン取得失敗");
            m_errorText += L"MyRenderer入力ピン取得失敗";
            return 0;
        }
        ComPtr<IPin> upstream;
        if (SUCCEEDED(pin->ConnectedTo(&upstream))) return 0;  // video plays
    }
    if (!m_graph) return 0;
    ComPtr<IEnumFilters> filters;
    if (FAILED(m_graph->EnumFilters(&filters)) || !filters) {
        Fail(E_FAIL, L"EnumFilters()失敗\r\n");
        return 0;
    }
    bool found = false;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info{};
        if (FAILED(filter->QueryFilterInfo(&info))) {
            Fail(E_FAIL, L"QueryFilterInfo()失敗\r\n");
            break;
        }
        if (info.pGraph) info.pGraph->Release();
        m_errorText += std::wstring(L"★") + info.achName + L"\r\n";
        std::wstring name = info.achName;
        found |= name == kDirectSoundName || name == kMidiName;
        filter.Reset();
    }
    return found ? 1 : 0;
}

SIZE DShowGraph_CL::GetDisplaySize() const {
    if (!m_rendererObject) return SIZE{640, 380};
    return m_rendererObject->DisplaySize();
}
