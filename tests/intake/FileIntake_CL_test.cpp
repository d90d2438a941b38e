// File intake: how OpenPath routes each kind of path, the drop of one or several paths, and
// reading a drop handle.

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "intake/FileIntakeHost_CL.h"
#include "intake/FileIntake_CL.h"
#include "intake/PlayList_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

using Calls = std::vector<std::wstring>;

// Stands in for the main window: records every request, and lets the play list and archive
// readers append what a test says the file holds.
class RecordingHost : public FileIntakeHost_CL {
public:
    explicit RecordingHost(PlayList_CL& list) : m_list(list) {}

    Calls calls;
    std::map<std::wstring, std::vector<std::wstring>> listEntries;     // play list file -> paths
    std::map<std::wstring, std::vector<std::wstring>> archiveEntries;  // archive -> entry names
    std::map<std::wstring, std::pair<std::wstring, int>> records;      // movie -> name, stars

    void OpenContentNow(const std::wstring& path) override { calls.push_back(L"open " + path); }
    void PlayListCurrentEntry() override {
        calls.push_back(L"play list from " + std::to_wstring(m_list.NextIndex()));
    }
    void ReadAsxPlayList(const std::wstring& path) override {
        calls.push_back(L"asx " + path);
        for (const std::wstring& entry : listEntries[path]) m_list.AppendPath(entry);
    }
    void ReadTextPlayList(const std::wstring& path) override {
        calls.push_back(L"text " + path);
        for (const std::wstring& entry : listEntries[path]) m_list.AppendPath(entry);
    }
    void ListArchive(const std::wstring& archivePath, const std::wstring& unpackFolder) override {
        calls.push_back(L"zip " + archivePath + L" -> " + unpackFolder);
        unpackFolderExisted = FolderExists(unpackFolder);
        for (const std::wstring& name : archiveEntries[archivePath]) {
            PlayListItem item;
            item.inArchive = 1;
            item.path = unpackFolder + L"\\" + name;
            item.displayName = name.substr(0, name.rfind(L'.'));
            item.extension = name.substr(name.rfind(L'.'));
            item.fileSize = 5000;
            item.modifiedFileTime = 77;
            m_list.Append(item);
        }
    }
    void RememberLastInput(const std::wstring& path) override { calls.push_back(L"last " + path); }
    void AddHistory(const std::wstring& path) override { calls.push_back(L"history " + path); }
    void RefreshPlayListDialog() override { calls.push_back(L"refresh"); }
    bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) override {
        auto found = records.find(moviePath);
        if (found == records.end()) return false;
        *contentName = found->second.first;
        *starCount = found->second.second;
        return true;
    }

    bool unpackFolderExisted = false;

private:
    PlayList_CL& m_list;
};

Calls Tail(const std::wstring& path) {
    return {L"last " + path, L"history " + path, L"refresh"};
}

