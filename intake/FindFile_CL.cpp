#include "intake/FindFile_CL.h"

#include <utility>

#include "base/UniqueHandle_CL.h"

FindFile_CL::FindFile_CL(std::wstring pattern, bool recursive)
    : m_pattern(std::move(pattern)), m_recursive(recursive) {}

void FindFile_CL::OnEnterFolder(const std::wstring&, const std::wstring&) {}
void FindFile_CL::OnFile(const std::wstring&, const WIN32_FIND_DATAW&) {}
void FindFile_CL::OnLeaveFolder(const std::wstring&, const std::wstring&) {}

void FindFile_CL::Walk(const std::wstring& folder) {
    m_folder = folder;
    while (!m_folder.empty() && (m_folder.back() == L'\\' || m_folder.back() == L'/')) {
        m_folder.pop_back();
    }
    if (m_folder.empty()) return;
    WalkFolder(m_folder);
}

bool FindFile_CL::IsSkipped(const wchar_t* name) const {
    for (const std::wstring& skip : m_skipFolders) {
        if (::CompareStringOrdinal(name, -1, skip.c_str(), static_cast<int>(skip.size()), TRUE) ==
            CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

void FindFile_CL::WalkFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data = {};
    const std::wstring query = folder + m_pattern;
    FindHandle_CL find(::FindFirstFileW(query.c_str(), &data));
    if (!find.IsValid()) return;
    do {
        const wchar_t* name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) continue;
            if (!m_recursive || IsSkipped(name)) continue;
            const std::wstring subFolder = folder + L"\\" + name;
            const std::wstring subName(name);
            OnEnterFolder(subFolder, subName);
            WalkFolder(subFolder);
            OnLeaveFolder(subFolder, subName);
        } else {
            OnFile(folder, data);
        }
    } while (::FindNextFileW(find.Get(), &data));
}
