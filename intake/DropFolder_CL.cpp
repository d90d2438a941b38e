#include "intake/DropFolder_CL.h"

#include <utility>

#include "intake/FileExtension.h"
#include "intake/PlayList_CL.h"

DropFolder_CL::DropFolder_CL(PlayList_CL& playList, std::wstring extListPath)
    : FindFile_CL(L"\\*.*", true), m_playList(playList), m_extListPath(std::move(extListPath)) {}

void DropFolder_CL::Scan(const std::wstring& folder) {
    m_extensions = FileExtList_CL(m_extListPath);
    Walk(folder);
}

void DropFolder_CL::OnFile(const std::wstring& folder, const WIN32_FIND_DATAW& data) {
    const std::wstring name(data.cFileName);
    if (m_extensions.Contains(ExtensionOf(name))) m_playList.AppendPath(folder + L"\\" + name);
}
