#include "tests/media/controller/ControllerFixture.h"

#include <cmath>

#include "media/CMyRenderer.h"
#include "media/PlaybackIds.h"

namespace {
constexpr wchar_t kControlWindowClass[] = L"LumikinoControllerTestWindow";
}

AviMovieSpec ControllerTest::MovieSpec(int seconds, bool withAudio) {
    AviMovieSpec movieSpec;
    movieSpec.width = 160;
    movieSpec.height = 120;
    movieSpec.frameRateNum = kFramesPerSecond;
    movieSpec.frameRateDen = 1;
    movieSpec.frameCount = seconds * kFramesPerSecond;
    movieSpec.pixel = AviMovieSpec::Pixel::Yuy2;
    movieSpec.withAudio = withAudio;
    movieSpec.sampleRate = 44100;
    movieSpec.toneHz = 440;
    movieSpec.amplitude = 0.3;
    return movieSpec;
}

void ControllerTest::SetUp() {
    GraphTest::SetUp();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kControlWindowClass;
    ::RegisterClassExW(&wc);  // fails harmlessly from the second test on
    m_controlWindow = ::CreateWindowExW(0, kControlWindowClass, L"controller", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                        nullptr, nullptr, wc.hInstance, this);
    ASSERT_NE(m_controlWindow, nullptr);
    m_settings.thumb_time[m_settings.frame_time_index] = 1;  // one-second thumbnails
    m_recordPath = m_folder.Join(L"record.ini");
    m_graph.SetVideoWindow(m_window);
    m_controller = std::make_unique<PlaybackController_CL>(m_controlWindow, m_graph, m_host, m_settings);
}

void ControllerTest::TearDown() {
    if (::IsWindow(m_controlWindow)) ::DestroyWindow(m_controlWindow);  // WM_DESTROY: OnDestroy
    m_controller.reset();
    m_graph.ReleaseFilterGraph();
    GraphTest::TearDown();
}

void ControllerTest::Load(const AviMovieSpec& movieSpec, const std::wstring& name) {
    m_movie = movieSpec;
    std::wstring path = WriteMovie(name, movieSpec);
    ASSERT_EQ(m_graph.CreateFilterGraph(path, false), S_OK) << m_graph.ErrorText();
    if (!m_record.HasRecord()) {
        Inifile_CL::CreateIfMissing(m_recordPath);
        m_record.Bind(m_recordPath);
    }
    m_record.SetLastPlayFrame(m_record.last_play_frame);
    m_controller->OnContentLoaded(&m_record, m_graph.IsSoundOnlyGraph() != 0);
}

bool ControllerTest::PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (condition()) return true;
        ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10));
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

int ControllerTest::PictureFrame(int hint) {
    CMyRenderer* renderer = m_graph.Renderer();
    if (!renderer) return -1;
    std::vector<uint8_t> frame = renderer->CopyFrame();
    if (frame.empty()) return -1;
    return MatchFrameNumber(m_movie, frame, hint);
}

double ControllerTest::GraphSeconds() {
    IMediaSeeking* seeking = m_graph.MediaSeeking();
    LONGLONG position = 0;
    if (!seeking || FAILED(seeking->GetCurrentPosition(&position))) return -1.0;
    return static_cast<double>(position) / 1e7;
}

int64_t ControllerTest::StoredLastPlayFrame() {
    Inifile_CL file;
    file.Bind(m_recordPath);
    return file.GetHex64(kSectionMovieInfo, kKeyLastPlayFrame, -2);
}

LRESULT CALLBACK ControllerTest::ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ControllerTest*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_UPDATE_LAYOUT:
        case WM_SHOW_STATUS:
        case WM_LIST_UPDATE:
        case WM_PLAYBACK_REDRAW:
            ++self->m_posted[message];
            break;
        case WM_PLAY_NEXT:
            // The play list takes the next entry and moves its index on, as loading does.
            ++self->m_posted[message];
            ++self->m_host.list.nextIndex;
            return 0;
        case WM_CLOSE:
            ++self->m_posted[message];
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (self->m_controller) self->m_controller->OnDestroy();
            return 0;
        case WM_TIMER:
            if (self->m_controller && self->m_controller->HandleTimer(wParam)) return 0;
            break;
        default:
            break;
    }
    LRESULT result = 0;
    if (self->m_controller && self->m_controller->HandleMessage(message, wParam, lParam, &result)) return result;
    return ::DefWindowProcW(window, message, wParam, lParam);
}
