// Adding tags to the movie playing, with the dialog replaced by a given input, in an album
// folder and a record of the test's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/album/AlbumTagsHost_CL.h"
#include "app/album/AlbumTags_CL.h"
#include "store/AlbumTagFiles.h"
#include "tests/support/TempFolder_CL.h"

namespace {
using Words = std::vector<std::wstring>;

class FakeHost : public AlbumTagsHost_CL {
public:
    HWND OwnerWindow() const override { return reinterpret_cast<HWND>(0x1234); }
    std::wstring LoadedMoviePath() const override { return movie; }
    std::wstring LoadedRecordPath() const override { return record; }
    void SetModalDialogOpen(bool open) override { modalCalls.push_back(open); }
    std::wstring movie, record;
    std::vector<bool> modalCalls;
};

// Kinoshelf with ALBUM_0001, a movie and its record; the command's dialog answers `input`.
class AddTags : public ::testing::Test {
protected:
    AddTags() {
        root = temp.Join(L"Kinoshelf");
        ::CreateDirectoryW(root.c_str(), nullptr);
        ::CreateDirectoryW((root + L"\\ALBUM_0001").c_str(), nullptr);
        history = AlbumInfoPath(root, 1);
        host.movie = temp.Join(L"夏の旅行.mp4");
        host.record = temp.Join(L"contents042-00000.ini");
        WriteFileBytes(host.record, Utf16File(L"[MOVIE_INFO]\r\nplay_count=2\r\n"));
    }
    AddTagsOutcome Run() {
        host.modalCalls.clear();
        AlbumTags_CL::Options options;
        options.albumRoot = root;
        options.askInput = [this](HWND owner, const Words& words) {
            EXPECT_EQ(owner, host.OwnerWindow());
            EXPECT_EQ(host.modalCalls, std::vector<bool>{true});  // raised while the dialog is open
            offered = words;
            if (duringDialog) duringDialog();
            return input;
        };
        options.notify = [this](const std::wstring& moviePath) { notices.push_back(moviePath); };
        return AlbumTags_CL(host, options).AddTags();
    }

    TempFolder_CL temp;
    std::wstring root, history, input;
    FakeHost host;
    std::function<void()> duringDialog;
    Words offered, notices;
};
}  // namespace

TEST_F(AddTags, WritesHistoryAndTagsThenTellsTheAlbum) {
    ASSERT_TRUE(WriteTagHistory(history, {L"old", L"b"}));
    ASSERT_TRUE(WriteMovieTags(host.record, {L"x"}));
    input = L"a b a";
    EXPECT_EQ(Run(), AddTagsOutcome::Written);
    EXPECT_EQ(offered, (Words{L"old", L"b"}));
    EXPECT_EQ(host.modalCalls, (std::vector<bool>{true, false}));
    EXPECT_EQ(ReadMovieTags(host.record), (Words{L"x", L"a", L"b"}));
    EXPECT_EQ(ReadTagHistory(history), (Words{L"a", L"b", L"old"}));
    EXPECT_EQ(notices, Words{host.movie});
}

TEST_F(AddTags, NoRecordNoInputOrAnotherMovieWriteNothing) {
    ASSERT_TRUE(WriteTagHistory(history, {L"old"}));
    const std::string historyBytes = ReadFileBytes(history);
    const std::string recordBytes = ReadFileBytes(host.record);
    for (const wchar_t* blank : {L"", L" \u3000&"}) {
        input = blank;
        EXPECT_EQ(Run(), AddTagsOutcome::NoInput);
    }
    input = L"new";
    duringDialog = [this] { host.movie = temp.Join(L"next.mp4"); };
    EXPECT_EQ(Run(), AddTagsOutcome::MovieChanged);
    duringDialog = nullptr;
    host.record.clear();
    EXPECT_EQ(Run(), AddTagsOutcome::NoRecord);
    EXPECT_EQ(ReadFileBytes(history), historyBytes);
    EXPECT_EQ(ReadFileBytes(temp.Join(L"contents042-00000.ini")), recordBytes);
    EXPECT_TRUE(notices.empty());
}

TEST_F(AddTags, WithoutAlbumFilesTheTagsStillGoInButARecordThatWentAwayIsNotMadeAgain) {
    RemoveTree(root);
    input = L"a";
    EXPECT_EQ(Run(), AddTagsOutcome::Written);
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(ReadMovieTags(host.record), Words{L"a"});
    EXPECT_FALSE(FolderExists(root));
    ::DeleteFileW(host.record.c_str());
    EXPECT_EQ(Run(), AddTagsOutcome::WriteFailed);
    EXPECT_FALSE(FileExists(host.record));
    EXPECT_EQ(notices.size(), 1u);  // only the first
}
