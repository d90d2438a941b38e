#include "media/PlaybackController_CL.h"

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/MutexLock_CL.h"
#include "media/CMyRenderer.h"
#include "media/DShowGraph_CL.h"
#include "media/LumiAudioPitchShiftFilter_CL.h"
#include "media/PlaybackHost_CL.h"
#include "media/PlaybackIds.h"
#include "media/PlaybackTexts.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"

namespace {
bool AudioLog() { return ProcessLogSwitches().log_detail_audio; }
bool GraphEventLog() { return ProcessLogSwitches().log_detail_graph; }

// The play, pause, stop, resume and step sequence; the deferred resume and its health check;
// the rate requests. Each kind is written only with its switch on, so a normal run stays quiet.
template <typename... Args>
void StepLine(const wchar_t* format, Args... args) {
    if (ProcessLogSwitches().log_detail_other) LogPrintf(format, args...);
}
template <typename... Args>
void ResumeLine(const wchar_t* format, Args... args) {
    if (ProcessLogSwitches().log_detail_frame) LogPrintf(format, args...);
}
template <typename... Args>
void RateLine(const wchar_t* format, Args... args) {
    if (ProcessLogSwitches().log_detail_audio) LogPrintf(format, args...);
}
unsigned Code(HRESULT hr) { return static_cast<unsigned>(hr); }
long long Ll(int64_t value) { return static_cast<long long>(value); }
}  // namespace

PlaybackController_CL::PlaybackController_CL(HWND window, DShowGraph_CL& graph, PlaybackHost_CL& host,
                                             AppSettings& settings)
    : m_window(window), m_graph(graph), m_host(host), m_settings(settings) {
    m_volumeStep = settings.VolumeStep();
    m_pitchQuality = settings.pitch_keep_quality;
    RefreshTickSettings();
}

PlaybackController_CL::~PlaybackController_CL() {
    StopTick();
    DetachTickGraph();
    m_tickSeekTarget.store(-1);  // a seek for the graph going away must not reach the next one
}

// ---------------------------------------------------------------- lifecycle

HRESULT PlaybackController_CL::Start(UINT tickPeriodMs) {
    const UINT resolutionMs = tickPeriodMs < kPlaybackTickResolutionMs ? tickPeriodMs : kPlaybackTickResolutionMs;
    HRESULT hr = m_tickTimer.Start(tickPeriodMs, resolutionMs, TickCallback, this);
    if (FAILED(hr)) LogPrintf(L"PlaybackTick: timeSetEvent失敗 (hResult = 0x%08x)", Code(hr));
    ::SetTimer(m_window, ID_TIMER_SAVE_POSITION, kSavePositionPeriodMs, nullptr);
    return hr;
}

void PlaybackController_CL::StopTick() { m_tickTimer.Kill(); }

void PlaybackController_CL::TickCallback(void* context) {
    static_cast<PlaybackController_CL*>(context)->PlaybackTick();
}

void PlaybackController_CL::AttachTickGraph() {
    std::lock_guard<std::mutex> lock(m_tickGraphLock);
    m_tickSeeking = m_graph.MediaSeeking();
}

void PlaybackController_CL::DetachTickGraph() {
    std::unique_lock<std::mutex> lock(m_tickGraphLock);
    m_tickSeeking.Reset();
    // A tick that took its reference before this point finishes with it first, so the holder's
    // release below stays the final one. The tick only reads a position and seeks, which do
    // not wait for this thread; the deadline is a guard, not an expected path.
    if (!m_tickGraphReleased.wait_for(lock, std::chrono::seconds(2), [this] { return m_tickUsers == 0; })) {
        LogPrintf(L"PlaybackTick: グラフ参照の返却待ちがタイムアウト (users=%d)", m_tickUsers);
    }
}

bool PlaybackController_CL::TickSeesGraph() {
    std::lock_guard<std::mutex> lock(m_tickGraphLock);
    return m_tickSeeking != nullptr;
}

void PlaybackController_CL::OnContentLoaded(ContentInfo* record, bool soundOnly) {
    m_record = record;
    LONGLONG earliest = -1, latest = -1;
    if (FAILED(m_graph.GetAvailable(&earliest, &latest))) earliest = latest = -1;
    m_availableStart = earliest;
    m_availableEnd = latest;
    m_requestedRate = 1.0;  // a new graph and a new pitch filter start at normal speed
    m_volumeOffset = record ? record->vol_offset : 0;
    m_savedPosition = record ? record->last_play_frame : -1;
    for (int n = 0; n < kSkipEntryCount; ++n) {
        m_skipEntries[n].begin = record ? record->skip[n].beg : -1;
        m_skipEntries[n].end = record ? record->skip[n].end : -1;
    }
    m_loop = LoopRange{};
    m_soundOnly.store(soundOnly ? 1 : 0);
    m_hasRenderer.store(m_graph.Renderer() != nullptr);
    m_contentLoaded.store(1);
    RefreshSkipFlags();
    if (IMediaEventEx* events = m_graph.MediaEventEx()) {
        HRESULT hr = events->SetNotifyWindow(reinterpret_cast<OAHWND>(m_window), WM_GRAPH_NOTIFY, 0);
        if (FAILED(hr)) LogPrintf(L"IMediaEventEx::SetNotifyWindow失敗 (hResult = 0x%08x)", Code(hr));
    }
    if (m_muted) {
        m_muted = false;
        SetMute(true);
    } else {
        SetVolumeStep(m_volumeStep);
    }
    ApplyBalance();
    RefreshTickSettings();
    AttachTickGraph();
}

