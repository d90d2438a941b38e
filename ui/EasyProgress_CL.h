#pragma once
// The stock progress dialog: a caption, a progress bar across the width and, when the owner
// allows it, a "キャンセル" button that raises the cancel flag. With a worker object the
// dialog starts it on a thread of its own at WM_INITDIALOG and ends with the worker's
// result when the worker returns; the dialog stays open until then, also after a cancel,
// so the worker can finish the buffer it is writing.
//
// Threads: DoModal on the UI thread; SetPosition, IsCancelRequested, CancelEvent and
// PostFinish and PostToDialog from any thread (they touch only atomics, an event and
// posted messages).

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/UniqueHandle_CL.h"
#include "ui/SubClassDialogBase_CL.h"

class ProgressWorker_CL;
class ProgressBar_CL;

class EasyProgress_CL : public SubClassDialogBase_CL {
public:
    // Posted to the dialog to end it; wParam carries the result DoModal returns.
    static constexpr UINT WM_PROGRESS_FINISH = 0x4CA;
    // Posted to the dialog by SetPosition; wParam carries the position.
    static constexpr UINT WM_PROGRESS_POSITION = 0x4CB;
    static constexpr int kClientWidth96 = 480;
    static constexpr int kClientHeight96 = 56;
    static constexpr int kMarginPixels96 = 8;

    // worker may be nullptr: the dialog then only shows progress until PostFinish or WM_CLOSE.
    EasyProgress_CL(const std::wstring& caption, bool allowCancel, ProgressWorker_CL* worker,
                    int rangeMaximum = 100);
    ~EasyProgress_CL() override;

    // Thread: UI. Shows the dialog and returns the worker's result, the value given to
    // PostFinish, or 0 after WM_CLOSE. The worker has ended when this returns (a close sets
    // the cancel flag first).
    INT_PTR DoModal(HWND parent) override;

    // Thread: any. Moves the bar (posted; the last position wins).
    void SetPosition(int position);
    // Thread: any.
    bool IsCancelRequested() const { return m_cancel.load(); }
    // Thread: any. Manual-reset; signalled with the cancel flag, for workers that wait.
    HANDLE CancelEvent() const { return m_cancelEvent.Get(); }
    // Thread: any. Ends the dialog with result (ignored once the dialog is gone).
    void PostFinish(INT_PTR result);
    // Thread: any. Posts a message of the caller's own to the open dialog; false once it is
    // gone. Derived dialogs handle it in HandleMessage.
    bool PostToDialog(UINT message, WPARAM wParam, LPARAM lParam);
    // Thread: UI. Raises the cancel flag, as the button does.
    void RequestCancel();

    // Thread: UI, while open. The bar's position as shown now.
    int ShownPosition() const;
    // Thread: UI, while open. The cancel button's window (nullptr when cancelling is not allowed).
    HWND CancelButton() const;
    HWND Bar() const;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;

private:
    void StartWorker();
    void JoinWorker();

    std::wstring m_caption;
    bool m_allowCancel;
    ProgressWorker_CL* m_worker;
    int m_rangeMaximum;
    int m_barIndex = -1;
    int m_cancelIndex = -1;

    std::atomic<HWND> m_postTarget{nullptr};  // the open dialog, for the other threads' posts
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_workerDone{false};
    KernelHandle_CL m_cancelEvent;
    std::thread m_workerThread;
};
