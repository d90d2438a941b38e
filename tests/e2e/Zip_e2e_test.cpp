// Archives on the real player: a dropped zip lists its movies, the one to play is unpacked
// behind the progress dialog into the zip folder and plays with the throw-away record; a
// cancelled unpack leaves no file, a destination held open gives the failure message, and the
// player goes on.

#include <windows.h>

#include <string>
#include <vector>

#include "app/archive/DialogZipProgress_CL.h"
#include "app/playlist/DialogPlayList_CL.h"
#include "base/CommandIds.h"
#include "intake/ListRowText.h"
#include "store/ContentInfo.h"
#include "store/Inifile_CL.h"
#include "tests/e2e/MovieFixture.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/intake/ZipMaker.h"

namespace {

std::string Cp932(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(932, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(932, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string Utf8(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    return out;
}

zipmaker::Entry EntryOf(std::string name, std::string data, uint16_t method, uint16_t flags = 0) {
    zipmaker::Entry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.method = method;
    entry.flags = flags;
    return entry;
}

class ZipE2eTest : public MovieFixture {
protected:
    std::wstring WriteArchive(const std::wstring& name, const std::vector<zipmaker::Entry>& entries) {
        const std::wstring path = m_movies.Join(name);
        EXPECT_TRUE(WriteFileBytes(path, zipmaker::Build(entries).bytes));
        return path;
    }
    std::wstring UnpackPath(const std::wstring& name) const { return DataPath(L"zip\\" + name); }
    std::wstring ZipRecordLink() const {
        Inifile_CL record;
        record.Bind(DataPath(L"contents\\zip_contents.ini"));
        return record.GetString(kSectionMovieInfo, kKeyLinkName, L"");
    }
    // A shown dialog of the player with this caption, or null.
    HWND ShownDialog(const PlayerProcess_CL& player, const std::wstring& caption) const {
        return FindProcessWindow(player.ProcessId(), L"#32770", &caption, true);
    }
    // Waits for the message box titled "お知らせ" and returns its text (empty when none came).
    std::wstring NoticeText(const PlayerProcess_CL& player, HWND* box) const {
        *box = nullptr;
        WaitUntil([&] { return (*box = ShownDialog(player, DialogZipProgress_CL::kNoticeTitle)) != nullptr; }, 15000);
        wchar_t text[256] = {};
        if (*box) ::GetDlgItemTextW(*box, 0xFFFF, text, 256);
        return text;
    }
};

TEST_F(ZipE2eTest, ADroppedArchiveListsItsMoviesAndTheOneToPlayIsUnpackedAndPlaysWithTheZipRecord) {
    WriteSettings(kPictureSettings);
    const std::string first = ReadFileBytes(WriteMovie(L"src1.avi", MovieOf(30, 160, 120)));
    const std::string second = ReadFileBytes(WriteMovie(L"src2.avi", MovieOf(2, 160, 120)));
    const std::string other = ReadFileBytes(WriteMovie(L"src3.avi", MovieOf(3, 160, 120)));
    ASSERT_NE(first.size(), other.size());
    // A deflated movie in a folder (code page 932 name), a stored one (UTF-8 name) and a text
    // file that is no movie.
    const std::wstring archive = WriteArchive(L"第一巻.zip", {EntryOf(Cp932(L"話\\第1話.avi"), first, 8),
                                                             EntryOf(Utf8(L"第2話.avi"), second, 0, 0x0800),
                                                             EntryOf("readme.txt", "not a movie", 8)});
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostDrop(player, window, {archive}));
    const std::wstring unpacked = UnpackPath(L"第1話.avi");
    ASSERT_TRUE(WaitUntil([&] { return ZipRecordLink() == unpacked; }, 30000)) << "the first movie did not play";
    EXPECT_TRUE(ReadFileBytes(unpacked) == first) << "the unpacked movie differs";
    EXPECT_TRUE(LogContains(L"result=0 dialog=1")) << "not unpacked behind the progress dialog";
    EXPECT_TRUE(RecordOf(unpacked).empty()) << "an unpacked movie got a record of its own";

    // The list holds the two movies, not the text file.
    ASSERT_TRUE(PostKey(&player, VK_TAB));
    HWND dialog = nullptr;
    const std::wstring title = DialogPlayList_CL::kTitle;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownDialog(player, title)) != nullptr; }, 10000));
    RemoteListView rows(player.ProcessId(), ::FindWindowExW(dialog, nullptr, L"SysListView32", nullptr));
    EXPECT_TRUE(WaitUntil([&] { return rows.Column(0) == std::vector<std::wstring>{L"第1話", L"第2話"}; }, 10000));
    EXPECT_EQ(rows.CellText(1, 3), SizeText(static_cast<int64_t>(second.size())));

    // "ファイルを指定したフォルダへ解凍する" on the second row: unpacked where the user says.
    const RECT row = rows.RowRectOnScreen(1);
    POINT client{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ::ScreenToClient(rows.Window(), &client);
    ASSERT_TRUE(ChooseFromMenu(player, dialog, rows.Window(), client, L"", {VK_UP}, L"プレイリストの項目メニュー",
                               CMD_LIST_EXTRACT));
    HWND save = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (save = ShownDialog(player, L"zipファイルの展開先とファイル名を選択してください")) != nullptr; }, 10000));
    const std::wstring chosen = m_movies.Join(L"取り出した.avi");
    ASSERT_TRUE(ChooseInSaveDialog(save, chosen));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(chosen) == second; }, 15000)) << "not unpacked where chosen";

    // A second archive with a movie of the same name: its own movie plays, not the first one's.
    const std::wstring archive2 = WriteArchive(L"第二巻.zip", {EntryOf(Cp932(L"第1話.avi"), other, 8)});
    const size_t loads = LogCount(L"result=0 dialog=1");
    ASSERT_TRUE(PostDrop(player, window, {archive2}));
    ASSERT_TRUE(WaitForLogCount(L"result=0 dialog=1", loads + 1, 30000));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(unpacked) == other; }, 5000));
    ClosePlayer(&player);
    EXPECT_EQ(::GetFileAttributesW(DataPath(L"zip").c_str()), INVALID_FILE_ATTRIBUTES) << "the zip folder stayed";
}

