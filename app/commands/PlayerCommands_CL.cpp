#include "app/commands/PlayerCommands_CL.h"

#include <shellapi.h>

#include <algorithm>

#include "app/PlayErrorTexts.h"
#include "app/commands/CommandHost_CL.h"
#include "app/commands/CommandRouter_CL.h"
#include "app/goto/GoToTime.h"
#include "app/goto/GoToTimeDialog_CL.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/PlaybackController_CL.h"
#include "media/PlaybackRules.h"
#include "media/PlaybackTexts.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "store/ContentRecords_CL.h"

namespace {
constexpr int kStarStatusTicks = 10;  // 5 s
constexpr int kRatioModes = CMD_RATIO_LAST - CMD_RATIO_FIRST + 1;
constexpr int kThumbSizes = CMD_THUMB_SIZE_LAST - CMD_THUMB_SIZE_FIRST + 1;
constexpr int kDirections = 4;

CommandState Enabled(bool enabled, bool checked = false) { return CommandState{enabled, checked}; }
}  // namespace

int PlayerCommands_CL::VolumeStepFromParam(LPARAM lParam) {
    // Any process may send the command: the whole parameter is clamped, not a truncated part.
    if (lParam < 0) return 0;
    if (lParam > kVolumeStepMax) return kVolumeStepMax;
    return static_cast<int>(lParam);
}

