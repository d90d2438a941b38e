#pragma once
// The scan of a dropped or opened folder: every file below it, at any depth, whose extension
// is in the drop-extension list is appended to the play list, in the order the file system
// lists them.
// Thread: UI (it appends to the play list).

#include <string>

#include "intake/FileExtList_CL.h"
#include "intake/FindFile_CL.h"

class PlayList_CL;

class DropFolder_CL : public FindFile_CL {
public:
    // extListPath: the drop-extension file, read afresh by every scan.
    DropFolder_CL(PlayList_CL& playList, std::wstring extListPath);

    // Appends the folder's movies to the play list; the list is not cleared.
    void Scan(const std::wstring& folder);

protected:
    void OnFile(const std::wstring& folder, const WIN32_FIND_DATAW& data) override;

private:
    PlayList_CL& m_playList;
    std::wstring m_extListPath;
    FileExtList_CL m_extensions{std::wstring()};
};
