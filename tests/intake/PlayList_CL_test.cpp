// The play list model: next-entry index, continuation and repeat, anchoring across reordering,
// sorting, shuffling, clearing and the row information.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "intake/PlayList_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

PlayList_CL ListOf(const std::vector<std::wstring>& paths) {
    PlayList_CL list;
    for (const std::wstring& path : paths) list.AppendPath(path);
    return list;
}

std::vector<std::wstring> PathsOf(const PlayList_CL& list) {
    std::vector<std::wstring> paths;
    for (const PlayListItem& item : list.Items()) paths.push_back(item.path);
    return paths;
}

PlayListItem Row(const wchar_t* path, const wchar_t* name, const wchar_t* ext, int stars,
                 int64_t size, uint64_t time) {
    PlayListItem item;
    item.path = path;
    item.displayName = name;
    item.extension = ext;
    item.starCount = stars;
    item.fileSize = size;
    item.modifiedFileTime = time;
    return item;
}

TEST(PlayList, AppendPathTakesNameAndExtensionFromThePath) {
    PlayList_CL list;
    EXPECT_FALSE(list.IsChanged());
    list.AppendPath(L"D:\\動画\\第1話.MP4");
    list.AppendPath(L"D:\\v1.2\\movie");
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0).displayName, L"第1話");
    EXPECT_EQ(list.At(0).extension, L".MP4");
    EXPECT_EQ(list.At(0).inArchive, 0);
    EXPECT_EQ(list.At(0).fileSize, kFileSizeUnknown);
    EXPECT_EQ(list.At(1).displayName, L"movie");
    EXPECT_EQ(list.At(1).extension, L".2\\movie");
    EXPECT_TRUE(list.TakeChanged());
    EXPECT_FALSE(list.TakeChanged());
}

TEST(PlayList, TakeNextEntryAdvancesThroughTheList) {
    PlayList_CL list = ListOf({L"a.mp4", L"b.mp4", L"c.mp4"});
    PlayListItem entry;
    std::vector<std::wstring> taken;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(list.TakeNextEntry(&entry));
        taken.push_back(entry.path);
    }
    EXPECT_EQ(taken, (std::vector<std::wstring>{L"a.mp4", L"b.mp4", L"c.mp4"}));
    EXPECT_EQ(list.NextIndex(), 3);  // past the end: nothing wraps until the list is asked to go on
    // A load that still asks for an entry starts the list again.
    ASSERT_TRUE(list.TakeNextEntry(&entry));
    EXPECT_EQ(entry.path, L"a.mp4");
    EXPECT_EQ(list.NextIndex(), 1);

    PlayList_CL empty;
    EXPECT_FALSE(empty.TakeNextEntry(&entry));
    EXPECT_EQ(empty.NextIndex(), 0);
}

TEST(PlayList, ContinuationWrapsOnlyForARepeatingSourceList) {
    struct {
        int count;
        int next;
        bool source;
        bool repeat;
        bool goesOn;
        int nextAfter;
    } cases[] = {
        {3, 0, false, false, true, 0},
        {3, 2, true, false, true, 2},
        {3, 3, true, false, false, 3},   // ran out, no repeat
        {3, 3, false, true, false, 3},   // repeat, but the content did not come from the list
        {3, 3, true, true, true, 0},     // ran out with repeat: back to the first entry
        {3, 7, true, true, true, 0},
        {1, 1, true, true, true, 0},
        {0, 0, true, true, false, 0},    // an empty list never goes on
    };
    for (const auto& c : cases) {
        PlayList_CL list;
        for (int i = 0; i < c.count; ++i) list.AppendPath(L"m" + std::to_wstring(i) + L".mp4");
        list.SetNextIndex(c.next);
        list.SetSource(c.source);
        list.SetRepeat(c.repeat);
        EXPECT_EQ(list.PrepareContinuation(), c.goesOn) << c.count << " " << c.next;
        EXPECT_EQ(list.NextIndex(), c.nextAfter) << c.count << " " << c.next;
    }
}

TEST(PlayList, PlayingThroughWithRepeatGoesRoundAgain) {
    PlayList_CL list = ListOf({L"a.mp4", L"b.mp4"});
    list.SetRepeat(true);
    std::vector<std::wstring> played;
    PlayListItem entry;
    ASSERT_TRUE(list.TakeNextEntry(&entry));
    list.SetSource(true);
    played.push_back(entry.path);
    for (int i = 0; i < 4 && list.PrepareContinuation(); ++i) {
        ASSERT_TRUE(list.TakeNextEntry(&entry));
        played.push_back(entry.path);
    }
    EXPECT_EQ(played, (std::vector<std::wstring>{L"a.mp4", L"b.mp4", L"a.mp4", L"b.mp4", L"a.mp4"}));

    list.SetRepeat(false);
    list.SetNextIndex(1);
    ASSERT_TRUE(list.PrepareContinuation());
    ASSERT_TRUE(list.TakeNextEntry(&entry));
    EXPECT_FALSE(list.PrepareContinuation());  // without repeat playing stops after the last entry
}