void PlayerCommands_CL::Register(CommandRouter_CL& router) {
    CommandHost_CL& host = m_host;
    router.SetBeforeEach([&host](WORD command) {
        // The worker's notice is no user action: a drag goes on and the idle count stays.
        if (command == CMD_WORKER_IDLE) return;
        host.EndWindowDrag();
        host.NoteUserActivity();
    });
    auto controller = [&host]() { return host.Controller(); };
    auto loaded = [controller]() { return controller() && controller()->ContentLoaded(); };

    // ---- the picture and the window ----
    router.Register(CMD_RATIO_FIRST, CMD_RATIO_LAST, [this](WORD id, LPARAM) { SetOutputRate(id - CMD_RATIO_FIRST); },
                    [this](WORD id) { return Enabled(true, m_settings.output_rate_hv == id - CMD_RATIO_FIRST); });
    router.Register(
        CMD_MENU_FULL_SCREEN, [&host](WORD, LPARAM) { if (!host.FullScreen()) host.ToggleFullScreen(); });
    router.Register(CMD_MENU_WINDOWED, [&host](WORD, LPARAM) { if (host.FullScreen()) host.ToggleFullScreen(); });
    router.Register(CMD_FULL_SCREEN, [&host](WORD, LPARAM) { host.ToggleFullScreen(); },
                    [&host](WORD) { return Enabled(true, host.FullScreen()); });
    router.Register(CMD_BORDERLESS_OFF, CMD_BORDERLESS_ON,
                    [&host](WORD id, LPARAM) { host.SetBorderless(id == CMD_BORDERLESS_ON); },
                    [&host](WORD id) { return Enabled(true, host.Borderless() == (id == CMD_BORDERLESS_ON)); });
    router.Register(CMD_TOPMOST_OFF, CMD_TOPMOST_ON, [&host](WORD id, LPARAM) { host.SetTopmost(id == CMD_TOPMOST_ON); },
                    [&host](WORD id) { return Enabled(true, host.Topmost() == (id == CMD_TOPMOST_ON)); });
    router.Register(
        CMD_TRANSPARENT_ON, CMD_TRANSPARENT_OFF,
        [&host](WORD id, LPARAM) { host.SetTransparentDisplay(id == CMD_TRANSPARENT_ON); },
        [&host](WORD id) { return Enabled(true, host.TransparentDisplay() == (id == CMD_TRANSPARENT_ON)); });
    router.Register(CMD_THUMB_SIZE_FIRST, CMD_THUMB_SIZE_LAST,
                    [this, &host](WORD id, LPARAM) {
                        m_settings.WriteInt(&AppSettings::small_image_size, id - CMD_THUMB_SIZE_FIRST);
                        host.Layout();
                    },
                    [this](WORD id) { return Enabled(true, m_settings.small_image_size == id - CMD_THUMB_SIZE_FIRST); });
    router.Register(CMD_KEY_CYCLE_RATIO,
                    [this](WORD, LPARAM) { SetOutputRate((m_settings.output_rate_hv + 1) % kRatioModes); });
    router.Register(CMD_KEY_CYCLE_THUMB_SIZE, [this, &host](WORD, LPARAM) {
        CycleSetting(&AppSettings::small_image_size, kThumbSizes);
        host.Layout();
    });
    router.Register(CMD_KEY_CYCLE_DIRECTION, [this, &host](WORD, LPARAM) {
        CycleSetting(&AppSettings::direction, kDirections);
        host.Layout();
    });
    router.Register(CMD_KEY_CLOCK, [this](WORD, LPARAM) { ToggleClock(); },
                    [this](WORD) { return Enabled(true, m_settings.enable_clock != 0); });
    router.Register(CMD_THUMBNAIL_STRIP, [this](WORD, LPARAM) { ToggleStrip(); },
                    [&host](WORD) { return Enabled(true, host.StripVisible()); });
    router.Register(CMD_STRIP_TO_POSITION,
                    [&host, controller](WORD, LPARAM) {
                        int64_t position = 0;
                        if (SUCCEEDED(controller()->CurrentPosition(&position))) host.MoveStripTo(position);
                    },
                    [loaded](WORD) { return Enabled(loaded()); });
    router.Register(CMD_KEY_CLICK, [&host](WORD, LPARAM) { host.ClickAtPointer(); });
    router.Register(CMD_SUPPORT_SITE, [this](WORD, LPARAM) { OpenSupportSite(); });
    router.Register(CMD_OPEN_FILE, [&host](WORD, LPARAM) { host.ShowOpenFileDialog(); });
    router.Register(CMD_CAPTURE, [&host](WORD, LPARAM) { host.CaptureScreen(); });
    router.Register(CMD_CLOSE, [&host](WORD, LPARAM) { ::PostMessageW(host.MainWindow(), WM_CLOSE, 0, 0); });
    // The step before each command already noted the activity.
    router.Register(CMD_USER_ACTIVITY, [](WORD, LPARAM) {});
    router.Register(CMD_WORKER_IDLE, [&host](WORD, LPARAM) { host.OnWorkerIdle(); });

    // ---- the movie's record: favourites, skip ranges, rating ----
    // Moves to a favourite (play: and play from there) or to the beginning of a skip range.
    auto moveToFavorites = [this, &router](WORD first, WORD last, bool play) {
        router.Register(
            first, last,
            [this, first, play](WORD id, LPARAM) {
                SeekToRecordPosition(m_host.LoadedRecord()->favorites[id - first].frame, play);
            },
            [this, first](WORD id) { return Enabled(FavoriteSet(id - first)); });
    };
    moveToFavorites(CMD_PLAY_FAVORITE_FIRST, CMD_PLAY_FAVORITE_LAST, true);
    moveToFavorites(CMD_MOVE_TO_FAVORITE_FIRST, CMD_MOVE_TO_FAVORITE_LAST, false);
    router.Register(CMD_MOVE_TO_SKIP_FIRST, CMD_MOVE_TO_SKIP_LAST,
                    [this](WORD id, LPARAM) {
                        SeekToRecordPosition(m_host.LoadedRecord()->skip[id - CMD_MOVE_TO_SKIP_FIRST].beg, false);
                    },
                    [this](WORD id) { return Enabled(SkipRangeSet(id - CMD_MOVE_TO_SKIP_FIRST)); });
    router.Register(CMD_CLEAR_SKIP_FIRST, CMD_CLEAR_SKIP_LAST,
                    [this](WORD id, LPARAM) { ClearSkipRange(id - CMD_CLEAR_SKIP_FIRST); },
                    [this](WORD id) { return Enabled(SkipRangeSet(id - CMD_CLEAR_SKIP_FIRST)); });
    router.Register(CMD_CLEAR_FAVORITE_FIRST, CMD_CLEAR_FAVORITE_LAST,
                    [this](WORD id, LPARAM) { ClearFavorite(id - CMD_CLEAR_FAVORITE_FIRST); },
                    [this](WORD id) { return Enabled(FavoriteSet(id - CMD_CLEAR_FAVORITE_FIRST)); });
    router.Register(CMD_STARS_FIRST, CMD_STARS_LAST, [this](WORD id, LPARAM) { SetStarRating(id - CMD_STARS_FIRST); },
                    [this](WORD id) {
                        ContentInfo* record = m_host.LoadedRecord();
                        return Enabled(RecordLoaded(), record && record->star_count == id - CMD_STARS_FIRST);
                    });
    router.Register(CMD_GO_TO_TIME, [this](WORD, LPARAM) { GoToTime(); }, [loaded](WORD) { return Enabled(loaded()); });
    router.Register(CMD_LOOP_END, [controller](WORD, LPARAM) { controller()->LoopEnd(); },
                    [controller](WORD) { return Enabled(controller() && controller()->Loop().active); });

    // ---- playback: the tool bar, the control bar and the keys ----
    router.Register(CMD_PLAY_PAUSE, [&host, controller](WORD, LPARAM) {
        PlaybackController_CL* c = controller();
        if (!c || !c->ContentLoaded() || c->PlayKeyResetsRate()) return;
        if (!c->IsPlaying() || c->IsPaused()) {
            host.SetStatusText(kTextPlay);
            c->Play(0);
        } else {
            host.SetStatusText(kTextPause);
            c->Pause();
        }
        host.RedrawPlayer();
    });
    router.Register(CMD_STOP, [&host, controller](WORD, LPARAM) {
        PlaybackController_CL* c = controller();
        if (!c || !c->IsPlaying()) return;
        host.SetStatusText(kTextStop);
        c->Stop(0);
        host.RedrawPlayer();
    });
    router.Register(CMD_KEY_RESTART, [&host, controller](WORD, LPARAM) {
        PlaybackController_CL* c = controller();
        if (!c || !c->ContentLoaded()) return;
        host.SetStatusText(kTextStart);
        c->Stop(0);
        c->Play(0);
    });
    auto on = [controller](void (PlaybackController_CL::*action)()) {
        return [controller, action](WORD, LPARAM) {
            if (PlaybackController_CL* c = controller()) (c->*action)();
        };
    };
    router.Register(CMD_MUTE, on(&PlaybackController_CL::ToggleMute),
                    [controller](WORD) { return Enabled(true, controller() && controller()->Muted()); });
    router.Register(CMD_KEY_VOLUME_UP, on(&PlaybackController_CL::VolumeUp));
    router.Register(CMD_KEY_VOLUME_DOWN, on(&PlaybackController_CL::VolumeDown));
    router.Register(CMD_SLOWER, on(&PlaybackController_CL::SlowerKey));
    router.Register(CMD_FASTER, on(&PlaybackController_CL::FasterKey));
    router.Register(CMD_PREVIOUS, on(&PlaybackController_CL::PlayerPrev));
    router.Register(CMD_NEXT, on(&PlaybackController_CL::PlayerFore));
    router.Register(CMD_VOLUME_STEP, [controller](WORD, LPARAM lParam) {
        if (PlaybackController_CL* c = controller()) c->ApplyVolumeCommand(VolumeStepFromParam(lParam));
    });
}

