#pragma once
// The play list dialog's rules with no window: which tool-bar buttons may be pressed, what a
// click on a column header sorts, what a file dropped on the dialog becomes, and which format
// a saved list takes.
// Pure. Thread: any.

#include <string>
#include <vector>

// What the buttons depend on.
struct PlayListToolFacts {
    int rowCount = 0;
    int firstSelected = -1;  // -1 when no row is selected
    int selectedCount = 0;
    int checkedCount = 0;
    bool anyOutsideArchive = false;  // at least one entry is a file of its own (it can be saved)
};

struct PlayListToolState {
    bool save = false;
    bool moveUp = false;
    bool moveDown = false;
    bool previous = false;
    bool play = false;
    bool next = false;
    bool shuffle = false;
    bool deleteChecked = false;
};

PlayListToolState PlayListToolStateOf(const PlayListToolFacts& facts);

// A click on a column header: the clicked column's direction (the current column toggles
// between ascending and descending, another starts ascending) and the column whose arrow must
// go (-1 for none).
struct SortChoice {
    int column = 0;
    int direction = 1;
    int clearArrowOf = -1;
};
SortChoice SortChoiceOnClick(int currentColumn, int currentDirection, int clickedColumn);

// What a path dropped on the dialog becomes.
enum class DialogDropAction {
    kTakeInWhole,  // a play list, an archive or a folder: file intake loads its movies
    kAppend,       // a movie of a listed extension: one more row
    kIgnore,       // anything else
};
// lowerExtension as LowerExtensionOf gives it; playable: the drop-extension list.
DialogDropAction DialogDropActionOf(const std::wstring& lowerExtension, bool isFolder,
                                    const std::vector<std::wstring>& playable);

enum class PlayListSaveFormat { kNone, kText, kAsx };
// By the chosen file's extension: ".playlist" text, ".asx" ".wvx" ".wax" ASX, else nothing.
PlayListSaveFormat SaveFormatOf(const std::wstring& path);
