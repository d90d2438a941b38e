// The album linkage on the real player started by the album application: the picture menu's
// "Kinoshelf" adds tags through the tag dialog, the tags land in the movie's record and the
// album's tag history, and a window of the album application's class receives the change
// notice byte for byte; an album window that hangs does not hold the player.

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/album/AlbumNotice.h"
#include "app/album/AlbumTexts.h"
#include "base/CommandIds.h"
#include "base/UniqueHandle_CL.h"
#include "tests/e2e/MovieFixture.h"

namespace {

// A top-level window of the album application's class and title on a thread of its own. It
// keeps the bytes of every WM_COPYDATA it receives; a hung one stops answering once made.
class AlbumWindowThread {
public:
    explicit AlbumWindowThread(bool hung) : m_hung(hung) {
        m_thread = std::thread([this] { Run(); });
        ::WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~AlbumWindowThread() {
        ::SetEvent(m_release.Get());
        if (m_window) ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_window; }
    std::vector<std::string> Received() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_received;
    }
    std::vector<ULONG_PTR> Tags() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_tags;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<AlbumWindowThread*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COPYDATA && self) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            std::lock_guard<std::mutex> lock(self->m_lock);
            self->m_tags.push_back(data->dwData);
            self->m_received.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
            return TRUE;
        }
        if (message == WM_CLOSE) {
            ::DestroyWindow(window);
            return 0;
        }
        if (message == WM_DESTROY) ::PostQuitMessage(0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    void Run() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kAlbumWindowClass;
        ::RegisterClassW(&windowClass);
        m_window = ::CreateWindowExW(0, kAlbumWindowClass, kAlbumWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetEvent(m_ready.Get());
        if (m_hung) ::WaitForSingleObject(m_release.Get(), INFINITE);  // answers nothing until released
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
        ::UnregisterClassW(kAlbumWindowClass, windowClass.hInstance);
    }

    bool m_hung;
    KernelHandle_CL m_ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle_CL m_release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread m_thread;
    HWND m_window = nullptr;
    std::mutex m_lock;
    std::vector<std::string> m_received;
    std::vector<ULONG_PTR> m_tags;
};

class AlbumE2eTest : public MovieFixture {
protected:
    std::wstring AlbumInfoPath() const { return m_documents.Join(L"Kinoshelf\\ALBUM_0001\\AlbumInfo.ini"); }
    static std::vector<std::wstring> Items(const std::wstring& path, const wchar_t* section) {
        Inifile_CL file;
        file.Bind(path);
        std::vector<std::wstring> items;
        const int count = file.GetInt(section, L"count", 0);
        for (int i = 0; i < count && i < 100; ++i) items.push_back(file.GetString(section, L"item" + std::to_wstring(i), L""));
        return items;
    }