TEST(PlayList, PreviousAndNextIndexRules) {
    struct {
        int next;
        int previous;
        int nextPlay;
    } cases[] = {
        {0, 3, 0},  // nothing played yet: previous is the last entry
        {1, 3, 1},  // previous from next index 1 plays the last entry
        {2, 0, 2},
        {4, 2, 0},  // next past the end starts again at 0
        {9, 3, 0},
    };
    PlayList_CL list = ListOf({L"a", L"b", L"c", L"d"});
    for (const auto& c : cases) {
        list.SetNextIndex(c.next);
        EXPECT_EQ(list.PreviousPlayIndex(), c.previous) << c.next;
        EXPECT_EQ(list.NextPlayIndex(), c.nextPlay) << c.next;
    }
    PlayList_CL empty;
    EXPECT_EQ(empty.PreviousPlayIndex(), -1);
    EXPECT_EQ(empty.NextPlayIndex(), -1);
}

TEST(PlayList, ClearReleasesTheArchivesOfItsEntries) {
    // The archive itself is another component's; an aliasing pointer shares the count of a
    // stand-in owner, so the test sees exactly when the list lets go.
    auto owner = std::make_shared<int>(0);
    std::weak_ptr<int> watch = owner;
    PlayList_CL list;
    for (int i = 0; i < 3; ++i) {
        PlayListItem item;
        item.inArchive = 1;
        item.archive = std::shared_ptr<Zip_CL>(owner, nullptr);
        item.archiveRecordIndex = static_cast<uint32_t>(i);
        item.path = L"C:\\zip\\clip" + std::to_wstring(i) + L".mp4";
        list.Append(item);
    }
    list.AppendPath(L"D:\\plain.mp4");
    list.SetNextIndex(2);
    list.SetSource(true);
    EXPECT_EQ(owner.use_count(), 4);

    PlayListItem kept = list.At(1);  // a copy made for playing holds the archive as well
    owner.reset();
    EXPECT_FALSE(watch.expired());

    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.NextIndex(), 0);
    EXPECT_FALSE(list.IsSource());
    EXPECT_TRUE(list.IsChanged());
    EXPECT_FALSE(watch.expired());
    kept = PlayListItem();
    EXPECT_TRUE(watch.expired());
}

TEST(PlayList, ReplaceItemsClampsTheNextIndex) {
    struct {
        int next;
        int count;
        int expected;
    } cases[] = {{5, 3, 2}, {3, 3, 2}, {2, 3, 2}, {0, 3, 0}, {4, 0, 0}, {-2, 2, 0}};
    for (const auto& c : cases) {
        PlayList_CL list = ListOf({L"a", L"b", L"c", L"d", L"e", L"f"});
        list.SetNextIndex(c.next);
        std::vector<PlayListItem> items(list.Items().begin(), list.Items().begin() + c.count);
        list.TakeChanged();
        list.ReplaceItems(items);
        EXPECT_EQ(list.Count(), static_cast<size_t>(c.count));
        EXPECT_EQ(list.NextIndex(), c.expected) << c.next << " " << c.count;
        EXPECT_TRUE(list.IsChanged());
    }
}

TEST(PlayList, ReplaceItemsFollowsTheAnchoredEntry) {
    // The dialog moves the entry played last (b) to the end of its working copy.
    PlayList_CL list = ListOf({L"a", L"b", L"c", L"d"});
    list.SetNextIndex(2);
    list.Anchor();
    std::vector<PlayListItem> items = list.Items();
    PlayListItem moved = items[1];
    items.erase(items.begin() + 1);
    items.push_back(moved);
    list.ReplaceItems(items);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"a", L"c", L"d", L"b"}));
    EXPECT_EQ(list.NextIndex(), 0);  // behind the last entry: wraps to the first
    for (const PlayListItem& item : list.Items()) EXPECT_EQ(item.anchorMark, 0);
}