void PlaybackController_CL::ReleaseFilterGraph() {
    DetachTickGraph();
    m_tickSeekTarget.store(-1);  // a seek for the graph going away must not reach the next one
    ::KillTimer(m_window, ID_TIMER_RESUME_RUN);
    ::KillTimer(m_window, ID_TIMER_RESUME_HEALTH);
    m_seekPending = m_runPending = m_healthActive = false;
    m_seekTarget = m_healthBase = -1;
    m_runStartTick = 0;
    m_contentLoaded.store(0);
    m_play.store(0);
    m_pause.store(0);
    m_hasRenderer.store(false);
    m_record = nullptr;
    if (IMediaEventEx* events = m_graph.MediaEventEx()) events->SetNotifyWindow(0, 0, 0);
    m_graph.ReleaseFilterGraph();
}

void PlaybackController_CL::OnDestroy() {
    SaveLastPlayFrame();
    // The tick goes before the graph: nothing may reach for the graph while it is taken down.
    StopTick();
    ::KillTimer(m_window, ID_TIMER_SAVE_POSITION);
    ReleaseFilterGraph();
}

void PlaybackController_CL::RefreshTickSettings() {
    m_moveThumbnail.store(m_settings.move_thumbnail);
    m_enableClock.store(m_settings.enable_clock);
    m_thumbnailInterval.store(m_settings.ThumbnailIntervalRefTime());
}

void PlaybackController_CL::FollowSettings() {
    RefreshTickSettings();
    RefreshSkipFlags();
    if (m_contentLoaded.load() == 0) return;
    m_volumeOffset = m_record ? m_record->vol_offset : 0;
    if (m_muted) {
        const long volume = MutedVolumeFor(m_volumeOffset, true);
        m_lastVolume = volume;
        if (IBasicAudio* audio = m_graph.BasicAudio()) audio->put_Volume(volume);
    } else {
        SetVolumeStep(m_volumeStep);
    }
    ApplyBalance();
}

void PlaybackController_CL::RefreshSkipFlags() {
    const int flags[3] = {m_settings.play_op_frame, m_settings.play_ed_frame, m_settings.play_cm_frame};
    for (int n = 0; n < kSkipEntryCount; ++n) m_skipEntries[n].disabled = flags[n < 2 ? n : 2];
    if (m_record) m_record->ApplyNoSkipFlags(flags[0], flags[1], flags[2]);
    PublishRanges();
}

void PlaybackController_CL::PublishRanges() {
    std::lock_guard<std::mutex> lock(m_tickRangesLock);
    m_tickSkip = m_skipEntries;
    m_tickLoop = m_loop;
}

LoopRange PlaybackController_CL::Loop() const { return m_loop; }

// ---------------------------------------------------------------- routing

bool PlaybackController_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (message) {
        case WM_RESUME_DEFERRED_SEEK:
            OnResumeDeferredSeek();
            return true;
        case WM_RESUME_DEFERRED_RUN:
            OnResumeDeferredRun();
            return true;
        case WM_RESUME_RATE_PULSE:
            KickResumeDeferredSeekRatePulse();
            return true;
        case WM_PLAYBACK_REDRAW:
            OnPlaybackRedraw(wParam != 0);
            return true;
        case WM_PLAYBACK_TICK_SEEK: {
            const int64_t target = m_tickSeekTarget.exchange(-1);
            if (target >= 0 && m_graph.MediaSeeking()) SeekTo(target);
            return true;
        }
        case WM_PRESENTER_MAINTAIN:
            if (CMyRenderer* renderer = m_graph.Renderer()) renderer->MaintainPresenter();
            return true;
        case WM_GRAPH_NOTIFY:
            OnGraphNotify();
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) != CMD_VOLUME_STEP) return false;
            ApplyVolumeCommand(static_cast<int>(lParam));
            return true;
        default:
            return false;
    }
}

bool PlaybackController_CL::HandleTimer(UINT_PTR id) {
    switch (id) {
        case ID_TIMER_SAVE_POSITION:
            SaveLastPlayFrame();
            return true;
        case ID_TIMER_RESUME_RUN:
            ::KillTimer(m_window, ID_TIMER_RESUME_RUN);
            if (m_runPending) ::PostMessageW(m_window, WM_RESUME_DEFERRED_RUN, 0, 0);
            return true;
        case ID_TIMER_RESUME_HEALTH:
            ::KillTimer(m_window, ID_TIMER_RESUME_HEALTH);
            OnResumeHealthCheck();
            return true;
        default:
            return false;
    }
}

// ---------------------------------------------------------------- graph helpers

HRESULT PlaybackController_CL::CurrentPosition(int64_t* position) {
    IMediaSeeking* seeking = m_graph.MediaSeeking();
    if (!seeking) return E_POINTER;
    LONGLONG current = 0;
    HRESULT hr = seeking->GetCurrentPosition(&current);
    if (SUCCEEDED(hr)) *position = current;
    return hr;
}

int64_t PlaybackController_CL::SeekableEnd() const { return m_graph.Latest(); }

HRESULT PlaybackController_CL::SeekTo(int64_t position) {
    // Only the current position moves; the stop position is never changed.
    return m_graph.Seek(position);
}