    // The picture menu's "Kinoshelf" → "タグを追加する", walked with the keyboard; returns the tag
    // dialog once it shows (null when it did not).
    HWND OpenTagDialog(const PlayerProcess_CL& player, HWND window) {
        HWND video = VideoWindowOf(window);
        if (!ChooseFromMenu(player, window, video, POINT{40, 60}, L"WM_RBUTTONUP(trace)",
                            {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}, L"PictureMenu", CMD_ADD_TAGS)) {
            return nullptr;
        }
        HWND dialog = nullptr;
        const std::wstring caption = kTextAddTagsCaption;
        WaitUntil([&] { return (dialog = FindProcessWindow(player.ProcessId(), L"#32770", &caption, true)) != nullptr; },
                  10000);
        return dialog;
    }
    // Starts the player as the album application does, on movie, and opens the tag dialog
    // once it plays; the dialog (null when any step failed) and the main window.
    HWND StartFromAlbumAndOpenTags(PlayerProcess_CL* player, const std::wstring& movie, HWND* window) {
        *window = StartPlayer(player, {movie, L"/Kinoshelf"});
        if (!*window || !WaitUntil([&] { return PlayCountOf(movie) == 1; }, 20000)) return nullptr;
        return OpenTagDialog(*player, *window);
    }
    // Types text into the dialog's input, clicks the history button, then OK.
    // Types the text into the tag dialog, presses the history button when given, and confirms.
    // Each step is repeated until its effect shows, as a click or key can be lost on a busy
    // display; a step that never takes effect is reported by name.
    static bool EnterTags(HWND dialog, const std::wstring& text, const wchar_t* historyButton) {
        HWND edit = ::FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        if (!edit) return Failed("the tag dialog has no edit box");
        const POINT inEdit = MiddleOf(edit);
        if (!WaitUntil([&] { return ::WindowFromPoint(inEdit) == edit; }, 5000)) {
            return Failed("the edit box was never under the pointer");
        }
        bool typed = false;
        for (int attempt = 0; attempt < 3 && !typed; ++attempt) {
            ClickAt(inEdit);
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_NORMAL, 2000, &result);
            TypeText(text);
            typed = WaitUntil([&] { return TextOf(edit) == text; }, 3000);
        }
        if (!typed) return Failed("the typed text never arrived whole");
        if (historyButton) {
            HWND button = ::FindWindowExW(dialog, nullptr, L"Button", historyButton);
            if (!button) return Failed("no history button");
            bool added = false;
            for (int attempt = 0; attempt < 3 && !added; ++attempt) {
                ClickAt(MiddleOf(button));
                added = WaitUntil([&] { return TextOf(edit) != text; }, 3000);
            }
            if (!added) return Failed("the history button added nothing");
        }
        HWND ok = ::FindWindowExW(dialog, nullptr, L"Button", L"　ＯＫ　");
        if (!ok) return Failed("no OK button");
        const POINT onOk = MiddleOf(ok);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (::IsWindow(dialog)) ClickAt(onOk);
            if (WaitUntil([&] { return !::IsWindow(dialog); }, 3000)) return true;
        }
        return Failed("OK did not close the dialog");
    }
    static bool Failed(const char* step) {
        ADD_FAILURE() << step;
        return false;
    }
    static POINT MiddleOf(HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static std::wstring TextOf(HWND window) {
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000, &length);
        return text;
    }
};

TEST_F(AlbumE2eTest, TagsAddedFromTheAlbumMenuReachTheRecordTheHistoryAndTheAlbumWindow) {
    WriteSettings(kPictureSettings);
    const std::wstring movie = WriteMovie(L"タグ付け.avi", MovieOf(60, 160, 120));
    const std::wstring albumFolder = m_documents.Join(L"Kinoshelf\\ALBUM_0001");
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, albumFolder.c_str(), nullptr), ERROR_SUCCESS);
    {
        Inifile_CL history;
        history.Bind(AlbumInfoPath());
        history.WriteInt(L"TAG_HISTORY", L"count", 1);
        history.WriteString(L"TAG_HISTORY", L"item0", L"既存");
    }
    AlbumWindowThread album(false);
    ASSERT_NE(album.Window(), nullptr);

    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND dialog = StartFromAlbumAndOpenTags(&player, movie, &window);
    ASSERT_NE(dialog, nullptr) << "the tag dialog did not open";
    ASSERT_TRUE(EnterTags(dialog, L"新しい a&b a", L"既存"));

    EXPECT_TRUE(WaitUntil([&] { return Items(RecordOf(movie), L"TAG_INFO").size() == 4; }, 10000));
    EXPECT_EQ(Items(RecordOf(movie), L"TAG_INFO"), (std::vector<std::wstring>{L"新しい", L"a", L"b", L"既存"}));
    EXPECT_EQ(Items(AlbumInfoPath(), L"TAG_HISTORY"), (std::vector<std::wstring>{L"既存", L"a", L"b", L"新しい"}));

    // The notice: the magic twice, 528 bytes, the length and the path with its terminator.
    ASSERT_TRUE(WaitUntil([&] { return !album.Received().empty(); }, 10000)) << "no notice reached the album window";
    const std::string bytes = album.Received().front();
    EXPECT_EQ(album.Tags().front(), kAlbumNoticeMagic);
    ASSERT_EQ(bytes.size(), 528u);
    uint32_t magic = 0, length = 0;
    std::memcpy(&magic, bytes.data(), 4);
    std::memcpy(&length, bytes.data() + 4, 4);
    EXPECT_EQ(magic, kAlbumNoticeMagic);
    EXPECT_EQ(length, movie.size());
    std::wstring path(kAlbumNoticePathUnits, L'\0');
    std::memcpy(&path[0], bytes.data() + 8, 520);
    EXPECT_EQ(path.substr(0, movie.size()), movie);
    EXPECT_EQ(path.find_first_not_of(L'\0', movie.size()), std::wstring::npos) << "the field is not zero after the path";
    ClosePlayer(&player);
}

