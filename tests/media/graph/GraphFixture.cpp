#include "tests/media/graph/GraphFixture.h"


#include "media/dshow/ComObject.h"

FrameLog& FrameLog::Instance() {
    static FrameLog log;
    return log;
}

void FrameLog::Add(std::vector<uint8_t> frame) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_frames.push_back(std::move(frame));
}

std::vector<std::vector<uint8_t>> FrameLog::Take() {
    std::lock_guard<std::mutex> lock(m_lock);
    return std::move(m_frames);
}

size_t FrameLog::Count() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_frames.size();
}

void RecordingPresenter::Draw(const uint8_t* frame) {
    if (!frame || m_width <= 0) return;
    FrameLog::Instance().Add(std::vector<uint8_t>(frame, frame + static_cast<size_t>(m_width) * m_height * 2));
}

namespace {
std::unique_ptr<VideoPresenter_CL> MakeRecordingPresenter() { return std::make_unique<RecordingPresenter>(); }
}  // namespace

void GraphTest::SetUp() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetPresenterFactory(MakeRecordingPresenter);
    FrameLog::Instance().Take();
    m_window = ::CreateWindowExW(0, L"STATIC", L"video", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                 nullptr, nullptr);
    m_liveBefore = ComObject_CL::LiveObjects();
}

void GraphTest::TearDown() {
    EXPECT_EQ(ComObject_CL::LiveObjects(), m_liveBefore) << "filter objects leaked";
    ::DestroyWindow(m_window);
    SetPresenterFactory(nullptr);
    ::CoUninitialize();
}

std::wstring GraphTest::WriteMovie(const std::wstring& name, const AviMovieSpec& movieSpec) {
    std::wstring path = m_folder.Join(name);
    std::string error;
    EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
    return path;
}

std::wstring GraphTest::SampleMedia(const std::wstring& name) {
    // The test command makes compressed samples with ffmpeg and names their folder here.
    wchar_t folder[MAX_PATH] = {};
    DWORD units = ::GetEnvironmentVariableW(L"LK_TEST_MEDIA", folder, MAX_PATH);
    if (units == 0 || units >= MAX_PATH) return std::wstring();
    std::wstring path = std::wstring(folder) + L"\\" + name;
    return FileExists(path) ? path : std::wstring();
}

int MatchFrameNumber(const AviMovieSpec& movieSpec, const std::vector<uint8_t>& frame, int hint) {
    std::vector<uint8_t> expected;
    for (int distance = 0; distance < movieSpec.frameCount; ++distance) {
        for (int candidate : {hint + distance, hint - distance}) {
            if (candidate < 0 || candidate >= movieSpec.frameCount) continue;
            AviWriter_CL::StoredFrameBytes(movieSpec, candidate, &expected);
            if (expected == frame) return candidate;
        }
    }
    return -1;
}
