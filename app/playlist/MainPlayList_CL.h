#pragma once
// The main window's play list: the list itself, file intake that fills it, and its dialog.
// It reads play list files and archives into the list, answers the dialog's questions and
// hands loads, records and the history back to the main window through its callbacks.
// Thread: UI for everything (owned by the main window).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/loading/LoadQueue_CL.h"
#include "app/playlist/DialogPlayList_CL.h"
#include "app/playlist/PlayListDialogHost_CL.h"
#include "intake/FileIntakeHost_CL.h"
#include "intake/FileIntake_CL.h"
#include "intake/PlayList_CL.h"

class AppSettings;

class MainPlayList_CL : private FileIntakeHost_CL, private PlayListDialogHost_CL {
public:
    // What the play list needs of the main window.
    struct Callbacks {
        std::function<void(const LoadRequest&)> requestLoad;
        std::function<std::wstring()> loadedMoviePath;
        // Closes the loaded movie and lets its file go; then posts message to window.
        std::function<void(HWND window, UINT message)> closeContentThenPost;
        std::function<void(bool open)> setModalDialogOpen;
        // A movie's record, read without creating one: its name and rating.
        std::function<bool(const std::wstring& moviePath, std::wstring* name, int* stars)> readRowRecord;
        std::function<void(const std::wstring& path)> addHistory;
    };

    MainPlayList_CL(AppSettings& settings, Callbacks callbacks);

    // Thread: UI. Makes the dialog (hidden) over the main window.
    [[nodiscard]] HRESULT Create(HWND parent, HINSTANCE instance) { return m_dialog.Create(parent, instance); }

    PlayList_CL& List() { return m_list; }
    const PlayList_CL& List() const { return m_list; }
    FileIntake_CL& Intake() { return m_intake; }

    // The dialog: shown or hidden (in pop-up mode when popUp), rebuilt and repainted.
    void ToggleDialog(bool popUp) { m_dialog.Toggle(popUp); }
    void RefreshDialog() { m_dialog.Refresh(); }
    bool DialogShown() const { return m_dialog.IsShown(); }
    HWND DialogWindow() const { return m_dialog.Window(); }

    // The extensions a file must have to be listed (the drop-extension list).
    std::vector<std::wstring> PlayableExtensions() override;

private:
    // FileIntakeHost_CL
    void OpenContentNow(const std::wstring& path) override;
    void PlayListCurrentEntry() override;
    void ReadAsxPlayList(const std::wstring& path) override;
    void ReadTextPlayList(const std::wstring& path) override;
    void ListArchive(const std::wstring& archivePath, const std::wstring& unpackFolder) override;
    void RememberLastInput(const std::wstring& path) override;
    void AddHistory(const std::wstring& path) override { m_callbacks.addHistory(path); }
    void RefreshPlayListDialog() override { m_dialog.Refresh(); }
    bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) override {
        return m_callbacks.readRowRecord(moviePath, contentName, starCount);
    }

    // PlayListDialogHost_CL (with PlayListCurrentEntry, ReadRowRecord and PlayableExtensions)
    std::wstring LoadedMoviePath() const override { return m_callbacks.loadedMoviePath(); }
    void CloseContentThenPost(HWND window, UINT message) override { m_callbacks.closeContentThenPost(window, message); }
    void TakeInWhole(const std::wstring& path) override { m_intake.OpenPath(path, false); }
    void SetModalDialogOpen(bool open) override { m_callbacks.setModalDialogOpen(open); }

    AppSettings& m_settings;
    Callbacks m_callbacks;
    PlayList_CL m_list;
    FileIntake_CL m_intake{m_list, *this};
    DialogPlayList_CL m_dialog;
};
