#include "app/playlist/DialogPlayList_CL.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/ListDialogRows.h"
#include "app/MainToolBar_CL.h"
#include "app/ToolBarImages.h"
#include "app/archive/DialogZipProgress_CL.h"
#include "app/commands/MenuModel.h"
#include "app/playlist/PlayListDialogHost_CL.h"
#include "app/playlist/PlayListSaving.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "intake/FileExtension.h"
#include "intake/FileIntake_CL.h"
#include "intake/ListItemActions.h"
#include "intake/ListRowText.h"
#include "intake/PlayList_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "ui/Button_CL.h"
#include "ui/CheckBox_CL.h"
#include "ui/ListView_CL.h"
#include "ui/ToolBar_CL.h"
#include "ui/WindowCentering.h"

namespace {
constexpr wchar_t kTipSave[] = L"プレイリストを保存する";
constexpr wchar_t kTipMoveUp[] = L"順番を１つ上にする";
constexpr wchar_t kTipMoveDown[] = L"順番を１つ下にする";
constexpr wchar_t kTipPrevious[] = L"前のアイテムを再生する";
constexpr wchar_t kTipPlay[] = L"アイテムを再生する";
constexpr wchar_t kTipNext[] = L"次のアイテムを再生する";
constexpr wchar_t kTipShuffle[] = L"リストのシャッフル";
constexpr wchar_t kLoopText[] = L"プレイリストをループ再生する";
constexpr wchar_t kCheckAllText[] = L"全てチェックする";
constexpr wchar_t kDeleteCheckedText[] = L"チェックした項目を削除する";

constexpr COLORREF kStarText = RGB(255, 180, 0);
constexpr COLORREF kStarBack = RGB(250, 250, 250);
constexpr COLORREF kPlayingBack = RGB(180, 180, 255);
constexpr double kPopUpFontScale = 3.0;

int ImageOf(ToolBarImage image) { return static_cast<int>(image); }

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

DialogPlayList_CL::DialogPlayList_CL(PlayList_CL& list, PlayListDialogHost_CL& host, AppSettings& settings)
    : m_list(list), m_host(host), m_settings(settings) {
    // No minimise box; a sizing border and a maximise box.
    SetStyle((kDefaultStyle & ~static_cast<DWORD>(WS_MINIMIZEBOX)) | WS_THICKFRAME | WS_MAXIMIZEBOX);
}

DialogPlayList_CL::~DialogPlayList_CL() {
    // The tool bar and its tips go before the window they sit in and the pictures they borrow.
    m_toolBar.reset();
}

HRESULT DialogPlayList_CL::Create(HWND parent, HINSTANCE instance) {
    m_instance = instance;
    return CreateModeless(parent);
}

bool DialogPlayList_CL::IsShown() const { return Window() && ::IsWindowVisible(Window()); }

INT_PTR DialogPlayList_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // Made hidden: the base would show it.
            OnInitDialog();
            return TRUE;
        case WM_SIZE:
            LayoutControls();
            return TRUE;
        case WM_DROPFILES:
            OnDrop(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_DELETE_NOW:
            OnDeleteNow();
            return TRUE;
        default:
            return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    }
}

void DialogPlayList_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, kTitle);
    ControlFactory_CL& controls = Controls();

    HRESULT hr = MainToolBar_CL::LoadImages(m_instance, &m_images);
    if (SUCCEEDED(hr)) {
        auto bar = std::make_unique<ToolBar_CL>();
        const std::vector<ToolBarButton> buttons = {
            {kToolSave, ImageOf(ToolBarImage::Save), kTipSave},
            {0, 0, L""},
            {kToolMoveUp, ImageOf(ToolBarImage::MoveUp), kTipMoveUp},
            {kToolMoveDown, ImageOf(ToolBarImage::MoveDown), kTipMoveDown},
            {0, 0, L""},
            {kToolPrevious, ImageOf(ToolBarImage::Previous), kTipPrevious},
            {kToolPlay, ImageOf(ToolBarImage::PlayPause), kTipPlay},
            {kToolNext, ImageOf(ToolBarImage::Next), kTipNext},
            {0, 0, L""},
            {kToolShuffle, ImageOf(ToolBarImage::Shuffle), kTipShuffle},
        };
        hr = bar->Create(window, kToolBarId, m_images, buttons);
        if (SUCCEEDED(hr)) m_toolBar = std::move(bar);
    }
    if (FAILED(hr)) LogPrintf(L"プレイリストのツールバーを作れません (0x%08x)", static_cast<unsigned>(hr));

    m_rows = controls.Get<ListView_CL>(controls.AddListView(window, 0, 0, 100, 100, LVS_REPORT));
    m_checkAll = controls.Get<CheckBox_CL>(controls.AddCheckBox(window, 8, 0, kCheckAllText));
    m_loop = controls.Get<CheckBox_CL>(controls.AddCheckBox(window, 200, 0, kLoopText));
    m_deleteChecked = controls.Get<Button_CL>(controls.AddButton(window, 0, 0, kDeleteCheckedText));
    if (m_rows) {
        m_rows->SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                                 LVS_EX_HEADERDRAGDROP);
        AddListDialogColumns(*m_rows, window, DialogFont());
    }
    if (m_loop) m_loop->SetChecked(m_settings.loop_play != 0);
    ::DragAcceptFiles(window, TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, kWidthPx, kHeightPx, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    m_list.SetChanged();
    RebuildRows();
}

