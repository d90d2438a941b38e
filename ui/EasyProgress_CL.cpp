#include "ui/EasyProgress_CL.h"

#include <algorithm>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "ui/Button_CL.h"
#include "ui/DpiScale.h"
#include "ui/ProgressBar_CL.h"
#include "ui/ProgressWorker_CL.h"
#include "ui/UiTexts.h"
#include "ui/WindowCentering.h"

EasyProgress_CL::EasyProgress_CL(const std::wstring& caption, bool allowCancel,
                                 ProgressWorker_CL* worker, int rangeMaximum)
    : m_caption(caption),
      m_allowCancel(allowCancel),
      m_worker(worker),
      m_rangeMaximum(rangeMaximum),
      m_cancelEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    // Nothing to minimise to and nothing for a system menu to offer.
    SetStyle(kDefaultStyle & ~(WS_MINIMIZEBOX | WS_SYSMENU));
}

EasyProgress_CL::~EasyProgress_CL() {
    if (m_workerThread.joinable()) {
        if (!m_workerDone.load()) RequestCancel();
        JoinWorker();
    }
}

INT_PTR EasyProgress_CL::DoModal(HWND parent) {
    m_cancel = false;
    if (m_cancelEvent.IsValid()) ::ResetEvent(m_cancelEvent.Get());
    INT_PTR result = SubClassDialogBase_CL::DoModal(parent);
    m_postTarget = nullptr;
    if (m_workerThread.joinable()) {
        // Closed before the worker finished: ask it to stop and wait, so nothing it uses
        // goes away under it.
        if (!m_workerDone.load()) RequestCancel();
        JoinWorker();
    }
    return result;
}

void EasyProgress_CL::SetPosition(int position) { PostToDialog(WM_PROGRESS_POSITION, position, 0); }

void EasyProgress_CL::PostFinish(INT_PTR result) {
    PostToDialog(WM_PROGRESS_FINISH, static_cast<WPARAM>(result), 0);
}

bool EasyProgress_CL::PostToDialog(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND target = m_postTarget.load();
    return target && ::PostMessageW(target, message, wParam, lParam);
}

void EasyProgress_CL::RequestCancel() {
    m_cancel = true;
    if (m_cancelEvent.IsValid()) ::SetEvent(m_cancelEvent.Get());
}

int EasyProgress_CL::ShownPosition() const {
    auto* bar = const_cast<EasyProgress_CL*>(this)->Controls().Get<ProgressBar_CL>(m_barIndex);
    return bar ? bar->Position() : 0;
}

HWND EasyProgress_CL::CancelButton() const {
    auto* button = const_cast<EasyProgress_CL*>(this)->Controls().Get<Button_CL>(m_cancelIndex);
    return button ? button->Window() : nullptr;
}

HWND EasyProgress_CL::Bar() const {
    auto* bar = const_cast<EasyProgress_CL*>(this)->Controls().Get<ProgressBar_CL>(m_barIndex);
    return bar ? bar->Window() : nullptr;
}

void EasyProgress_CL::OnInitDialog() {
    const bool trace = ProcessLogSwitches().log_detail_other;
    if (trace) LogPrintf(L"EasyProgress-WM_INITDIALOG");

    HWND window = Window();
    ::SetWindowTextW(window, m_caption.c_str());
    const int width = ScaleForDpi(kClientWidth96);
    const int height = ScaleForDpi(kClientHeight96);
    const int margin = ScaleForDpi(kMarginPixels96);
    SetClientSize(width, height);

    int barRight = width - margin;
    m_cancelIndex = -1;
    if (m_allowCancel) {
        m_cancelIndex = Controls().AddButton(window, 0, 0, kTextCancel);
        if (Button_CL* button = Controls().Get<Button_CL>(m_cancelIndex)) {
            SIZE size = button->Size();
            int x = width - margin - size.cx;
            button->MoveTo(x, (height - size.cy) / 2);
            barRight = x - margin;
        }
    }
    const int barHeight = std::min(height - 2 * margin, ScaleForDpi(20));
    m_barIndex = Controls().AddProgressBar(window, margin, (height - barHeight) / 2,
                                           std::max(barRight - margin, 1), barHeight);
    if (ProgressBar_CL* bar = Controls().Get<ProgressBar_CL>(m_barIndex)) {
        bar->SetRange(0, m_rangeMaximum);
        bar->SetPosition(0);
    }

    CenterDialogOnParent(Parent(), window);
    m_postTarget = window;
    if (m_worker) StartWorker();
    if (trace) LogPrintf(L"EasyProgress-WM_INITDIALOG(END)");
}

void EasyProgress_CL::StartWorker() {
    m_workerDone = false;
    m_workerThread = std::thread([this] {
        INT_PTR result = m_worker->Run(*this);
        m_workerDone = true;
        PostFinish(result);
    });
}

void EasyProgress_CL::JoinWorker() {
    if (m_workerThread.joinable()) m_workerThread.join();
}

void EasyProgress_CL::OnCommand(UINT controlId, UINT notifyCode, HWND) {
    ControlBase_CL* cancel = Controls().At(m_cancelIndex);
    if (cancel && controlId == cancel->Id() && notifyCode == BN_CLICKED) RequestCancel();
    // IDOK and IDCANCEL from Enter and Escape end nothing here.
}

INT_PTR EasyProgress_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PROGRESS_POSITION:
        if (ProgressBar_CL* bar = Controls().Get<ProgressBar_CL>(m_barIndex)) {
            bar->SetPosition(static_cast<int>(wParam));
        }
        return TRUE;
    case WM_PROGRESS_FINISH:
        m_postTarget = nullptr;
        EndWith(static_cast<INT_PTR>(wParam));
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return TRUE;
        break;
    case WM_CLOSE:
        if (ProcessLogSwitches().log_detail_other) LogPrintf(L"EasyProgress-WM_CLOSE");
        // While the worker runs, closing only asks it to stop: it finishes the buffer it writes
        // and its end closes the dialog, so the window never waits on a worker it hid.
        if (m_worker && m_workerThread.joinable() && !m_workerDone.load()) {
            RequestCancel();
            return TRUE;
        }
        m_postTarget = nullptr;
        EndWith(0);
        return TRUE;
    default:
        break;
    }
    return SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
}