HRESULT PlaybackController_CL::SetGraphRate(double rate) {
    IMediaSeeking* seeking = m_graph.MediaSeeking();
    if (!seeking) return E_POINTER;
    HRESULT hr = seeking->SetRate(rate);
    if (SUCCEEDED(hr)) {
        // The pitch filter undoes the rate's pitch change, so it must always know the rate
        // the graph was last given; otherwise the pitch drifts after a resume or a new entry.
        m_requestedRate = rate;
        if (LumiAudioPitchShiftFilter_CL* pitch = m_graph.PitchFilter()) {
            pitch->SetRate(rate);
            if (AudioLog()) LogPrintf(L"PitchFilter::SetRate rate=%.3f", rate);
        }
    }
    return hr;
}

void PlaybackController_CL::ReapplyKeptRate(const wchar_t* caller) {
    if (!m_graph.MediaSeeking()) return;
    double target = RateForIndex(m_rateIndex);
    if (target == m_requestedRate) return;
    HRESULT hr = SetGraphRate(target);
    RateLine(L"%ls: Run後に保持速度を再設定 SetRate(%.3f)=0x%08x", caller, target, Code(hr));
}

void PlaybackController_CL::ShowText(const std::wstring& text) {
    m_statusTicks.store(kStatusTicks);
    m_host.SetStatusText(text);
}

bool PlaybackController_CL::PictureDelivered() {
    if (m_pictureProbe) return m_pictureProbe(m_pictureProbeContext);
    // A paused graph finishes its transition only once the renderer holds a sample: a state
    // answered without VFW_S_STATE_INTERMEDIATE means the picture of the new position is there.
    IMediaControl* control = m_graph.MediaControl();
    if (!control) return false;
    OAFilterState state = State_Stopped;
    return control->GetState(0, &state) == S_OK && state == State_Paused;
}

// ---------------------------------------------------------------- play, pause, stop

int PlaybackController_CL::Play(int bNotFirst) {
    StepLine(L"Play: bNotFirst=%d bPlay=%d bPause=%d", bNotFirst, m_play.load(), m_pause.load());
    if (!bNotFirst && m_settings.next_play_rate_keep == 0) {
        m_rateIndex = 0;
        m_pitchQuality = m_settings.pitch_keep_quality;
        if (LumiAudioPitchShiftFilter_CL* pitch = m_graph.PitchFilter()) pitch->SetQuality(m_pitchQuality);
    }
    if (!(m_play.load() && !m_pause.load())) {
        if (!bNotFirst && !m_play.load()) SeekTo(m_availableStart > 0 ? m_availableStart : 0);
        IMediaSeeking* seeking = m_graph.MediaSeeking();
        if (seeking) {
            double rate = 0;
            HRESULT hr = seeking->GetRate(&rate);
            StepLine(L"Play: Run前GetRate(before SetRate)=0x%08x rate=%.3f", Code(hr), rate);
            hr = SetGraphRate(1.0);
            StepLine(L"Play: Run前SetRate(1.0)=0x%08x", Code(hr));
            hr = seeking->GetRate(&rate);
            StepLine(L"Play: Run前GetRate(after SetRate)=0x%08x rate=%.3f", Code(hr), rate);
        }
        if (IMediaControl* control = m_graph.MediaControl()) {
            HRESULT hr = control->Run();
            if (FAILED(hr)) StepLine(L"Play: IMediaControl::Run失敗 (hResult = 0x%08x)", Code(hr));
            else if (hr == S_FALSE) StepLine(L"Play: IMediaControl::Runは遷移中 (hResult = 0x%08x)", Code(hr));
            if (seeking) {
                double rate = 0;
                HRESULT rateHr = seeking->GetRate(&rate);
                StepLine(L"Play: Run後GetRate=0x%08x rate=%.3f", Code(rateHr), rate);
            }
            OAFilterState state = State_Stopped;
            hr = control->GetState(100, &state);
            if (FAILED(hr)) {
                StepLine(L"Play: IMediaControl::GetState失敗 (hResult = 0x%08x)", Code(hr));
            } else if (hr == VFW_S_STATE_INTERMEDIATE) {
                StepLine(L"Play: IMediaControl::GetStateは遷移中 (hResult = 0x%08x, state = %d)", Code(hr),
                          static_cast<int>(state));
            } else if (state != State_Running) {
                StepLine(L"Play: 再生状態がRunningではない (state = %d)", static_cast<int>(state));
            } else {
                // The graph has been through pause into running: what EC_PAUSED would have
                // told us, and a platform that never sends it would keep F7/F8 dead forever.
                m_rateChangeAllowed = 1;
            }
        }
        int64_t position = 0;
        HRESULT hr = CurrentPosition(&position);
        if (FAILED(hr)) StepLine(L"Play: GetCurrentPosition失敗 (hResult = 0x%08x)", Code(hr));
        else StepLine(L"Play: GetCurrentPosition=%lld", Ll(position));
        m_play.store(1);
        m_pause.store(0);
        RefreshSkipFlags();
        ReapplyKeptRate(L"Play");
    }
    m_host.ResetLaunchStart();
    return 0;
}

