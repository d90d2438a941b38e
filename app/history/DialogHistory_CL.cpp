#include "app/history/DialogHistory_CL.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "app/ListDialogRows.h"
#include "app/commands/MenuModel.h"
#include "app/history/HistoryDialogHost_CL.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "intake/FileExtension.h"
#include "intake/ListItemActions.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordStore_CL.h"
#include "store/PlayHistory.h"
#include "ui/Button_CL.h"
#include "ui/CheckBox_CL.h"
#include "ui/ListView_CL.h"
#include "ui/WindowCentering.h"

namespace {
constexpr int kMargin = 8;

// Two rows that save as the same slot.
bool SameSlot(const HistoryEntry& a, const HistoryEntry& b) {
    return a.path == b.path && a.name == b.name && a.stars == b.stars && a.directory == b.directory;
}

// The job's reader: the records of the user's data folder, through a store of the job's own
// (it may outlive the dialog and the main window).
HistoryMetaJob_CL::Reader DefaultNetworkReader() {
    auto store = std::make_shared<ContentRecordStore_CL>();
    return [store](HistoryEntry& entry) {
        FillNetworkHistoryEntry(entry, [store](const std::wstring& path, std::wstring* name, int* stars) {
            const std::wstring record = store->LocateRecord(path, false, false);
            if (record.empty()) return false;
            ContentInfo info;
            info.Bind(record);
            info.Read(false, CurrentUnixSeconds());
            *name = info.content_name;
            *stars = info.star_count;
            return true;
        });
    };
}
}  // namespace

DialogHistory_CL::DialogHistory_CL(HistoryDialogHost_CL& host, AppSettings& settings, Options options)
    : m_host(host), m_settings(settings), m_options(std::move(options)) {
    m_file.Bind(m_options.historyPath);
    // No minimise box; a sizing border and a maximise box.
    SetStyle((kDefaultStyle & ~static_cast<DWORD>(WS_MINIMIZEBOX)) | WS_THICKFRAME | WS_MAXIMIZEBOX);
}

DialogHistory_CL::~DialogHistory_CL() { Shutdown(); }

void DialogHistory_CL::Shutdown() {
    const bool ended = m_job.Finish(m_options.jobWaitMs);
    if (!ended) LogPrintf(L"%ls", L"DialogHistory: 終わらないネットワーク情報の取得を残して終了");
    DropPendingResults();
}

bool DialogHistory_CL::IsShown() const { return Window() && ::IsWindowVisible(Window()); }

INT_PTR DialogHistory_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // Made hidden: the base would show it.
            OnInitDialog();
            return TRUE;
        case WM_SIZE:
            LayoutControls();
            return TRUE;
        case HistoryMetaJob_CL::kResultMessage:
            OnJobResult(lParam);
            return TRUE;
        case WM_DELETE_NOW:
            OnDeleteNow();
            return TRUE;
        case WM_DESTROY:
            // Results still queued would be thrown away with the window: they are freed here.
            DropPendingResults();
            return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
        default:
            return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    }
}

void DialogHistory_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, kTitle);
    ControlFactory_CL& controls = Controls();
    m_rows = controls.Get<ListView_CL>(controls.AddListView(window, 0, 0, 100, 100, LVS_REPORT));
    m_noRecord = controls.Get<CheckBox_CL>(controls.AddCheckBox(window, kMargin, 0, kNoRecordText));
    m_checkAll = controls.Get<Button_CL>(controls.AddButton(window, 0, 0, kCheckAllText));
    m_deleteChecked = controls.Get<Button_CL>(controls.AddButton(window, 0, 0, kDeleteCheckedText));
    if (m_rows) {
        m_rows->SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                                 LVS_EX_HEADERDRAGDROP);
        AddListDialogColumns(*m_rows, window, DialogFont());
    }
    if (m_noRecord) m_noRecord->SetChecked(m_settings.write_history == 1);
    ::SetWindowPos(window, nullptr, 0, 0, kWidthPx, kHeightPx, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    if (m_loaded) RebuildRows();
}