TEST(PlayList, SortKeepsPlaybackGoingOnAfterTheEntryPlayedLast) {
    // b was played last (next index 2); after sorting by name descending playback goes on
    // after b wherever it landed.
    PlayList_CL list = ListOf({L"D:\\a.mp4", L"D:\\b.mp4", L"D:\\c.mp4", L"D:\\d.mp4"});
    list.SetNextIndex(2);
    list.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortDescending);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"D:\\d.mp4", L"D:\\c.mp4", L"D:\\b.mp4", L"D:\\a.mp4"}));
    EXPECT_EQ(list.NextIndex(), 3);
    EXPECT_EQ(list.SortColumn(), PlayList_CL::kColumnName);
    EXPECT_EQ(list.SortDirection(), PlayList_CL::kSortDescending);
}

TEST(PlayList, WithNextIndexZeroTheLastEntryIsTheAnchor) {
    // Nothing played yet counts as the last entry played: after reordering, playback goes on
    // after wherever that entry went.
    PlayList_CL list = ListOf({L"c", L"a", L"b"});
    list.SetNextIndex(0);
    list.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortAscending);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(list.NextIndex(), 2);  // after "b", the anchored last entry

    PlayList_CL ending = ListOf({L"b", L"a", L"c"});
    ending.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortAscending);
    EXPECT_EQ(ending.NextIndex(), 0);  // the anchor stayed last: playback continues with entry 0
}

TEST(PlayList, MovingAnEntryKeepsPlaybackAfterTheEntryPlayedLast) {
    struct {
        int next;
        size_t index;
        int delta;
        bool moved;
        std::vector<std::wstring> order;
        int expectedNext;
    } cases[] = {
        // b played last (next 2): moving b up keeps c next.
        {2, 1, -1, true, {L"b", L"a", L"c"}, 1},
        // b played last: moving c above b makes a-c-b, and playing goes on after b: wraps.
        {2, 2, -1, true, {L"a", L"c", L"b"}, 0},
        // Nothing played (next 0): the last entry is the anchor.
        {0, 0, 1, true, {L"b", L"a", L"c"}, 0},
        {1, 0, -1, false, {L"a", L"b", L"c"}, 1},  // the first cannot go up
        {1, 2, 1, false, {L"a", L"b", L"c"}, 1},   // the last cannot go down
        {1, 7, 1, false, {L"a", L"b", L"c"}, 1},   // outside the list
    };
    for (const auto& c : cases) {
        PlayList_CL list = ListOf({L"a", L"b", L"c"});
        list.SetNextIndex(c.next);
        list.TakeChanged();
        EXPECT_EQ(list.MoveEntry(c.index, c.delta), c.moved) << c.index << " " << c.delta;
        EXPECT_EQ(PathsOf(list), c.order) << c.index << " " << c.delta;
        EXPECT_EQ(list.NextIndex(), c.expectedNext) << c.index << " " << c.delta;
        EXPECT_EQ(list.TakeChanged(), c.moved);
        for (const PlayListItem& item : list.Items()) EXPECT_EQ(item.anchorMark, 0);
    }
}

TEST(PlayList, RemovingEntriesKeepsTheNextEntryAndFindsPathsWithoutCase) {
    PlayList_CL list = ListOf({L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d", L"C:\\e"});
    list.SetNextIndex(3);  // d is next
    EXPECT_EQ(list.RemoveEntries({0, 2, 2, 99}), 2u);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"C:\\b", L"C:\\d", L"C:\\e"}));
    EXPECT_EQ(list.NextIndex(), 1) << "d stays next";
    // The next entry itself removed: the one after it is next.
    EXPECT_EQ(list.RemovePaths({L"c:\\D"}), 1u);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"C:\\b", L"C:\\e"}));
    EXPECT_EQ(list.NextIndex(), 1);
    // The tail removed: the index is held inside the list; everything removed: 0.
    EXPECT_EQ(list.RemovePaths({L"C:\\E"}), 1u);
    EXPECT_EQ(list.NextIndex(), 0);
    EXPECT_EQ(list.RemovePaths({L"C:\\nothing"}), 0u);
    EXPECT_EQ(list.RemoveEntries({0}), 1u);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.NextIndex(), 0);
}

TEST(PlayList, ReorderingsTellWhereEachEntryCameFrom) {
    PlayList_CL list = ListOf({L"D:\\c.mp4", L"D:\\a.mp4", L"D:\\b.mp4"});
    EXPECT_EQ(list.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortAscending), (PlayList_CL::Order{1, 2, 0}));
    EXPECT_TRUE(list.Sort(PlayList_CL::kColumnName, 7).empty());
    PlayList_CL shuffled = ListOf({L"x", L"y", L"z"});
    const std::vector<std::wstring> before = PathsOf(shuffled);
    const PlayList_CL::Order order = shuffled.Shuffle([] { return std::rand(); });
    ASSERT_EQ(order.size(), 3u);
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(shuffled.At(i).path, before[order[i]]);
}