void PlaybackController_CL::PlayResume(int64_t frame) {
    StepLine(L"PlayResume: llFrame=%lld bPlay=%d bPause=%d", Ll(frame), m_play.load(), m_pause.load());
    if (m_settings.next_play_rate_keep == 0) m_rateIndex = 0;
    m_pitchQuality = m_settings.pitch_keep_quality;
    if (LumiAudioPitchShiftFilter_CL* pitch = m_graph.PitchFilter()) pitch->SetQuality(m_pitchQuality);
    if (!(m_play.load() && !m_pause.load())) {
        const int64_t start = m_availableStart, end = m_availableEnd;
        StepLine(L"PlayResume: seekRange start=%lld end=%lld frame=%lld remain=%lld margin=%lld", Ll(start), Ll(end),
                  Ll(frame), Ll(end - frame), Ll(kResumeEndMargin));
        ResumePosition adopted = ChooseResumePosition(frame, start, end);
        if (adopted.choice == ResumeChoice::BeforeStart) {
            StepLine(L"PlayResume: llFrameが開始位置未満のため開始位置へ補正 (%lld -> %lld)", Ll(frame),
                      Ll(adopted.position));
        } else if (adopted.choice == ResumeChoice::NearEnd) {
            StepLine(L"PlayResume: 終端付近リジュームを回避し先頭へ補正 (%lld -> %lld, end=%lld)", Ll(frame),
                      Ll(adopted.position), Ll(end));
        }
        StepLine(L"PlayResume: 採用frame requested=%lld adopted=%lld range=[%lld,%lld] disableResumeTest=%d",
                  Ll(frame), Ll(adopted.position), Ll(start), Ll(end), 0);
        if (m_settings.next_play_rate_keep == 1 && m_rateIndex != 0) {
            if (m_rateIndex > 0) First(m_rateIndex, 1);
            else ApplyRate(-m_rateIndex, true, false, L"Slow");
        }
        ::KillTimer(m_window, ID_TIMER_RESUME_HEALTH);
        m_healthActive = false;
        m_healthBase = -1;
        m_seekTarget = adopted.position;
        m_seekPending = true;
        m_runPending = false;
        ::PostMessageW(m_window, WM_RESUME_DEFERRED_SEEK, 0, 0);
        StepLine(L"%ls", L"PlayResume: 段階実行を開始(Pause->Seek->Run)");
        m_play.store(1);
        m_pause.store(0);
        RefreshSkipFlags();
    }
    m_host.ResetLaunchStart();
}

void PlaybackController_CL::OnResumeDeferredSeek() {
    if (!m_seekPending) return;
    const int64_t target = m_seekTarget;
    m_seekPending = false;
    m_seekTarget = -1;
    IMediaControl* control = m_graph.MediaControl();
    HRESULT hr = control ? control->Pause() : E_POINTER;
    ResumeLine(L"ResumeDeferredSeek: Pause=0x%08x", Code(hr));
    // Nothing waits here for the pause to settle: the run that follows waits for the first
    // picture of the new position (at most DeferredRunDue's limit, on its timer), which covers a
    // graph still starting its streams.
    int64_t position = 0;
    hr = CurrentPosition(&position);
    if (FAILED(hr)) ResumeLine(L"ResumeDeferredSeek: GetCurrentPosition失敗 (hResult = 0x%08x)", Code(hr));
    else ResumeLine(L"ResumeDeferredSeek: 現在位置=%lld target=%lld", Ll(position), Ll(target));
    ResumeLine(L"ResumeDeferredSeek: SetPositions呼出前 tick=%u frame=%lld", static_cast<unsigned>(::GetTickCount()),
              Ll(target));
    hr = SeekTo(target);
    ResumeLine(L"ResumeDeferredSeek: 明示Seek実行 frame=%lld flags=ABS hr=0x%08x", Ll(target), Code(hr));
    if (SUCCEEDED(hr)) {
        HRESULT readHr = CurrentPosition(&position);
        if (SUCCEEDED(readHr)) ResumeLine(L"ResumeDeferredSeek: Seek後現在位置=%lld (target=%lld)", Ll(position), Ll(target));
        else ResumeLine(L"ResumeDeferredSeek: Seek後GetCurrentPosition失敗 (hResult = 0x%08x)", Code(readHr));
    }
    m_runPending = true;
    m_runStartTick = 0;
    ::PostMessageW(m_window, WM_RESUME_DEFERRED_RUN, 0, 0);
}

void PlaybackController_CL::OnResumeDeferredRun() {
    if (!m_runPending) return;
    const uint32_t now = ::GetTickCount();
    if (m_runStartTick == 0) m_runStartTick = now ? now : 1;  // 0 means "not started"
    if (!DeferredRunDue(m_graph.Renderer() != nullptr, PictureDelivered(), 0, m_runStartTick, now)) {
        ::SetTimer(m_window, ID_TIMER_RESUME_RUN, kResumeRunRetryMs, nullptr);
        return;
    }
    ::KillTimer(m_window, ID_TIMER_RESUME_RUN);
    m_runPending = false;
    m_runStartTick = 0;
    if (IMediaSeeking* seeking = m_graph.MediaSeeking()) {
        double rate = 0;
        HRESULT hr = seeking->GetRate(&rate);
        ResumeLine(L"ResumeDeferredRun: Run前GetRate(before SetRate)=0x%08x rate=%.3f", Code(hr), rate);
        hr = SetGraphRate(1.0);
        ResumeLine(L"ResumeDeferredRun: Run前SetRate(1.0)=0x%08x", Code(hr));
        hr = seeking->GetRate(&rate);
        ResumeLine(L"ResumeDeferredRun: Run前GetRate(after SetRate)=0x%08x rate=%.3f", Code(hr), rate);
    }
    IMediaControl* control = m_graph.MediaControl();
    HRESULT hr = control ? control->Run() : E_POINTER;
    if (FAILED(hr)) ResumeLine(L"ResumeDeferredRun: IMediaControl::Run失敗 (hResult = 0x%08x)", Code(hr));
    else if (hr == S_FALSE) ResumeLine(L"ResumeDeferredRun: IMediaControl::Runは遷移中 (hResult = 0x%08x)", Code(hr));
    else ResumeLine(L"%ls", L"ResumeDeferredRun: IMediaControl::Run成功");
    if (control) {
        OAFilterState state = State_Stopped;
        HRESULT stateHr = control->GetState(50, &state);
        ResumeLine(L"ResumeDeferredRun: GetState(50)=0x%08x state=%d", Code(stateHr), static_cast<int>(state));
        if (stateHr == S_OK && state == State_Running) m_rateChangeAllowed = 1;  // as in Play
    }
    // The pulse ends by restoring the kept rate; without it the kept rate goes back at once.
    if (SUCCEEDED(hr)) ::PostMessageW(m_window, WM_RESUME_RATE_PULSE, 0, 0);
    else ReapplyKeptRate(L"ResumeDeferredRun");
    m_healthActive = true;
    m_resynced = false;
    int64_t base = -1;
    m_healthBase = SUCCEEDED(CurrentPosition(&base)) ? base : -1;
    ::SetTimer(m_window, ID_TIMER_RESUME_HEALTH, kResumeHealthDelayMs, nullptr);
    ResumeLine(L"ResumeDeferredRun: HealthCheck開始 base=%lld", Ll(m_healthBase));
}

