#pragma once
// The playback controller: play, pause, stop, the staged resume, seeks and steps, the two rate
// ladders, volume and mute, the A-B loop, the 500 ms tick (keep-awake, idle and status
// timeouts, strip follow, skip ranges, loop, layout retry, redraw requests), the saving of
// the resume position and the graph's events. The main window owns one, routes its messages
// and timers here (HandleMessage, HandleTimer) and implements PlaybackHost_CL.
//
// Threads:
// - Everything public is called on the UI thread, except PlaybackTick, which the multimedia
//   timer calls on the platform's timer thread (tests call it directly).
// - The tick never touches the graph holder. It takes its own reference to the graph's
//   seeking interface under m_tickGraphLock and uses that reference outside the lock.
//   DetachTickGraph (before every release of the graph) drops the shared reference and waits
//   until no tick holds one, so the holder's release stays the last one, on the UI thread, in
//   its fixed order.
// - Values the tick reads are atomics written by the UI thread, or (skip entries and loop)
//   copied under m_tickRangesLock. The tick talks to the window only by posting messages.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "media/MultimediaTimer_CL.h"
#include "media/PlaybackIds.h"
#include "media/PlaybackRules.h"

class AppSettings;
class ContentInfo;
class DShowGraph_CL;
class PlaybackHost_CL;

class PlaybackController_CL {
public:
    static constexpr int kKeepAwakeTicks = 30;     // 15 s between keep-display-awake calls
    static constexpr int kStatusTicks = 6;         // an on-screen text stays 3 s
    static constexpr int kStripFollowFirstTicks = 2;
    static constexpr int64_t kRateChangeLeap = 10'000'001;  // after a rate change, 1 s ahead
    static constexpr double kRatePulse = 1.2;
    static constexpr DWORD kRatePulseMs = 80;

    // window: where messages are posted and window timers run; graph: the playback holder,
    // which lives as long as the controller.
    PlaybackController_CL(HWND window, DShowGraph_CL& graph, PlaybackHost_CL& host, AppSettings& settings);
    ~PlaybackController_CL();
    PlaybackController_CL(const PlaybackController_CL&) = delete;
    PlaybackController_CL& operator=(const PlaybackController_CL&) = delete;

    // ---- lifecycle (Thread: UI) ----
    // Starts the 500 ms tick and the one-second position saving (window creation). Tests
    // may tick faster to shake out races.
    [[nodiscard]] HRESULT Start(UINT tickPeriodMs = kPlaybackTickPeriodMs);
    // Kills the multimedia timer; returns when no tick runs any more.
    void StopTick();
    // After the holder built a graph: takes the range, the record's skip ranges and volume
    // offset, registers for graph events, lets the tick see the graph. record may be null
    // (then nothing is written); it must outlive the content.
    void OnContentLoaded(ContentInfo* record, bool soundOnly);
    // Stops everything that uses the graph (tick reference, resume timers), marks no content,
    // and releases the holder's graph. Use this instead of the holder's release.
    void ReleaseFilterGraph();
    // WM_DESTROY: saves the position, kills the tick and the timers, releases the graph.
    void OnDestroy();

    // ---- routing (Thread: UI) ----
    // The private messages (deferred resume, rate pulse, redraw request, graph events) and
    // the volume command. True when handled; *result then holds the answer.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The controller's window timers. True when the id was one of them.
    bool HandleTimer(UINT_PTR id);

