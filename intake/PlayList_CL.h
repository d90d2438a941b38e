#pragma once
// The play list: the ordered entries the player works through, and the index of the entry that
// playing on takes next. The entry before that index (the last entry when it is 0) counts as
// the one played last; reordering keeps playback going on after that entry.
// The main window owns the one instance for the life of the process.
// Thread: UI for every method.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "intake/PlayListItem.h"

class PlayList_CL {
public:
    // The list columns, in the order the play list dialog shows them.
    enum Column : int {
        kColumnName = 0,      // display name, natural order
        kColumnExtension = 1, // ordinal
        kColumnStars = 2,     // integer
        kColumnSize = 3,      // 64-bit integer
        kColumnModified = 4,  // 64-bit integer
        kColumnFolder = 5,    // folder part of the path, ordinal
    };
    static constexpr int kColumnCount = 6;
    static constexpr int kSortNone = -1;
    static constexpr int kSortAscending = 1;
    static constexpr int kSortDescending = 2;

    // Looks up a movie's content record without creating one and without counting a play:
    // true with the record's name and star rating when the movie has a record.
    using RecordLookup =
        std::function<bool(const std::wstring& moviePath, std::wstring* contentName, int* starCount)>;
    // A random draw as rand() gives one: non-negative.
    using RandomDraw = std::function<int()>;

    // --- entries ---
    size_t Count() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    const std::vector<PlayListItem>& Items() const { return m_items; }
    const PlayListItem& At(size_t index) const { return m_items[index]; }

    // Appends an entry for the path: display name and extension from the path alone, nothing
    // read from the file system (a folder scan may append thousands).
    void AppendPath(const std::wstring& path);
    // Appends an entry made elsewhere (archive entries, entries of a play list file).
    void Append(PlayListItem item);
    // Removes every entry, which releases the entries' hold on their archives; next index 0;
    // the list is no longer the source of the current content.
    void Clear();
    // Takes a new set of entries (the dialog writes its working copy back this way), clamps
    // the next index and re-anchors.
    void ReplaceItems(std::vector<PlayListItem> items);

    // --- next index ---
    int NextIndex() const { return m_nextIndex; }
    void SetNextIndex(int index) { m_nextIndex = index; }
    // An index not below the count becomes count - 1 (0 for an empty list); a negative one 0.
    void ClampNextIndex();
    // Content loading: copies the entry at the next index and advances the index. An index
    // left outside the list starts the list again at entry 0. False for an empty list.
    bool TakeNextEntry(PlayListItem* entry);
    // End of playback: true when playing on has an entry to take, that is when the next index
    // is inside the list, or when it has run past the end of the list that is the source of
    // the current content with repeat on (the index then goes back to 0).
    bool PrepareContinuation();
    // The dialog's "previous": index next - 2, or the last entry when that is negative.
    // -1 for an empty list.
    int PreviousPlayIndex() const;
    // The dialog's "next": the next index when it is inside the list, else 0. -1 when empty.
    int NextPlayIndex() const;

    // --- flags ---
    // Set by every change of order or content; the dialog rebuilds its rows when it takes it.
    bool IsChanged() const { return m_changed; }
    void SetChanged() { m_changed = true; }
    // Returns the flag and clears it.
    bool TakeChanged();
    // Repeat the list when it runs out (the loop-play setting, or "/Loop").
    bool Repeat() const { return m_repeat; }
    void SetRepeat(bool repeat) { m_repeat = repeat; }
    // The current content was taken from this list.
    bool IsSource() const { return m_source; }
    void SetSource(bool source) { m_source = source; }
    // Set by the text play list reader when it leaves more than one entry.
    bool SeveralItems() const { return m_severalItems; }
    void SetSeveralItems(bool several) { m_severalItems = several; }
    int SortColumn() const { return m_sortColumn; }
    int SortDirection() const { return m_sortDirection; }

    // --- reordering ---
    // Marks the entry played last before a reordering. With next index 0 that is the last
    // entry, and the next index becomes count - 1.
    void Anchor();
    // After a reordering: sets the changed flag; the first marked entry loses its mark and the
    // next index points behind it (0 past the end). Without a marked entry the index stays.
    void Reanchor();
    // Where each entry came from after a reordering: the entry now at i was at order[i]. The
    // play list dialog carries its rows' check marks along with it.
    using Order = std::vector<size_t>;
    // Sorts by a column in a direction (kSortAscending or kSortDescending), anchored; equal
    // entries keep their order. Other columns or directions change nothing (empty order).
    Order Sort(int column, int direction);
    // 2 x count random swaps (a draw of the same index twice swaps nothing), then next index 0,
    // anchored.
    Order Shuffle(const RandomDraw& draw);
    // Moves the entry at index one place earlier (delta -1) or later (+1), anchored. False,
    // changing nothing, when it would leave the list.
    bool MoveEntry(size_t index, int delta);
    // Removes the entries at the indexes (any order; repeated and outside ones are ignored).
    // The next index keeps pointing at the same entry when that entry stays, else at the one
    // after the removed run; then it is clamped. Returns how many went.
    size_t RemoveEntries(const std::vector<size_t>& indexes);
    // Removes every entry whose path is one of paths (compared without case): rows removed
    // after something asynchronous are found by what they are, not where they were.
    size_t RemovePaths(const std::vector<std::wstring>& paths);

    // --- row information ---
    // Fills name, extension, size, modification time and star rating of every entry with a
    // non-empty path that is not an archive entry (an archive entry's size and time come from
    // the archive, and its unpack path may not exist yet).
    void FillItemInfo(const RecordLookup& lookup);
    // The same for the entries never filled yet (no size and no time), as the rows of a list
    // read from a file or a folder scan come.
    void FillMissingItemInfo(const RecordLookup& lookup);
    // The same for one entry. Network paths are not touched on the user-interface thread:
    // their size stays unknown and their time 0. Folders get no size and no record lookup.
    static void FillItemInfo(PlayListItem& item, const RecordLookup& lookup);

    // Pure: the sort order of two entries by a column, ascending (negative, 0, positive).
    static int CompareByColumn(const PlayListItem& a, const PlayListItem& b, int column);

private:
    void ApplyOrder(const Order& order);

    std::vector<PlayListItem> m_items;
    int m_nextIndex = 0;
    bool m_changed = false;
    bool m_repeat = false;
    bool m_source = false;
    bool m_severalItems = false;
    int m_sortColumn = kColumnName;
    int m_sortDirection = kSortNone;
};
