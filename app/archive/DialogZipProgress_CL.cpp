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

void DialogZipProgress_CL::ShowResultMessage(HWND parent) const {
    ::MessageBoxW(parent, m_result == -5 ? kCancelledText : kFailedText, kNoticeTitle, MB_OK);
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
