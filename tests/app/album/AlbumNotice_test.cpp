// The change notice to the album application: the 528-byte record byte for byte, and what
// top-level windows of the album application's classes in this program receive.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/album/AlbumNotice.h"
#include "tests/support/TempFolder_CL.h"

namespace {

std::string Bytes(const AlbumNoticeRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof(record));
}

// A hidden top-level window of a class and title that keeps what WM_COPYDATA brought.
class NoticeWindow {
public:
    NoticeWindow(const wchar_t* windowClass, const wchar_t* title) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = windowClass;
        ::RegisterClassExW(&wc);  // the first window of the class registers it
        m_window = ::CreateWindowExW(0, windowClass, title, WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, wc.hInstance, this);
    }
    ~NoticeWindow() { ::DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

    int count = 0;
    WPARAM from = 0;
    ULONG_PTR dwData = 0;
    std::string bytes;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<NoticeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message != WM_COPYDATA || !self) return ::DefWindowProcW(window, message, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        ++self->count;
        self->from = wParam;
        self->dwData = data->dwData;
        self->bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
        return TRUE;
    }
    HWND m_window = nullptr;
};

const std::wstring kMovie = L"C:\\動画\\夏の旅行.mp4";  // 14 characters

}  // namespace

TEST(AlbumNoticeRecord, IsMagicLengthAndPathInAZeroFilledFieldOfAtMost259Characters) {
    AlbumNoticeRecord record;
    ASSERT_TRUE(BuildAlbumNoticeRecord(kMovie, record));
    const std::string bytes = Bytes(record);
    ASSERT_EQ(bytes.size(), 528u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x51\x4E\x42\x58\x0E\0\0\0", 8));
    EXPECT_EQ(bytes.substr(8, 28), Utf16Bytes(kMovie));
    EXPECT_EQ(bytes.substr(36), std::string(492, '\0'));

    const std::wstring longest = L"C:\\" + std::wstring(252, L'a') + L".mp4";  // 259 characters
    ASSERT_TRUE(BuildAlbumNoticeRecord(longest, record));
    EXPECT_EQ(record.length, 259u);
    EXPECT_EQ(std::wstring(record.path), longest);
    for (const std::wstring& bad : {longest + L"4", std::wstring(), std::wstring(L"C:\\a\0b", 6)}) {
        EXPECT_FALSE(BuildAlbumNoticeRecord(bad, record)) << bad.size();
        EXPECT_EQ(Bytes(record), std::string(528, '\0'));  // nothing of an earlier path stays
    }
}

TEST(AlbumNotice, TheAlbumWindowReceivesTheRecordFromThePlayersWindow) {
    NoticeWindow player(L"LkNoticeTestPlayer", L"Lumikino");
    NoticeWindow album(kAlbumWindowClass, kAlbumWindowTitle);
    EXPECT_EQ(SendAlbumNotice(player.Get(), kMovie), AlbumNoticeResult::Sent);
    ASSERT_EQ(album.count, 1);
    EXPECT_EQ(album.from, reinterpret_cast<WPARAM>(player.Get()));
    EXPECT_EQ(album.dwData, kAlbumNoticeMagic);
    AlbumNoticeRecord expected;
    ASSERT_TRUE(BuildAlbumNoticeRecord(kMovie, expected));
    EXPECT_EQ(album.bytes, Bytes(expected));
    AlbumNoticeSender(player.Get())(kMovie);  // the record store's hook sends the same
    EXPECT_EQ(album.count, 2);
    EXPECT_EQ(SendAlbumNotice(player.Get(), L"C:\\" + std::wstring(300, L'a')), AlbumNoticeResult::BadPath);
    EXPECT_EQ(album.count, 2);
}

TEST(AlbumNotice, TheOlderClassStandsInAndOtherTitlesOrTheSenderItselfGetNothing) {
    NoticeWindow otherTitle(kAlbumWindowClass, L"Kinoshelf - 設定");
    EXPECT_EQ(SendAlbumNotice(nullptr, kMovie), AlbumNoticeResult::NoWindow);
    NoticeWindow older(kAlbumWindowOlderClass, kAlbumWindowTitle);
    EXPECT_EQ(SendAlbumNotice(older.Get(), kMovie), AlbumNoticeResult::NoWindow);  // never to itself
    EXPECT_EQ(SendAlbumNotice(nullptr, kMovie), AlbumNoticeResult::Sent);
    {
        NoticeWindow album(kAlbumWindowClass, kAlbumWindowTitle);
        EXPECT_EQ(SendAlbumNotice(nullptr, kMovie), AlbumNoticeResult::Sent);
        EXPECT_EQ(album.count, 1);  // the album class comes first
    }
    EXPECT_EQ(older.count, 1);
    EXPECT_EQ(otherTitle.count, 0);
}