Calls Concat(Calls head, const Calls& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<std::wstring> PathsOf(const PlayList_CL& list) {
    std::vector<std::wstring> paths;
    for (const PlayListItem& item : list.Items()) paths.push_back(item.path);
    return paths;
}

// A temp folder with an extension list, an unpack folder path and a folder of movies.
struct IntakeFixture : public ::testing::Test {
    TempFolder_CL temp;
    PlayList_CL list;
    RecordingHost host{list};
    FileIntake_CL intake{list, host};
    std::wstring movies;
    std::wstring unpack;

    void SetUp() override {
        const std::wstring extIni = temp.Join(L"ext.ini");
        ASSERT_TRUE(WriteFileBytes(extIni, Utf16File(L"[DROP_EXT_INFO]\r\ncount=2\r\nitem0=.mp4\r\nitem1=.mkv\r\n")));
        intake.SetExtListPath(extIni);
        unpack = temp.Join(L"zip");
        intake.SetUnpackFolder(unpack);
        movies = temp.Join(L"シリーズ");
        ASSERT_TRUE(::CreateDirectoryW(movies.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((movies + L"\\sub").c_str(), nullptr));
        ASSERT_TRUE(WriteFileBytes(movies + L"\\ep1.MP4", "1"));
        ASSERT_TRUE(WriteFileBytes(movies + L"\\sub\\ep2.mkv", "22"));
        ASSERT_TRUE(WriteFileBytes(movies + L"\\notes.txt", "333"));
    }
};

TEST_F(IntakeFixture, OpenPathRoutesEachKindOfPath) {
    struct {
        std::wstring path;
        bool playNow;
        Calls first;       // the calls before the last-input, history and refresh steps
        size_t listCount;  // entries afterwards
    } cases[] = {
        {L"D:\\a\\movie.mp4", true, {L"open D:\\a\\movie.mp4"}, 0},
        {L"D:\\a\\movie.mp4", false, {}, 0},                        // not played, not listed
        {L"D:\\v1.2\\movie", true, {L"open D:\\v1.2\\movie"}, 0},    // dotted folder: a movie
        {L"D:\\a\\readme.TXT", true, {L"open D:\\a\\readme.TXT"}, 0},  // unlisted: still opened
        {L"D:\\a\\l.ASX", false, {L"asx D:\\a\\l.ASX"}, 1},
        {L"D:\\a\\l.wvx", false, {L"asx D:\\a\\l.wvx"}, 1},
        {L"D:\\a\\l.Wax", true, {L"asx D:\\a\\l.Wax", L"play list from 0"}, 1},
        {L"D:\\a\\l.PlayList", true, {L"text D:\\a\\l.PlayList", L"play list from 0"}, 1},
        {L"D:\\a\\empty.playlist", true, {L"text D:\\a\\empty.playlist"}, 0},  // nothing to start
    };
    for (const auto& c : cases) {
        list.Clear();
        host.calls.clear();
        host.listEntries[c.path] = c.listCount ? std::vector<std::wstring>{L"D:\\x.mp4"} : std::vector<std::wstring>{};
        intake.OpenPath(c.path, c.playNow);
        EXPECT_EQ(host.calls, Concat(c.first, Tail(c.path))) << c.path << " " << c.playNow;
        EXPECT_EQ(list.Count(), c.listCount) << c.path;
    }
}

TEST_F(IntakeFixture, OpenPathOnAnArchiveMakesTheUnpackFolderFirst) {
    const std::wstring zip = L"D:\\アーカイブ.ZIP";
    host.archiveEntries[zip] = {L"clip1.mp4", L"clip2.mp4"};
    ASSERT_FALSE(FolderExists(unpack));
    intake.OpenPath(zip, true);
    EXPECT_TRUE(host.unpackFolderExisted);
    EXPECT_EQ(host.calls, Concat({L"zip " + zip + L" -> " + unpack, L"play list from 0"}, Tail(zip)));
    EXPECT_EQ(list.Count(), 2u);
    // An existing folder is fine.
    host.calls.clear();
    intake.OpenPath(zip, false);
    EXPECT_EQ(host.calls, Concat({L"zip " + zip + L" -> " + unpack}, Tail(zip)));
    EXPECT_EQ(list.Count(), 4u);
}

TEST_F(IntakeFixture, OpenPathScansAFolderWithoutClearingTheList) {
    list.AppendPath(L"D:\\before.mp4");
    intake.OpenPath(movies, true);
    EXPECT_EQ(host.calls, Concat({L"play list from 0"}, Tail(movies)));
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0).path, L"D:\\before.mp4");

    // A folder without movies starts nothing.
    list.Clear();
    host.calls.clear();
    const std::wstring empty = temp.Join(L"空");
    ASSERT_TRUE(::CreateDirectoryW(empty.c_str(), nullptr));
    intake.OpenPath(empty, true);
    EXPECT_EQ(host.calls, Tail(empty));
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(IntakeFixture, ASingleMovieWithPlayNowLeavesTheListAlone) {
    list.AppendPath(L"D:\\one.mp4");
    list.AppendPath(L"D:\\two.mp4");
    list.SetNextIndex(1);
    list.TakeChanged();
    intake.OpenPath(L"E:\\他の動画.mkv", true);
    EXPECT_EQ(host.calls, Concat({L"open E:\\他の動画.mkv"}, Tail(L"E:\\他の動画.mkv")));
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"D:\\one.mp4", L"D:\\two.mp4"}));
    EXPECT_EQ(list.NextIndex(), 1);
    EXPECT_FALSE(list.IsChanged());
}

