// The list item menus' file actions: the folder opened with the path quoted, and deleting
// that leaves folders and missing paths alone.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "intake/ListItemActions.h"
#include "store/AtomicRecordWriter_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(ListItemActions, ThePathIsQuotedSoItsCommasAndSpacesCannotSelectOrSwitchAnythingElse) {
    EXPECT_EQ(SelectInFolderParameters(L"C:\\動画\\a.avi"), L"/select,\"C:\\動画\\a.avi\"");
    EXPECT_EQ(SelectInFolderParameters(L"D:\\x,/root,C:\\y z.mkv"), L"/select,\"D:\\x,/root,C:\\y z.mkv\"");
}

TEST(ListItemActions, OnlyExistingFilesAreDeletedNeverAFolder) {
    TempFolder_CL folder;
    AtomicRecordWriter_CL writer;
    const std::wstring movie = folder.Join(L"消す.avi");
    const std::wstring season = folder.Join(L"第1期");
    const std::wstring inside = season + L"\\第1話.avi";
    ASSERT_EQ(writer.WriteBytes(movie, "movie"), S_OK);
    ASSERT_TRUE(::CreateDirectoryW(season.c_str(), nullptr));
    ASSERT_EQ(writer.WriteBytes(inside, "movie"), S_OK);
    const std::vector<std::wstring> chosen = {season, movie, folder.Join(L"missing.avi"), L""};

    EXPECT_EQ(DeletableFiles(chosen), std::vector<std::wstring>{movie});
    std::vector<std::wstring> deleted;
    EXPECT_EQ(DeleteMovieFiles(nullptr, chosen, false, &deleted), S_OK);
    EXPECT_EQ(deleted, std::vector<std::wstring>{movie});
    EXPECT_FALSE(Exists(movie));
    EXPECT_TRUE(Exists(season));
    EXPECT_TRUE(Exists(inside));

    // Nothing deletable: nothing happens.
    EXPECT_EQ(DeleteMovieFiles(nullptr, {season}, false, &deleted), S_OK);
    EXPECT_TRUE(deleted.empty());
    EXPECT_TRUE(Exists(inside));
}

TEST(ListItemActions, AFileHeldOpenIsReportedAsNotDeletedAndTheOthersGo) {
    TempFolder_CL folder;
    AtomicRecordWriter_CL writer;
    for (const bool allowUndo : {false, true}) {
        SCOPED_TRACE(allowUndo ? "into the recycle bin" : "deleted outright");
        const std::wstring held = folder.Join(L"再生中.avi");
        const std::wstring free = folder.Join(L"空き.avi");
        ASSERT_EQ(writer.WriteBytes(held, "movie"), S_OK);
        ASSERT_EQ(writer.WriteBytes(free, "movie"), S_OK);
        std::vector<std::wstring> deleted;
        HRESULT hr = S_OK;
        {
            // As a movie's graph holds its file: read, and no one may delete it meanwhile.
            FileHandle_CL open(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(open.IsValid());
            hr = DeleteMovieFiles(nullptr, {held, free}, allowUndo, &deleted);
        }
        if (Exists(held)) {
            EXPECT_TRUE(FAILED(hr)) << "a file left behind was reported as deleted";
            EXPECT_EQ(std::count(deleted.begin(), deleted.end(), held), 0);
        }
        EXPECT_EQ(std::count(deleted.begin(), deleted.end(), free), Exists(free) ? 0 : 1);
        ::DeleteFileW(held.c_str());
        ::DeleteFileW(free.c_str());
    }
}

}  // namespace
