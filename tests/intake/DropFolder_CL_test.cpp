// The folder scan: recursion, the extension list, Japanese names, capitals, skipped folders.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "intake/DropFolder_CL.h"
#include "intake/FindFile_CL.h"
#include "intake/PlayList_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

std::vector<std::wstring> SortedPaths(const PlayList_CL& list) {
    std::vector<std::wstring> paths;
    for (const PlayListItem& item : list.Items()) paths.push_back(item.path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

void MakeFolder(const std::wstring& path) { ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << path.size(); }
void MakeFile(const std::wstring& path) { ASSERT_TRUE(WriteFileBytes(path, "data")); }

// A tree with movies at three depths, other files, a dotted folder and a listed extension
// on a folder name.
struct MovieTree {
    TempFolder_CL temp;
    std::wstring root;
    std::wstring extIni;
    std::vector<std::wstring> movies;

    MovieTree() {
        root = temp.Join(L"動画");
        extIni = temp.Join(L"LumikinoDropFileExt.ini");
        WriteFileBytes(extIni, Utf16File(L"[DROP_EXT_INFO]\r\ncount=3\r\nitem0=.mp4\r\nitem1=.mkv\r\nitem2=.avi\r\n"));
        MakeFolder(root);
        MakeFolder(root + L"\\第1期");
        MakeFolder(root + L"\\第1期\\特典.mp4");  // a folder named like a movie is walked, not listed
        MakeFolder(root + L"\\v1.2");
        Movie(L"\\第1話.mp4");
        Movie(L"\\EP02.MKV");                  // capitals
        Movie(L"\\ep03.Avi");
        Movie(L"\\古い.flv");                   // a built-in extension
        Movie(L"\\第1期\\第2話.MP4");
        Movie(L"\\第1期\\特典.mp4\\making.mp4");
        Movie(L"\\v1.2\\clip.avi");
        MakeFile(root + L"\\readme.txt");
        MakeFile(root + L"\\list.asx");
        MakeFile(root + L"\\cover.jpg");
        MakeFile(root + L"\\mp4");              // no extension at all
        MakeFile(root + L"\\v1.2\\movie");      // the only dot lies in the folder name
    }
    void Movie(const std::wstring& tail) {
        MakeFile(root + tail);
        movies.push_back(root + tail);
    }
};

TEST(DropFolder, ScansEveryDepthForListedExtensionsWhateverTheirCase) {
    MovieTree tree;
    PlayList_CL list;
    list.AppendPath(L"D:\\already.mp4");
    DropFolder_CL scan(list, tree.extIni);
    scan.Scan(tree.root);

    std::vector<std::wstring> expected = tree.movies;
    expected.push_back(L"D:\\already.mp4");  // the list is not cleared
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedPaths(list), expected);
    EXPECT_EQ(list.At(0).path, L"D:\\already.mp4");
}

TEST(DropFolder, ASubFolderIsWalkedWhereItIsMet) {
    MovieTree tree;
    PlayList_CL list;
    DropFolder_CL scan(list, tree.extIni);
    scan.Scan(tree.root + L"\\");  // a trailing separator gives the same paths
    ASSERT_EQ(list.Count(), tree.movies.size());
    // Depth first: the entries of one sub-folder (its own sub-folder included) are contiguous.
    const std::wstring sub = tree.root + L"\\第1期\\";
    std::vector<size_t> positions;
    for (size_t i = 0; i < list.Count(); ++i) {
        if (list.At(i).path.compare(0, sub.size(), sub) == 0) positions.push_back(i);
    }
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[1], positions[0] + 1);
    for (const PlayListItem& item : list.Items()) {
        EXPECT_EQ(item.path.find(L"\\\\"), std::wstring::npos) << "no doubled separator";
    }
}

TEST(DropFolder, ReadsTheExtensionListAtEveryScan) {
    MovieTree tree;
    PlayList_CL list;
    DropFolder_CL scan(list, tree.extIni);
    ASSERT_TRUE(WriteFileBytes(tree.extIni, Utf16File(L"[DROP_EXT_INFO]\r\ncount=1\r\nitem0=.txt\r\n")));
    scan.Scan(tree.root);
    std::vector<std::wstring> paths = SortedPaths(list);
    EXPECT_EQ(paths, (std::vector<std::wstring>{tree.root + L"\\readme.txt", tree.root + L"\\古い.flv"}));
}

TEST(DropFolder, MissingOrEmptyFoldersAddNothing) {
    TempFolder_CL temp;
    PlayList_CL list;
    DropFolder_CL scan(list, temp.Join(L"none.ini"));
    scan.Scan(temp.Join(L"does-not-exist"));
    scan.Scan(temp.Path());
    scan.Scan(L"");
    EXPECT_TRUE(list.IsEmpty());
}

// Records what the walker reports.
class RecordingWalk : public FindFile_CL {
public:
    using FindFile_CL::FindFile_CL;
    std::vector<std::wstring> events;

protected:
    void OnEnterFolder(const std::wstring& path, const std::wstring& name) override {
        events.push_back(L"enter " + name + L" " + path);
    }
    void OnFile(const std::wstring& folder, const WIN32_FIND_DATAW& data) override {
        events.push_back(L"file " + folder + L"\\" + data.cFileName);
    }
    void OnLeaveFolder(const std::wstring& path, const std::wstring& name) override {
        events.push_back(L"leave " + name + L" " + path);
    }
};