void DialogPlayList_CL::LayoutControls() {
    HWND window = Window();
    if (!window || !m_rows) return;
    RECT client{};
    ::GetClientRect(window, &client);
    int top = 0;
    if (m_toolBar) {
        m_toolBar->Layout();
        RECT bar{};
        ::GetWindowRect(m_toolBar->Window(), &bar);
        top = bar.bottom - bar.top;
    }
    int bottomControlsTop = client.bottom;
    if (m_deleteChecked) {
        const SIZE size = m_deleteChecked->Size();
        const int y = client.bottom - 8 - size.cy;
        m_deleteChecked->MoveTo(client.right - 4 - size.cx, y);
        bottomControlsTop = std::min(bottomControlsTop, y);
    }
    for (CheckBox_CL* box : {m_checkAll, m_loop}) {
        if (!box) continue;
        const int y = client.bottom - 12 - box->Size().cy;
        box->MoveTo(box == m_checkAll ? 8 : 200, y);
        bottomControlsTop = std::min(bottomControlsTop, y);
    }
    m_rows->MoveTo(0, top + 4);
    m_rows->Move(client.right, std::max(0, bottomControlsTop - 4 - (top + 4)), true);
}

void DialogPlayList_CL::ApplyListFont() {
    if (!m_rows) return;
    LOGFONTW font{};
    if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font)) return;
    const double scale = m_popUp ? kPopUpFontScale : 1.0;
    font.lfHeight = static_cast<LONG>(font.lfHeight * scale);
    font.lfWidth = static_cast<LONG>(font.lfWidth * scale);
    font.lfWeight = 100;
    GdiObject_CL created(::CreateFontIndirectW(&font));
    if (created.IsValid()) m_rows->SetFont(std::move(created));
}

