#include "media/CMyRenderer.h"

#include <cstring>
#include <new>

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/MutexLock_CL.h"
#include "media/ColourConversion.h"
#include "media/GuidNames.h"
#include "media/PlaybackIds.h"

namespace {
constexpr DWORD kBurstWindowMs = 1500;
constexpr DWORD kStatisticsWindowMs = 2000;

const wchar_t* SubtypeLabel(bool rgb32) { return rgb32 ? L"RGB32" : L"YUY2"; }
}  // namespace

CMyRenderer* CMyRenderer::Create(HRESULT* result) {
    HRESULT hr = S_OK;
    auto* renderer = new (std::nothrow) CMyRenderer(&hr);
    if (!renderer) hr = E_OUTOFMEMORY;
    if (renderer && FAILED(hr)) {
        renderer->AddRef();
        renderer->Release();
        renderer = nullptr;
    }
    if (renderer) renderer->AddRef();
    if (result) *result = hr;
    return renderer;
}

CMyRenderer::CMyRenderer(HRESULT* result)
    : BaseRenderer_CL(L"My Renderer Filter", nullptr, CLSID_LumikinoRenderer),
      m_frameLock(::CreateMutexW(nullptr, FALSE, nullptr)),
      m_presenter(CreatePresenter()) {
    if (!m_frameLock.IsValid() || !m_presenter) *result = E_OUTOFMEMORY;
    if (ProcessLogSwitches().log_detail_renderer) LogPrintf(L"%ls", L"CMyRendererコンストラクタ");
}

CMyRenderer::~CMyRenderer() {
    const bool trace = ProcessLogSwitches().log_detail_renderer;
    if (trace) LogPrintf(L"CMyRendererデストラクタ(START) this=%p tid=%u", this, static_cast<unsigned>(::GetCurrentThreadId()));
    if (m_frameLock.IsValid()) {
        MutexLock_CL lock(m_frameLock.Get());
        m_frame.clear();
        m_frame.shrink_to_fit();
        if (m_presenter) m_presenter->ReleaseDevice();
    }
    if (trace) LogPrintf(L"CMyRendererデストラクタ(END) this=%p tid=%u", this, static_cast<unsigned>(::GetCurrentThreadId()));
}

bool CMyRenderer::ReadVideoHeader(const AM_MEDIA_TYPE& type, VIDEOINFOHEADER2* header) {
    // The whole format block must be there: a type whose block is shorter than its kind
    // says is broken, and reading it would run past the end.
    if (type.formattype == FORMAT_VideoInfo2) {
        if (!type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER2)) return false;
        std::memcpy(header, type.pbFormat, sizeof(VIDEOINFOHEADER2));
    } else if (type.formattype == FORMAT_VideoInfo) {
        if (!type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER)) return false;
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        *header = VIDEOINFOHEADER2();
        header->rcSource = vih->rcSource;
        header->rcTarget = vih->rcTarget;
        header->dwBitRate = vih->dwBitRate;
        header->dwBitErrorRate = vih->dwBitErrorRate;
        header->AvgTimePerFrame = vih->AvgTimePerFrame;
        header->dwPictAspectRatioX = 4;
        header->dwPictAspectRatioY = 3;
        header->bmiHeader = vih->bmiHeader;
    } else {
        return false;
    }
    LONG width = header->bmiHeader.biWidth;
    LONG height = header->bmiHeader.biHeight < 0 ? -header->bmiHeader.biHeight : header->bmiHeader.biHeight;
    if (width < 1 || height < 1 || width > kMaxFrameSide || height > kMaxFrameSide) return false;
    return Yuy2FrameBytes(width, height) != 0;  // the frame buffer is YUY2: whole macropixels
}

HRESULT CMyRenderer::CheckMediaType(const MediaType_CL& type) {
    m_connectLog += L"(FT)" + GuidName(type.formattype) + L" : (ST)" + GuidName(type.subtype) + L"\n";
    bool format = type.formattype == FORMAT_VideoInfo || type.formattype == FORMAT_VideoInfo2;
    bool subtype = type.subtype == MEDIASUBTYPE_RGB32 || type.subtype == MEDIASUBTYPE_YUY2;
    if (!format || !subtype) return S_FALSE;
    VIDEOINFOHEADER2 header;
    return ReadVideoHeader(type, &header) ? S_OK : S_FALSE;
}

