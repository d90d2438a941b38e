#pragma once
// Unpacking one archive entry behind the progress dialog: the entry is inflated on the
// dialog's worker thread while the dialog shows how far it got and offers "キャンセル"; the
// dialog ends when the worker does, with 1 when the entry was unpacked whole.
//
// Threads: Show and ShowResultMessage on the UI thread. The worker thread runs the
// extraction and reaches the dialog only through its progress position and cancel flag.
// The archive is not used by anything else while the dialog is open (the UI thread waits in
// the dialog's loop).

#include <windows.h>

#include <memory>
#include <string>

#include "intake/Zip_CL.h"
#include "ui/ProgressWorker_CL.h"

class DialogZipProgress_CL : private ProgressWorker_CL, private Zip_CL::ProgressSink {
public:
    static constexpr wchar_t kUnpackingText[] = L"zipを解凍しています。";
    static constexpr wchar_t kCancelledText[] = L"zipファイルの解凍をキャンセルしました。";
    static constexpr wchar_t kFailedText[] = L"zipファイルの解凍に失敗しました。";
    static constexpr wchar_t kNoticeTitle[] = L"お知らせ";
    // The second line of a failure: why the entry could not be unpacked.
    static constexpr wchar_t kEncryptedReason[] = L"暗号化されたファイルには対応していません。";
    static constexpr wchar_t kMethodReason[] = L"この圧縮形式には対応していません。";
    static constexpr wchar_t kBrokenReason[] = L"ファイルが壊れています。";

    // Pure: the message after an extraction of the entry that gave result (not 0): the cancel
    // text, or the failure text with a second line naming the reason when the entry's data was
    // at fault (a destination that cannot be written has no second line).
    static std::wstring ResultText(int result, const ZipCentralRecord& record);

    DialogZipProgress_CL(std::wstring message, std::shared_ptr<Zip_CL> archive, size_t centralIndex,
                         std::wstring destination);

    // Thread: UI. Runs the modal dialog until the worker ends: 1 when the entry was unpacked,
    // else 0.
    INT_PTR Show(HWND parent);
    // Thread: UI. After Show gave something other than 1: says that the user cancelled or that
    // unpacking failed.
    void ShowResultMessage(HWND parent) const;
    // The extraction's result code (0 after a whole unpack; -5 after a cancel).
    int Result() const { return m_result; }

private:
    INT_PTR Run(EasyProgress_CL& progress) override;
    void ReportProgress(int percent) override;
    bool CancelRequested() const override;

    std::wstring m_message;
    std::shared_ptr<Zip_CL> m_archive;
    size_t m_centralIndex;
    std::wstring m_destination;
    EasyProgress_CL* m_progress = nullptr;  // while the worker runs
    int m_result = -4;
};