void DialogHistory_CL::LayoutControls() {
    HWND window = Window();
    if (!window || !m_rows) return;
    RECT client{};
    ::GetClientRect(window, &client);
    int bottomControlsTop = client.bottom;
    int right = client.right - kMargin;
    for (Button_CL* button : {m_deleteChecked, m_checkAll}) {
        if (!button) continue;
        const SIZE size = button->Size();
        const int y = client.bottom - kMargin - size.cy;
        button->MoveTo(right - size.cx, y);
        right -= size.cx + kMargin;
        bottomControlsTop = std::min(bottomControlsTop, y);
    }
    if (m_noRecord) {
        const int y = client.bottom - kMargin - 4 - m_noRecord->Size().cy;
        m_noRecord->MoveTo(kMargin, y);
        bottomControlsTop = std::min(bottomControlsTop, y);
    }
    m_rows->MoveTo(0, 0);
    m_rows->Move(client.right, std::max(0, bottomControlsTop - kMargin), true);
}

void DialogHistory_CL::Toggle() {
    HWND window = Window();
    if (!window) return;
    if (IsShown()) {
        ::ShowWindow(window, SW_HIDE);
        return;
    }
    EnsureLoaded();
    if (m_noRecord) m_noRecord->SetChecked(m_settings.write_history == 1);
    if (!m_placed) {
        // The first time over the middle of the player; afterwards where the user left it.
        PlaceOverOwnerOnScreen(Parent(), window);
        m_placed = true;
    }
    ::ShowWindow(window, SW_SHOW);
    // Over the player, also when the player went full screen after the dialog was made.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window);
    if (m_rows) ::SetFocus(m_rows->Window());
}

void DialogHistory_CL::OnClose() {
    if (Window()) ::ShowWindow(Window(), SW_HIDE);
}

// ---- The list and its file --------------------------------------------------------------

void DialogHistory_CL::EnsureLoaded() {
    if (m_loaded) return;
    LoadHistory();
    m_loaded = true;
}

HistoryRecordLookup DialogHistory_CL::RowRecords() {
    return [this](const std::wstring& moviePath, std::wstring* name, int* stars) {
        return m_host.ReadRowRecord(moviePath, name, stars);
    };
}

void DialogHistory_CL::AddHistory(const std::wstring& path) {
    if (m_settings.write_history == 1) return;
    EnsureLoaded();
    if (!path.empty()) {
        HistoryEntry entry;
        entry.path = path;
        FillHistoryEntry(entry, true, true, RowRecords());
        // The same movie on top with the same name and rating (a load right after the file was
        // opened records it twice): the file and the rows already say so.
        if (!m_entries.empty() && SameSlot(m_entries.front(), entry)) return;
        m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                       [&](const HistoryEntry& older) { return older.path == path; }),
                        m_entries.end());
        m_entries.insert(m_entries.begin(), std::move(entry));
        if (m_entries.size() > static_cast<size_t>(kHistorySlots)) m_entries.resize(kHistorySlots);
    }
    SaveHistory();
    LoadHistory();
}

void DialogHistory_CL::MovePath(const std::wstring& oldPath, const std::wstring& newPath) {
    if (oldPath.empty() || newPath.empty()) return;
    EnsureLoaded();
    bool moved = false;
    for (HistoryEntry& entry : m_entries) {
        if (entry.path != oldPath) continue;
        entry.path = newPath;
        entry.folder = FolderOf(newPath);
        moved = true;
    }
    if (!moved) return;
    LogPrintf(L"再生履歴の移動: %ls → %ls", oldPath.c_str(), newPath.c_str());
    SaveHistory();
    LoadHistory();
}

void DialogHistory_CL::SaveHistory() {
    std::vector<HistorySlot> slots;
    slots.reserve(m_entries.size());
    for (const HistoryEntry& entry : m_entries) slots.push_back(HistorySlotOfEntry(entry));
    if (!WriteHistory(m_file, slots)) LogPrintf(L"再生履歴を書けません: %ls", m_file.Path().c_str());
}

void DialogHistory_CL::LoadHistory() {
    const ULONGLONG started = ::GetTickCount64();
    m_entries.clear();
    const HistoryRecordLookup lookup = RowRecords();
    for (const HistorySlot& slot : ReadHistory(m_file)) m_entries.push_back(HistoryEntryOfSlot(slot, lookup));
    RebuildRows();
    StartNetworkJob();
    if (ProcessLogSwitches().log_detail_graph) {
        LogPrintf(L"DialogHistory UpdateData ms=%u rows=%u", static_cast<unsigned>(::GetTickCount64() - started),
                  static_cast<unsigned>(m_entries.size()));
    }
}

