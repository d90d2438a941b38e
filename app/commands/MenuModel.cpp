#include "app/commands/MenuModel.h"

#include <utility>

#include "app/commands/CommandRouter_CL.h"
#include "app/commands/MenuTexts.h"
#include "base/CommandIds.h"
#include "ui/PopupMenu_CL.h"

MenuEntry MenuEntry::Item(std::wstring text, WORD command, bool checked) {
    MenuEntry entry;
    entry.text = std::move(text);
    entry.command = command;
    entry.checked = checked;
    return entry;
}

MenuEntry MenuEntry::Separator() {
    MenuEntry entry;
    entry.kind = Kind::kSeparator;
    return entry;
}

MenuEntry MenuEntry::SubMenu(std::wstring text, std::vector<MenuEntry> children, WORD command) {
    MenuEntry entry;
    entry.kind = Kind::kSubMenu;
    entry.text = std::move(text);
    entry.command = command;
    entry.children = std::move(children);
    return entry;
}

std::wstring MenuNumberText(int number) {
    if (number >= 1 && number <= 9) return std::wstring(1, static_cast<wchar_t>(L'０' + number));
    return std::to_wstring(number);
}

std::wstring FavoritePlayText(int index, const std::wstring& name) {
    if (name.empty()) return kMenuFavorites + MenuNumberText(index + 1) + kMenuPlayFromSuffix;
    return L"\"" + name + L"\"" + kMenuPlayFromSuffix;
}

std::vector<MenuEntry> BuildPictureMenu(const PictureMenuState& state) {
    std::vector<MenuEntry> menu;
    menu.push_back(state.fullScreen ? MenuEntry::Item(kMenuWindowed, CMD_MENU_WINDOWED)
                                    : MenuEntry::Item(kMenuFullScreen, CMD_MENU_FULL_SCREEN));
    menu.push_back(MenuEntry::Separator());

    std::vector<MenuEntry> ratio;
    const wchar_t* ratioTexts[] = {kMenuRatioFitWidth, kMenuRatioFitHeight, kMenuRatioStretch, kMenuRatioNative};
    for (int mode = 0; mode <= CMD_RATIO_LAST - CMD_RATIO_FIRST; ++mode) {
        ratio.push_back(MenuEntry::Item(ratioTexts[mode], static_cast<WORD>(CMD_RATIO_FIRST + mode),
                                        state.outputRate == mode));
    }
    std::vector<MenuEntry> display;
    display.push_back(MenuEntry::Item(kMenuStripToPosition, CMD_STRIP_TO_POSITION));
    display.push_back(MenuEntry::Separator());
    display.push_back(state.borderless ? MenuEntry::Item(kMenuBorderlessOff, CMD_BORDERLESS_OFF)
                                       : MenuEntry::Item(kMenuBorderlessOn, CMD_BORDERLESS_ON));
    display.push_back(state.topmost ? MenuEntry::Item(kMenuTopmostOff, CMD_TOPMOST_OFF)
                                    : MenuEntry::Item(kMenuTopmostOn, CMD_TOPMOST_ON));
    display.push_back(state.transparent ? MenuEntry::Item(kMenuTransparentOff, CMD_TRANSPARENT_OFF)
                                        : MenuEntry::Item(kMenuTransparentOn, CMD_TRANSPARENT_ON));
    display.push_back(MenuEntry::Separator());
    display.push_back(MenuEntry::SubMenu(kMenuRatio, std::move(ratio)));
    menu.push_back(MenuEntry::SubMenu(kMenuDisplay, std::move(display)));
    menu.push_back(MenuEntry::Separator());

    std::vector<MenuEntry> favorites;
    for (size_t i = 0; i < state.favorites.size(); ++i) {
        if (!state.favorites[i].set) continue;
        favorites.push_back(MenuEntry::Item(FavoritePlayText(static_cast<int>(i), state.favorites[i].name),
                                            static_cast<WORD>(CMD_PLAY_FAVORITE_FIRST + i)));
    }
    menu.push_back(MenuEntry::SubMenu(kMenuFavorites, std::move(favorites)));
    menu.push_back(MenuEntry::Separator());

    if (state.fromAlbum) {
        std::vector<MenuEntry> stars;
        for (int count = 0; count <= CMD_STARS_LAST - CMD_STARS_FIRST; ++count) {
            std::wstring text = count == 0 ? std::wstring(L"☆") : std::wstring(static_cast<size_t>(count), L'★');
            stars.push_back(MenuEntry::Item(text, static_cast<WORD>(CMD_STARS_FIRST + count), state.starCount == count));
        }
        std::vector<MenuEntry> album;
        album.push_back(MenuEntry::Item(kMenuAddTags, CMD_ADD_TAGS));
        album.push_back(MenuEntry::Separator());
        album.push_back(MenuEntry::SubMenu(kMenuAlbumStars, std::move(stars), CMD_ALBUM_STARS_MENU));
        menu.push_back(MenuEntry::SubMenu(kMenuAlbum, std::move(album)));
    }
    menu.push_back(MenuEntry::Separator());
    menu.push_back(MenuEntry::Item(kMenuContentSettings, CMD_CONTENT_SETTINGS));
    menu.push_back(MenuEntry::Separator());
    menu.push_back(MenuEntry::Item(kMenuSupportSite, CMD_SUPPORT_SITE));
    menu.push_back(MenuEntry::Separator());
    menu.push_back(MenuEntry::Item(kMenuAppSettings, CMD_APP_SETTINGS));
    return menu;
}

std::vector<MenuEntry> BuildListItemMenu(bool inArchive, bool enableDelete) {
    std::vector<MenuEntry> menu;
    menu.push_back(MenuEntry::Item(inArchive ? kMenuListPlayFromArchive : kMenuListPlay, CMD_LIST_PLAY));
    menu.push_back(MenuEntry::Separator());
    menu.push_back(MenuEntry::Item(kMenuListOpenFolder, CMD_LIST_OPEN_FOLDER));
    menu.push_back(MenuEntry::Separator());
    menu.push_back(MenuEntry::Item(kMenuListExtract, CMD_LIST_EXTRACT));
    if (enableDelete) {
        menu.push_back(MenuEntry::Separator());
        menu.push_back(MenuEntry::Item(kMenuListDelete, CMD_LIST_DELETE));
    }
    return menu;
}

void ApplyCommandStates(const CommandRouter_CL& router, std::vector<MenuEntry>* entries) {
    for (MenuEntry& entry : *entries) {
        if (entry.kind == MenuEntry::Kind::kSubMenu) {
            ApplyCommandStates(router, &entry.children);
        } else if (entry.kind == MenuEntry::Kind::kItem) {
            entry.enabled = router.State(entry.command).enabled;
        }
    }
}

bool FillPopupMenu(const std::vector<MenuEntry>& entries, PopupMenu_CL* menu) {
    bool ok = true;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::kSeparator:
                ok &= menu->AddSeparator();
                break;
            case MenuEntry::Kind::kItem:
                ok &= menu->AddItem(entry.text, entry.command, entry.checked, entry.enabled);
                break;
            case MenuEntry::Kind::kSubMenu: {
                PopupMenu_CL* child = menu->AddSubMenu(entry.text, entry.command);
                if (!child) return false;
                ok &= FillPopupMenu(entry.children, child);
                break;
            }
        }
    }
    return ok;
}
