#pragma once
// The play list dialog: a modeless, resizable, semi-transparent window beside the player that
// shows the play list (one row per entry: name, extension, stars, size, time, folder) and lets
// the user reorder, sort, shuffle, check and delete entries, drop files in, play an entry or
// the one before or after, switch loop play and save the list. Every change goes straight into
// the play list; the rows are rebuilt from the list when something else changed it.
//
// Created once with the main window, hidden; closing only hides it. The main window's message
// loop hands the dialog's messages to IsDialogMessageW, so its keys stay its own.
// Thread: UI only (the play list is the UI thread's).

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/playlist/PlayListRules.h"
#include "base/UniqueHandle_CL.h"
#include "intake/PlayList_CL.h"
#include "ui/ImageList_CL.h"
#include "ui/SubClassDialogBase_CL.h"

class AppSettings;
class CheckBox_CL;
class ListView_CL;
class PlayListDialogHost_CL;
class ToolBar_CL;
class Button_CL;

class DialogPlayList_CL : public SubClassDialogBase_CL {
public:
    // Posted to the dialog once the movie whose file is to be deleted is closed.
    static constexpr UINT WM_DELETE_NOW = WM_USER + 1234;
    // The tool bar's buttons.
    enum ToolCommand : UINT {
        kToolSave = 0x1001,
        kToolMoveUp,
        kToolMoveDown,
        kToolPrevious,
        kToolPlay,
        kToolNext,
        kToolShuffle,
    };
    static constexpr UINT kToolBarId = 0x1000;
    static constexpr int kWidthPx = 800, kHeightPx = 640;
    static constexpr int kPopUpWidthPx = 740, kPopUpHeightPx = 640;
    static constexpr BYTE kAlpha = 220;
    static constexpr wchar_t kTitle[] = L"プレイリスト";

    DialogPlayList_CL(PlayList_CL& list, PlayListDialogHost_CL& host, AppSettings& settings);
    ~DialogPlayList_CL() override;

    // Thread: UI. Makes the window, hidden, owned by parent. instance holds the picture strip.
    [[nodiscard]] HRESULT Create(HWND parent, HINSTANCE instance);

    // Thread: UI. A shown dialog hides; a hidden one shows, in pop-up mode (larger, centred on
    // the player, hidden again once it starts a movie) when popUp is set.
    void Toggle(bool popUp);
    bool IsShown() const;

    // Thread: UI. The play list changed or another movie plays: rows rebuilt when the list
    // changed, the playing row repainted.
    void Refresh();

    // Thread: UI. Plays the entry at index; -1 plays the focused and selected row (nothing
    // happens when there is none).
    void PlayEntry(int index);

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;
    void OnClose() override;

private:
    void LayoutControls();
    void ApplyListFont();
    void RebuildRows();
    void FillRow(int row);
    void RefreshTools();
    PlayListToolFacts ToolFacts() const;
    // The rows' record look-up: the movie's name and rating from its record.
    PlayList_CL::RecordLookup RowRecords();

    int RowCount() const;
    int FirstSelectedRow() const;
    int FocusedSelectedRow() const;
    std::vector<int> SelectedRows() const;
    bool IsRowChecked(int row) const;
    void SetRowChecked(int row, bool checked);
    void SelectOnly(int row);

    void MoveSelected(int delta);
    void SortByColumn(int column);
    void Shuffle();
    // After the list was put in a new order: rows refilled, check marks carried along.
    void FollowOrder(const std::vector<size_t>& order);
    void CheckAll(bool checked);
    void DeleteChecked();
    // Removes rows and their entries (indexes in any order).
    void RemoveRows(std::vector<size_t> rows);
    void Save();
    void OnDrop(HDROP drop);
    void ShowItemMenu(int row);
    // "ファイルを指定したフォルダへ解凍する": the archive entry unpacked where the user chooses.
    void UnpackElsewhere(const PlayListItem& item);
    void DeleteSelectedFiles();
    void OnDeleteNow();
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);

    PlayList_CL& m_list;
    PlayListDialogHost_CL& m_host;
    AppSettings& m_settings;
    HINSTANCE m_instance = nullptr;

    ImageList_CL m_images;  // declared before the tool bar, which borrows it
    std::unique_ptr<ToolBar_CL> m_toolBar;
    ListView_CL* m_rows = nullptr;  // the controls belong to the dialog's control factory
    CheckBox_CL* m_checkAll = nullptr;
    CheckBox_CL* m_loop = nullptr;
    Button_CL* m_deleteChecked = nullptr;

    bool m_popUp = false;
    bool m_rebuilding = false;             // rows are being added: no tool refresh per row
    std::wstring m_playingPath;            // the loaded movie's path, for the row colour
    std::vector<std::wstring> m_toDelete;  // the files of "動画ファイルを削除する" until WM_DELETE_NOW
};
