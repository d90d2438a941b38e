#pragma once
// The play history dialog and the owner of the history: the last 100 files played, most
// recent first, kept in LumikinoHistory.ini and shown one row each (name, extension, stars,
// size, time, folder). The user plays a row again, shows it in the file manager, deletes its
// file, removes rows, or switches recording off.
//
// One for the process, created hidden with the main window; closing only hides it. The list
// is read from the file the first time it is needed and kept in memory; every play rewrites
// all 100 slots. Rows on network shares are completed by HistoryMetaJob_CL.
// Thread: UI only (the job's results arrive as posted messages).

#include <windows.h>

#include <string>
#include <vector>

#include "app/history/HistoryEntry.h"
#include "app/history/HistoryMetaJob_CL.h"
#include "store/Inifile_CL.h"
#include "ui/SubClassDialogBase_CL.h"

class AppSettings;
class Button_CL;
class CheckBox_CL;
class HistoryDialogHost_CL;
class ListView_CL;

class DialogHistory_CL : public SubClassDialogBase_CL {
public:
    // Posted to the dialog once the movie whose file is to be deleted is closed.
    static constexpr UINT WM_DELETE_NOW = WM_USER + 1235;
    static constexpr wchar_t kTitle[] = L"再生履歴";
    static constexpr wchar_t kNoRecordText[] = L"再生履歴を記録しない";
    static constexpr wchar_t kCheckAllText[] = L"全てチェックする";
    static constexpr wchar_t kDeleteCheckedText[] = L"チェックした履歴を削除する";
    static constexpr wchar_t kEraseQuestion[] = L"再生履歴を全て削除しますか？";
    static constexpr wchar_t kEraseCaption[] = L"ユーザー確認";
    static constexpr int kWidthPx = 800, kHeightPx = 480;

    struct Options {
        std::wstring historyPath;                              // LumikinoHistory.ini
        DWORD jobWaitMs = HistoryMetaJob_CL::kShutdownWaitMs;  // the wait for a running job
        // Completes a network row on the job's thread; the user's data folder's records
        // when not given.
        HistoryMetaJob_CL::Reader networkReader;
    };

    DialogHistory_CL(HistoryDialogHost_CL& host, AppSettings& settings, Options options);
    ~DialogHistory_CL() override;

    // Thread: UI. Makes the window, hidden, owned by parent.
    [[nodiscard]] HRESULT Create(HWND parent) { return CreateModeless(parent); }
    // Thread: UI. Shows a hidden dialog over the player (the list read first if it was not
    // yet); hides a shown one.
    void Toggle();
    bool IsShown() const;

    // Thread: UI. Records a play of path (nothing when recording is off).
    void AddHistory(const std::wstring& path);
    // Thread: UI. The list and the rows rebuilt from the file.
    void LoadHistory();
    // Thread: UI. All 100 slots written from the list.
    void SaveHistory();
    // Thread: UI. The rows of path take its record's title and rating again (after a rating
    // or title change); the file keeps the new rating.
    void RefreshEntry(const std::wstring& path);
    // Thread: UI. The rows of a movie that was moved or renamed take its new path (its record
    // followed it); the file is saved.
    void MovePath(const std::wstring& oldPath, const std::wstring& newPath);
    // Thread: UI. Waits (bounded) for a running metadata job before the process ends.
    void Shutdown();

    const std::vector<HistoryEntry>& Entries() const { return m_entries; }
    uint32_t JobSerial() const { return m_job.Serial(); }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;
    void OnClose() override;

private:
    void EnsureLoaded();
    void LayoutControls();
    void RebuildRows();
    void FillRow(int row);
    void StartNetworkJob();
    void OnJobResult(LPARAM lParam);
    void DropPendingResults();
    HistoryRecordLookup RowRecords();

    bool IsRowChecked(int row) const;
    void CheckAll();
    void DeleteChecked();
    void OnRecordingSwitched();
    void PlayRow(int row);
    void ShowItemMenu(int row);
    void DeleteRowFile(int row);
    void OnDeleteNow();

    HistoryDialogHost_CL& m_host;
    AppSettings& m_settings;
    Options m_options;
    Inifile_CL m_file;
    std::vector<HistoryEntry> m_entries;
    bool m_loaded = false;
    bool m_placed = false;  // shown once: the user's place is kept from then on
    HistoryMetaJob_CL m_job;

    ListView_CL* m_rows = nullptr;  // the controls belong to the dialog's control factory
    CheckBox_CL* m_noRecord = nullptr;
    Button_CL* m_checkAll = nullptr;
    Button_CL* m_deleteChecked = nullptr;
    std::wstring m_toDelete;  // the file of "動画ファイルを削除する" until WM_DELETE_NOW
};
