// The association page's actions on a real page: the list layout's apply and its two buttons,
// and the newer layout's buttons, each read back from the request file they write.

#include "app/settings/PropAppFileExtention_CL.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>

#include "base/UniqueHandle_CL.h"
#include "tests/assoc/AssocTestSupport.h"
#include "tests/support/TempFolder_CL.h"
#include "ui/ListView_CL.h"

namespace {
class AssociationPageTest : public ::testing::Test {
protected:
    AssociationPageTest() {
        m_host.Reset(::CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                       nullptr, nullptr));
    }

    HWND Open(PropAppFileExtention_CL& page) {
        EXPECT_HRESULT_SUCCEEDED(page.CreateModeless(m_host.Get()));
        m_page = page.Window();
        return m_page;
    }
    void Click(const wchar_t* text) {
        HWND button = ::FindWindowExW(m_page, nullptr, L"Button", text);
        ASSERT_NE(button, nullptr) << text;
        ::SendMessageW(button, BM_CLICK, 0, 0);
    }
    void Apply() {
        PSHNOTIFY notice{};
        notice.hdr.hwndFrom = m_host.Get();
        notice.hdr.code = static_cast<UINT>(PSN_APPLY);
        ::SendMessageW(m_page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    }
    AssocLauncher_CL Launcher() const { return AssocLauncher_CL(TestProgramPath(), m_request, L""); }

    TempFolder_CL m_folder;
    std::wstring m_request = m_folder.Join(L"file_ext_info.txt");
    OwnedWindow_CL m_host;
    HWND m_page = nullptr;
    std::vector<LaunchExtension> m_records = {Record(L".avi", true, L"AVIFile"), Record(L".mp4", false, L"WMP.mp4"),
                                              Record(L".mkv", false, L"")};
};
}  // namespace

TEST_F(AssociationPageTest, ListApplySendsTheChangedRowsAndShowsTheirNewHandlers) {
    PropAppFileExtention_CL page(m_records, 5, Launcher());
    Open(page);
    ASSERT_NE(page.List(), nullptr);
    Apply();  // nothing changed: still a request, with no items
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)), "count=0\r\n");

    Click(L"全て選択");
    Apply();
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)), "item0=.mp4,Lumikino\r\nitem1=.mkv,Lumikino\r\ncount=2\r\n");
    EXPECT_EQ(page.List()->CellText(1, 2), L"Lumikino");
    EXPECT_EQ(page.List()->CellText(2, 2), L"Lumikino");

    Click(L"選択を解除");
    Apply();
    EXPECT_EQ(ItemLines(ReadFileBytes(m_request)),
              "item0=.avi,AVIFile\r\nitem1=.mp4,WMP.mp4\r\nitem2=.mkv,\r\ncount=3\r\n");
    EXPECT_EQ(page.List()->CellText(0, 2), L"AVIFile");
    EXPECT_EQ(page.List()->CellText(2, 2), L"");
    EXPECT_FALSE(page.Extensions()[0].associated);
    EXPECT_EQ(page.RequestCount(), 3);
}

TEST_F(AssociationPageTest, NewerLayoutRegistersEverythingAndItsApplySendsNothing) {
    PropAppFileExtention_CL page(m_records, 10, Launcher());
    Open(page);
    Apply();
    EXPECT_FALSE(FileExists(m_request));
    Click(L"関連付け情報を更新する");
    const std::string items = ItemLines(ReadFileBytes(m_request));
    EXPECT_EQ(items.rfind("item0=.avi,AVIFile\r\nitem1=.mp4,WMP.mp4\r\nitem2=.mkv,\r\n", 0), 0u) << items;
    EXPECT_EQ(page.RequestCount(), 1);
    EXPECT_FALSE(page.Extensions()[0].associated);
}

TEST_F(AssociationPageTest, SystemDialogButtonWritesNoRequest) {
    // Only where the system lacks its association dialog: elsewhere the button opens it and waits.
    const HRESULT com = ::CoInitialize(nullptr);
    IUnknown* dialog = nullptr;
    const CLSID clsid = {0x1968106D, 0xF3B5, 0x44CF, {0x89, 0x0E, 0x11, 0x6F, 0xCB, 0x9E, 0xCE, 0xF1}};
    const HRESULT created = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                               reinterpret_cast<void**>(&dialog));
    if (dialog) dialog->Release();
    if (SUCCEEDED(created)) {
        if (SUCCEEDED(com)) ::CoUninitialize();
        GTEST_SKIP() << "the system has its own association dialog";
    }
    PropAppFileExtention_CL page(m_records, 10, Launcher());
    Open(page);
    Click(L"プログラムの関連付けを設定する");
    EXPECT_FALSE(FileExists(m_request));
    EXPECT_EQ(page.RequestCount(), 0);
    if (SUCCEEDED(com)) ::CoUninitialize();
}