TEST(PlayList, SortsByEveryColumnInBothDirections) {
    std::vector<PlayListItem> rows = {
        Row(L"D:\\b\\ep10.mp4", L"ep10", L".mp4", 3, 300, 30),
        Row(L"D:\\a\\ep2.MKV", L"ep2", L".MKV", 5, 100, 20),
        Row(L"D:\\c\\ep1.avi", L"ep1", L".avi", 0, 200, 10),
    };
    struct {
        int column;
        std::vector<std::wstring> ascending;  // display names in order
    } cases[] = {
        {PlayList_CL::kColumnName, {L"ep1", L"ep2", L"ep10"}},
        {PlayList_CL::kColumnExtension, {L"ep2", L"ep1", L"ep10"}},  // ordinal: ".MKV" < ".avi"
        {PlayList_CL::kColumnStars, {L"ep1", L"ep10", L"ep2"}},
        {PlayList_CL::kColumnSize, {L"ep2", L"ep1", L"ep10"}},
        {PlayList_CL::kColumnModified, {L"ep1", L"ep2", L"ep10"}},
        {PlayList_CL::kColumnFolder, {L"ep2", L"ep10", L"ep1"}},
    };
    for (const auto& c : cases) {
        for (int direction : {PlayList_CL::kSortAscending, PlayList_CL::kSortDescending}) {
            PlayList_CL list;
            list.ReplaceItems(rows);
            list.Sort(c.column, direction);
            std::vector<std::wstring> names;
            for (const PlayListItem& item : list.Items()) names.push_back(item.displayName);
            std::vector<std::wstring> expected = c.ascending;
            if (direction == PlayList_CL::kSortDescending) expected.assign(c.ascending.rbegin(), c.ascending.rend());
            EXPECT_EQ(names, expected) << "column " << c.column << " direction " << direction;
        }
    }
}

TEST(PlayList, SortKeepsEqualEntriesInTheirOrderAndIgnoresBadArguments) {
    PlayList_CL list;
    list.ReplaceItems({Row(L"x1", L"same", L"", 0, 0, 0), Row(L"x2", L"b", L"", 0, 0, 0),
                       Row(L"x3", L"same", L"", 0, 0, 0), Row(L"x4", L"ｓａｍｅ", L"", 0, 0, 0)});
    list.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortAscending);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"x2", L"x1", L"x3", L"x4"}));
    list.Sort(PlayList_CL::kColumnName, PlayList_CL::kSortDescending);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"x1", L"x3", L"x4", L"x2"}));

    const std::vector<std::wstring> before = PathsOf(list);
    list.TakeChanged();
    list.Sort(6, PlayList_CL::kSortAscending);
    list.Sort(-1, PlayList_CL::kSortAscending);
    list.Sort(PlayList_CL::kColumnSize, PlayList_CL::kSortNone);
    EXPECT_EQ(PathsOf(list), before);
    EXPECT_FALSE(list.IsChanged());
    EXPECT_EQ(list.SortDirection(), PlayList_CL::kSortDescending);
}

// Hands out scripted draws and counts them.
struct ScriptedDraw {
    std::deque<int> values;
    int calls = 0;
    int operator()() {
        ++calls;
        if (values.empty()) return 0;
        int v = values.front();
        values.pop_front();
        return v;
    }
};

TEST(PlayList, ShuffleDrawsTwiceThePairsOfTheCount) {
    PlayList_CL one = ListOf({L"only"});
    auto drawOne = std::make_shared<ScriptedDraw>();
    one.Shuffle([drawOne] { return (*drawOne)(); });
    EXPECT_EQ(drawOne->calls, 4);  // 2 x 1 rounds of two draws
    EXPECT_EQ(PathsOf(one), std::vector<std::wstring>{L"only"});
    EXPECT_EQ(one.NextIndex(), 0);

    // Two entries: four rounds. (0,1) swaps, (1,1) does not, (3,0) and (5,2) swap again, as
    // draws are taken modulo the count.
    PlayList_CL two = ListOf({L"a", L"b"});
    auto drawTwo = std::make_shared<ScriptedDraw>();
    drawTwo->values = {0, 1, 1, 1, 3, 0, 5, 2};
    two.Shuffle([drawTwo] { return (*drawTwo)(); });
    EXPECT_EQ(drawTwo->calls, 8);
    EXPECT_EQ(PathsOf(two), (std::vector<std::wstring>{L"b", L"a"}));
    // With next index 0 the last entry ("b") was the anchor; it is now first, so "a" is next.
    EXPECT_EQ(two.NextIndex(), 1);

    PlayList_CL empty;
    auto drawNone = std::make_shared<ScriptedDraw>();
    empty.Shuffle([drawNone] { return (*drawNone)(); });
    EXPECT_EQ(drawNone->calls, 0);
}

