#pragma once
// The thumbnail strip's context menu as a value (see MenuModel.h): move to the play position,
// to a favourite or to a skip range; the thumbnail interval and size; set or cancel the
// favourites and skip ranges from the selected thumbnails; start or end the A-B loop.
// Thread: any (plain values).

#include <array>
#include <vector>

#include "app/commands/MenuModel.h"

// What the strip menu shows depends on.
struct StripMenuState {
    // THUMB_MENU: the six thumbnail intervals in seconds, and frame_time_index, the current one.
    std::array<int, 6> intervalSeconds{1, 5, 10, 15, 30, 60};
    int intervalIndex = 2;
    int cellSizeIndex = 2;  // small_image_size: 0 small, 1 medium, 2 large
    // Favourites 1 ... 10 and the skip ranges (0 opening, 1 ending, 2 ... 11 CM 1 ... 10) of
    // the current content that are set: their items cancel rather than set.
    std::array<bool, 10> favoritesSet{};
    std::array<bool, 12> skipRangesSet{};
    bool loopOn = false;  // the A-B loop runs
    // Whether the strip has selected thumbnails (it has none while it has no cells): without,
    // the items that set a favourite, a skip range or the loop from the selection are greyed.
    bool hasSelection = true;
};

std::vector<MenuEntry> BuildStripMenu(const StripMenuState& state);
