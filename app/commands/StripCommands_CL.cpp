#include "app/commands/StripCommands_CL.h"

#include <algorithm>

#include "app/commands/CommandHost_CL.h"
#include "app/commands/CommandRouter_CL.h"
#include "app/commands/StripHost_CL.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/PlaybackController_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "ui/SingleEdit_CL.h"

namespace {
CommandState Enabled(bool enabled, bool checked = false) { return CommandState{enabled, checked}; }

bool AskFavoriteName(HWND owner, std::wstring* name) {
    SingleEdit_CL dialog(StripCommands_CL::kFavoriteNamePrompt, L"", StripCommands_CL::kFavoriteNameLimit, name);
    return dialog.DoModal(owner) == 0;
}
}  // namespace

SelectionSpan SpanOfCells(int first, int last, int64_t interval) {
    if (first > last) std::swap(first, last);
    return SelectionSpan{first * interval, last * interval + interval};
}

void StripCommands_CL::Register(CommandRouter_CL& router) {
    router.Register(CMD_THUMB_INTERVAL_FIRST, CMD_THUMB_INTERVAL_LAST,
                    [this](WORD id, LPARAM) { SetInterval(id - CMD_THUMB_INTERVAL_FIRST); },
                    [this](WORD id) {
                        return Enabled(true, m_settings.frame_time_index == id - CMD_THUMB_INTERVAL_FIRST);
                    });
    // What acts on the selection does nothing without one (a strip without cells).
    auto withSelection = [this](WORD) {
        int first = 0, last = 0;
        return Enabled(RecordLoaded() && Selection(&first, &last));
    };
    router.Register(CMD_SET_SKIP_FIRST, CMD_SET_SKIP_LAST,
                    [this](WORD id, LPARAM) { SetSkipRange(id - CMD_SET_SKIP_FIRST); }, withSelection);
    router.Register(CMD_SET_FAVORITE_FIRST, CMD_SET_FAVORITE_LAST,
                    [this](WORD id, LPARAM) { SetFavorite(id - CMD_SET_FAVORITE_FIRST); }, withSelection);
    router.Register(CMD_LOOP_START, [this](WORD, LPARAM) { StartLoop(); }, withSelection);
}

StripMenuState StripCommands_CL::StripMenuStateNow() const {
    StripMenuState state;
    for (int i = 0; i < static_cast<int>(state.intervalSeconds.size()); ++i) {
        state.intervalSeconds[static_cast<size_t>(i)] = m_settings.ThumbnailIntervalSeconds(i);
    }
    state.intervalIndex = m_settings.frame_time_index;
    state.cellSizeIndex = m_settings.small_image_size;
    if (ContentInfo* record = RecordLoaded() ? m_host.LoadedRecord() : nullptr) {
        for (size_t i = 0; i < state.favoritesSet.size() && i < record->favorites.size(); ++i) {
            state.favoritesSet[i] = record->favorites[i].frame != kNoPosition;
        }
        for (size_t i = 0; i < state.skipRangesSet.size() && i < record->skip.size(); ++i) {
            state.skipRangesSet[i] = record->skip[i].beg != kNoPosition;
        }
    }
    PlaybackController_CL* c = m_host.Controller();
    state.loopOn = c && c->Loop().active;
    int first = 0, last = 0;
    state.hasSelection = Selection(&first, &last);
    return state;
}

bool StripCommands_CL::RecordLoaded() const {
    PlaybackController_CL* c = m_host.Controller();
    return m_host.LoadedRecord() != nullptr && c && c->ContentLoaded();
}

bool StripCommands_CL::Selection(int* first, int* last) const {
    if (!m_strip.StripSelection(first, last)) return false;
    if (*first > *last) std::swap(*first, *last);
    return *first >= 0;
}

void StripCommands_CL::SetInterval(int index) {
    m_settings.WriteInt(&AppSettings::frame_time_index, index);
    m_strip.RebuildStrip(m_settings.ThumbnailIntervalRefTime());
    PlaybackController_CL* c = m_host.Controller();
    int64_t position = 0;
    if (c && c->ContentLoaded() && SUCCEEDED(c->CurrentPosition(&position))) m_host.MoveStripTo(position);
}

void StripCommands_CL::SetSkipRange(int index) {
    int first = 0, last = 0;
    if (!RecordLoaded() || !Selection(&first, &last)) return;
    const SelectionSpan span = SpanOfCells(first, last, m_settings.ThumbnailIntervalRefTime());
    m_host.LoadedRecord()->SetSkipRange(index, span.begin, span.end);
    if (ProcessLogSwitches().log_detail_other) {
        LogPrintf(L"StripSkipRange(%d) cells=%d-%d beg=%lld end=%lld", index, first, last,
                  static_cast<long long>(span.begin), static_cast<long long>(span.end));
    }
    if (PlaybackController_CL* c = m_host.Controller()) c->SkipRangesChanged();
    m_strip.RepaintStrip();
}

void StripCommands_CL::SetFavorite(int index) {
    int first = 0, last = 0;
    if (!RecordLoaded() || !Selection(&first, &last)) return;
    const int64_t frame = SpanOfCells(first, first, m_settings.ThumbnailIntervalRefTime()).begin;
    std::wstring name;
    m_strip.SetModalDialogOpen(true);
    const bool given = (m_prompt ? m_prompt : AskFavoriteName)(m_host.MainWindow(), &name);
    m_strip.SetModalDialogOpen(false);
    // The dialog pumps messages: the movie may have gone meanwhile.
    if (!given || !RecordLoaded()) return;
    m_host.LoadedRecord()->SetFavorite(index, name, frame);
    if (ProcessLogSwitches().log_detail_other) {
        LogPrintf(L"StripFavorite(%d) cell=%d frame=%lld name=\"%ls\"", index, first, static_cast<long long>(frame),
                  name.c_str());
    }
    m_strip.RepaintStrip();
    m_host.RedrawPlayer();
}

void StripCommands_CL::StartLoop() {
    int first = 0, last = 0;
    PlaybackController_CL* c = m_host.Controller();
    if (!c || !c->ContentLoaded() || !Selection(&first, &last)) return;
    c->LoopStart(first, last);
    m_host.RedrawPlayer();
}