TEST_F(IntakeFixture, DroppingOneFileClearsTheListAndOpensIt) {
    list.AppendPath(L"D:\\old.mp4");
    const std::wstring movie = movies + L"\\ep1.MP4";
    intake.HandleDrop(std::vector<std::wstring>{movie});
    EXPECT_EQ(host.calls, Concat({L"open " + movie}, Tail(movie)));
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(IntakeFixture, DroppingOneFolderScansItAndPlaysTheFirstEntry) {
    list.AppendPath(L"D:\\old.mp4");
    list.SetNextIndex(1);
    intake.HandleDrop(std::vector<std::wstring>{movies});
    EXPECT_EQ(host.calls, Concat({L"play list from 0"}, Tail(movies)));
    std::vector<std::wstring> paths = PathsOf(list);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::wstring>{movies + L"\\ep1.MP4", movies + L"\\sub\\ep2.mkv"}));
}

TEST_F(IntakeFixture, DroppingOneArchivePlaysItsFirstEntry) {
    const std::wstring zip = temp.Join(L"a.zip");
    host.archiveEntries[zip] = {L"z2.mp4", L"z10.mp4"};
    intake.HandleDrop(std::vector<std::wstring>{zip});
    EXPECT_EQ(host.calls, Concat({L"zip " + zip + L" -> " + unpack, L"play list from 0"}, Tail(zip)));
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{unpack + L"\\z2.mp4", unpack + L"\\z10.mp4"}));
}

TEST_F(IntakeFixture, DroppingSeveralPathsListsSortsAndPlaysFromTheFirstEntry) {
    const std::wstring ep10 = temp.Join(L"ep10.mp4");
    const std::wstring ep2 = temp.Join(L"ep2.mp4");
    const std::wstring text = temp.Join(L"Episodes.txt");  // no extension filter for dropped files
    ASSERT_TRUE(WriteFileBytes(ep10, std::string(10, 'x')));
    ASSERT_TRUE(WriteFileBytes(ep2, std::string(2, 'x')));
    const std::wstring asx = temp.Join(L"list.ASX");
    const std::wstring zip = temp.Join(L"box.zip");
    host.listEntries[asx] = {L"D:\\ep1.avi", L"D:\\ep30.avi"};
    host.archiveEntries[zip] = {L"clip5.mp4"};
    host.records[ep2] = {L"ep15", 3};  // its record names it differently

    list.AppendPath(L"D:\\dropped-before.mp4");
    list.SetNextIndex(1);
    intake.HandleDrop(std::vector<std::wstring>{ep10, movies, asx, text, zip, ep2});

    // Lists and archives go through OpenPath without playing; the list plays once, at the end.
    EXPECT_EQ(host.calls,
              Concat(Concat(Concat({L"asx " + asx}, Tail(asx)), Concat({L"zip " + zip + L" -> " + unpack}, Tail(zip))),
                     {L"play list from 0", L"refresh"}));

    std::vector<std::wstring> names;
    for (const PlayListItem& item : list.Items()) names.push_back(item.displayName);
    // Sorted by name in natural order; the dropped folder is one entry under its own name.
    // Text runs compare by code unit: "E" comes before "c" and "e", Japanese after Latin.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Episodes", L"clip5", L"ep1", L"ep10", L"ep15", L"ep30",
                                                 L"シリーズ"}));
    EXPECT_EQ(list.NextIndex(), 0);
    EXPECT_EQ(list.SortColumn(), PlayList_CL::kColumnName);
    EXPECT_EQ(list.SortDirection(), PlayList_CL::kSortAscending);

    auto find = [&](const std::wstring& path) -> const PlayListItem& {
        for (const PlayListItem& item : list.Items()) {
            if (item.path == path) return item;
        }
        static PlayListItem none;
        ADD_FAILURE() << "missing entry";
        return none;
    };
    EXPECT_EQ(find(movies).path, movies);         // the folder itself, not its contents
    EXPECT_EQ(find(ep10).fileSize, 10);           // the row information was filled in
    EXPECT_EQ(find(ep2).starCount, 3);
    EXPECT_EQ(find(unpack + L"\\clip5.mp4").fileSize, 5000);  // archive rows keep the archive's data
    EXPECT_EQ(find(unpack + L"\\clip5.mp4").inArchive, 1);
}