void PlaybackController_CL::KickResumeDeferredSeekRatePulse() {
    if (!m_graph.MediaSeeking()) return;
    const double restore = RateForIndex(m_rateIndex);
    HRESULT hr = SetGraphRate(kRatePulse);
    ResumeLine(L"KickResumeDeferredSeekRatePulse: SetRate(pulse=%.3f) hr=0x%08x tick=%u slowData=%d restoreTarget=%.3f",
              kRatePulse, Code(hr), static_cast<unsigned>(::GetTickCount()), m_rateIndex, restore);
    // A decoder that stalled after the seek starts moving again when the rate changes.
    ::Sleep(kRatePulseMs);
    hr = SetGraphRate(restore);
    ResumeLine(L"KickResumeDeferredSeekRatePulse: SetRate(restore=%.3f) hr=0x%08x", restore, Code(hr));
}

void PlaybackController_CL::OnResumeHealthCheck() {
    if (!m_healthActive) return;
    IMediaSeeking* seeking = m_graph.MediaSeeking();
    if (!(m_play.load() && !m_pause.load()) || !seeking) {
        m_healthActive = false;
        return;
    }
    int64_t position = 0;
    HRESULT hr = CurrentPosition(&position);
    if (FAILED(hr)) {
        ResumeLine(L"ResumeHealthCheck: GetCurrentPosition失敗 hResult=0x%08x", Code(hr));
        m_healthActive = false;
        return;
    }
    IMediaControl* control = m_graph.MediaControl();
    const int64_t delta = position - m_healthBase;
    switch (JudgeResumeHealth(position, m_healthBase, m_resynced || !control)) {
        case HealthVerdict::Healthy:
            m_healthActive = false;
            ResumeLine(L"ResumeHealthCheck: 正常 delta=%lld current=%lld base=%lld", Ll(delta), Ll(position),
                      Ll(m_healthBase));
            break;
        case HealthVerdict::Resync: {
            m_resynced = true;
            double rate = 1.0;
            HRESULT rateHr = seeking->GetRate(&rate);
            HRESULT pauseHr = control->Pause();
            HRESULT setHr = SetGraphRate(rate);
            HRESULT runHr = control->Run();
            ResumeLine(L"ResumeHealthCheck: 進捗不足のため再同期(Pause->SetRate->Run) delta=%lld current=%lld base=%lld "
                      L"getRate=0x%08x rate=%.3f pause=0x%08x setRate=0x%08x run=0x%08x",
                      Ll(delta), Ll(position), Ll(m_healthBase), Code(rateHr), rate, Code(pauseHr), Code(setHr),
                      Code(runHr));
            // The graph may answer a rate it does not play at; the kept rate is what counts.
            ReapplyKeptRate(L"ResumeHealthCheck");
            m_healthBase = position;
            ::SetTimer(m_window, ID_TIMER_RESUME_HEALTH, kResumeHealthDelayMs, nullptr);
            break;
        }
        case HealthVerdict::GiveUp:
            ResumeLine(L"ResumeHealthCheck: 進捗不足 delta=%lld current=%lld base=%lld (再同期済み/未実施のため監視終了)",
                      Ll(delta), Ll(position), Ll(m_healthBase));
            m_healthActive = false;
            break;
    }
}

void PlaybackController_CL::Stop(int bEnd) {
    StepLine(L"Stop: enter bEnd=%d bPlay=%d bPause=%d", bEnd, m_play.load(), m_pause.load());
    m_savedPosition = -1;
    if (m_record) m_record->SetLastPlayFrame(-1);
    StepLine(L"Stop: last_play_frameを先頭へリセット (%lld)", Ll(m_savedPosition));
    if (m_play.load()) {
        // The graph stays built and positioned: the program's stop is a pause.
        if (IMediaControl* control = m_graph.MediaControl()) control->Pause();
    }
    m_play.store(0);
    m_pause.store(0);
    StepLine(L"Stop: leave bPlay=%d bPause=%d", m_play.load(), m_pause.load());
    Continuation next = DecideContinuation(m_host.PlayList());
    if (next.playNext) {
        PlayListCursor list = m_host.PlayList();
        if (list.nextIndex != next.nextIndex) m_host.SetPlayListNextIndex(next.nextIndex);
        ::PostMessageW(m_window, WM_PLAY_NEXT, 0, 0);
        return;
    }
    if (bEnd && m_host.EndCloseRequested()) ::PostMessageW(m_window, WM_CLOSE, 0, 0);
    m_host.NoteUserActivity();
}