    // ---- operations (Thread: UI) ----
    int Play(int bNotFirst);
    void PlayResume(int64_t frame);
    void Stop(int bEnd);
    void Pause();
    HRESULT SeekTo(int64_t position);
    void Slow(int index);              // 1 ... 9, shows its text
    void First(int index, int quiet);  // 0 ... 18
    void PlayerPrev();
    void PlayerFore();
    // The half-second step while paused: direction < 0 back, otherwise forward.
    void StepHalfSecond(int direction);
    // F7 / F8: a half-second step while paused, else one rung down / up the ladders.
    void SlowerKey();
    void FasterKey();
    // The play key: with a rate other than normal, back to 1.0 (true); else false and nothing.
    bool PlayKeyResetsRate();
    void SetVolumeStep(int step);
    void VolumeUp();
    void VolumeDown();
    // The volume command's handling: step, SetVolumeStep, mute off, text.
    void ApplyVolumeCommand(int step);
    void SetMute(bool on);
    void ToggleMute() { SetMute(!m_muted); }
    // put_Balance(volume_balance x 100), once per content load.
    void ApplyBalance();
    void SaveLastPlayFrame();
    // The loaded record's skip ranges were changed (set or cleared): the tick skips the new ones.
    void SkipRangesChanged();
    void LoopStart(int firstThumbnail, int lastThumbnail);
    void LoopEnd();
    void KickResumeDeferredSeekRatePulse();
    // Drains IMediaEventEx and handles each event.
    void OnGraphNotify();
    void OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2);

    // ---- the tick ----
    // Thread: the multimedia timer (or a test). One 500 ms step.
    void PlaybackTick();

    // ---- counters and flags the window sets (Thread: UI; read by the tick) ----
    void SetIdleTicks(int ticks) { m_idleTicks.store(ticks); }
    // The idle countdown has run out (the user has done nothing for the idle delay).
    bool IdleTimedOut() const { return m_idleTicks.load() == 0; }
    void SetStatusTicks(int ticks) { m_statusTicks.store(ticks); }
    void SetLayoutRetryTicks(int ticks) { m_layoutRetryTicks.store(ticks); }
    int LayoutRetryTicks() const { return m_layoutRetryTicks.load(); }
    void SetModalDialogOpen(bool open) { m_modalDialogOpen.store(open); }
    // Re-reads move_thumbnail, enable_clock and the thumbnail interval for the tick.
    void RefreshTickSettings();
    // Thread: UI. Settings or the loaded record were changed from the settings sheets: the
    // tick's settings and skip flags are read again, and a loaded movie gets the balance and
    // its record's volume offset at once.
    void FollowSettings();

    // ---- state (Thread: UI) ----
    bool IsPlaying() const { return m_play.load() != 0; }
    bool IsPaused() const { return m_pause.load() != 0; }
    bool ContentLoaded() const { return m_contentLoaded.load() != 0; }
    // The end of the loaded movie's seekable range (100 ns units); 0 when not known.
    int64_t SeekableEnd() const;
    int RateIndex() const { return m_rateIndex; }
    void SetRateIndex(int index) { m_rateIndex = index; }
    // The rate last asked of the graph (1.0 at first); what the graph honours may differ.
    double RequestedRate() const { return m_requestedRate; }
    bool RateChangeAllowed() const { return m_rateChangeAllowed != 0; }
    int VolumeStep() const { return m_volumeStep; }
    bool Muted() const { return m_muted; }
    long LastVolume() const { return m_lastVolume; }
    int64_t SavedPosition() const { return m_savedPosition; }
    int64_t AvailableStart() const { return m_availableStart; }
    int64_t AvailableEnd() const { return m_availableEnd; }
    LoopRange Loop() const;
    bool ResumeSeekPending() const { return m_seekPending; }
    bool ResumeRunPending() const { return m_runPending; }
    bool HealthCheckActive() const { return m_healthActive; }
    // Ticks run so far (for tests that count ticks), and how many seeks the tick made.
    uint32_t TickCount() const { return m_tickCount.load(); }
    uint32_t TickSeekCount() const { return m_tickSeeks.load(); }
    // The tick's shared graph reference is set (tests of the lifetime rule).
    bool TickSeesGraph();
    // Tests: decides whether a picture has arrived for the deferred run (default: the paused
    // graph has finished its transition, which happens once the renderer holds a sample).
    using PictureProbe = bool (*)(void* context);
    void SetPictureProbe(PictureProbe probe, void* context) {
        m_pictureProbe = probe;
        m_pictureProbeContext = context;
    }

    // The graph's play position now (UI thread).
    HRESULT CurrentPosition(int64_t* position);

