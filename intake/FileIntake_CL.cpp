#include "intake/FileIntake_CL.h"

#include <utility>

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "intake/DropFolder_CL.h"
#include "intake/FileExtList_CL.h"
#include "intake/FileExtension.h"
#include "intake/FileIntakeHost_CL.h"
#include "intake/PlayList_CL.h"

namespace {
bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

FileIntake_CL::FileIntake_CL(PlayList_CL& playList, FileIntakeHost_CL& host)
    : m_playList(playList), m_host(host) {}

std::wstring FileIntake_CL::ExtListPath() const {
    return m_extListPath.empty() ? FileExtList_CL::DefaultIniPath() : m_extListPath;
}

std::wstring FileIntake_CL::UnpackFolder() const {
    // Built anew each time: the user may have moved the Documents folder meanwhile.
    return m_unpackFolder.empty() ? DataFolder_CL::ZipFolder() : m_unpackFolder;
}

void FileIntake_CL::CreateUnpackFolder(const std::wstring& folder) {
    if (folder.empty()) return;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
        DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            // The listing goes on: the failure shows when an entry cannot be unpacked.
            LogPrintf(L"OpenPath: CreateDirectory(%ls) failed: %lu", folder.c_str(), error);
        }
    }
}

void FileIntake_CL::OpenPath(const std::wstring& path, bool playNow) {
    if (IsFolder(path)) {
        DropFolder_CL scan(m_playList, ExtListPath());
        scan.Scan(path);
    } else {
        switch (IntakeKindOfExtension(LowerExtensionOf(path))) {
            case IntakeKind::AsxList:
                m_host.ReadAsxPlayList(path);
                break;
            case IntakeKind::Archive: {
                const std::wstring unpackFolder = UnpackFolder();
                CreateUnpackFolder(unpackFolder);
                m_host.ListArchive(path, unpackFolder);
                break;
            }
            case IntakeKind::TextList:
                m_host.ReadTextPlayList(path);
                break;
            case IntakeKind::Movie:
                if (playNow) {
                    // A single movie plays by itself; the list stays as it was and is not started.
                    m_host.OpenContentNow(path);
                    playNow = false;
                }
                break;
        }
    }
    if (playNow && !m_playList.IsEmpty()) m_host.PlayListCurrentEntry();
    m_host.RememberLastInput(path);
    m_host.AddHistory(path);
    m_host.RefreshPlayListDialog();
}

void FileIntake_CL::HandleDrop(const std::vector<std::wstring>& paths) {
    m_playList.Clear();
    if (paths.size() < 2) {
        if (paths.size() == 1) {
            OpenPath(paths.front(), true);
        } else {
            m_host.RefreshPlayListDialog();  // nothing dropped, but the list was emptied
        }
        return;
    }
    for (const std::wstring& path : paths) {
        if (IsListOrArchiveExtension(LowerExtensionOf(path))) {
            OpenPath(path, false);
        } else {
            // Taken as it is: a folder among several dropped paths is one entry, not scanned.
            m_playList.AppendPath(path);
        }
    }
    if (!m_playList.IsEmpty()) {
        m_playList.FillItemInfo([this](const std::wstring& moviePath, std::wstring* contentName,
                                       int* starCount) {
            return m_host.ReadRowRecord(moviePath, contentName, starCount);
        });
        m_playList.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortAscending);
        m_playList.SetNextIndex(0);
        m_host.PlayListCurrentEntry();
    }
    m_host.RefreshPlayListDialog();
}

void FileIntake_CL::HandleDrop(HDROP drop) {
    HandleDrop(TakeDroppedPaths(drop));
}

std::vector<std::wstring> FileIntake_CL::TakeDroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    if (!drop) return paths;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        wchar_t buffer[kDropPathUnits] = {};
        ::DragQueryFileW(drop, i, buffer, kDropPathUnits);  // always terminates, cutting if need be
        paths.emplace_back(buffer);
    }
    ::DragFinish(drop);
    return paths;
}
