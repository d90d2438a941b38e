#pragma once
// A folder walker over FindFirstFileW/FindNextFileW. Entries come in the order the file system
// returns them; a sub-folder is walked completely, depth first, at the moment it is met. A
// derived class picks what it needs from the three notifications.
//
// The walk always ends: junctions and symbolic links to folders are not followed (under Wine a
// link shows the reparse attribute without a tag), nor is a folder already walked (the same
// volume and file index reached another way); other reparse points, such as cloud-sync
// placeholders, are walked. It goes at most kMaxDepth folders down and passes over folders
// whose listing path would reach MAX_PATH.
// Thread: any; an instance walks one folder at a time.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class FindFile_CL {
public:
    static constexpr int kMaxDepth = 32;

    // pattern is appended to each folder's path ("\*.*" lists everything). With recursive set,
    // sub-folders met in a listing are walked unless their name is in the skip list.
    explicit FindFile_CL(std::wstring pattern = L"\\*.*", bool recursive = true);
    virtual ~FindFile_CL() = default;

    FindFile_CL(const FindFile_CL&) = delete;
    FindFile_CL& operator=(const FindFile_CL&) = delete;

    // Names of sub-folders not to walk, compared without regard to case.
    void SetSkipFolders(std::vector<std::wstring> names) { m_skipFolders = std::move(names); }

    // Walks the folder (a trailing "\" is dropped, so "D:\" walks the drive as "D:").
    // A folder that cannot be listed is passed over silently.
    void Walk(const std::wstring& folder);

    // The folder of the walk under way, as given to Walk without a trailing "\".
    const std::wstring& Folder() const { return m_folder; }

protected:
    // Before a sub-folder is walked: its full path and its name.
    virtual void OnEnterFolder(const std::wstring& folderPath, const std::wstring& name);
    // A file (not a folder) found in folder (no trailing "\").
    virtual void OnFile(const std::wstring& folder, const WIN32_FIND_DATAW& data);
    // After a sub-folder was walked.
    virtual void OnLeaveFolder(const std::wstring& folderPath, const std::wstring& name);

private:
    void WalkFolder(const std::wstring& folder, int depth);
    bool IsSkipped(const wchar_t* name) const;
    // False when the folder was walked already (or cannot be opened to tell); else remembers it.
    bool FirstVisit(const std::wstring& folder);

    std::wstring m_folder;
    std::wstring m_pattern;
    bool m_recursive;
    std::vector<std::wstring> m_skipFolders;
    std::vector<std::pair<DWORD, uint64_t>> m_visited;  // volume serial, file index
};
