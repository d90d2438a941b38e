#include "app/commands/StripMenu.h"

#include <cwchar>
#include <string>
#include <utility>

#include "app/commands/MenuTexts.h"
#include "base/CommandIds.h"

namespace {
// "オープニングフレーム", "エンディングフレーム", "ＣＭフレーム１" ... "ＣＭフレーム10".
std::wstring SkipRangeName(int range) {
    if (range == 0) return kMenuOpeningFrame;
    if (range == 1) return kMenuEndingFrame;
    return kMenuCommercialFrame + MenuNumberText(range - 1);
}

std::wstring MoveToSkipText(int range) {
    if (range == 0) return kMenuMoveToOpening;
    if (range == 1) return kMenuMoveToEnding;
    wchar_t text[64];
    std::swprintf(text, 64, kMenuMoveToCommercialFormat, range - 1);
    return text;
}

MenuEntry Greyed(MenuEntry entry, bool enabled) {
    entry.enabled = enabled;
    return entry;
}
}  // namespace

std::vector<MenuEntry> BuildStripMenu(const StripMenuState& state) {
    std::vector<MenuEntry> menu;
    menu.push_back(MenuEntry::Item(kMenuStripToPosition, CMD_STRIP_TO_POSITION));

    std::vector<MenuEntry> moveToFavorite;
    for (int i = 0; i < kFavoriteCommandCount; ++i) {
        moveToFavorite.push_back(MenuEntry::Item(kMenuFavorites + MenuNumberText(i + 1) + kMenuMoveToSuffix,
                                                 static_cast<WORD>(CMD_MOVE_TO_FAVORITE_FIRST + i)));
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripMoveToFavorite, std::move(moveToFavorite)));

    std::vector<MenuEntry> moveToSkip;
    for (int range = 0; range < kSkipRangeCommandCount; ++range) {
        moveToSkip.push_back(MenuEntry::Item(MoveToSkipText(range), static_cast<WORD>(CMD_MOVE_TO_SKIP_FIRST + range)));
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripMoveToSkip, std::move(moveToSkip)));

    std::vector<MenuEntry> intervals;
    for (size_t i = 0; i < state.intervalSeconds.size(); ++i) {
        intervals.push_back(MenuEntry::Item(std::to_wstring(state.intervalSeconds[i]) + kMenuIntervalSuffix,
                                            static_cast<WORD>(CMD_THUMB_INTERVAL_FIRST + i),
                                            state.intervalIndex == static_cast<int>(i)));
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripInterval, std::move(intervals)));

    std::vector<MenuEntry> sizes;
    const wchar_t* sizeTexts[] = {kMenuCellSizeSmall, kMenuCellSizeMedium, kMenuCellSizeLarge};
    for (int size = 0; size <= CMD_THUMB_SIZE_LAST - CMD_THUMB_SIZE_FIRST; ++size) {
        sizes.push_back(MenuEntry::Item(sizeTexts[size], static_cast<WORD>(CMD_THUMB_SIZE_FIRST + size),
                                        state.cellSizeIndex == size));
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripCellSize, std::move(sizes)));

    // A set favourite or range offers its cancel item instead; cancelling needs no selection.
    std::vector<MenuEntry> favorites;
    for (int i = 0; i < kFavoriteCommandCount; ++i) {
        std::wstring name = kMenuFavorites + MenuNumberText(i + 1);
        if (state.favoritesSet[static_cast<size_t>(i)]) {
            favorites.push_back(MenuEntry::Item(name + kMenuCancelSuffix, static_cast<WORD>(CMD_CLEAR_FAVORITE_FIRST + i)));
        } else {
            favorites.push_back(Greyed(MenuEntry::Item(name + kMenuSetSuffix, static_cast<WORD>(CMD_SET_FAVORITE_FIRST + i)),
                                       state.hasSelection));
        }
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripSetFavorite, std::move(favorites)));

    std::vector<MenuEntry> skipRanges;
    for (int range = 0; range < kSkipRangeCommandCount; ++range) {
        if (state.skipRangesSet[static_cast<size_t>(range)]) {
            skipRanges.push_back(MenuEntry::Item(SkipRangeName(range) + kMenuCancelSuffix,
                                                 static_cast<WORD>(CMD_CLEAR_SKIP_FIRST + range)));
        } else {
            skipRanges.push_back(Greyed(MenuEntry::Item(SkipRangeName(range) + kMenuSetSuffix,
                                                        static_cast<WORD>(CMD_SET_SKIP_FIRST + range)),
                                        state.hasSelection));
        }
    }
    menu.push_back(MenuEntry::SubMenu(kMenuStripSetSkip, std::move(skipRanges)));

    menu.push_back(state.loopOn ? MenuEntry::Item(kMenuLoopEnd, CMD_LOOP_END)
                                : Greyed(MenuEntry::Item(kMenuLoopStart, CMD_LOOP_START), state.hasSelection));
    return menu;
}