void PlaybackController_CL::Pause() {
    StepLine(L"Pause: enter bPlay=%d bPause=%d", m_play.load(), m_pause.load());
    if (m_play.load()) {
        if (IMediaControl* control = m_graph.MediaControl()) control->Pause();
    }
    m_pause.store(1);
    StepLine(L"Pause: leave bPlay=%d bPause=%d", m_play.load(), m_pause.load());
}

// ---------------------------------------------------------------- rates

void PlaybackController_CL::Slow(int index) { ApplyRate(index, true, true, L"Slow"); }

void PlaybackController_CL::First(int index, int quiet) { ApplyRate(index, false, quiet == 0, L"First"); }

void PlaybackController_CL::ApplyRate(int index, bool slowLadder, bool showText, const wchar_t* caller) {
    m_rateChangeAllowed = 1;
    IMediaControl* control = m_graph.MediaControl();
    if (control) control->Pause();
    IMediaSeeking* seeking = m_graph.MediaSeeking();
    if (!seeking) return;
    const double target = RateForIndex(slowLadder ? -index : index);
    double current = 0;
    HRESULT hr = seeking->GetRate(&current);
    RateLine(L"%ls: SetRate前GetRate=0x%08x current=%.3f target=%.3f", caller, Code(hr), current, target);
    HRESULT setHr = SetGraphRate(target);
    hr = seeking->GetRate(&current);
    RateLine(L"%ls: SetRate後GetRate=0x%08x setHr=0x%08x current=%.3f", caller, Code(hr), Code(setHr), current);
    if (setHr == E_NOTIMPL) return;  // this graph cannot change rate; it stays paused
    if (FAILED(setHr)) {
        RateLine(L"%ls: グラフSetRate失敗 target=%.3f hr=0x%08x", caller, target, Code(setHr));
    } else if (target < 0.999 || target > 1.001) {
        RateLine(L"%ls: グラフSetRate成功 target=%.3f", caller, target);
    }
    if (showText) ShowText(SpeedText(target, slowLadder));
    if (control) control->Run();
    int64_t position = 0;
    if (SUCCEEDED(CurrentPosition(&position))) SeekTo(position + kRateChangeLeap);
}

void PlaybackController_CL::SlowerKey() {
    if (m_pause.load()) {
        StepHalfSecond(-1);
        return;
    }
    if (!m_play.load() || !m_rateChangeAllowed) return;
    m_rateIndex = SlowerRateIndex(m_rateIndex);
    if (m_rateIndex >= 0) First(m_rateIndex, 0);
    else Slow(-m_rateIndex);
}

void PlaybackController_CL::FasterKey() {
    if (m_pause.load()) {
        StepHalfSecond(+1);
        return;
    }
    if (!m_play.load() || !m_rateChangeAllowed) return;
    m_rateIndex = FasterRateIndex(m_rateIndex);
    if (m_rateIndex >= 0) First(m_rateIndex, 0);
    else Slow(-m_rateIndex);
}

bool PlaybackController_CL::PlayKeyResetsRate() {
    if (m_rateIndex == 0) return false;
    m_rateIndex = 0;
    First(0, 0);
    return true;
}

// ---------------------------------------------------------------- seeks and steps

void PlaybackController_CL::StepHalfSecond(int direction) {
    int64_t position = 0;
    if (FAILED(CurrentPosition(&position))) return;
    const int64_t target = HalfSecondStepTarget(position, direction, m_availableStart, m_availableEnd);
    SeekTo(target);
    ShowText(direction < 0 ? kTextHalfSecondBack : kTextHalfSecondForward);
    if (CMyRenderer* renderer = m_graph.Renderer()) {
        MutexLock_CL lock(renderer->FrameLock());
        if (VideoPresenter_CL* presenter = renderer->Presenter()) presenter->SetPosition(target, renderer->Duration());
    }
}

void PlaybackController_CL::PlayerPrev() {
    if (!m_contentLoaded.load()) return;
    const bool wasPlaying = m_play.load() && !m_pause.load();
    int64_t position = 0;
    // Without a position the step would start from 0 and lose the user's place.
    if (FAILED(CurrentPosition(&position))) return;
    const int64_t target = SkipStepTarget(position, m_settings.SkipStepRefTime(), false, m_availableStart, m_availableEnd);
    IMediaControl* control = m_graph.MediaControl();
    HRESULT hr = control ? control->Pause() : E_POINTER;
    StepLine(L"PlayerPrev: Pause=0x%08x", Code(hr));
    SeekTo(target);
    if (wasPlaying && control) {
        hr = control->Run();
        StepLine(L"PlayerPrev: Run=0x%08x", Code(hr));
        ReapplyKeptRate(L"PlayerPrev");
    }
    m_host.MoveStripTo(target);
    ShowText(kTextStepBackPrefix + m_settings.SkipStepCaption(-1, AppSettings::CaptionForm::ToolBar));
}

