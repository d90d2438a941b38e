#pragma once
// The association helper's work: reads the request the player left in the data folder and
// writes the registry from it, with administrator rights. From major version 6 on the player is
// registered as a media application with capabilities (the user then picks defaults in the
// system's own dialog); before that the class root's extension keys are set directly and the
// shell is told once.
//
// A request is used only when it names this program ("Lumikino") and a player that exists in
// the helper's own folder; items that name program types or sub-keys are left out. A request
// that is missing, empty or refused writes nothing. Registry failures are ignored one by one.
// Thread: the helper's one thread.

#include <windows.h>

#include <string>
#include <vector>

#include "assoc/AssocItem.h"

// The request as the helper read and accepted it.
struct AssocHelperRequest {
    std::wstring app;
    std::wstring exe;   // full path, as GetFullPathNameW gives it
    std::wstring icon;  // suffix after the path (",0")
    std::wstring desc;
    std::vector<AssocItem> items;  // accepted items, in key order
    int refusedItems = 0;          // non-empty items left out
};

class AssocFile_CL {
public:
    // requestPath: the request file; helperFolder: the folder the player must lie in.
    AssocFile_CL(std::wstring requestPath, std::wstring helperFolder);

    // "\Lumikino\file_ext_info.txt" under the Documents folder ("" when it is unknown).
    static std::wstring DefaultRequestPath();
    // The folder of the running program.
    static std::wstring OwnFolder();

    // Reads and checks the request; false (with the reason in Problem()) when it must not be used.
    bool Load();
    const AssocHelperRequest& Request() const { return m_request; }
    const std::wstring& Problem() const { return m_problem; }

    // Load, then the path the major version calls for. False when nothing was written.
    bool Run(DWORD majorVersion);

    // Under HKEY_LOCAL_MACHINE: the media application, its capabilities and class, and the
    // registered-application entry. Load must have succeeded.
    void RegisterApplication() const;
    // Under HKEY_CLASSES_ROOT: the class and the extension keys' handlers, then one shell
    // notice. Load must have succeeded.
    void RegisterClassRoot() const;

    // Opens (or creates) root\subKey and sets the named value (null: the default) as REG_SZ,
    // its size counting the terminator. False on any failure.
    static bool SetString(HKEY root, const std::wstring& subKey, const wchar_t* valueName, const std::wstring& data);

private:
    bool Refuse(const std::wstring& problem);

    std::wstring m_requestPath;
    std::wstring m_helperFolder;
    AssocHelperRequest m_request;
    std::wstring m_problem;
    bool m_loaded = false;
};
