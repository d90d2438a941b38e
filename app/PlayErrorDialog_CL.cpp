#include "app/PlayErrorDialog_CL.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "app/PlayErrorTexts.h"
#include "base/LogFile_CL.h"
#include "ui/DpiScale.h"
#include "ui/WindowCentering.h"

PlayErrorDialog_CL::PlayErrorDialog_CL(std::wstring moviePath, ModalFlag setModalDialogOpen, Launcher launcher)
    : m_moviePath(std::move(moviePath)),
      m_setModalDialogOpen(std::move(setModalDialogOpen)),
      m_launcher(launcher ? std::move(launcher) : Launcher(&PlayErrorDialog_CL::ShellExecuteLauncher)) {}

INT_PTR PlayErrorDialog_CL::DoModal(HWND parent) {
    m_launchResult = S_FALSE;
    if (m_setModalDialogOpen) m_setModalDialogOpen(true);
    INT_PTR result = SubClassDialogBase_CL::DoModal(parent);
    m_launchResult = Launch(static_cast<Choice>(result), parent);
    if (m_setModalDialogOpen) m_setModalDialogOpen(false);
    return result;
}

HRESULT PlayErrorDialog_CL::Launch(Choice choice, HWND owner) {
    switch (choice) {
    case Choice::SupportSite:
        return m_launcher(owner, kPlayErrorHelpPageUrl, std::wstring());
    case Choice::MediaPlayer: {
        std::wstring player = MediaPlayerPathIn(ProgramFilesFolder());
        if (player.empty()) {
            LogPrintf(L"PlayErrorDialog: Program Files folder not found; Media Player not started");
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
        // Media Player reads its command line itself; unquoted, a path with spaces or commas
        // would reach it in pieces.
        return m_launcher(owner, player, QuoteCommandLineArgument(m_moviePath));
    }
    default:
        return S_FALSE;
    }
}

HWND PlayErrorDialog_CL::ButtonWindow(Choice choice) {
    int index = -1;
    switch (choice) {
    case Choice::SupportSite: index = m_supportIndex; break;
    case Choice::MediaPlayer: index = m_mediaPlayerIndex; break;
    case Choice::Cancel: index = m_cancelIndex; break;
    default: return nullptr;
    }
    ControlBase_CL* button = Controls().At(index);
    return button ? button->Window() : nullptr;
}

HWND PlayErrorDialog_CL::MessageWindow() {
    ControlBase_CL* text = Controls().At(m_messageIndex);
    return text ? text->Window() : nullptr;
}

void PlayErrorDialog_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, PlayErrorCaption(kPlayErrorCode).c_str());
    const int margin = ScaleForDpi(kMarginPixels96);
    const int gap = ScaleForDpi(kButtonGapPixels96);
    const int minButtonWidth = ScaleForDpi(kMinButtonWidthPixels96);

    m_messageIndex = Controls().AddStaticText(window, margin, margin, kPlayErrorMessage);
    SIZE textSize{0, 0};
    if (ControlBase_CL* text = Controls().At(m_messageIndex)) textSize = text->Size();

    m_supportIndex = Controls().AddButton(window, 0, 0, kPlayErrorSupportButton);
    m_mediaPlayerIndex = Controls().AddButton(window, 0, 0, kPlayErrorMediaPlayerButton);
    m_cancelIndex = Controls().AddButton(window, 0, 0, kPlayErrorCancelButton);
    const int buttonIndexes[] = {m_supportIndex, m_mediaPlayerIndex, m_cancelIndex};

    // One row of buttons of a common height, each at least as wide as its label needs.
    int rowWidth = 0;
    int rowHeight = 0;
    int buttonCount = 0;
    for (int index : buttonIndexes) {
        ControlBase_CL* button = Controls().At(index);
        if (!button) continue;
        SIZE size = button->Size();
        rowWidth += std::max<int>(size.cx, minButtonWidth);
        rowHeight = std::max<int>(rowHeight, size.cy);
        ++buttonCount;
    }
    if (buttonCount > 1) rowWidth += gap * (buttonCount - 1);

    const int clientWidth = std::max<int>(textSize.cx, rowWidth) + 2 * margin;
    const int rowTop = margin + textSize.cy + margin;
    int x = (clientWidth - rowWidth) / 2;
    for (int index : buttonIndexes) {
        ControlBase_CL* button = Controls().At(index);
        if (!button) continue;
        const int width = std::max<int>(button->Size().cx, minButtonWidth);
        button->Move(width, rowHeight, false);
        button->MoveTo(x, rowTop);
        x += width + gap;
    }
    SetClientSize(clientWidth, rowTop + rowHeight + margin);
    CenterDialogOnParent(Parent(), window);

    // Enter takes the answer to the question, as in a message box.
    if (HWND support = ButtonWindow(Choice::SupportSite)) {
        ::SendMessageW(window, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(support)), 0);
        ::SetFocus(support);
    }
}

void PlayErrorDialog_CL::OnCommand(UINT controlId, UINT notifyCode, HWND) {
    // Escape arrives as IDCANCEL from the dialog manager, with notify code 0.
    if (controlId == IDCANCEL) {
        EndWith(static_cast<INT_PTR>(Choice::Cancel));
        return;
    }
    if (notifyCode != BN_CLICKED) return;
    const std::pair<int, Choice> buttons[] = {{m_supportIndex, Choice::SupportSite},
                                              {m_mediaPlayerIndex, Choice::MediaPlayer},
                                              {m_cancelIndex, Choice::Cancel}};
    for (const auto& [index, choice] : buttons) {
        ControlBase_CL* button = Controls().At(index);
        if (button && button->Id() == controlId) {
            EndWith(static_cast<INT_PTR>(choice));
            return;
        }
    }
}

void PlayErrorDialog_CL::OnClose() { EndWith(static_cast<INT_PTR>(Choice::Closed)); }

INT_PTR PlayErrorDialog_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    if (message == WM_INITDIALOG) return FALSE;  // the focus is on the support button already
    return result;
}

HRESULT PlayErrorDialog_CL::ShellExecuteLauncher(HWND owner, const std::wstring& file,
                                                 const std::wstring& parameters) {
    HINSTANCE started = ::ShellExecuteW(owner, nullptr, file.c_str(),
                                        parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; the smaller ones are error codes, with the thread's last
    // error set alongside.
    if (reinterpret_cast<INT_PTR>(started) > 32) return S_OK;
    DWORD error = ::GetLastError();
    HRESULT hr = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    LogPrintf(L"ShellExecuteW(%ls) failed: %d, 0x%08x", file.c_str(), static_cast<int>(reinterpret_cast<INT_PTR>(started)),
              static_cast<unsigned>(hr));
    return hr;
}

std::wstring PlayErrorDialog_CL::ProgramFilesFolder() {
    wchar_t folder[MAX_PATH] = {};
    HRESULT hr = ::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder);
    if (FAILED(hr)) {
        LogPrintf(L"SHGetFolderPathW(CSIDL_PROGRAM_FILES) failed: 0x%08x", static_cast<unsigned>(hr));
        return std::wstring();
    }
    return folder;
}
