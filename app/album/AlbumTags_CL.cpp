#include "app/album/AlbumTags_CL.h"

#include "app/album/AlbumNotice.h"
#include "app/album/AlbumTagsHost_CL.h"
#include "app/album/AlbumTexts.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "store/AlbumTagFiles.h"
#include "store/TagRules.h"
#include "ui/EasySelectDialog_CL.h"

namespace {
bool TraceOn() { return ProcessLogSwitches().log_detail_other; }
}  // namespace

AlbumTags_CL::AlbumTags_CL(AlbumTagsHost_CL& host) : AlbumTags_CL(host, Options{UserAlbumRoot(), {}, {}}) {}

AlbumTags_CL::AlbumTags_CL(AlbumTagsHost_CL& host, Options options) : m_host(host), m_options(std::move(options)) {
    if (!m_options.askInput) m_options.askInput = &AskWithDialog;
    if (!m_options.notify) {
        m_options.notify = [this](const std::wstring& moviePath) { SendAlbumNotice(m_host.OwnerWindow(), moviePath); };
    }
}

std::wstring AlbumTags_CL::AskWithDialog(HWND owner, const std::vector<std::wstring>& history) {
    EasySelectDialog_CL dialog(kTextAddTagsCaption, kTextAddTagsPrompt, L"", kInputLimitCharacters, history);
    return dialog.DoModal(owner) == IDOK ? dialog.Text() : std::wstring();
}

AddTagsOutcome AlbumTags_CL::AddTags() {
    const std::wstring moviePath = m_host.LoadedMoviePath();
    const int album = ReadCurrentAlbumNumber(m_options.albumRoot);
    const std::wstring albumInfo = AlbumInfoPath(m_options.albumRoot, album);

    m_host.SetModalDialogOpen(true);
    const std::wstring input = m_options.askInput(m_host.OwnerWindow(), ReadTagHistory(albumInfo));
    m_host.SetModalDialogOpen(false);
    // Blanks and separators alone add nothing, so they change no file either.
    if (SplitTagInput(input).empty()) return AddTagsOutcome::NoInput;

    const std::wstring record = m_host.LoadedRecordPath();
    if (record.empty()) {
        if (TraceOn()) LogPrintf(L"AddTags: no content record, nothing written = %ls", moviePath.c_str());
        return AddTagsOutcome::NoRecord;
    }
    // The message loop runs while the dialog is open: the play list may have moved on, or a
    // second start may have handed over another movie. The tags were meant for the first one.
    if (m_host.LoadedMoviePath() != moviePath) {
        LogPrintf(L"AddTags: the movie changed while the dialog was open, nothing written = %ls",
                  moviePath.c_str());
        return AddTagsOutcome::MovieChanged;
    }

    std::vector<std::wstring> tags = ReadMovieTags(record);
    // Read again: the album application may have added to its history while the dialog was open.
    std::vector<std::wstring> history = ReadTagHistory(albumInfo);
    ApplyTagInput(input, tags, history);

    if (!albumInfo.empty() && !WriteTagHistory(albumInfo, history)) {
        LogPrintf(L"AddTags: TAG_HISTORY not written = %ls", albumInfo.c_str());
    }
    if (!WriteMovieTags(record, tags)) {
        LogPrintf(L"AddTags: TAG_INFO not written = %ls", record.c_str());
        return AddTagsOutcome::WriteFailed;
    }
    if (TraceOn()) {
        LogPrintf(L"AddTags: album=%d tags=%u history=%u record=%ls", album, static_cast<unsigned>(tags.size()),
                  static_cast<unsigned>(history.size()), record.c_str());
    }
    m_options.notify(moviePath);
    return AddTagsOutcome::Written;
}