TEST(PlayList, ShuffleWithRandKeepsEveryEntry) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < 50; ++i) paths.push_back(L"m" + std::to_wstring(i));
    PlayList_CL list = ListOf(paths);
    list.SetNextIndex(10);
    const std::wstring anchor = list.At(9).path;
    list.Shuffle([] { return std::rand(); });
    std::vector<std::wstring> after = PathsOf(list);
    std::sort(after.begin(), after.end());
    std::vector<std::wstring> sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(after, sorted);
    int next = list.NextIndex();
    ASSERT_GE(next, 0);
    ASSERT_LT(next, 50);
    EXPECT_EQ(list.At(static_cast<size_t>(next == 0 ? 49 : next - 1)).path, anchor);
}

TEST(PlayList, FillItemInfoReadsFilesAndRecords) {
    TempFolder_CL folder;
    const std::wstring movie = folder.Join(L"第2話.Mp4");
    ASSERT_TRUE(WriteFileBytes(movie, std::string(1234, 'x')));
    const std::wstring noRecord = folder.Join(L"plain.avi");
    ASSERT_TRUE(WriteFileBytes(noRecord, "abc"));
    const std::wstring sub = folder.Join(L"フォルダ.v2");
    ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
    const std::wstring missing = folder.Join(L"gone.mkv");

    PlayList_CL list;
    for (const std::wstring& path : {movie, noRecord, sub, missing, std::wstring(L"\\\\server\\share\\net.mp4"),
                                     std::wstring()}) {
        list.AppendPath(path);
    }
    PlayListItem archived;
    archived.inArchive = 1;
    archived.path = folder.Join(L"zip\\clip.mp4");
    archived.displayName = L"clip";
    archived.fileSize = 777;
    archived.modifiedFileTime = 42;
    list.Append(archived);

    std::vector<std::wstring> looked;
    list.FillItemInfo([&](const std::wstring& path, std::wstring* name, int* stars) {
        looked.push_back(path);
        if (path != movie) return false;
        *name = L"第二話 タイトル";
        *stars = 4;
        return true;
    });

    // Folders, network paths, empty paths and archive entries are never looked up.
    EXPECT_EQ(looked, (std::vector<std::wstring>{movie, noRecord, missing}));

    const PlayListItem& m = list.At(0);
    EXPECT_EQ(m.displayName, L"第二話 タイトル");
    EXPECT_EQ(m.extension, L".Mp4");
    EXPECT_EQ(m.starCount, 4);
    EXPECT_EQ(m.fileSize, 1234);
    EXPECT_NE(m.modifiedFileTime, 0u);

    EXPECT_EQ(list.At(1).displayName, L"plain");
    EXPECT_EQ(list.At(1).starCount, 0);
    EXPECT_EQ(list.At(1).fileSize, 3);

    EXPECT_EQ(list.At(2).displayName, L"フォルダ");
    EXPECT_EQ(list.At(2).fileSize, kFileSizeUnknown);
    EXPECT_NE(list.At(2).modifiedFileTime, 0u);

    EXPECT_EQ(list.At(3).fileSize, kFileSizeUnknown);
    EXPECT_EQ(list.At(3).modifiedFileTime, 0u);

    EXPECT_EQ(list.At(4).displayName, L"net");
    EXPECT_EQ(list.At(4).fileSize, kFileSizeUnknown);
    EXPECT_EQ(list.At(4).modifiedFileTime, 0u);

    EXPECT_EQ(list.At(6).fileSize, 777);  // what the archive said stays
    EXPECT_EQ(list.At(6).modifiedFileTime, 42u);
    EXPECT_EQ(list.At(6).displayName, L"clip");
}

TEST(PlayList, ARecordWithoutANameKeepsTheFileName) {
    PlayListItem item;
    item.path = L"C:\\nowhere\\ep3.mp4";
    PlayList_CL::FillItemInfo(item, [](const std::wstring&, std::wstring* name, int* stars) {
        name->clear();
        *stars = 2;
        return true;
    });
    EXPECT_EQ(item.displayName, L"ep3");
    EXPECT_EQ(item.starCount, 2);
    PlayList_CL::FillItemInfo(item, nullptr);  // no lookup at all: rating back to none
    EXPECT_EQ(item.starCount, 0);
}

}  // namespace