TEST_F(ZipE2eTest, ACancelledUnpackLeavesNoFileAndAHeldDestinationFailsWithItsMessage) {
    WriteSettings(kPictureSettings);
    const std::string small = ReadFileBytes(WriteMovie(L"small.avi", MovieOf(2, 160, 120)));
    // 1 GB of zeros that pack into about a megabyte: unpacking takes long enough to cancel.
    constexpr uint32_t kBigBytes = 1u << 30;
    zipmaker::Entry big = EntryOf("big.avi", "", 8);
    big.packed = zipmaker::Deflate(std::string(), kBigBytes);
    uLong crc = crc32(0L, Z_NULL, 0);
    const std::vector<Bytef> zeros(1 << 20, 0);
    for (uint32_t done = 0; done < kBigBytes; done += 1u << 20) crc = crc32(crc, zeros.data(), 1u << 20);
    big.crc = static_cast<uint32_t>(crc);
    big.uncompressedSize = kBigBytes;
    const std::wstring archive = WriteArchive(L"cancel.zip", {big, EntryOf("small.avi", small, 8)});

    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostDrop(player, window, {archive}));
    HWND progress = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (progress = ShownDialog(player, DialogZipProgress_CL::kUnpackingText)) != nullptr;
    }, 15000)) << "no progress dialog";
    HWND cancel = ::FindWindowExW(progress, nullptr, L"Button", L"キャンセル");
    ASSERT_NE(cancel, nullptr);
    ::PostMessageW(cancel, BM_CLICK, 0, 0);
    HWND box = nullptr;
    EXPECT_EQ(NoticeText(player, &box), DialogZipProgress_CL::kCancelledText);
    EXPECT_EQ(::GetFileAttributesW(UnpackPath(L"big.avi").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a cancelled unpack left its file";
    ASSERT_NE(box, nullptr);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5000));

    // The second entry's destination held open by another program without sharing: failure.
    const std::wstring smallPath = UnpackPath(L"small.avi");
    KernelHandle_CL held(::CreateFileW(smallPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.IsValid());
    ASSERT_TRUE(PostKey(&player, VK_TAB));
    HWND dialog = nullptr;
    const std::wstring title = DialogPlayList_CL::kTitle;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownDialog(player, title)) != nullptr; }, 10000));
    RemoteListView rows(player.ProcessId(), ::FindWindowExW(dialog, nullptr, L"SysListView32", nullptr));
    ASSERT_TRUE(WaitUntil([&] { return rows.RowCount() == 2; }, 10000));
    const auto doubleClickSmall = [&] {
        const RECT row = rows.RowRectOnScreen(1);
        MouseTo(POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
        for (int i = 0; i < 2; ++i) {
            LeftButton(true);
            LeftButton(false);
        }
    };
    doubleClickSmall();
    EXPECT_EQ(NoticeText(player, &box), DialogZipProgress_CL::kFailedText);
    ASSERT_NE(box, nullptr);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5000));
    EXPECT_TRUE(ZipRecordLink().empty()) << "something played";

    // Let go, the player goes on: the same entry unpacks and plays.
    held.Reset();
    // The row chosen by the double click above plays again with Enter (the notice may have
    // left the player's window over the dialog).
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(WaitUntil([&] { return ZipRecordLink() == smallPath; }, 30000)) << "the player did not go on";
    EXPECT_TRUE(ReadFileBytes(smallPath) == small) << "the unpacked movie differs";
    ClosePlayer(&player);
}

