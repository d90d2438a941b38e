#include "app/KeySequence_CL.h"

#include <windows.h>

namespace {
bool IsArrow(unsigned vk) { return vk == VK_LEFT || vk == VK_RIGHT; }
}  // namespace

KeySequence_CL::Decision KeySequence_CL::OnKeyDown(unsigned vk) {
    Decision decision;
    if (m_swallowNext != 0 && vk == m_swallowNext) {
        // After Alt+Enter some remote controls send Control and then 3; both are noise.
        m_swallowNext = (m_swallowNext == VK_CONTROL) ? '3' : 0;
        decision.swallow = true;
        return decision;
    }
    if (IsArrow(vk)) {
        // Held, not delivered: a repeat restarts the countdown.
        m_heldKey = vk;
        m_heldRemainingMs = kHeldArrowDelayMs;
        m_sequence = true;
        m_last = vk;
        decision.swallow = true;
        return decision;
    }
    if (vk == VK_CONTROL && IsArrow(m_last) && m_sequence) {
        m_heldKey = 0;  // the arrow was the start of a remote-control sequence
        m_last = VK_CONTROL;
        decision.swallow = true;
        return decision;
    }
    if (vk == VK_SHIFT && m_last == VK_CONTROL && m_sequence) {
        m_last = VK_SHIFT;
        decision.swallow = true;
        return decision;
    }
    unsigned key = vk;
    if ((vk == 'B' || vk == 'F') && m_last == VK_SHIFT && m_sequence) {
        key = (vk == 'B') ? VK_F7 : VK_F8;
    }
    m_last = key;
    m_heldKey = 0;
    m_sequence = false;
    decision.deliverKey = key;
    decision.messageKey = key;
    return decision;
}

KeySequence_CL::Decision KeySequence_CL::OnAltEnter() {
    Decision decision;
    decision.swallow = true;
    decision.deliverKey = VK_ESCAPE;
    m_swallowNext = VK_CONTROL;
    return decision;
}

unsigned KeySequence_CL::OnElapsed(int64_t elapsedMs) {
    if (m_heldKey == 0) return 0;
    m_heldRemainingMs -= elapsedMs;
    if (m_heldRemainingMs > 0) return 0;
    unsigned key = m_heldKey;
    m_heldKey = 0;
    return key;
}