PictureMenuState PlayerCommands_CL::PictureMenuStateNow() {
    PictureMenuState state;
    state.fullScreen = m_host.FullScreen();
    state.borderless = m_host.Borderless();
    state.topmost = m_host.Topmost();
    state.transparent = m_host.TransparentDisplay();
    state.outputRate = m_settings.output_rate_hv;
    state.fromAlbum = m_host.FromAlbum();
    if (ContentInfo* record = RecordLoaded() ? m_host.LoadedRecord() : nullptr) {
        state.starCount = record->star_count;
        for (size_t i = 0; i < state.favorites.size() && i < record->favorites.size(); ++i) {
            state.favorites[i].set = record->favorites[i].frame != kNoPosition;
            state.favorites[i].name = record->favorites[i].name;
        }
    }
    return state;
}

bool PlayerCommands_CL::RecordLoaded() {
    PlaybackController_CL* c = m_host.Controller();
    return m_host.LoadedRecord() != nullptr && c && c->ContentLoaded();
}

bool PlayerCommands_CL::FavoriteSet(int index) {
    return RecordLoaded() && index >= 0 && index < kFavoriteCount &&
           m_host.LoadedRecord()->favorites[static_cast<size_t>(index)].frame != kNoPosition;
}

bool PlayerCommands_CL::SkipRangeSet(int index) {
    return RecordLoaded() && index >= 0 && index < kSkipRangeCount &&
           m_host.LoadedRecord()->skip[static_cast<size_t>(index)].beg != kNoPosition;
}