TEST_F(AlbumE2eTest, AnAlbumWindowThatHangsDoesNotHoldThePlayer) {
    WriteSettings(kPictureSettings);
    const std::wstring movie = WriteMovie(L"待たない.avi", MovieOf(60, 160, 120));
    AlbumWindowThread album(true);
    ASSERT_NE(album.Window(), nullptr);
    PlayerProcess_CL player;
    HWND window = nullptr;
    HWND dialog = StartFromAlbumAndOpenTags(&player, movie, &window);
    ASSERT_NE(dialog, nullptr) << "the tag dialog did not open";
    ASSERT_TRUE(EnterTags(dialog, L"待つ", nullptr));
    EXPECT_TRUE(WaitUntil([&] { return Items(RecordOf(movie), L"TAG_INFO") == std::vector<std::wstring>{L"待つ"}; }, 10000));
    // The send gives up after its time-out; the player goes on answering meanwhile and after.
    EXPECT_TRUE(WaitForLog(L"AlbumNotice(timed out", 15000));
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0);
    ClosePlayer(&player);
}

TEST_F(AlbumE2eTest, ARatingPassedToTheAlbumsCopyIsAnnouncedToTheAlbumWindow) {
    WriteSettings(kPictureSettings);
    const std::wstring movie = WriteMovie(L"評価.avi", MovieOf(60, 160, 120));
    {
        PlayerProcess_CL first;
        ASSERT_NE(StartPlayer(&first, {movie}), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 1; }, 20000));
        ClosePlayer(&first);
    }
    // The album's copy of the record, with its picture, in the bucket of the same number.
    const std::wstring record = RecordOf(movie);
    const size_t fileStart = record.find_last_of(L'\\');
    const size_t bucketStart = record.find_last_of(L'\\', fileStart - 1) + 1;
    const std::wstring albumFolder = m_documents.Join(L"Kinoshelf\\ALBUM_0002\\contents\\" +
                                                      record.substr(bucketStart, fileStart - bucketStart));
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, albumFolder.c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(::CopyFileW(record.c_str(), (albumFolder + L"\\copy.ini").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(albumFolder + L"\\copy.jpg", ""));
    AlbumWindowThread album(false);
    PlayerProcess_CL player;
    ASSERT_NE(StartPlayer(&player, {movie, L"/Kinoshelf"}), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PlayCountOf(movie) == 2; }, 20000));
    ASSERT_TRUE(PostKey(&player, '5'));
    ASSERT_TRUE(WaitUntil([&] { return !album.Received().empty(); }, 10000)) << "the rating was not announced";
    AlbumNoticeRecord expected;
    ASSERT_TRUE(BuildAlbumNoticeRecord(movie, expected));
    EXPECT_EQ(album.Received().front(), std::string(reinterpret_cast<const char*>(&expected), sizeof(expected)));
    ClosePlayer(&player);
    EXPECT_EQ(album.Received().size(), 1u) << "one change, one notice";
}

}  // namespace