HRESULT CMyRenderer::SetMediaType(const MediaType_CL& type) {
    VIDEOINFOHEADER2 header;
    if (!ReadVideoHeader(type, &header)) return VFW_E_TYPE_NOT_ACCEPTED;
    const int width = header.bmiHeader.biWidth;
    const int height = header.bmiHeader.biHeight < 0 ? -header.bmiHeader.biHeight : header.bmiHeader.biHeight;
    const bool rgb32 = type.subtype == MEDIASUBTYPE_RGB32;

    const bool trace = ProcessLogSwitches().log_detail_renderer;
    uint32_t now = ::GetTickCount();
    const bool repeated = m_typeSet && width == m_lastWidth && height == m_lastHeight &&
                          header.dwPictAspectRatioX == m_lastAspectX && header.dwPictAspectRatioY == m_lastAspectY &&
                          type.subtype == m_lastSubtype;
    {
        // The streaming thread reads the frame's size and layout under the frame lock while it
        // copies a sample: a type that changes mid-stream changes them under the same lock.
        MutexLock_CL lock(m_frameLock.Get());
        m_header = header;
        m_rgb32 = rgb32;
        m_width = width;
        m_height = height;
        // RGB32 rows are bottom-up unless the height is negative.
        m_topDownRgb = header.bmiHeader.biHeight < 0;
        if (!repeated) {
            m_presenter->SetFrameFormat(m_width, m_height, static_cast<int>(header.dwPictAspectRatioX),
                                        static_cast<int>(header.dwPictAspectRatioY));
            m_presenter->SetSourceSize(m_width, m_height);
        }
    }
    if (repeated) {
        m_burstCount = (now - m_lastTypeTick > kBurstWindowMs) ? 1 : m_burstCount + 1;
        m_lastTypeTick = now;
        if (trace && (m_burstCount == 1 || m_burstCount % 20 == 0)) {
            LogPrintf(L"CMyRenderer::SetMediaType 同一条件の連続通知を抑止 subtype=%ls size=%dx%d burst=%d",
                      SubtypeLabel(rgb32), width, height, m_burstCount);
        }
        return S_OK;
    }
    m_typeSet = true;
    m_lastWidth = width;
    m_lastHeight = height;
    m_lastAspectX = header.dwPictAspectRatioX;
    m_lastAspectY = header.dwPictAspectRatioY;
    m_lastSubtype = type.subtype;
    m_lastTypeTick = now;
    m_burstCount = 1;
    if (trace) {
        LogPrintf(L"CMyRenderer::SetMediaType subtype=%ls size=%dx%d aspect=%u:%u", SubtypeLabel(rgb32), width, height,
                  static_cast<unsigned>(header.dwPictAspectRatioX), static_cast<unsigned>(header.dwPictAspectRatioY));
    }
    return S_OK;
}

bool CMyRenderer::TakeSampleLocked(IMediaSample* sample, const wchar_t* allocationTrace) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return false;
    const uint64_t frameBytes = Yuy2FrameBytes(m_width, m_height);
    const uint64_t needed = m_rgb32 ? Rgb32FrameBytes(m_width, m_height) : frameBytes;
    LONG length = sample->GetActualDataLength();
    // A sample shorter than its type says is skipped: converting it would read past its end.
    if (frameBytes == 0 || length < 0 || static_cast<uint64_t>(length) < needed) return false;
    if (m_frame.size() < frameBytes) {
        m_frame.resize(static_cast<size_t>(frameBytes));
        if (ProcessLogSwitches().log_detail_frame) LogPrintf(allocationTrace, static_cast<int>(frameBytes));
        m_presenter->SetFrameBufferCapacity(static_cast<uint32_t>(frameBytes));
    }
    if (m_rgb32) {
        ConvertRgb32ToYuy2(data, m_width, m_height, !m_topDownRgb, m_frame.data());
    } else {
        std::memcpy(m_frame.data(), data, static_cast<size_t>(frameBytes));
    }
    m_frameLength = static_cast<uint32_t>(frameBytes);
    return true;
}