void DialogHistory_CL::RefreshEntry(const std::wstring& path) {
    if (!m_loaded || path.empty()) return;
    bool changed = false;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        HistoryEntry& entry = m_entries[i];
        if (entry.path != path || entry.directory != 0) continue;
        std::wstring name;
        int stars = 0;
        if (!m_host.ReadRowRecord(path, &name, &stars)) continue;
        if (!name.empty()) entry.name = name;
        entry.stars = static_cast<uint8_t>(stars >= 0 && stars <= 5 ? stars : 0);
        FillRow(static_cast<int>(i));
        changed = true;
    }
    if (changed) SaveHistory();
}

// ---- Rows -------------------------------------------------------------------------------

void DialogHistory_CL::RebuildRows() {
    if (!m_rows) return;
    HWND rows = m_rows->Window();
    ::SendMessageW(rows, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(rows, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(rows, LVM_SETITEMCOUNT, m_entries.size(), 0);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const int row = m_rows->AddRow(m_entries[i].name);
        if (row >= 0) FillRow(row);
    }
    ::SendMessageW(rows, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(rows, nullptr, TRUE);
}

void DialogHistory_CL::FillRow(int row) {
    if (!m_rows || row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
    const HistoryEntry& entry = m_entries[static_cast<size_t>(row)];
    for (int column = 0; column < kHistoryColumnCount; ++column) {
        m_rows->SetCellText(row, column, HistoryCellText(entry, column));
    }
}

bool DialogHistory_CL::IsRowChecked(int row) const {
    if (!m_rows) return false;
    const UINT state = static_cast<UINT>(
        ::SendMessageW(m_rows->Window(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void DialogHistory_CL::CheckAll() {
    if (!m_rows) return;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    ::SendMessageW(m_rows->Window(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void DialogHistory_CL::DeleteChecked() {
    if (!m_rows) return;
    for (int row = m_rows->RowCount() - 1; row >= 0; --row) {
        if (!IsRowChecked(row)) continue;
        ::SendMessageW(m_rows->Window(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
        if (static_cast<size_t>(row) < m_entries.size()) m_entries.erase(m_entries.begin() + row);
    }
    SaveHistory();
    ::InvalidateRect(m_rows->Window(), nullptr, TRUE);
}

void DialogHistory_CL::OnRecordingSwitched() {
    if (!m_noRecord) return;
    const bool off = m_noRecord->IsChecked();
    m_settings.WriteInt(&AppSettings::write_history, off ? 1 : 0);
    if (!off) return;
    m_host.SetModalDialogOpen(true);
    const int answer = ::MessageBoxW(Window(), kEraseQuestion, kEraseCaption, MB_YESNO | MB_ICONQUESTION);
    m_host.SetModalDialogOpen(false);
    if (answer != IDYES) return;
    m_entries.clear();
    if (m_rows) ::SendMessageW(m_rows->Window(), LVM_DELETEALLITEMS, 0, 0);
    EraseHistoryPaths(m_file);
    LogPrintf(L"%ls", L"再生履歴を全て削除");
}

void DialogHistory_CL::PlayRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
    // A copy: playing adds to the history, which rebuilds the list under it.
    const std::wstring path = m_entries[static_cast<size_t>(row)].path;
    LogPrintf(L"再生履歴から再生 %d \"%ls\"", row, path.c_str());
    m_host.PlayHistoryPath(path);
}

void DialogHistory_CL::ShowItemMenu(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
    const HistoryEntry entry = m_entries[static_cast<size_t>(row)];
    std::vector<MenuEntry> entries = BuildListItemMenu(false, m_settings.enable_delete_menu == 1);
    for (MenuEntry& item : entries) {
        // History rows are files and folders of their own: nothing to unpack; a folder's
        // own file is never deleted.
        if (item.command == CMD_LIST_EXTRACT) item.enabled = false;
        if (item.command == CMD_LIST_DELETE) item.enabled = entry.directory == 0;
    }
    const UINT command =
        ShowListItemMenuAtPointer(Window(), entries, [this](bool open) { m_host.SetModalDialogOpen(open); });
    LogPrintf(L"再生履歴の項目メニュー(0x%04x) ran=%d row=%d", command, command != 0 ? 1 : 0, row);
    switch (command) {
        case CMD_LIST_PLAY:
            PlayRow(row);
            break;
        case CMD_LIST_OPEN_FOLDER:
            OpenContainingFolder(entry.path);
            break;
        case CMD_LIST_DELETE:
            DeleteRowFile(row);
            break;
        default:
            break;
    }
}

void DialogHistory_CL::DeleteRowFile(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_entries.size()) return;
    m_toDelete = m_entries[static_cast<size_t>(row)].path;
    const std::wstring loaded = m_host.LoadedMoviePath();
    const bool playing = !loaded.empty() &&
                         ::CompareStringOrdinal(loaded.c_str(), -1, m_toDelete.c_str(), -1, TRUE) == CSTR_EQUAL;
    // The movie playing holds its file open: it is closed first, and the deletion follows once
    // the player has let the file go.
    if (playing) {
        m_host.CloseContentThenPost(Window(), WM_DELETE_NOW);
    } else {
        ::PostMessageW(Window(), WM_DELETE_NOW, 0, 0);
    }
}

void DialogHistory_CL::OnDeleteNow() {
    const std::wstring path = std::move(m_toDelete);
    m_toDelete.clear();
    if (path.empty()) return;
    const bool allowUndo = (::GetKeyState(VK_SHIFT) & 0x8000) == 0;
    std::vector<std::wstring> deleted;
    m_host.SetModalDialogOpen(true);
    const HRESULT hr = DeleteMovieFiles(Window(), {path}, allowUndo, &deleted);
    m_host.SetModalDialogOpen(false);
    LogPrintf(L"動画ファイルを削除 %zu件 hr=0x%08x", deleted.size(), static_cast<unsigned>(hr));
    // The history keeps the row: a file that is gone shows "?????", as after any deletion.
    if (!deleted.empty()) LoadHistory();
}

// ---- The network job --------------------------------------------------------------------

void DialogHistory_CL::StartNetworkJob() {
    std::vector<HistoryMetaJob_CL::Item> items;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (IsNetworkHistoryPath(m_entries[i].path)) items.push_back({static_cast<int>(i), m_entries[i].path});
    }
    if (items.empty() || !Window()) return;
    const unsigned rows = static_cast<unsigned>(items.size());
    HistoryMetaJob_CL::Reader reader = m_options.networkReader ? m_options.networkReader : DefaultNetworkReader();
    if (!m_job.Start(Window(), std::move(items), std::move(reader), m_options.jobWaitMs)) {
        LogPrintf(L"%ls", L"DialogHistory: ネットワーク情報の取得を開始できません");
        return;
    }
    if (ProcessLogSwitches().log_detail_graph) {
        LogPrintf(L"DialogHistory UNC meta kick job=%u rows=%u", m_job.Serial(), rows);
    }
}

void DialogHistory_CL::OnJobResult(LPARAM lParam) {
    std::unique_ptr<HistoryMetaResult> result = HistoryMetaJob_CL::TakeResult(lParam);
    if (!result || result->serial != m_job.Serial()) return;
    if (result->row < 0 || static_cast<size_t>(result->row) >= m_entries.size()) return;
    HistoryEntry& entry = m_entries[static_cast<size_t>(result->row)];
    if (entry.path != result->entry.path) return;
    entry = std::move(result->entry);
    FillRow(result->row);
}

void DialogHistory_CL::DropPendingResults() {
    if (!Window()) return;
    MSG message{};
    while (::PeekMessageW(&message, Window(), HistoryMetaJob_CL::kResultMessage, HistoryMetaJob_CL::kResultMessage,
                          PM_REMOVE)) {
        HistoryMetaJob_CL::TakeResult(message.lParam);
    }
}

// ---- Commands ---------------------------------------------------------------------------

void DialogHistory_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    (void)control;
    switch (controlId) {
        case IDOK:
            if (m_rows) {
                PlayRow(static_cast<int>(::SendMessageW(m_rows->Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                        LVNI_FOCUSED | LVNI_SELECTED)));
            }
            return;
        case IDCANCEL: OnClose(); return;  // Escape hides, as the close box does
        default: break;
    }
    if (notifyCode != BN_CLICKED) return;
    if (m_noRecord && controlId == m_noRecord->Id()) {
        OnRecordingSwitched();
    } else if (m_checkAll && controlId == m_checkAll->Id()) {
        CheckAll();
    } else if (m_deleteChecked && controlId == m_deleteChecked->Id()) {
        DeleteChecked();
    }
}

LRESULT DialogHistory_CL::OnNotify(const NMHDR& header) {
    if (!m_rows || header.hwndFrom != m_rows->Window()) return 0;
    switch (header.code) {
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) PlayRow(activate.iItem);
            return 0;
        }
        case NM_RCLICK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            ShowItemMenu(activate.iItem);
            return 0;
        }
        default:
            return 0;
    }
}