TEST_F(ZipE2eTest, AHostileArchiveListsOnlyHonestNamesAndItsBombStopsWithTheFailureMessage) {
    WriteSettings(kPictureSettings);
    // 1 MB declared, about a megabyte of deflate data that would unpack to 1 GB.
    zipmaker::Entry bomb = EntryOf("bomb.avi", "", 8);
    bomb.packed = zipmaker::Deflate(std::string(), 1ull << 30);
    bomb.crc = 0;
    bomb.uncompressedSize = 1u << 20;
    std::vector<zipmaker::Entry> entries = {bomb};
    for (const char* name : {"../escape.avi", "C:escape2.avi", "\\escape3.avi", "CON.avi", "bad\x01.avi", "dot.avi."}) {
        entries.push_back(EntryOf(name, "not a movie", 8));
    }
    const std::wstring archive = WriteArchive(L"hostile.zip", entries);
    PlayerProcess_CL player;
    HWND window = StartPlayer(&player, {});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostDrop(player, window, {archive}));
    HWND box = nullptr;
    EXPECT_EQ(NoticeText(player, &box), std::wstring(DialogZipProgress_CL::kFailedText) + L"\r\n" + DialogZipProgress_CL::kBrokenReason);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetFileAttributesW(UnpackPath(L"bomb.avi").c_str()), INVALID_FILE_ATTRIBUTES) << "the bomb's file stayed";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 5000));

    // Only the bomb was listed, and nothing was written anywhere else.
    ASSERT_TRUE(PostKey(&player, VK_TAB));
    HWND dialog = nullptr;
    const std::wstring title = DialogPlayList_CL::kTitle;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownDialog(player, title)) != nullptr; }, 10000));
    RemoteListView rows(player.ProcessId(), ::FindWindowExW(dialog, nullptr, L"SysListView32", nullptr));
    EXPECT_TRUE(WaitUntil([&] { return rows.Column(0) == std::vector<std::wstring>{L"bomb"}; }, 10000));
    for (const wchar_t* escaped : {L"escape.avi", L"escape2.avi", L"escape3.avi"}) {
        EXPECT_EQ(::GetFileAttributesW(DataPath(escaped).c_str()), INVALID_FILE_ATTRIBUTES) << escaped;
        EXPECT_EQ(::GetFileAttributesW(m_documents.Join(escaped).c_str()), INVALID_FILE_ATTRIBUTES) << escaped;
    }
    // Still usable: a movie dropped now plays.
    const std::wstring movie = WriteMovie(L"after.avi", MovieOf(2, 160, 120));
    ASSERT_TRUE(PostDrop(player, window, {movie}));
    EXPECT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 1; }, 20000)) << "the player did not go on";
    ClosePlayer(&player);
}

}  // namespace