void PlaybackController_CL::PlayerFore() {
    if (!m_contentLoaded.load()) return;
    const bool wasPlaying = m_play.load() && !m_pause.load();
    int64_t position = 0;
    // Without a position the step would start from 0 and lose the user's place.
    if (FAILED(CurrentPosition(&position))) return;
    const int64_t target = SkipStepTarget(position, m_settings.SkipStepRefTime(), true, m_availableStart, m_availableEnd);
    IMediaControl* control = m_graph.MediaControl();
    HRESULT hr = control ? control->Pause() : E_POINTER;
    StepLine(L"PlayerFore: Pause=0x%08x", Code(hr));
    SeekTo(target);
    if (wasPlaying && control) {
        hr = control->Run();
        StepLine(L"PlayerFore: Run=0x%08x", Code(hr));
        ReapplyKeptRate(L"PlayerFore");
    }
    m_host.MoveStripTo(target);
    ShowText(kTextStepForwardPrefix + m_settings.SkipStepCaption(-1, AppSettings::CaptionForm::ToolBar));
}

// ---------------------------------------------------------------- volume

void PlaybackController_CL::SetVolumeStep(int step) {
    m_volumeStep = ClampVolumeStep(step);
    const long volume = VolumeFor(m_volumeStep, m_volumeOffset, m_contentLoaded.load() != 0);
    m_lastVolume = volume;
    if (IBasicAudio* audio = m_graph.BasicAudio()) {
        HRESULT hr = audio->put_Volume(volume);
        if (FAILED(hr) && AudioLog()) LogPrintf(L"IBasicAudio::put_Volume(%ld)失敗 (hResult = 0x%08x)", volume, Code(hr));
    }
    m_settings.WriteInt(&AppSettings::volume, m_volumeStep);
}

void PlaybackController_CL::VolumeUp() {
    ::SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_VOLUME_STEP, 0), ClampVolumeStep(m_volumeStep + 1));
}

void PlaybackController_CL::VolumeDown() {
    ::SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(CMD_VOLUME_STEP, 0), ClampVolumeStep(m_volumeStep - 1));
}

void PlaybackController_CL::ApplyVolumeCommand(int step) {
    SetVolumeStep(step);
    m_muted = false;
    ShowText(VolumeText(m_volumeStep));
}

void PlaybackController_CL::SetMute(bool on) {
    if (on && !m_muted) {
        ShowText(kTextMute);
        const long volume = MutedVolumeFor(m_volumeOffset, m_contentLoaded.load() != 0);
        m_lastVolume = volume;
        if (IBasicAudio* audio = m_graph.BasicAudio()) audio->put_Volume(volume);
        m_muted = true;
    } else if (!on && m_muted) {
        m_host.SetStatusText(std::wstring());
        SetVolumeStep(m_volumeStep);
        m_muted = false;
    }
}

void PlaybackController_CL::ApplyBalance() {
    if (IBasicAudio* audio = m_graph.BasicAudio()) {
        HRESULT hr = audio->put_Balance(m_settings.VolumeBalanceDb() * 100);
        if (FAILED(hr) && AudioLog()) LogPrintf(L"IBasicAudio::put_Balance失敗 (hResult = 0x%08x)", Code(hr));
    }
}

// ---------------------------------------------------------------- saving, loop, events

void PlaybackController_CL::SaveLastPlayFrame() {
    if (!m_graph.MediaSeeking() || !m_contentLoaded.load()) return;
    if (m_play.load()) {
        int64_t position = 0;
        if (SUCCEEDED(CurrentPosition(&position))) {
            m_savedPosition = SavedPositionFor(position, m_availableStart, m_availableEnd);
        }
    }
    if (m_record) m_record->SetLastPlayFrame(m_savedPosition);
}

void PlaybackController_CL::SkipRangesChanged() {
    for (int n = 0; n < kSkipEntryCount; ++n) {
        m_skipEntries[n].begin = m_record ? m_record->skip[n].beg : -1;
        m_skipEntries[n].end = m_record ? m_record->skip[n].end : -1;
    }
    RefreshSkipFlags();
}

void PlaybackController_CL::LoopStart(int firstThumbnail, int lastThumbnail) {
    m_loop = LoopFromThumbnails(firstThumbnail, lastThumbnail, m_settings.ThumbnailIntervalRefTime());
    PublishRanges();
    ShowText(kTextLoop);
    SeekTo(m_loop.start);
}

void PlaybackController_CL::LoopEnd() {
    m_loop = LoopRange{};
    PublishRanges();
}

void PlaybackController_CL::OnGraphNotify() {
    IMediaEventEx* events = m_graph.MediaEventEx();
    if (!events) return;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        if (GraphEventLog()) {
            LogPrintf(L"IMediaEventEx: event=0x%08x lParam1=%d lParam2=%d", static_cast<unsigned>(code),
                      static_cast<int>(param1), static_cast<int>(param2));
        }
        OnGraphEvent(code, param1, param2);
        events->FreeEventParams(code, param1, param2);
        // Stop may have moved on to a release (a play-list continuation is only posted, but a
        // host may act at once): never read a holder that has let its graph go.
        if (m_graph.MediaEventEx() != events) break;
    }
}

void PlaybackController_CL::OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    switch (code) {
        case EC_COMPLETE:
            LogPrintf(L"IMediaEventEx: EC_COMPLETE (lParam1=%d, lParam2=%d)", static_cast<int>(param1),
                      static_cast<int>(param2));
            Stop(1);
            m_host.RedrawPlayer();
            break;
        case EC_ERRORABORT:
            LogPrintf(L"IMediaEventEx: EC_ERRORABORT (lParam1=%d, lParam2=%d)", static_cast<int>(param1),
                      static_cast<int>(param2));
            break;
        case EC_STREAM_ERROR_STOPPED:
            LogPrintf(L"IMediaEventEx: EC_STREAM_ERROR_STOPPED (lParam1=%d, lParam2=%d)", static_cast<int>(param1),
                      static_cast<int>(param2));
            break;
        case EC_PAUSED:
            m_rateChangeAllowed = 1;
            break;
        default:
            break;
    }
}

