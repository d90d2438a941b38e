#include "intake/ArchiveListing.h"

#include <algorithm>
#include <utility>

#include "base/LogFile_CL.h"
#include "intake/FileExtension.h"
#include "intake/PlayList_CL.h"
#include "intake/Zip_CL.h"

namespace {

// A hostile name may carry line breaks or a NUL; the trace log keeps one line per event.
std::wstring PrintableName(std::wstring name) {
    for (wchar_t& c : name) {
        if (c < 0x20 || c == 0x7F) c = L'?';
    }
    return name;
}

}  // namespace

size_t ListArchiveEntries(std::shared_ptr<Zip_CL> archive, const std::wstring& unpackFolder,
                          const std::vector<std::wstring>& extensions, PlayList_CL& list) {
    if (!archive) return 0;
    const std::vector<ZipCentralRecord>& records = archive->CentralRecords();
    size_t appended = 0;
    for (size_t index = 0; index < records.size(); ++index) {
        const ZipCentralRecord& record = records[index];
        // Folders and entries written with Unix modes only lack the archive bit.
        if ((record.externalAttributes & kZipAttributeArchive) == 0) continue;
        const std::wstring fileName = Zip_CL::UnpackFileName(record.name);
        if (!Zip_CL::IsRelativeEntryName(record.name) ||
            !Zip_CL::IsListableFileName(fileName, unpackFolder.size())) {
            LogPrintf(L"zip: 展開できない名前のため除外 \"%ls\" (%zuバイト) \"%ls\"",
                      PrintableName(record.name).c_str(), record.rawName.size(),
                      archive->ArchivePath().c_str());
            continue;
        }
        const std::wstring path = unpackFolder + L"\\" + fileName;
        const std::wstring lowerExtension = LowerExtensionOf(path);
        if (std::find(extensions.begin(), extensions.end(), lowerExtension) == extensions.end()) continue;

        PlayListItem item;
        item.inArchive = 1;
        item.archive = archive;
        item.archiveRecordIndex = static_cast<uint32_t>(index);
        item.path = path;
        item.displayName = DisplayNameOf(path);
        item.extension = ExtensionOf(path);
        item.fileSize = static_cast<int64_t>(record.uncompressedSize);
        item.modifiedFileTime = Zip_CL::DosToFileTime(record.dosDate, record.dosTime);
        list.Append(std::move(item));
        ++appended;
    }
    return appended;
}
