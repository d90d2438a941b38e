#include "app/MessageLoop_CL.h"

#include <shellapi.h>

#include "app/MessageLoopHost_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"

MessageLoop_CL::MessageLoop_CL(MessageLoopHost_CL& host)
    : m_host(host), m_lastTickMs(::GetTickCount64()) {}

void MessageLoop_CL::AddModelessDialog(HWND dialog) { m_dialogs.Add(dialog); }

void MessageLoop_CL::RemoveModelessDialog(HWND dialog) { m_dialogs.Remove(dialog); }

int MessageLoop_CL::Run() {
    MSG message{};
    for (;;) {
        BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 1;

        uint64_t now = ::GetTickCount64();
        int64_t elapsedMs = static_cast<int64_t>(now - m_lastTickMs);
        m_lastTickMs = now;

        if (m_keys.HasHeldArrow()) {
            if (unsigned held = m_keys.OnElapsed(elapsedMs)) {
                m_host.KeyHandler(held);
                m_host.NoteUserActivity();
            }
        }

        if (RouteToDialog(message)) {
            KeepMessagesComingWhileArrowHeld();
            continue;
        }
        if (!PreHandle(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        KeepMessagesComingWhileArrowHeld();
    }
    return static_cast<int>(message.wParam);
}

void MessageLoop_CL::KeepMessagesComingWhileArrowHeld() {
    // The held arrow's countdown advances only when a message arrives. A quiet queue (a remote
    // control sends no key-up) would hold the arrow for ever, so a thread timer ticks while an
    // arrow is held; unlike posting WM_USER back to back it does not spin the processor.
    if (m_keys.HasHeldArrow() && m_heldArrowTimer == 0) {
        m_heldArrowTimer = ::SetTimer(nullptr, 0, kHeldArrowTickMs, nullptr);
    } else if (!m_keys.HasHeldArrow() && m_heldArrowTimer != 0) {
        ::KillTimer(nullptr, m_heldArrowTimer);
        m_heldArrowTimer = 0;
    }
}

bool MessageLoop_CL::RouteToDialog(MSG& message) {
    HWND dialog = m_dialogs.DialogHolding(message.hwnd);
    if (!dialog) return false;
    // The dialog's keys are its own (a number typed into its box, Enter, Escape), its mouse
    // must not drag the player, and a file dropped on it belongs to it, not to the play list.
    if (!::IsDialogMessageW(dialog, &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void MessageLoop_CL::Deliver(MSG& message, unsigned key) {
    message.wParam = key;
    m_host.KeyHandler(key);
    m_host.NoteUserActivity();
}

bool MessageLoop_CL::PreHandle(MSG& message) {
    const bool trace = ProcessLogSwitches().log_detail_other;
    switch (message.message) {
        case WM_MOUSEMOVE:
            // The host tells a real movement (user activity) from the moves windows send at rest.
            m_host.OnLoopMouseMove(message);
            return false;
        case WM_LBUTTONDOWN:
            m_host.OnLoopLeftButtonDown(message);
            m_host.NoteUserActivity();
            return false;
        case WM_LBUTTONUP:
            m_host.OnLoopLeftButtonUp(message);
            return false;
        case WM_MOUSEWHEEL:
            m_host.OnLoopMouseWheel(message);
            m_host.NoteUserActivity();
            return false;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            m_host.NoteUserActivity();
            return false;
        case WM_KEYDOWN: {
            if (trace) {
                LogPrintf(L"WM_KEYDOWN = %08x, %08x", static_cast<unsigned>(message.wParam),
                          static_cast<unsigned>(message.lParam));
            }
            if ((message.wParam == VK_LEFT || message.wParam == VK_RIGHT) && m_host.TakesArrowKeys(message.hwnd)) {
                m_host.NoteUserActivity();
                return false;
            }
            KeySequence_CL::Decision d = m_keys.OnKeyDown(static_cast<unsigned>(message.wParam));
            if (d.swallow) return true;
            Deliver(message, d.deliverKey);
            return false;
        }
        case WM_SYSKEYDOWN: {
            if (trace) {
                LogPrintf(L"WM_SYSKEYDOWN = %08x, %08x", static_cast<unsigned>(message.wParam),
                          static_cast<unsigned>(message.lParam));
            }
            if (message.wParam != VK_RETURN) return false;
            KeySequence_CL::Decision d = m_keys.OnAltEnter();
            m_host.KeyHandler(d.deliverKey);
            return true;
        }
        case WM_DROPFILES: {
            LogPrintf(L"%ls", L"WM_DROPFILES ");
            // File intake opens what was dropped and finishes the drop.
            m_host.OnDropFiles(reinterpret_cast<HDROP>(message.wParam));
            return true;
        }
        default:
            return false;
    }
}
