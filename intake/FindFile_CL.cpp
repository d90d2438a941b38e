#include "intake/FindFile_CL.h"

#include <utility>

#include "base/UniqueHandle_CL.h"

FindFile_CL::FindFile_CL(std::wstring pattern, bool recursive)
    : m_pattern(std::move(pattern)), m_recursive(recursive) {}

void FindFile_CL::OnEnterFolder(const std::wstring&, const std::wstring&) {}
void FindFile_CL::OnFile(const std::wstring&, const WIN32_FIND_DATAW&) {}
void FindFile_CL::OnLeaveFolder(const std::wstring&, const std::wstring&) {}

namespace {
// A folder entry that is a junction or a symbolic link: not walked. Under Wine a link carries
// the reparse attribute and no tag.
bool IsLinkedFolder(const WIN32_FIND_DATAW& data) {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return false;
    const DWORD tag = data.dwReserved0;
    return tag == IO_REPARSE_TAG_MOUNT_POINT || tag == IO_REPARSE_TAG_SYMLINK || tag == 0;
}
}  // namespace

void FindFile_CL::Walk(const std::wstring& folder) {
    m_folder = folder;
    while (!m_folder.empty() && (m_folder.back() == L'\\' || m_folder.back() == L'/')) {
        m_folder.pop_back();
    }
    m_visited.clear();
    if (m_folder.empty()) return;
    WalkFolder(m_folder, 0);
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

bool FindFile_CL::FirstVisit(const std::wstring& folder) {
    KernelHandle_CL handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.IsValid() || !::GetFileInformationByHandle(handle.Get(), &info)) return false;
    const std::pair<DWORD, uint64_t> identity{info.dwVolumeSerialNumber,
                                              (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    for (const auto& seen : m_visited) {
        if (seen == identity) return false;
    }
    m_visited.push_back(identity);
    return true;
}

void FindFile_CL::WalkFolder(const std::wstring& folder, int depth) {
    const std::wstring query = folder + m_pattern;
    if (query.size() >= MAX_PATH || !FirstVisit(folder)) return;
    WIN32_FIND_DATAW data = {};
    FindHandle_CL find(::FindFirstFileW(query.c_str(), &data));
    if (!find.IsValid()) return;
    do {
        const wchar_t* name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0) continue;
            if (!m_recursive || IsSkipped(name) || IsLinkedFolder(data) || depth >= kMaxDepth) continue;
            const std::wstring subFolder = folder + L"\\" + name;
            const std::wstring subName(name);
            OnEnterFolder(subFolder, subName);
            WalkFolder(subFolder, depth + 1);
            OnLeaveFolder(subFolder, subName);
        } else {
            OnFile(folder, data);
        }
    } while (::FindNextFileW(find.Get(), &data));
}