void CMyRenderer::OnReceiveFirstSample(IMediaSample* sample) {
    if (m_callback) {
        BYTE* data = nullptr;
        VIDEOINFOHEADER2 header;
        {
            MutexLock_CL lock(m_frameLock.Get());
            header = m_header;
        }
        if (SUCCEEDED(sample->GetPointer(&data)) && data) m_callback(m_callbackContext, data, header);
        return;
    }
    bool taken = false;
    HWND window = nullptr;
    {
        MutexLock_CL lock(m_frameLock.Get());
        taken = TakeSampleLocked(sample, L"画像データメモリ確保(A) = %d");
        window = m_window;
    }
    // The picture a pause stops on must reach the screen too, or a capture would save a frame
    // the user never saw. The window's thread draws it: a draw here could wait on that thread
    // while it waits for the pause to finish.
    HWND main = taken && ::IsWindow(window) ? ::GetAncestor(window, GA_ROOT) : nullptr;
    if (main) ::PostMessageW(main, WM_PLAYBACK_REDRAW, 0, 0);
}

HRESULT CMyRenderer::DoRenderSample(IMediaSample* sample) {
    if (m_callback) return S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT timeResult = sample->GetTime(&start, &stop);
    uint32_t now = ::GetTickCount();

    // Sample statistics for the frame trace; the window bookkeeping runs either way.
    ++m_samplesInWindow;
    if (!m_statisticsLogged || now - m_windowStartTick >= kStatisticsWindowMs) {
        if (ProcessLogSwitches().log_detail_frame) {
            LogPrintf(L"CMyRenderer::SampleDelta deltaMs=%u windowMs=%u samplesInWindow=%u tsDeltaMs=%lld tsHr=0x%08x "
                      L"t0=%lld t1=%lld disc=%d preroll=%d sync=%d tick=%u",
                      now - m_lastSampleTick, now - m_windowStartTick, m_samplesInWindow,
                      m_lastLoggedStart < 0 ? -1LL : static_cast<long long>((start - m_lastLoggedStart) / 10000),
                      static_cast<unsigned>(timeResult), static_cast<long long>(start), static_cast<long long>(stop),
                      sample->IsDiscontinuity() == S_OK, sample->IsPreroll() == S_OK,
                      sample->IsSyncPoint() == S_OK, now);
        }
        m_statisticsLogged = true;
        m_lastLoggedStart = start;
        m_windowStartTick = now;
        m_samplesInWindow = 0;
    }
    m_lastSampleTick = now;

    MutexLock_CL lock(m_frameLock.Get());
    m_tracker.OnFrame(m_header.AvgTimePerFrame, SUCCEEDED(timeResult), start, now);
    m_presenter->SetPosition(m_tracker.Position(), m_duration);
    if (!TakeSampleLocked(sample, L"画像データメモリ確保(B) = %d")) return S_OK;
    if (::IsWindow(m_window) && !m_setUpPending) {
        m_presenter->Draw(m_frame.data());
        PostMaintenanceIfWanted();
    }
    return S_OK;
}

void CMyRenderer::PostMaintenanceIfWanted() {
    if (m_presenter->MaintenanceWanted()) PostMaintenance();
}

void CMyRenderer::PostMaintenance() {
    if (m_maintenancePosted.exchange(true)) return;
    HWND main = ::IsWindow(m_window) ? ::GetAncestor(m_window, GA_ROOT) : nullptr;
    if (!main || !::PostMessageW(main, WM_PRESENTER_MAINTAIN, 0, 0)) m_maintenancePosted = false;
}

void CMyRenderer::MaintainPresenter() {
    m_maintenancePosted = false;
    MutexLock_CL lock(m_frameLock.Get());
    if (!::IsWindow(m_window)) return;
    if (m_setUpPending) {
        m_setUpPending = false;
        const bool trace = ProcessLogSwitches().log_detail_renderer;
        if (trace) LogPrintf(L"%ls", L"CMyRenderer::MaintainPresenter 描画の準備(遅延)");
        m_presenter->InitializeD3D9(m_window);
        RECT client{};
        if (::GetClientRect(m_window, &client)) m_lastResetClient = SIZE{client.right, client.bottom};
    } else if (m_presenter->MaintenanceWanted()) {
        m_presenter->Maintain();
    } else {
        return;
    }
    m_presenter->Draw(m_frameLength ? m_frame.data() : nullptr);
}

void CMyRenderer::SetVideoWindow(HWND window) {
    MutexLock_CL lock(m_frameLock.Get());
    m_window = window;
    m_setUpPending = false;
    if (!::IsWindow(window)) return;
    if (PresenterSetUpDeferred()) {
        m_setUpPending = true;
        PostMaintenance();
        return;
    }
    m_presenter->InitializeD3D9(window);
    m_lastResetClient = SIZE{0, 0};
}

