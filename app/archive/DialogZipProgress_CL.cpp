#include "app/archive/DialogZipProgress_CL.h"

#include <utility>

#include "base/LogFile_CL.h"
#include "ui/EasyProgress_CL.h"

DialogZipProgress_CL::DialogZipProgress_CL(std::wstring message, std::shared_ptr<Zip_CL> archive,
                                           size_t centralIndex, std::wstring destination)
    : m_message(std::move(message)),
      m_archive(std::move(archive)),
      m_centralIndex(centralIndex),
      m_destination(std::move(destination)) {}

INT_PTR DialogZipProgress_CL::Show(HWND parent) {
    if (!m_archive) return 0;
    EasyProgress_CL dialog(m_message, true, this);
    const INT_PTR shown = dialog.DoModal(parent);
    LogPrintf(L"zip解凍 \"%ls\" -> \"%ls\" result=%d dialog=%d", m_archive->ArchivePath().c_str(),
              m_destination.c_str(), m_result, static_cast<int>(shown));
    return shown == 1 && m_result == 0 ? 1 : 0;
}

std::wstring DialogZipProgress_CL::ResultText(int result, const ZipCentralRecord& record) {
    if (result == Zip_CL::kExtractCancelled) return kCancelledText;
    const wchar_t* reason = nullptr;
    if (result == Zip_CL::kExtractBadData || result == Zip_CL::kExtractNoLocalRecord) {
        const bool zip64 = record.compressedSize == kZip64Marker || record.uncompressedSize == kZip64Marker ||
                           record.localHeaderOffset == kZip64Marker;
        if (record.flags & kZipFlagEncrypted) {
            reason = kEncryptedReason;
        } else if ((record.method != kZipMethodStored && record.method != kZipMethodDeflated) || zip64) {
            reason = kMethodReason;
        } else {
            reason = kBrokenReason;
        }
    }
    std::wstring text = kFailedText;
    if (reason) text = text + L"\r\n" + reason;
    return text;
}

void DialogZipProgress_CL::ShowResultMessage(HWND parent) const {
    ZipCentralRecord record;
    if (m_archive && m_centralIndex < m_archive->CentralRecords().size()) record = m_archive->CentralRecords()[m_centralIndex];
    ::MessageBoxW(parent, ResultText(m_result, record).c_str(), kNoticeTitle, MB_OK);
}

INT_PTR DialogZipProgress_CL::Run(EasyProgress_CL& progress) {
    m_progress = &progress;
    m_result = m_archive->ExtractEntry(m_centralIndex, m_destination, this);
    m_progress = nullptr;
    return m_result == 0 ? 1 : 0;
}

void DialogZipProgress_CL::ReportProgress(int percent) {
    if (m_progress) m_progress->SetPosition(percent);
}

bool DialogZipProgress_CL::CancelRequested() const { return m_progress && m_progress->IsCancelRequested(); }
