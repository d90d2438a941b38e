#pragma once
// The message loop's keyboard rules, without a window: a held arrow acts 500 ms after its last
// key-down; a remote control's arrow, Control, Shift, B or F sequence becomes one F7 or F8 with
// no arrow command; Alt+Enter acts as Escape and swallows the Control and 3 key-downs that
// some remote controls send after it.
// Thread: UI (the message loop).

#include <cstdint>

class KeySequence_CL {
public:
    static constexpr int64_t kHeldArrowDelayMs = 500;

    struct Decision {
        bool swallow = false;  // neither translate nor dispatch the message
        unsigned deliverKey = 0;  // give this key to KeyHandler (0: nothing)
        unsigned messageKey = 0;  // the key the dispatched message carries (F7/F8 after a rewrite)
    };

    // WM_KEYDOWN with virtual key vk.
    Decision OnKeyDown(unsigned vk);
    // WM_SYSKEYDOWN with VK_RETURN (Alt+Enter): KeyHandler gets Escape, the message is swallowed.
    Decision OnAltEnter();

    // Time since the previous message. Returns the held arrow once its countdown has run out
    // (0 otherwise); the countdown then ends.
    unsigned OnElapsed(int64_t elapsedMs);
    // A held arrow is counting down: the loop must keep receiving messages until it ends.
    bool HasHeldArrow() const { return m_heldKey != 0; }

    unsigned LastKey() const { return m_last; }
    unsigned SwallowNextKey() const { return m_swallowNext; }

private:
    unsigned m_last = 0;
    bool m_sequence = false;
    unsigned m_heldKey = 0;
    int64_t m_heldRemainingMs = 0;
    unsigned m_swallowNext = 0;
};
