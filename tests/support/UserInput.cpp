#include "tests/support/UserInput.h"

namespace {
void MouseEvent(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}
}  // namespace

void MouseTo(POINT screen) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

void LeftButton(bool down) { MouseEvent(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

void RightButton(bool down) { MouseEvent(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP); }

void ClickAt(POINT screen, bool twice) {
    MouseTo(screen);
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
        LeftButton(true);
        LeftButton(false);
    }
}

void PressKey(WORD virtualKey) {
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        const SHORT key = c < 128 ? ::VkKeyScanW(c) : -1;
        if (key != -1 && (key & 0xFF00) == 0) {
            // A key of the layout: its virtual key with its scan code, as a keyboard sends it.
            keys[0].ki.wVk = keys[1].ki.wVk = static_cast<WORD>(key & 0xFF);
            keys[0].ki.wScan = keys[1].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key & 0xFF, MAPVK_VK_TO_VSC));
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        } else {
            keys[0].ki.wScan = keys[1].ki.wScan = c;
            keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
            keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        }
        ::SendInput(2, keys, sizeof(INPUT));
    }
}
