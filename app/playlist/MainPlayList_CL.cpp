#include "app/playlist/MainPlayList_CL.h"

#include <memory>
#include <utility>

#include "base/LogFile_CL.h"
#include "intake/ArchiveListing.h"
#include "intake/AsxListReader.h"
#include "intake/FileExtList_CL.h"
#include "intake/IntakeKeys.h"
#include "intake/PlayListFiles.h"
#include "intake/Zip_CL.h"
#include "store/AppSettings.h"

MainPlayList_CL::MainPlayList_CL(AppSettings& settings, Callbacks callbacks)
    : m_settings(settings), m_callbacks(std::move(callbacks)), m_dialog(m_list, *this, settings) {}

std::vector<std::wstring> MainPlayList_CL::PlayableExtensions() {
    return FileExtList_CL(m_intake.ExtListPath()).Extensions();
}

void MainPlayList_CL::OpenContentNow(const std::wstring& path) {
    LoadRequest request;
    request.direct = true;
    request.path = path;
    m_callbacks.requestLoad(request);
}

void MainPlayList_CL::PlayListCurrentEntry() { m_callbacks.requestLoad(LoadRequest()); }

void MainPlayList_CL::ReadAsxPlayList(const std::wstring& path) {
    std::vector<std::wstring> entries;
    if (!ReadAsxList(path, &entries)) return;  // a broken list adds nothing (logged)
    for (const std::wstring& entry : entries) m_list.AppendPath(entry);
    LogPrintf(L"ASXプレイリスト \"%ls\" %zu件", path.c_str(), entries.size());
}

void MainPlayList_CL::ReadTextPlayList(const std::wstring& path) {
    int skipped = 0;
    const size_t count = ReadTextListFile(path, m_list, &skipped);
    LogPrintf(L"プレイリスト \"%ls\" 全%zu件 (読めない行 %d)", path.c_str(), count, skipped);
}

void MainPlayList_CL::ListArchive(const std::wstring& archivePath, const std::wstring& unpackFolder) {
    auto archive = std::make_shared<Zip_CL>(archivePath);
    if (FAILED(archive->ScanArchive())) {
        LogPrintf(L"zipファイルを開けません \"%ls\"", archivePath.c_str());
        return;
    }
    const size_t listed = ListArchiveEntries(archive, unpackFolder, PlayableExtensions(), m_list);
    LogPrintf(L"zipファイル \"%ls\" %zu件", archivePath.c_str(), listed);
}

void MainPlayList_CL::RememberLastInput(const std::wstring& path) {
    m_settings.File().WriteString(kLastInputSection, kLastInputPathKey, path);
}
