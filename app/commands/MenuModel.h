#pragma once
// A context menu as a value: what its items say, which command each sends, which are checked
// or greyed, and which open sub-menus. The builders make these from the player's state with
// no window, so every state can be checked exactly; FillPopupMenu turns one into a real menu.
// Thread: any (plain values); FillPopupMenu on the UI thread.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

class CommandRouter_CL;
class PopupMenu_CL;

struct MenuEntry {
    enum class Kind { kItem, kSeparator, kSubMenu };
    Kind kind = Kind::kItem;
    std::wstring text;
    WORD command = 0;  // 0 for separators and sub-menus without a number
    bool checked = false;
    bool enabled = true;
    std::vector<MenuEntry> children;  // sub-menus only

    static MenuEntry Item(std::wstring text, WORD command, bool checked = false);
    static MenuEntry Separator();
    static MenuEntry SubMenu(std::wstring text, std::vector<MenuEntry> children, WORD command = 0);
};

// What the picture menu shows depends on.
struct PictureMenuState {
    struct Favorite {
        bool set = false;
        std::wstring name;
    };
    bool fullScreen = false;
    bool borderless = false;
    bool topmost = false;
    bool transparent = false;
    int outputRate = 0;  // output_rate_hv, 0 ... 3
    std::array<Favorite, 10> favorites{};
    bool fromAlbum = false;  // started by the album application
    int starCount = 0;
};

// The picture menu: full screen or window, the display sub-menu, the favourites that are set,
// the album sub-menu for an album launch, content settings, support site, application settings.
std::vector<MenuEntry> BuildPictureMenu(const PictureMenuState& state);

// The list item menu of the history and play list dialogs.
std::vector<MenuEntry> BuildListItemMenu(bool inArchive, bool enableDelete);

// "\"name\"から再生", or for a favourite without a name "お気に入り１から再生" ...
// "お気に入り10から再生" (index 0 ... 9).
std::wstring FavoritePlayText(int index, const std::wstring& name);

// The numbers of numbered menu items: full-width "１" ... "９", then "10" in plain digits.
std::wstring MenuNumberText(int number);

// Greys every item whose command the router would not run now. Sub-menu parents stay enabled.
void ApplyCommandStates(const CommandRouter_CL& router, std::vector<MenuEntry>* entries);

// Thread: UI. Appends the entries to a real menu; false when the menu refused an item.
bool FillPopupMenu(const std::vector<MenuEntry>& entries, PopupMenu_CL* menu);
