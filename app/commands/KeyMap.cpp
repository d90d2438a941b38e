#include "app/commands/KeyMap.h"

#include "base/CommandIds.h"

WORD CommandForKey(UINT virtualKey, bool control) {
    // With Ctrl only Ctrl+G means something; the other keys keep their own meaning.
    if (control && virtualKey == 'G') return CMD_GO_TO_TIME;
    if (virtualKey >= '0' && virtualKey <= '5') return static_cast<WORD>(CMD_STARS_FIRST + (virtualKey - '0'));
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD5) {
        return static_cast<WORD>(CMD_STARS_FIRST + (virtualKey - VK_NUMPAD0));
    }
    switch (virtualKey) {
        case 'P':
        case VK_MEDIA_PLAY_PAUSE:
            return CMD_PLAY_PAUSE;
        case 'S':
        case VK_MEDIA_STOP:
            return CMD_STOP;
        case 'T':
            return CMD_KEY_RESTART;
        case 'M':
        case VK_VOLUME_MUTE:
            return CMD_MUTE;
        case VK_ADD:
        case VK_VOLUME_UP:
        case VK_OEM_PLUS:
            return CMD_KEY_VOLUME_UP;
        case VK_SUBTRACT:
        case VK_VOLUME_DOWN:
        case VK_OEM_MINUS:
            return CMD_KEY_VOLUME_DOWN;
        case VK_F7:
            return CMD_SLOWER;
        case VK_F8:
            return CMD_FASTER;
        case VK_LEFT:
            return CMD_PREVIOUS;
        case VK_RIGHT:
            return CMD_NEXT;
        case VK_MEDIA_PREV_TRACK:
            return CMD_KEY_STRIP_PREVIOUS;
        case VK_MEDIA_NEXT_TRACK:
            return CMD_KEY_STRIP_NEXT;
        case VK_RETURN:
            return CMD_KEY_CLICK;
        case VK_ESCAPE:
        case VK_F4:
            return CMD_FULL_SCREEN;
        case VK_F1:
            return CMD_KEY_CYCLE_RATIO;
        case VK_F3:
            return CMD_KEY_CYCLE_THUMB_SIZE;
        case VK_F5:
            return CMD_KEY_CYCLE_DIRECTION;
        case VK_F6:
            return CMD_THUMBNAIL_STRIP;
        case VK_F9:
            return CMD_KEY_CLOCK;
        case VK_BACK:
            return CMD_SHOW_HISTORY;
        case VK_TAB:
            return CMD_SHOW_PLAY_LIST;
        default:
            return 0;
    }
}
