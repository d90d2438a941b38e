#include "app/strip/MainStrip_CL.h"

#include <algorithm>

#include "app/commands/CommandHost_CL.h"
#include "app/commands/CommandRouter_CL.h"
#include "app/commands/MenuModel.h"
#include "app/layout/MainLayout.h"
#include "app/loading/ContentLoader_CL.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "media/DShowGraph_CL.h"
#include "store/AppSettings.h"
#include "thumbs/StripRules.h"
#include "thumbs/ThumbIds.h"
#include "ui/PopupMenu_CL.h"

namespace {
// SETTING no_thumbnail (not the idle setting of the same name in NOP): no thumbnails at all.
bool ThumbnailsOff(const AppSettings& settings) { return settings.File().GetInt(L"SETTING", L"no_thumbnail", 0) != 0; }
bool AsyncGraphPrepare(const AppSettings& settings) {
    return settings.File().GetInt(L"SETTING", L"thumbnail_async_graph_prepare", 1) != 0;
}
}  // namespace

MainStrip_CL::MainStrip_CL(CommandHost_CL& host, AppSettings& settings, Callbacks callbacks)
    : m_host(host), m_settings(settings), m_callbacks(std::move(callbacks)), m_commands(host, *this, settings) {}

HRESULT MainStrip_CL::Create(HWND parent) {
    m_strip.SetContentSource(m_callbacks.content);
    m_strip.SetMenuRequest([this](POINT screen) { ShowMenu(screen); });
    m_strip.SetHorizontal(StripIsHorizontal(m_settings.direction));
    m_strip.SetInterval(m_settings.ThumbnailIntervalRefTime(), true);
    const HRESULT hr = m_strip.Create(parent);
    if (FAILED(hr)) return hr;
    HWND strip = m_strip.Window();
    const LONG_PTR style = ::GetWindowLongPtrW(strip, GWL_STYLE);
    ::SetWindowLongPtrW(strip, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
    ::SetWindowPos(strip, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

void MainStrip_CL::RegisterCommands(CommandRouter_CL& router) {
    m_router = &router;
    m_commands.Register(router);
    router.Register(CMD_KEY_STRIP_PREVIOUS, [this](WORD, LPARAM) { StepKey(false); });
    router.Register(CMD_KEY_STRIP_NEXT, [this](WORD, LPARAM) { StepKey(true); });
}

void MainStrip_CL::ApplyLayout(const LayoutResult& layout) {
    HWND strip = m_strip.Window();
    if (!strip) return;
    if (!layout.stripShown) {
        ::ShowWindow(strip, SW_HIDE);
        return;
    }
    m_strip.SetHorizontal(layout.stripHorizontal);
    const SIZE cell = m_strip.CellSize();
    if (cell.cx != layout.cellPx.cx || cell.cy != layout.cellPx.cy) m_strip.SetCellSize(layout.cellPx.cx, layout.cellPx.cy);
    const RECT& r = layout.stripRect;
    ::MoveWindow(strip, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ::ShowWindow(strip, SW_SHOWNA);
}

void MainStrip_CL::ShowPosition(int64_t position) {
    if (Exists() && position >= 0) m_strip.ShowPosition(position);
}

bool MainStrip_CL::HasFocus() const {
    HWND strip = m_strip.Window();
    return strip && ::GetFocus() == strip;
}

void MainStrip_CL::Focus() {
    HWND strip = m_strip.Window();
    if (strip && ::IsWindowVisible(strip) && ::GetFocus() != strip) ::SetFocus(strip);
}

void MainStrip_CL::StepKey(bool forward) {
    HWND strip = m_strip.Window();
    if (!strip) return;
    if (::GetFocus() != strip) {
        ::SetFocus(strip);
        return;
    }
    const WPARAM key = forward ? VK_RIGHT : VK_LEFT;
    ::SendMessageW(strip, WM_KEYDOWN, key, 1);
    ::SendMessageW(strip, WM_KEYUP, key, 0xC0000001);
}

bool MainStrip_CL::StopForLoad() {
    if (!Exists()) return false;
    m_strip.StopThumbnails(kThumbStopClose);
    return true;
}

void MainStrip_CL::LetFileGo() {
    if (Exists()) m_strip.ReleaseFilterGraph();
}

void MainStrip_CL::PrepareContent(DShowGraph_CL& graph, HRESULT buildResult) {
    m_thumbnailsStarted = false;
    if (!Exists()) return;
    m_strip.SetInterval(m_settings.ThumbnailIntervalRefTime(), true);
    LONGLONG earliest = 0, latest = -1;
    if (FAILED(buildResult) || FAILED(graph.GetAvailable(&earliest, &latest))) latest = -1;
    m_strip.SetSeekableLength(latest);
}

bool MainStrip_CL::StartThumbnails(const std::wstring& path, bool soundOnly, int64_t soundOnlyLength) {
    ContentLoader_CL::Trace(L"SetContent2(03-03)");
    m_thumbnailsStarted = false;
    if (!Exists()) return false;
    if (soundOnly) {
        // No thumbnail graph: the cells come from the playback graph's length.
        m_strip.SetSoundOnlyContent(soundOnlyLength);
    } else if (ThumbnailsOff(m_settings)) {
        ContentLoader_CL::Trace(L"SetContent2(03-04)");
    } else {
        const HRESULT hr = m_strip.SetContentThumbnail(m_settings.hidden_decode == 1, path);
        m_thumbnailsStarted = SUCCEEDED(hr);
    }
    ContentLoader_CL::Trace(L"SetContent2(03-06)");
    return m_thumbnailsStarted;
}

void MainStrip_CL::WaitForThumbnails() {
    if (!m_thumbnailsStarted || !AsyncGraphPrepare(m_settings)) return;
    const HRESULT hr = m_strip.WaitPrepareGraphBuildDone();
    if (FAILED(hr)) LogPrintf(L"SetContent2: WaitPrepareGraphBuildDone failed hr=0x%08x", static_cast<unsigned>(hr));
}

void MainStrip_CL::FollowPlayback(bool shown, int64_t position) {
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"%ls", L"WM_LIST_UPDATE");
    if (shown && m_settings.move_thumbnail == 1) ShowPosition(position);
}

void MainStrip_CL::ShowStart(int64_t position) {
    if (!Exists()) return;
    const int64_t interval = EffectiveInterval(m_strip.Interval());
    m_strip.ScrollToIndex(static_cast<int>(std::min<int64_t>(std::max<int64_t>(position, 0) / interval, kStripMaxCells)));
    Repaint();
}

bool MainStrip_CL::OnWorkerStopped(LPARAM code) {
    if (static_cast<int>(code) != kThumbStopInterval) return true;
    m_strip.PrefetchAllThumbnails();
    Repaint();
    return false;
}

bool MainStrip_CL::ChosenCell(const NMHDR& header, int64_t* time) const {
    if (!Exists() || header.hwndFrom != m_strip.Window() || static_cast<int>(header.code) != NM_THUMB_ACTIVATE) {
        return false;
    }
    const auto& notify = reinterpret_cast<const ThumbActivateNotify&>(header);
    if (notify.index < 0 || notify.index >= m_strip.Count()) return false;
    // The time the cell stands for, by the interval the settings hold now.
    *time = CellTime(notify.index, EffectiveInterval(m_settings.ThumbnailIntervalRefTime()));
    return true;
}

void MainStrip_CL::StopForClose() {
    if (!Exists()) return;
    m_strip.StopThumbnails(kThumbStopClose);
    m_strip.ReleaseFilterGraph();
}

void MainStrip_CL::Repaint() {
    if (HWND strip = m_strip.Window()) ::InvalidateRect(strip, nullptr, FALSE);
}

bool MainStrip_CL::StripSelection(int* first, int* last) const { return m_strip.Selection(first, last); }

void MainStrip_CL::RebuildStrip(int64_t interval) {
    if (Exists()) m_strip.SetInterval(interval, false);
}

void MainStrip_CL::SetModalDialogOpen(bool open) {
    if (m_callbacks.setModalDialogOpen) m_callbacks.setModalDialogOpen(open);
}

void MainStrip_CL::ShowMenu(POINT screen) {
    HWND strip = m_strip.Window();
    if (!strip) return;
    std::vector<MenuEntry> entries = BuildStripMenu(m_commands.StripMenuStateNow());
    if (m_router) ApplyCommandStates(*m_router, &entries);
    if (ProcessLogSwitches().log_detail_other) {
        // The intervals offered, as the settings' interval page left them.
        std::wstring intervals;
        for (const MenuEntry& entry : entries) {
            for (const MenuEntry& item : entry.children) {
                if (item.command < CMD_THUMB_INTERVAL_FIRST || item.command > CMD_THUMB_INTERVAL_LAST) continue;
                intervals += (intervals.empty() ? L"" : L"|") + item.text;
            }
        }
        LogPrintf(L"StripMenu intervals: %ls", intervals.c_str());
    }
    PopupMenu_CL menu;
    if (!FillPopupMenu(entries, &menu)) LogPrintf(L"%ls", L"メニューの項目を作れません");
    POINT client = screen;
    ::ScreenToClient(strip, &client);
    SetModalDialogOpen(true);
    const UINT chosen = menu.Show(strip, client);
    SetModalDialogOpen(false);
    if (chosen == 0 || !m_callbacks.runCommand) return;
    const bool ran = m_callbacks.runCommand(static_cast<WORD>(chosen));
    if (ProcessLogSwitches().log_detail_other) LogPrintf(L"StripMenu(0x%04x) ran=%d", chosen, ran ? 1 : 0);
}