TEST(FindFile, SkipListAndRecursionFlag) {
    TempFolder_CL temp;
    const std::wstring root = temp.Path();
    MakeFolder(root + L"\\Keep");
    MakeFolder(root + L"\\Skip");
    MakeFile(root + L"\\Keep\\a.mp4");
    MakeFile(root + L"\\Skip\\b.mp4");
    MakeFile(root + L"\\c.mp4");

    RecordingWalk walk;
    walk.SetSkipFolders({L"sKIP"});  // compared without regard to case
    walk.Walk(root);
    std::vector<std::wstring> events = walk.events;
    // Enter, the folder's files, leave: in that order around each walked folder.
    auto at = [&](const std::wstring& e) { return std::find(events.begin(), events.end(), e) - events.begin(); };
    const std::wstring keep = root + L"\\Keep";
    ASSERT_LT(at(L"enter Keep " + keep), static_cast<long>(events.size()));
    EXPECT_LT(at(L"enter Keep " + keep), at(L"file " + keep + L"\\a.mp4"));
    EXPECT_LT(at(L"file " + keep + L"\\a.mp4"), at(L"leave Keep " + keep));
    EXPECT_NE(at(L"file " + root + L"\\c.mp4"), static_cast<long>(events.size()));
    EXPECT_EQ(events.size(), 4u);  // nothing of the skipped folder, no "." or ".."

    RecordingWalk flat(L"\\*.*", false);
    flat.Walk(root);
    EXPECT_EQ(flat.events, std::vector<std::wstring>{L"file " + root + L"\\c.mp4"});

    RecordingWalk pattern(L"\\*.mp4", true);
    pattern.Walk(root);  // folders do not match "*.mp4": only the top level is listed
    EXPECT_EQ(pattern.events, std::vector<std::wstring>{L"file " + root + L"\\c.mp4"});
}

TEST(FindFile, TheWalkStopsThirtyTwoFoldersDownAndPassesOverPathsTooLong) {
    TempFolder_CL temp;
    std::wstring folder = temp.Path();
    for (int depth = 0; depth <= 40; ++depth) {
        MakeFile(folder + L"\\a.avi");
        folder += L"\\d";
        MakeFolder(folder);
    }
    RecordingWalk walk;
    walk.Walk(temp.Path());
    const long files = std::count_if(walk.events.begin(), walk.events.end(),
                                     [](const std::wstring& e) { return e.rfind(L"file ", 0) == 0; });
    EXPECT_EQ(files, FindFile_CL::kMaxDepth + 1);  // the top folder's and one in each level below

    // A folder whose listing would reach MAX_PATH (made through the long-path prefix): passed
    // over, the folders above it walked.
    std::wstring longFolder = temp.Join(std::wstring(100, L'x'));
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + longFolder).c_str(), nullptr));
    MakeFile(longFolder + L"\\b.avi");
    longFolder += L"\\" + std::wstring(150, L'y');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + longFolder).c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(L"\\\\?\\" + longFolder + L"\\c.avi", ""));
    RecordingWalk longWalk;
    longWalk.Walk(temp.Path());
    const auto listed = [&](const std::wstring& name) {
        return std::any_of(longWalk.events.begin(), longWalk.events.end(), [&](const std::wstring& e) {
            return e.rfind(L"file ", 0) == 0 && e.size() >= name.size() && e.compare(e.size() - name.size(), name.size(), name) == 0;
        });
    };
    EXPECT_TRUE(listed(L"\\b.avi"));
    EXPECT_FALSE(listed(L"\\c.avi"));
}

TEST(DropFolder, ALinkToTheFoldersParentIsNotFollowedAndEachMovieIsListedOnce) {
    // Made by the test command with ln -s: linked\sub\up points at linked.
    wchar_t media[MAX_PATH] = {};
    const DWORD units = ::GetEnvironmentVariableW(L"LK_TEST_MEDIA", media, MAX_PATH);
    if (units == 0 || units >= MAX_PATH) GTEST_SKIP() << "LK_TEST_MEDIA names no folder of samples";
    const std::wstring root = std::wstring(media) + L"\\linked";
    const DWORD link = ::GetFileAttributesW((root + L"\\sub\\up").c_str());
    ASSERT_NE(link, INVALID_FILE_ATTRIBUTES) << "no link among the samples";
    ASSERT_NE(link & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the platform does not show the link as one";
    TempFolder_CL temp;
    ASSERT_TRUE(WriteFileBytes(temp.Join(L"ext.ini"), Utf16File(L"[DROP_EXT_INFO]\r\ncount=1\r\nitem0=.avi\r\n")));
    PlayList_CL list;
    DropFolder_CL scan(list, temp.Join(L"ext.ini"));
    scan.Scan(root);
    EXPECT_EQ(SortedPaths(list), (std::vector<std::wstring>{root + L"\\sub\\inner.avi", root + L"\\top.avi"}));
}

}  // namespace