void PlaybackController_CL::OnPlaybackRedraw(bool movePlayTime) {
    m_redrawPosted.store(false);
    CMyRenderer* renderer = m_graph.Renderer();
    if (!renderer) return;
    if (movePlayTime && m_play.load() && m_soundOnly.load()) {
        int64_t position = 0;
        if (SUCCEEDED(CurrentPosition(&position))) {
            MutexLock_CL lock(renderer->FrameLock());
            if (VideoPresenter_CL* presenter = renderer->Presenter()) {
                presenter->SetPosition(position, renderer->Duration());
            }
        }
    }
    m_host.RedrawPlayer();
}

// ---------------------------------------------------------------- the tick

int PlaybackController_CL::CountDown(std::atomic<int>& counter) {
    // The UI thread may set the counter at any moment; only a positive value is counted down,
    // and only the step that reaches 0 reports it.
    int value = counter.load();
    while (value > 0) {
        if (counter.compare_exchange_weak(value, value - 1)) return value - 1 == 0 ? 1 : 0;
    }
    return 0;
}

void PlaybackController_CL::PlaybackTick() {
    // 1. Keep the display awake while playing (every 15 s).
    if (m_keepAwakeTicks.fetch_sub(1) - 1 <= 0) {
        if (m_play.load()) ::SetThreadExecutionState(ES_DISPLAY_REQUIRED);
        m_keepAwakeTicks.store(kKeepAwakeTicks);
    }
    // 2., 3. The idle and on-screen-text timeouts.
    if (CountDown(m_idleTicks)) ::PostMessageW(m_window, WM_UPDATE_LAYOUT, 0, 0);
    if (CountDown(m_statusTicks)) ::PostMessageW(m_window, WM_SHOW_STATUS, 0, 0);

    // Our own reference to the graph, so a release on the UI thread cannot pull it away.
    Microsoft::WRL::ComPtr<IMediaSeeking> seeking;
    {
        std::lock_guard<std::mutex> lock(m_tickGraphLock);
        seeking = m_tickSeeking;
        if (seeking) ++m_tickUsers;
    }
    if (seeking) {
        // 4. The strip follows the play position while the user is idle.
        const int64_t interval = m_thumbnailInterval.load();
        if (m_idleTicks.load() == 0 && m_moveThumbnail.load() == 1 && !m_modalDialogOpen.load()) {
            if (--m_stripFollowTicks <= 0) {
                LONGLONG position = 0;
                if (m_hasRenderer.load() && interval > 0 && SUCCEEDED(seeking->GetCurrentPosition(&position))) {
                    const int64_t index = position / interval;
                    if (index != m_lastStripIndex) {
                        ::PostMessageW(m_window, WM_LIST_UPDATE, 0, 0);
                        m_lastStripIndex = index;
                    }
                }
                m_stripFollowTicks = 1;
            }
        } else {
            m_stripFollowTicks = kStripFollowFirstTicks;
            m_lastStripIndex = -1;
        }
        // 5., 6. The A-B loop, or else the skip ranges.
        if (m_play.load()) {
            LoopRange loop;
            SkipEntries entries;
            {
                std::lock_guard<std::mutex> lock(m_tickRangesLock);
                loop = m_tickLoop;
                entries = m_tickSkip;
            }
            LONGLONG position = 0;
            if (SUCCEEDED(seeking->GetCurrentPosition(&position))) {
                LONGLONG target = TickSeekTarget(loop, entries, position);
                if (target >= 0) {
                    if (DShowGraph_CL::SeeksNeedStoppedGraph()) {
                        // Stopping and restarting the graph is the UI thread's business.
                        m_tickSeekTarget.store(target);
                        ::PostMessageW(m_window, WM_PLAYBACK_TICK_SEEK, 0, 0);
                    } else {
                        seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                              AM_SEEKING_NoPositioning);
                    }
                    m_tickSeeks.fetch_add(1);
                }
            }
        }
        seeking.Reset();
        {
            std::lock_guard<std::mutex> lock(m_tickGraphLock);
            --m_tickUsers;
        }
        m_tickGraphReleased.notify_all();
    } else {
        m_stripFollowTicks = kStripFollowFirstTicks;
        m_lastStripIndex = -1;
    }
    // 7. The strip comes back after a mouse resize.
    if (CountDown(m_layoutRetryTicks)) ::PostMessageW(m_window, WM_UPDATE_LAYOUT, 0, 0);
    // 8., 9. Redraws happen on the UI thread; one request at a time.
    const bool hasRenderer = m_hasRenderer.load();
    const bool soundOnlyPlaying = m_play.load() && m_soundOnly.load() && hasRenderer;
    if (soundOnlyPlaying || (hasRenderer && m_enableClock.load() == 1)) {
        if (!m_redrawPosted.exchange(true)) {
            if (!::PostMessageW(m_window, WM_PLAYBACK_REDRAW, soundOnlyPlaying ? 1 : 0, 0)) m_redrawPosted.store(false);
        }
    }
    m_tickCount.fetch_add(1);
}