void DialogPlayList_CL::Toggle(bool popUp) {
    HWND window = Window();
    if (!window) return;
    if (IsShown()) {
        ::ShowWindow(window, SW_HIDE);
        return;
    }
    m_popUp = popUp;
    if (popUp) {
        RECT parent{};
        ::GetWindowRect(Parent(), &parent);
        const POINT corner = CenteredTopLeft(parent, SIZE{kPopUpWidthPx, kPopUpHeightPx});
        ::SetWindowPos(window, nullptr, corner.x, corner.y, kPopUpWidthPx, kPopUpHeightPx,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::ShowWindow(window, SW_SHOW);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (!::SetLayeredWindowAttributes(window, 0, kAlpha, LWA_ALPHA)) {
        LogPrintf(L"SetLayeredWindowAttributes の失敗 (%u)", static_cast<unsigned>(::GetLastError()));
    }
    ApplyListFont();
    m_playingPath = m_host.LoadedMoviePath();
    RebuildRows();
    if (m_rows) ::InvalidateRect(m_rows->Window(), nullptr, TRUE);
    // Over the player, also when the player went full screen after the dialog was made.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window);
    if (m_rows) ::SetFocus(m_rows->Window());
}

void DialogPlayList_CL::Refresh() {
    if (!Window()) return;
    m_playingPath = m_host.LoadedMoviePath();
    // A hidden dialog builds its rows when it shows: they read files and records.
    if (!::IsWindowVisible(Window())) return;
    RebuildRows();
    if (m_rows) ::InvalidateRect(m_rows->Window(), nullptr, TRUE);
}

void DialogPlayList_CL::RebuildRows() {
    if (!m_rows || !m_list.TakeChanged()) return;
    ::SetWindowTextW(Window(), kTitle);
    // Rows and entries stay one to one: an entry without a path (none is ever made so) goes.
    std::vector<size_t> empty;
    for (size_t i = 0; i < m_list.Count(); ++i) {
        if (m_list.At(i).path.empty()) empty.push_back(i);
    }
    if (!empty.empty()) m_list.RemoveEntries(empty);
    m_list.FillMissingItemInfo(RowRecords());
    m_list.TakeChanged();

    const bool trace = ProcessLogSwitches().log_detail_other;
    HWND rows = m_rows->Window();
    m_rebuilding = true;
    ::SendMessageW(rows, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(rows, LVM_DELETEALLITEMS, 0, 0);
    if (trace) LogPrintf(L"%ls", L"リスト追加(開始)");
    ::SendMessageW(rows, LVM_SETITEMCOUNT, m_list.Count(), 0);
    for (size_t i = 0; i < m_list.Count(); ++i) {
        const int row = m_rows->AddRow(m_list.At(i).displayName);
        if (row >= 0) FillRow(row);
    }
    if (trace) LogPrintf(L"%ls", L"リスト追加(終了)");
    ::SendMessageW(rows, WM_SETREDRAW, TRUE, 0);
    m_rebuilding = false;
    RefreshTools();
}

void DialogPlayList_CL::FillRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_list.Count()) return;
    const PlayListItem& item = m_list.At(static_cast<size_t>(row));
    m_rows->SetCellText(row, PlayList_CL::kColumnName, item.displayName);
    m_rows->SetCellText(row, PlayList_CL::kColumnExtension, item.extension);
    m_rows->SetCellText(row, PlayList_CL::kColumnStars, StarText(item.starCount));
    m_rows->SetCellText(row, PlayList_CL::kColumnSize, SizeText(item.fileSize));
    m_rows->SetCellText(row, PlayList_CL::kColumnModified, TimeTextOfFileTime(item.modifiedFileTime));
    m_rows->SetCellText(row, PlayList_CL::kColumnFolder, FolderOf(item.path));
}

PlayList_CL::RecordLookup DialogPlayList_CL::RowRecords() {
    return [this](const std::wstring& moviePath, std::wstring* name, int* stars) {
        return m_host.ReadRowRecord(moviePath, name, stars);
    };
}

PlayListToolFacts DialogPlayList_CL::ToolFacts() const {
    PlayListToolFacts facts;
    facts.rowCount = RowCount();
    facts.firstSelected = FirstSelectedRow();
    facts.selectedCount = m_rows ? static_cast<int>(::SendMessageW(m_rows->Window(), LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
    for (int row = 0; row < facts.rowCount; ++row) {
        if (IsRowChecked(row)) ++facts.checkedCount;
    }
    for (const PlayListItem& item : m_list.Items()) {
        if (item.inArchive == 0) {
            facts.anyOutsideArchive = true;
            break;
        }
    }
    return facts;
}

void DialogPlayList_CL::RefreshTools() {
    if (m_rebuilding) return;
    const PlayListToolState state = PlayListToolStateOf(ToolFacts());
    if (m_toolBar) {
        m_toolBar->SetEnabled(kToolSave, state.save);
        m_toolBar->SetEnabled(kToolMoveUp, state.moveUp);
        m_toolBar->SetEnabled(kToolMoveDown, state.moveDown);
        m_toolBar->SetEnabled(kToolPrevious, state.previous);
        m_toolBar->SetEnabled(kToolPlay, state.play);
        m_toolBar->SetEnabled(kToolNext, state.next);
        m_toolBar->SetEnabled(kToolShuffle, state.shuffle);
    }
    if (m_deleteChecked) m_deleteChecked->Enable(state.deleteChecked);
}

// ---- Rows --------------------------------------------------------------------------------

int DialogPlayList_CL::RowCount() const { return m_rows ? m_rows->RowCount() : 0; }

int DialogPlayList_CL::FirstSelectedRow() const {
    if (!m_rows) return -1;
    return static_cast<int>(::SendMessageW(m_rows->Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int DialogPlayList_CL::FocusedSelectedRow() const {
    if (!m_rows) return -1;
    return static_cast<int>(::SendMessageW(m_rows->Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                           LVNI_FOCUSED | LVNI_SELECTED));
}

std::vector<int> DialogPlayList_CL::SelectedRows() const {
    std::vector<int> rows;
    if (!m_rows) return rows;
    int row = -1;
    while ((row = static_cast<int>(::SendMessageW(m_rows->Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                  LVNI_SELECTED))) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

bool DialogPlayList_CL::IsRowChecked(int row) const {
    return m_rows && ListView_GetCheckState(m_rows->Window(), row) != 0;
}

void DialogPlayList_CL::SetRowChecked(int row, bool checked) {
    if (m_rows) ListView_SetCheckState(m_rows->Window(), row, checked ? TRUE : FALSE);
}

void DialogPlayList_CL::SelectOnly(int row) {
    if (!m_rows) return;
    HWND rows = m_rows->Window();
    ListView_SetItemState(rows, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(rows, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ::SendMessageW(rows, LVM_ENSUREVISIBLE, row, FALSE);
}

// ---- Playing -----------------------------------------------------------------------------

void DialogPlayList_CL::PlayEntry(int index) {
    if (index < 0) index = FocusedSelectedRow();
    if (index < 0 || static_cast<size_t>(index) >= m_list.Count()) return;
    if (m_popUp && Window()) ::ShowWindow(Window(), SW_HIDE);
    m_list.SetNextIndex(index);
    m_playingPath = m_list.At(static_cast<size_t>(index)).path;
    LogPrintf(L"プレイリストから再生 %d \"%ls\"", index, m_playingPath.c_str());
    m_host.PlayListCurrentEntry();
    if (m_rows) ::InvalidateRect(m_rows->Window(), nullptr, TRUE);
}

// ---- Reordering --------------------------------------------------------------------------

void DialogPlayList_CL::MoveSelected(int delta) {
    const int row = FirstSelectedRow();
    if (row < 0 || !m_list.MoveEntry(static_cast<size_t>(row), delta)) return;
    m_list.TakeChanged();  // the two rows are refilled here
    const int other = row + delta;
    const bool rowChecked = IsRowChecked(row), otherChecked = IsRowChecked(other);
    FillRow(row);
    FillRow(other);
    SetRowChecked(row, otherChecked);
    SetRowChecked(other, rowChecked);
    SelectOnly(other);
    RefreshTools();
}

void DialogPlayList_CL::SortByColumn(int column) {
    const SortChoice choice = SortChoiceOnClick(m_list.SortColumn(), m_list.SortDirection(), column);
    HWND header = m_rows ? reinterpret_cast<HWND>(::SendMessageW(m_rows->Window(), LVM_GETHEADER, 0, 0)) : nullptr;
    auto setArrow = [header](int index, int arrow) {
        if (!header || index < 0) return;
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!::SendMessageW(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return;
        item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
        ::SendMessageW(header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    };
    setArrow(choice.clearArrowOf, 0);
    setArrow(choice.column, choice.direction == PlayList_CL::kSortAscending ? HDF_SORTUP : HDF_SORTDOWN);
    FollowOrder(m_list.Sort(choice.column, choice.direction));
}

void DialogPlayList_CL::Shuffle() {
    FollowOrder(m_list.Shuffle([] { return std::rand(); }));
    LogPrintf(L"プレイリストのシャッフル %zu件", m_list.Count());
}

void DialogPlayList_CL::FollowOrder(const std::vector<size_t>& order) {
    m_list.TakeChanged();
    const int count = RowCount();
    std::vector<bool> checked(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) checked[static_cast<size_t>(row)] = IsRowChecked(row);
    m_rebuilding = true;
    for (size_t row = 0; row < order.size() && static_cast<int>(row) < count; ++row) {
        FillRow(static_cast<int>(row));
        const size_t from = order[row];
        SetRowChecked(static_cast<int>(row), from < checked.size() && checked[from]);
    }
    m_rebuilding = false;
    RefreshTools();
}

// ---- Checking and deleting ---------------------------------------------------------------

void DialogPlayList_CL::CheckAll(bool checked) {
    m_rebuilding = true;
    for (int row = 0; row < RowCount(); ++row) SetRowChecked(row, checked);
    m_rebuilding = false;
    RefreshTools();
}

void DialogPlayList_CL::DeleteChecked() {
    std::vector<size_t> rows;
    for (int row = RowCount() - 1; row >= 0; --row) {
        if (IsRowChecked(row)) rows.push_back(static_cast<size_t>(row));
    }
    RemoveRows(std::move(rows));
}

void DialogPlayList_CL::RemoveRows(std::vector<size_t> rows) {
    if (rows.empty() || !m_rows) return;
    std::sort(rows.rbegin(), rows.rend());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    m_rebuilding = true;
    for (size_t row : rows) ::SendMessageW(m_rows->Window(), LVM_DELETEITEM, row, 0);
    m_rebuilding = false;
    m_list.RemoveEntries(rows);
    m_list.TakeChanged();
    RefreshTools();
}

void DialogPlayList_CL::DeleteSelectedFiles() {
    m_toDelete.clear();
    bool playing = false;
    for (int row : SelectedRows()) {
        if (static_cast<size_t>(row) >= m_list.Count()) continue;
        const PlayListItem& item = m_list.At(static_cast<size_t>(row));
        if (item.inArchive != 0) continue;  // its file is an unpacked copy; the archive stays
        m_toDelete.push_back(item.path);
        playing = playing || SamePath(item.path, m_host.LoadedMoviePath());
    }
    if (m_toDelete.empty()) return;
    // The movie playing holds its file open: it is closed first, and the deletion follows once
    // the player has let the file go.
    if (playing) {
        m_host.CloseContentThenPost(Window(), WM_DELETE_NOW);
    } else {
        ::PostMessageW(Window(), WM_DELETE_NOW, 0, 0);
    }
}

void DialogPlayList_CL::OnDeleteNow() {
    std::vector<std::wstring> paths = std::move(m_toDelete);
    m_toDelete.clear();
    if (paths.empty()) return;
    const bool allowUndo = (::GetKeyState(VK_SHIFT) & 0x8000) == 0;
    std::vector<std::wstring> deleted;
    m_host.SetModalDialogOpen(true);
    const HRESULT hr = DeleteMovieFiles(Window(), paths, allowUndo, &deleted);
    m_host.SetModalDialogOpen(false);
    LogPrintf(L"動画ファイルを削除 %zu件 hr=0x%08x", deleted.size(), static_cast<unsigned>(hr));
    if (FAILED(hr) || deleted.empty()) return;
    // The rows may have moved meanwhile (the close ran between): they are found by path.
    std::vector<size_t> rows;
    for (size_t i = 0; i < m_list.Count(); ++i) {
        for (const std::wstring& path : deleted) {
            if (SamePath(m_list.At(i).path, path)) {
                rows.push_back(i);
                break;
            }
        }
    }
    RemoveRows(std::move(rows));
    Refresh();
}

// ---- Saving and dropping -----------------------------------------------------------------

void DialogPlayList_CL::Save() {
    SavePlayListWithDialog(Window(), m_list, [this](bool open) { m_host.SetModalDialogOpen(open); });
}

void DialogPlayList_CL::OnDrop(HDROP drop) {
    const std::vector<std::wstring> paths = FileIntake_CL::TakeDroppedPaths(drop);
    const std::vector<std::wstring> playable = m_host.PlayableExtensions();
    for (const std::wstring& path : paths) {
        switch (DialogDropActionOf(LowerExtensionOf(path), IsFolder(path), playable)) {
            case DialogDropAction::kTakeInWhole:
                // Intake appends to the play list itself, after the rows appended so far.
                m_host.TakeInWhole(path);
                break;
            case DialogDropAction::kAppend: {
                PlayListItem item;
                item.path = path;
                PlayList_CL::FillItemInfo(item, RowRecords());
                m_list.Append(std::move(item));
                break;
            }
            case DialogDropAction::kIgnore:
                LogPrintf(L"プレイリストにドロップ: 対象外 \"%ls\"", path.c_str());
                break;
        }
    }
    m_list.ClampNextIndex();
    m_list.SetChanged();
    Refresh();
}

// ---- Menus and messages ------------------------------------------------------------------

void DialogPlayList_CL::UnpackElsewhere(const PlayListItem& item) {
    if (item.inArchive == 0 || !item.archive) return;
    std::wstring path;
    m_host.SetModalDialogOpen(true);
    if (AskForUnpackPath(Window(), FileNameOf(item.path), &path)) {
        DialogZipProgress_CL dialog(DialogZipProgress_CL::kUnpackingText, item.archive, item.archiveRecordIndex, path);
        if (dialog.Show(Window()) != 1) dialog.ShowResultMessage(Window());
    }
    m_host.SetModalDialogOpen(false);
}

void DialogPlayList_CL::ShowItemMenu(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_list.Count()) return;
    const PlayListItem item = m_list.At(static_cast<size_t>(row));
    std::vector<MenuEntry> entries = BuildListItemMenu(item.inArchive != 0, m_settings.enable_delete_menu == 1);
    for (MenuEntry& entry : entries) {
        // Only an archive entry has something to unpack; only a file of its own has a folder.
        if (entry.command == CMD_LIST_EXTRACT) entry.enabled = item.inArchive != 0;
        if (entry.command == CMD_LIST_OPEN_FOLDER) entry.enabled = item.inArchive == 0;
    }
    const UINT command =
        ShowListItemMenuAtPointer(Window(), entries, [this](bool open) { m_host.SetModalDialogOpen(open); });
    // Written before the command runs: unpacking elsewhere opens a dialog of its own first.
    LogPrintf(L"プレイリストの項目メニュー(0x%04x) ran=%d row=%d", command, command != 0 ? 1 : 0, row);
    switch (command) {
        case CMD_LIST_PLAY:
            PlayEntry(row);
            break;
        case CMD_LIST_OPEN_FOLDER:
            OpenContainingFolder(item.path);
            break;
        case CMD_LIST_EXTRACT:
            UnpackElsewhere(item);
            break;
        case CMD_LIST_DELETE:
            DeleteSelectedFiles();
            break;
        default:
            break;
    }
}

void DialogPlayList_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    (void)control;
    switch (controlId) {
        case kToolSave: Save(); return;
        case kToolMoveUp: MoveSelected(-1); return;
        case kToolMoveDown: MoveSelected(1); return;
        case kToolPrevious: PlayEntry(m_list.PreviousPlayIndex()); return;
        case kToolPlay: PlayEntry(-1); return;
        case kToolNext: PlayEntry(m_list.NextPlayIndex()); return;
        case kToolShuffle: Shuffle(); return;
        case IDOK: PlayEntry(-1); return;        // Enter plays the chosen row
        case IDCANCEL: OnClose(); return;        // Escape hides, as the close box does
        default: break;
    }
    if (notifyCode != BN_CLICKED) return;
    if (m_loop && controlId == m_loop->Id()) {
        const bool loop = m_loop->IsChecked();
        m_settings.WriteInt(&AppSettings::loop_play, loop ? 1 : 0);
        m_list.SetRepeat(loop);
    } else if (m_checkAll && controlId == m_checkAll->Id()) {
        CheckAll(m_checkAll->IsChecked());
    } else if (m_deleteChecked && controlId == m_deleteChecked->Id()) {
        DeleteChecked();
    }
}

LRESULT DialogPlayList_CL::OnNotify(const NMHDR& header) {
    if (!m_rows || header.hwndFrom != m_rows->Window()) return 0;
    switch (header.code) {
        case NM_CUSTOMDRAW:
            return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
        case NM_DBLCLK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            if (activate.iItem >= 0) PlayEntry(activate.iItem);
            return 0;
        }
        case NM_RCLICK: {
            const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
            ShowItemMenu(activate.iItem);
            return 0;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (change.uChanged & LVIF_STATE) RefreshTools();
            return 0;
        }
        case LVN_COLUMNCLICK:
            SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
            return 0;
        default:
            return 0;
    }
}

LRESULT DialogPlayList_CL::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const size_t row = static_cast<size_t>(draw.nmcd.dwItemSpec);
            const bool playing = row < m_list.Count() && SamePath(m_list.At(row).path, m_playingPath);
            const bool stars = draw.iSubItem == PlayList_CL::kColumnStars;
            draw.clrText = stars ? kStarText : RGB(0, 0, 0);
            draw.clrTextBk = playing ? kPlayingBack : (stars ? kStarBack : RGB(255, 255, 255));
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

void DialogPlayList_CL::OnClose() {
    if (Window()) ::ShowWindow(Window(), SW_HIDE);
}
