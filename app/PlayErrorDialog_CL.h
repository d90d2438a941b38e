#pragma once
// The choice offered when a movie cannot be played: the message, and buttons to open the
// support site's help page, to try the movie in Windows Media Player, or to do nothing.
//
// The dialog only records the button; the page or the program is started once the dialog has
// closed, through a launcher (ShellExecuteW in the program, a recorder in tests). The owner's
// modal-dialog flag is raised for the whole of it, the launch included, because
// ShellExecuteW shows a message box of its own when nothing can open the page or program.
//
// Thread: UI only. The thread should have COM initialised (apartment-threaded): ShellExecuteW
// may hand the request to shell extensions.

#include <windows.h>

#include <functional>
#include <string>

#include "ui/SubClassDialogBase_CL.h"

class PlayErrorDialog_CL : public SubClassDialogBase_CL {
public:
    // What the dialog ended with; DoModal returns these as INT_PTR.
    enum class Choice : INT_PTR {
        Failed = -1,      // the dialog could not be made
        Closed = 0,       // the window was closed without a button
        SupportSite = 1,  // "サポートサイトへ"
        MediaPlayer = 2,  // "MediaPlayerで再生する"
        Cancel = 3,       // "キャンセル" or Escape
    };

    // Starts file with parameters (empty for none) with no verb, shown normally; owner is the
    // window for any message the shell shows. Returns S_OK once started.
    using Launcher =
        std::function<HRESULT(HWND owner, const std::wstring& file, const std::wstring& parameters)>;
    // Raises (true) and lowers (false) the owner's modal-dialog flag.
    using ModalFlag = std::function<void(bool open)>;

    static constexpr int kMarginPixels96 = 12;
    static constexpr int kButtonGapPixels96 = 8;
    static constexpr int kMinButtonWidthPixels96 = 88;  // so the short "キャンセル" is not a sliver

    // moviePath: the movie that did not play, handed to Media Player. An empty launcher means
    // ShellExecuteLauncher; an empty flag callback is simply not called.
    PlayErrorDialog_CL(std::wstring moviePath, ModalFlag setModalDialogOpen, Launcher launcher = {});

    // Thread: UI. Raises the flag, runs the dialog modally over parent, starts what the chosen
    // button asks for, lowers the flag; returns the Choice as INT_PTR.
    INT_PTR DoModal(HWND parent) override;
    // Thread: UI. DoModal with the result typed.
    Choice Run(HWND parent) { return static_cast<Choice>(DoModal(parent)); }

    // The launcher's result for the last run: S_FALSE when nothing was to be started,
    // HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when the Program Files folder could not be had.
    HRESULT LaunchResult() const { return m_launchResult; }

    // Thread: UI, while open. The button for choice (SupportSite, MediaPlayer, Cancel) and the
    // message text; nullptr otherwise.
    HWND ButtonWindow(Choice choice);
    HWND MessageWindow();

    // Thread: any. ShellExecuteW(owner, no verb, file, parameters, no folder, SW_SHOWNORMAL).
    [[nodiscard]] static HRESULT ShellExecuteLauncher(HWND owner, const std::wstring& file,
                                                      const std::wstring& parameters);
    // Thread: any. The Program Files folder (CSIDL_PROGRAM_FILES); empty when it cannot be had.
    static std::wstring ProgramFilesFolder();

protected:
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    void OnClose() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HRESULT Launch(Choice choice, HWND owner);

    std::wstring m_moviePath;
    ModalFlag m_setModalDialogOpen;
    Launcher m_launcher;
    HRESULT m_launchResult = S_FALSE;
    int m_messageIndex = -1;
    int m_supportIndex = -1;
    int m_mediaPlayerIndex = -1;
    int m_cancelIndex = -1;
};
