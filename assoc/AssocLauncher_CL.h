#pragma once
// The player's side of the file association: writes the request file into the data folder
// and starts the elevated helper beside the player, which writes the registry from it. The
// player never waits for the helper and never looks at its result; a request that cannot be
// written or a helper that cannot be started (the user refused the elevation) leaves the
// registry as it was, with a line in the trace log and no message.
// Thread: UI.

#include <windows.h>

#include <string>
#include <vector>

#include "assoc/AssocRequest.h"
#include "store/LaunchExtension.h"

class AssocLauncher_CL {
public:
    // For the running player: its own executable, the request in the data folder, the helper
    // in the executable's folder.
    AssocLauncher_CL();
    // For given paths (tests); helperPath empty starts nothing.
    AssocLauncher_CL(std::wstring exePath, std::wstring requestPath, std::wstring helperPath);

    const std::wstring& ExePath() const { return m_exePath; }
    const std::wstring& RequestPath() const { return m_requestPath; }
    const std::wstring& HelperPath() const { return m_helperPath; }

    // Writes the request for the items (created or truncated) and starts the helper. When the
    // request cannot be made or written, nothing is started. True when the helper was started.
    bool Send(const std::vector<AssocItem>& items) const;

    // Writes the request only; true when the file holds it.
    bool WriteRequest(const std::vector<AssocItem>& items) const;
    // ShellExecuteW "open" on the helper, no parameters, shown; true when it started.
    bool StartHelper() const;

    // The running program's own path ("" when it cannot be had).
    static std::wstring OwnExePath();
    // The folder part of a path ("" without a separator).
    static std::wstring FolderOf(const std::wstring& path);

private:
    std::wstring m_exePath;
    std::wstring m_requestPath;
    std::wstring m_helperPath;
};

// The drop-extension file's entries in key order, lower-cased, without empty ones and repeats.
// The built-in extensions of the drop list are not the file's and are not included.
std::vector<std::wstring> ReadDropExtensionFile(const std::wstring& iniPath);

// The list layout's apply: the items of the changed rows (see ApplyCheckStates) are sent, even
// when there are none. changedRows receives the rows whose handler changed.
bool SendAppliedCheckStates(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                            const std::vector<bool>& checked, std::vector<int>* changedRows);

// Registers every launch extension and every extension of the drop-extension file at
// dropIniPath as the player's capabilities, handing the launch extensions back to their saved
// handlers; used by the newer layout.
bool SendRegisterAll(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                     const std::wstring& dropIniPath);

// Hands every launch extension back to its saved handler; only before major version 6 (from
// then on the system's own dialog owns the defaults, and nothing is done). True when sent.
bool SendHandBack(const AssocLauncher_CL& launcher, std::vector<LaunchExtension>& records,
                  unsigned long majorVersion);

// For "/ExtResume", after the settings load: rebuilds the launch-extension list from the
// registry into the settings record (remembering handlers in EXT_INFO as a load does) and
// hands every extension back, when the system's major version is below 6.
void HandBackAssociations();

// Opens the system's association dialog for this program (the newer layout's button).
// Where the system has no such dialog, the failure is logged and nothing else happens.
HRESULT ShowSystemAssociationDialog();