void PlayerCommands_CL::SetOutputRate(int mode) {
    // Choosing the mode already in force writes it again and redraws: the menu promises that.
    m_settings.WriteInt(&AppSettings::output_rate_hv, mode);
    m_host.PictureMoved();
}

void PlayerCommands_CL::CycleSetting(int AppSettings::*field, int count) {
    m_settings.WriteInt(field, (m_settings.*field + 1) % count);
}

void PlayerCommands_CL::ToggleClock() {
    m_settings.WriteInt(&AppSettings::enable_clock, m_settings.enable_clock != 0 ? 0 : 1);
    // The tick redraws the clock while paused only once it knows the clock is on.
    if (PlaybackController_CL* c = m_host.Controller()) c->RefreshTickSettings();
    m_host.RedrawPlayer();
}

void PlayerCommands_CL::SetStarRating(int stars) {
    ContentInfo* record = m_host.LoadedRecord();
    record->SetStarCount(stars);
    m_host.Records().SyncToAlbums(*record);
    if (PlaybackController_CL* c = m_host.Controller()) c->SetStatusTicks(kStarStatusTicks);
    m_host.RefreshHistoryDialog();
    m_host.RedrawPlayer();
}

void PlayerCommands_CL::ToggleStrip() {
    const bool visible = !m_host.StripVisible();
    m_host.SetStripVisible(visible);
    int64_t position = 0;
    PlaybackController_CL* c = m_host.Controller();
    if (visible && c && c->ContentLoaded() && SUCCEEDED(c->CurrentPosition(&position))) m_host.MoveStripTo(position);
    m_host.Layout();
}

void PlayerCommands_CL::GoToTime() {
    PlaybackController_CL* c = m_host.Controller();
    if (!c || !c->ContentLoaded()) return;
    GoToTimeDialog_CL dialog;
    double seconds = 0;
    m_host.SetModalDialogOpen(true);
    const bool taken = dialog.Ask(m_host.MainWindow(), &seconds);
    m_host.SetModalDialogOpen(false);
    // The movie may have gone while the dialog was open.
    if (!taken || !c->ContentLoaded()) return;
    const int64_t target = GoToTimeTarget(seconds, c->SeekableEnd());
    LogPrintf(L"指定した時間へ移動 %.3f秒 → %lld", seconds, static_cast<long long>(target));
    SeekToRecordPosition(target, false);
}

void PlayerCommands_CL::SeekToRecordPosition(int64_t position, bool play) {
    PlaybackController_CL* c = m_host.Controller();
    if (!c || position == kNoPosition) return;
    c->SeekTo(position);
    m_host.MoveStripTo(position);
    // Play(1): a first play would start again from the beginning.
    if (play && (!c->IsPlaying() || c->IsPaused())) c->Play(1);
    m_host.RedrawPlayer();
}

void PlayerCommands_CL::ClearSkipRange(int index) {
    m_host.LoadedRecord()->SetSkipRange(index, kNoPosition, kNoPosition);
    if (PlaybackController_CL* c = m_host.Controller()) c->SkipRangesChanged();
}

void PlayerCommands_CL::ClearFavorite(int index) {
    m_host.LoadedRecord()->SetFavorite(index, L"", kNoPosition);
}

void PlayerCommands_CL::OpenSupportSite() {
    HINSTANCE result = ::ShellExecuteW(m_host.MainWindow(), nullptr, kSupportProductPageUrl, nullptr, nullptr,
                                       SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code <= 32) LogPrintf(L"サポートサイトを開けません (%d) \"%ls\"", static_cast<int>(code), kSupportProductPageUrl);
}