private:
    static void TickCallback(void* context);
    void DetachTickGraph();
    void AttachTickGraph();
    void RefreshSkipFlags();
    void PublishRanges();
    HRESULT SetGraphRate(double rate);     // SetRate; on success the pitch filter follows
    void ReapplyKeptRate(const wchar_t* caller);
    void ApplyRate(int index, bool slowLadder, bool showText, const wchar_t* caller);
    void ShowText(const std::wstring& text);
    void OnResumeDeferredSeek();
    void OnResumeDeferredRun();
    void OnResumeHealthCheck();
    void OnPlaybackRedraw(bool movePlayTime);
    bool PictureDelivered();
    static int CountDown(std::atomic<int>& counter);

    HWND m_window;
    DShowGraph_CL& m_graph;
    PlaybackHost_CL& m_host;
    AppSettings& m_settings;
    ContentInfo* m_record = nullptr;  // the loaded content's record, or null

    // Playback flags: written on the UI thread, read by the tick.
    std::atomic<int> m_play{0};
    std::atomic<int> m_pause{0};
    std::atomic<int> m_contentLoaded{0};
    std::atomic<int> m_soundOnly{0};
    std::atomic<bool> m_hasRenderer{false};

    // UI thread only.
    int m_rateIndex = 0;
    int m_rateChangeAllowed = 0;
    double m_requestedRate = 1.0;
    int m_pitchQuality = 1;
    int m_volumeStep = 16;
    bool m_muted = false;
    long m_lastVolume = 0;
    int m_volumeOffset = 0;
    int64_t m_savedPosition = -1;
    int64_t m_availableStart = -1;
    int64_t m_availableEnd = -1;
    SkipEntries m_skipEntries{};
    LoopRange m_loop{};

    // The staged resume (UI thread only).
    bool m_seekPending = false;
    int64_t m_seekTarget = -1;
    bool m_runPending = false;
    uint32_t m_runStartTick = 0;
    bool m_healthActive = false;
    bool m_resynced = false;
    int64_t m_healthBase = -1;
    PictureProbe m_pictureProbe = nullptr;
    void* m_pictureProbeContext = nullptr;

    // The tick's view of the graph.
    std::mutex m_tickGraphLock;                       // guards m_tickSeeking, m_tickUsers
    std::condition_variable m_tickGraphReleased;      // m_tickUsers fell to 0
    Microsoft::WRL::ComPtr<IMediaSeeking> m_tickSeeking;  // under m_tickGraphLock
    int m_tickUsers = 0;                              // under m_tickGraphLock
    std::mutex m_tickRangesLock;                      // guards m_tickSkip, m_tickLoop
    SkipEntries m_tickSkip{};                         // under m_tickRangesLock
    LoopRange m_tickLoop{};                           // under m_tickRangesLock

    // Counters: set by the UI thread, counted down by the tick.
    std::atomic<int> m_keepAwakeTicks{kKeepAwakeTicks};
    std::atomic<int> m_idleTicks{0};
    std::atomic<int> m_statusTicks{0};
    std::atomic<int> m_layoutRetryTicks{0};
    std::atomic<bool> m_modalDialogOpen{false};
    std::atomic<int> m_moveThumbnail{1};
    std::atomic<int> m_enableClock{0};
    std::atomic<int64_t> m_thumbnailInterval{0};
    std::atomic<bool> m_redrawPosted{false};
    std::atomic<uint32_t> m_tickCount{0};
    std::atomic<uint32_t> m_tickSeeks{0};
    std::atomic<int64_t> m_tickSeekTarget{-1};  // a tick seek for the UI thread; -1 none
    // Tick thread only.
    int m_stripFollowTicks = kStripFollowFirstTicks;
    int64_t m_lastStripIndex = -1;

    MultimediaTimer_CL m_tickTimer;  // last: killed first
};
