// ASX lists read back: the first ref of each entry whatever the names' case, the lists this
// program writes, and hostile lists (a document type with external entities or an entity
// bomb, endless nesting, garbage) that read as nothing without touching a file or the network.

#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "intake/AsxListReader.h"
#include "intake/PlayListFormats.h"
#include "store/AtomicRecordWriter_CL.h"
#include "tests/support/ProcessFigures.h"
#include "tests/support/TempFolder_CL.h"

namespace {

class AsxReading : public ::testing::Test {
protected:
    void SetUp() override { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { ::CoUninitialize(); }

    std::wstring Write(const wchar_t* name, const std::string& bytes) {
        const std::wstring path = m_folder.Join(name);
        AtomicRecordWriter_CL writer;
        EXPECT_EQ(writer.WriteBytes(path, bytes), S_OK);
        return path;
    }

    TempFolder_CL m_folder;
};

TEST_F(AsxReading, TheFirstRefOfEachEntryWhateverTheCaseOfItsNames) {
    const std::string list =
        "<ASX Version=\"3.0\">\n"
        "  <Entry><Title>one</Title><REF HREF=\"C:\\a &amp; b.avi\"/><ref href=\"C:\\second.avi\"/></Entry>\n"
        "  <entry><title>no ref</title></entry>\n"
        "  <entry><ref/><ref href=\"C:\\after-a-ref-without-href.avi\"/></entry>\n"
        "  <entry><param><ref href=\"C:\\nested.avi\"/></param><Ref hRef='C:\\three.mkv'></Ref></entry>\n"
        "  <entry/>\n"
        "  <other><ref href=\"C:\\not-in-an-entry.avi\"/></other>\n"
        "</ASX>\n";
    std::vector<std::wstring> paths;
    ASSERT_TRUE(ReadAsxList(Write(L"mixed.asx", list), &paths));
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\a & b.avi", L"C:\\three.mkv"}));
}

TEST_F(AsxReading, ListsThisProgramWritesReadBackTheirPaths) {
    std::vector<PlayListItem> items(3);
    items[0].path = L"C:\\動画\\Tom & Jerry's <1>.avi";
    items[1].path = L"D:\\\"quoted\".mp4";
    items[2].path = L"\\\\server\\share\\第2話.wmv";
    std::vector<std::wstring> paths;
    ASSERT_TRUE(ReadAsxList(Write(L"ours.wvx", MakeAsxList(items)), &paths));
    EXPECT_EQ(paths, (std::vector<std::wstring>{items[0].path, items[1].path, items[2].path}));
}

TEST_F(AsxReading, ARootOtherThanAsxGivesNothingAndBrokenOrMissingListsFail) {
    std::vector<std::wstring> paths = {L"left over"};
    EXPECT_TRUE(ReadAsxList(Write(L"rss.asx", "<rss><entry><ref href=\"C:\\a.avi\"/></entry></rss>"), &paths));
    EXPECT_TRUE(paths.empty());
    paths = {L"left over"};
    EXPECT_FALSE(ReadAsxList(Write(L"broken.asx", "<asx><entry><ref href=\"C:\\a.avi\"/></entri></asx>"), &paths));
    EXPECT_TRUE(paths.empty()) << "a broken list gives none of its entries";
    EXPECT_FALSE(ReadAsxList(m_folder.Join(L"missing.asx"), &paths));
}

// A TCP port on this machine that counts the connections made to it.
class Listener {
public:
    Listener() {
        WSADATA data{};
        m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (m_socket == INVALID_SOCKET || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(m_socket, 4) != 0 || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        u_long nonBlocking = 1;
        ::ioctlsocket(m_socket, FIONBIO, &nonBlocking);
        m_port = ntohs(address.sin_port);
    }
    ~Listener() {
        if (m_socket != INVALID_SOCKET) ::closesocket(m_socket);
        if (m_started) ::WSACleanup();
    }
    int Port() const { return m_port; }
    bool Connected() {
        SOCKET client = ::accept(m_socket, nullptr, nullptr);
        if (client == INVALID_SOCKET) return false;
        ::closesocket(client);
        return true;
    }

private:
    bool m_started = false;
    SOCKET m_socket = INVALID_SOCKET;
    int m_port = 0;
};

TEST_F(AsxReading, HostileListsReadAsNothingAndTouchNoFileOrNetwork) {
    const std::wstring secretPath = Write(L"secret.txt", "C:\\secret.avi");
    std::string secretUrl = "file:///";
    for (wchar_t c : secretPath) secretUrl += c == L'\\' ? '/' : static_cast<char>(c);
    Listener listener;
    ASSERT_NE(listener.Port(), 0);
    const std::string httpUrl = "http://127.0.0.1:" + std::to_string(listener.Port()) + "/list";

    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE asx [<!ENTITY l0 \"lollollollollollollollollollol\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) bomb += "&l" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><asx><entry><ref href=\"&l9;\"/></entry></asx>";
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<asx>";
    for (int i = 0; i < 20000; ++i) deep += "</asx>";
    std::string garbage(10 * 1024 * 1024, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 2654435761u) >> 24);

    const struct {
        const wchar_t* name;
        std::string bytes;
    } lists[] = {
        {L"file-entity.asx", "<?xml version=\"1.0\"?><!DOCTYPE asx [<!ENTITY x SYSTEM \"" + secretUrl +
                                 "\">]><asx><entry><ref href=\"&x;\"/></entry></asx>"},
        {L"http-entity.asx", "<?xml version=\"1.0\"?><!DOCTYPE asx SYSTEM \"" + httpUrl +
                                 "\"><asx><entry><ref href=\"C:\\a.avi\"/></entry></asx>"},
        {L"bomb.asx", bomb},
        {L"deep.asx", deep},
        {L"garbage.asx", garbage},
    };
    ProcessFigures before;
    ASSERT_TRUE(ReadOwnProcessFigures(&before));
    for (const auto& list : lists) {
        std::vector<std::wstring> paths;
        const std::wstring path = Write(list.name, list.bytes);
        const DWORD started = ::GetTickCount();
        ReadAsxList(path, &paths);
        std::printf("%ls: %lu ms\n", list.name, static_cast<unsigned long>(::GetTickCount() - started));
        EXPECT_TRUE(paths.empty()) << list.name;
    }
    ProcessFigures after;
    ASSERT_TRUE(ReadOwnProcessFigures(&after));
    EXPECT_LT(after.privateBytes - before.privateBytes, 50.0 * 1048576);
    EXPECT_FALSE(listener.Connected()) << "a list made a request";
}

}  // namespace
