#include "app/playlist/PlayListRules.h"

#include <algorithm>

#include "intake/FileExtension.h"

PlayListToolState PlayListToolStateOf(const PlayListToolFacts& facts) {
    const bool any = facts.rowCount > 0;
    const bool single = any && facts.selectedCount <= 1;
    const int s = facts.firstSelected;
    PlayListToolState state;
    state.save = any && facts.anyOutsideArchive;
    state.moveUp = single && s > 0;
    state.moveDown = single && s >= 0 && s < facts.rowCount - 1;
    state.previous = any;
    state.next = any;
    state.play = single && s >= 0;
    state.shuffle = facts.rowCount >= 2;
    state.deleteChecked = facts.checkedCount > 0;
    return state;
}

SortChoice SortChoiceOnClick(int currentColumn, int currentDirection, int clickedColumn) {
    constexpr int kAscending = 1, kDescending = 2, kNone = -1;
    SortChoice choice;
    choice.column = clickedColumn;
    if (clickedColumn == currentColumn) {
        choice.direction = currentDirection == kAscending ? kDescending : kAscending;
    } else {
        choice.direction = kAscending;
        if (currentDirection != kNone) choice.clearArrowOf = currentColumn;
    }
    return choice;
}

DialogDropAction DialogDropActionOf(const std::wstring& lowerExtension, bool isFolder,
                                    const std::vector<std::wstring>& playable) {
    if (isFolder || IsListOrArchiveExtension(lowerExtension)) return DialogDropAction::kTakeInWhole;
    if (!lowerExtension.empty() && std::find(playable.begin(), playable.end(), lowerExtension) != playable.end()) {
        return DialogDropAction::kAppend;
    }
    return DialogDropAction::kIgnore;
}

PlayListSaveFormat SaveFormatOf(const std::wstring& path) {
    const std::wstring extension = LowerExtensionOf(path);
    if (extension == L".playlist") return PlayListSaveFormat::kText;
    if (extension == L".asx" || extension == L".wvx" || extension == L".wax") return PlayListSaveFormat::kAsx;
    return PlayListSaveFormat::kNone;
}