void CMyRenderer::OnResize() {
    RECT client{};
    if (!::IsWindow(m_window) || !::GetClientRect(m_window, &client)) return;
    SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx <= 0 || size.cy <= 0) return;
    const bool trace = ProcessLogSwitches().log_detail_resize;
    MutexLock_CL lock(m_frameLock.Get());
    if (m_setUpPending) return;  // the set-up to come takes the window's size as it is then
    if (size.cx != m_lastResetClient.cx || size.cy != m_lastResetClient.cy) {
        if (trace) {
            LogPrintf(L"CMyRenderer::OnResize(CALL ResetDevice) client=%ux%u lastReset=%ux%u",
                      static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy),
                      static_cast<unsigned>(m_lastResetClient.cx), static_cast<unsigned>(m_lastResetClient.cy));
        }
        if (!m_presenter->ResetDevice()) {
            m_lastResetClient = SIZE{0, 0};  // try again at the next resize
            return;
        }
        m_lastResetClient = size;
    } else if (trace) {
        LogPrintf(L"CMyRenderer::OnResize(SKIP ResetDevice) client=%ux%u lastReset=%ux%u",
                  static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy),
                  static_cast<unsigned>(m_lastResetClient.cx), static_cast<unsigned>(m_lastResetClient.cy));
    }
    if (m_presenter->MaintenanceWanted()) m_presenter->Maintain();
    m_presenter->Draw(m_frameLength ? m_frame.data() : nullptr);
}

void CMyRenderer::Redraw() {
    MutexLock_CL lock(m_frameLock.Get());
    if (m_setUpPending) return;
    // This is the UI thread: what a draw found is mended here at once.
    if (m_presenter->MaintenanceWanted()) m_presenter->Maintain();
    m_presenter->Draw(m_frameLength ? m_frame.data() : nullptr);
    m_redrawn = true;
}

std::vector<uint8_t> CMyRenderer::CopyFrame() {
    MutexLock_CL lock(m_frameLock.Get());
    if (m_frameLength == 0) return {};
    return std::vector<uint8_t>(m_frame.begin(), m_frame.begin() + m_frameLength);
}

HBITMAP CMyRenderer::CreateFrameBitmap(const BYTE* data, int width, int height, bool raw) {
    int rows = height < 0 ? -height : height;
    uint64_t bytes = Rgb32FrameBytes(width, rows);
    if (!data || bytes == 0) return nullptr;
    bool rawRgb = raw && m_rgb32;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = rawRgb ? rows : -rows;  // RGB32 samples are bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    void* bits = nullptr;
    WindowDC_CL dc(m_window);
    HBITMAP bitmap = ::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    if (rawRgb) {
        std::memcpy(bits, data, static_cast<size_t>(bytes));
    } else {
        if (Yuy2FrameBytes(width, rows) == 0) {
            ::DeleteObject(bitmap);
            return nullptr;
        }
        ConvertYuy2ToRgb32(data, width, rows, static_cast<uint8_t*>(bits));
    }
    return bitmap;
}

void CMyRenderer::GetVideoSize(int* width, int* height) {
    MutexLock_CL lock(m_frameLock.Get());
    if (width) *width = m_width;
    if (height) *height = m_height;
}

SIZE CMyRenderer::DisplaySize() {
    MutexLock_CL lock(m_frameLock.Get());
    SIZE size{m_width, m_height};
    if (m_header.dwPictAspectRatioY == 9) size.cx = m_height * 16 / 9;
    return size;
}

int64_t CMyRenderer::Position() {
    MutexLock_CL lock(m_frameLock.Get());
    return m_tracker.Position();
}

void CMyRenderer::SetStillImagePath(const std::wstring& path) {
    MutexLock_CL lock(m_frameLock.Get());
    m_presenter->SetStillImagePath(path);
}

void CMyRenderer::SetFrameCallback(void* context, FrameCallback callback) {
    m_callbackContext = context;
    m_callback = callback;
}

HRESULT STDMETHODCALLTYPE CMyRenderer::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    if (!graph) WriteConnectLog();
    return BaseRenderer_CL::JoinFilterGraph(graph, name);
}

void CMyRenderer::WriteConnectLog() {
    std::wstring folder = DataFolder_CL::Root();
    if (folder.empty()) return;
    std::wstring path = folder + L"\\ConnectLog.txt";
    // The folder is the data folder; when it is missing nothing is written.
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;
    std::string text;
    text.reserve(m_connectLog.size());
    for (wchar_t c : m_connectLog) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