TEST_F(IntakeFixture, DroppingSeveralPlainFilesNeedsNoReaders) {
    intake.HandleDrop(std::vector<std::wstring>{L"D:\\b.mp4", L"D:\\a.mp4"});
    EXPECT_EQ(host.calls, (Calls{L"play list from 0", L"refresh"}));
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"D:\\a.mp4", L"D:\\b.mp4"}));
}

TEST_F(IntakeFixture, DroppingOnlyEmptyListsPlaysNothing) {
    const std::wstring a = L"D:\\a.playlist";
    const std::wstring b = L"D:\\b.wax";
    intake.HandleDrop(std::vector<std::wstring>{a, b});
    EXPECT_EQ(host.calls,
              Concat(Concat(Concat({L"text " + a}, Tail(a)), Concat({L"asx " + b}, Tail(b))), {L"refresh"}));
    EXPECT_TRUE(list.IsEmpty());
}

// A drop handle as the shell makes one: DROPFILES followed by the wide paths, double-NUL ended.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring block;
    for (const std::wstring& path : paths) block += path + L'\0';
    block += L'\0';
    const size_t bytes = sizeof(DROPFILES) + block.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory) return nullptr;
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), block.data(), block.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(DroppedPaths, ReadsEveryPathInDropOrder) {
    const std::vector<std::wstring> paths = {L"C:\\動画\\第1話.mp4", L"D:\\b.avi", L"\\\\srv\\共有\\c.mkv"};
    HDROP drop = MakeDrop(paths);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(FileIntake_CL::TakeDroppedPaths(drop), paths);  // the drop is finished and freed there
    EXPECT_TRUE(FileIntake_CL::TakeDroppedPaths(nullptr).empty());
}

TEST(DroppedPaths, CutsAPathLongerThanTheBuffer) {
    const std::wstring longPath = L"C:\\" + std::wstring(600, L'あ') + L".mp4";
    HDROP drop = MakeDrop({longPath, L"D:\\short.mp4"});
    ASSERT_NE(drop, nullptr);
    std::vector<std::wstring> read = FileIntake_CL::TakeDroppedPaths(drop);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], longPath.substr(0, FileIntake_CL::kDropPathUnits - 1));
    EXPECT_EQ(read[1], L"D:\\short.mp4");
}

TEST(DroppedPaths, TheDropHandleAdapterRunsTheDropHandler) {
    TempFolder_CL temp;
    PlayList_CL list;
    RecordingHost host(list);
    FileIntake_CL intake(list, host);
    intake.SetExtListPath(temp.Join(L"none.ini"));
    HDROP drop = MakeDrop({L"D:\\ep10.mp4", L"D:\\ep9.mp4"});
    ASSERT_NE(drop, nullptr);
    intake.HandleDrop(drop);
    EXPECT_EQ(PathsOf(list), (std::vector<std::wstring>{L"D:\\ep9.mp4", L"D:\\ep10.mp4"}));
    EXPECT_EQ(host.calls, (Calls{L"play list from 0", L"refresh"}));
}

}  // namespace
