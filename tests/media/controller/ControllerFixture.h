#pragma once
// The controller under test with a real playback graph: a window that routes the controller's
// messages and timers as the main window does, a host that records what the controller asks
// of the window, a content record in the test folder, and helpers that read where playback is
// from the renderer's frame buffer.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "media/DShowGraph_CL.h"
#include "media/PlaybackController_CL.h"
#include "media/PlaybackHost_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "tests/media/graph/GraphFixture.h"

class RecordingHost : public PlaybackHost_CL {
public:
    void SetStatusText(const std::wstring& text) override { texts.push_back(text); }
    void RedrawPlayer() override { ++redraws; }
    void NoteUserActivity() override { ++activity; }
    void MoveStripTo(int64_t position) override { stripMoves.push_back(position); }
    PlayListCursor PlayList() override { return list; }
    void SetPlayListNextIndex(int index) override {
        list.nextIndex = index;
        indexChanges.push_back(index);
    }
    void ResetLaunchStart() override { ++launchResets; }
    bool EndCloseRequested() override { return endClose; }

    std::vector<std::wstring> texts;
    int redraws = 0;
    int activity = 0;
    std::vector<int64_t> stripMoves;
    PlayListCursor list;
    std::vector<int> indexChanges;
    int launchResets = 0;
    bool endClose = false;
};

class ControllerTest : public GraphTest {
protected:
    static constexpr int kFramesPerSecond = 10;

    void SetUp() override;
    void TearDown() override;

    // A movie of the given length: 160 x 120, 10 frames a second, optionally with a tone.
    // Under Wine 8 a graph whose file has a sound stream hangs in IMediaControl::Stop once it
    // was seeked while paused or running (Wine's own renderers too), so every test that seeks
    // uses a silent movie.
    static AviMovieSpec MovieSpec(int seconds, bool withAudio = false);
    // Writes the movie, builds the playback graph on it and tells the controller. The record
    // file is made once and bound; the fields set on m_record before the call are written.
    void Load(const AviMovieSpec& movieSpec, const std::wstring& name);
    // Pumps the test thread's messages until the condition holds or the time is up.
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
    // The frame number in the renderer's frame buffer (-1 when none or unknown).
    int PictureFrame(int hint);
    // Seconds of the picture in the frame buffer (-1 when none).
    double PictureSeconds(int hint) {
        int frame = PictureFrame(hint);
        return frame < 0 ? -1.0 : static_cast<double>(frame) / kFramesPerSecond;
    }
    // The graph's current position in seconds (-1 when it cannot be read).
    double GraphSeconds();
    // last_play_frame as the record file holds it.
    int64_t StoredLastPlayFrame();
    int Posted(UINT message) { return m_posted[message]; }

    AviMovieSpec m_movie;
    DShowGraph_CL m_graph;
    RecordingHost m_host;
    AppSettings m_settings;
    ContentInfo m_record;
    std::wstring m_recordPath;
    std::unique_ptr<PlaybackController_CL> m_controller;
    HWND m_controlWindow = nullptr;
    std::map<UINT, int> m_posted;  // messages the window received, by number

private:
    static LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
