// File association on the real player: on a system reporting Windows XP the association page
// lists the movie extensions, two ticked and applied reach the class root through the helper,
// and "/ExtResume" gives them back to their earlier handlers; on a newer system "関連付け情報を
// 更新する" registers the player as a media application under HKEY_LOCAL_MACHINE.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/CommandIds.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/e2e/SettingsSheetFixture.h"

namespace {

// Extension keys no other test reads.
constexpr wchar_t kFirstExtension[] = L".lkassoce2ea";
constexpr wchar_t kSecondExtension[] = L".lkassoce2eb";
constexpr wchar_t kFirstEarlier[] = L"LkE2e.EarlierA";
constexpr wchar_t kSecondEarlier[] = L"LkE2e.EarlierB";
constexpr int kAssociationPage = 7;

std::wstring RegistryText(HKEY root, const std::wstring& key, const wchar_t* value) {
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (::RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS) {
        return L"<none>";
    }
    return text;
}

class AssociationE2eTest : public SettingsSheetFixture {
protected:
    AssociationE2eTest() { RemoveEverything(); }
    ~AssociationE2eTest() override { RemoveEverything(); }

    // What the tests and the helper write, removed before and after each test.
    static void RemoveEverything() {
        for (const wchar_t* key : {kFirstExtension, kSecondExtension, L"Lumikino"}) {
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
        }
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Clients\\Media\\Lumikino");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Lumikino");
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\RegisteredApplications", L"Lumikino");
        for (const wchar_t* program : {L"Lumikino.exe", L"Lumikino_FileExtChange.exe"}) {
            ::RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Wine\\AppDefaults\\") + program).c_str());
        }
    }
    // Both programs are told the system is Windows XP.
    static void ReportWindowsXp() {
        for (const wchar_t* program : {L"Lumikino.exe", L"Lumikino_FileExtChange.exe"}) {
            const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + program;
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, L"winxp64", 16), ERROR_SUCCESS);
        }
    }
    // A movie extension with its earlier handler, as another player left it.
    static void RegisterExtension(const wchar_t* extension, const wchar_t* handler) {
        const DWORD handlerBytes = static_cast<DWORD>((std::wcslen(handler) + 1) * sizeof(wchar_t));
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, extension, nullptr, REG_SZ, handler, handlerBytes), ERROR_SUCCESS);
        const wchar_t type[] = L"video/x-lk-e2e";
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, extension, L"Content Type", REG_SZ, type, sizeof(type)),
                  ERROR_SUCCESS);
    }
    // The settings sheet on the association page, over a player started without a movie.
    HWND OpenAssociationPage(PlayerProcess_CL* player, HWND* sheet) {
        WriteSettingsAndPlace(kSettings);
        HWND window = StartPlayer(player, {});
        // Once the window showed, the player lists the extensions and remembers their
        // handlers; the page shows that list.
        if (!window || !WaitUntil([&] { return Settings()[{L"EXT_INFO", kFirstExtension}] == kFirstEarlier; }, 10000) ||
            !player->PostToWindow(WM_COMMAND, MAKEWPARAM(CMD_APP_SETTINGS, 0), 0)) {
            return nullptr;
        }
        *sheet = WaitForSheet(*player, kAppSheet);
        return *sheet ? ShowPage(*sheet, kAssociationPage) : nullptr;
    }
};

TEST_F(AssociationE2eTest, OnWindowsXpTwoTickedExtensionsReachTheClassRootAndExtResumeGivesThemBack) {
    ReportWindowsXp();
    RegisterExtension(kFirstExtension, kFirstEarlier);
    RegisterExtension(kSecondExtension, kSecondEarlier);
    PlayerProcess_CL player;
    HWND sheet = nullptr;
    HWND page = OpenAssociationPage(&player, &sheet);
    ASSERT_NE(page, nullptr) << "the association page did not show";

    RemoteListView rows(player.ProcessId(), ::FindWindowExW(page, nullptr, WC_LISTVIEWW, nullptr));
    ASSERT_TRUE(rows.IsValid()) << "the page shows no list: not the older layout";
    int first = -1, second = -1;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<std::wstring> extensions = rows.Column(0);
        for (size_t i = 0; i < extensions.size(); ++i) {
            if (extensions[i] == kFirstExtension) first = static_cast<int>(i);
            if (extensions[i] == kSecondExtension) second = static_cast<int>(i);
        }
        return first >= 0 && second >= 0;
    }, 10000)) << "the test extensions are not listed";
    EXPECT_EQ(rows.CellText(first, 2), kFirstEarlier);
    // Each row ticked with the mouse on its check box, left of its label.
    for (int row : {first, second}) {
        ::SendMessageW(rows.Window(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        ASSERT_FALSE(rows.IsChecked(row));
        bool ticked = false;
        for (int attempt = 0; attempt < 3 && !ticked; ++attempt) {
            const RECT label = rows.RowRectOnScreen(row);
            ClickAt(POINT{label.left - 9, (label.top + label.bottom) / 2});
            ticked = WaitUntil([&] { return rows.IsChecked(row); }, 2000);
        }
        ASSERT_TRUE(ticked) << "row " << row << " did not take its tick";
    }
    const size_t started = LogCount(L"関連付けヘルパーを起動しました");
    ASSERT_TRUE(PressSheetButton(sheet, kApplyButton, [&] { return LogCount(L"関連付けヘルパーを起動しました") > started; }));

    // The helper writes the class root: both extensions now name the player, whose command
    // opens the file given.
    EXPECT_TRUE(WaitUntil([&] {
        return RegistryText(HKEY_CLASSES_ROOT, kFirstExtension, nullptr) == L"Lumikino" &&
               RegistryText(HKEY_CLASSES_ROOT, kSecondExtension, nullptr) == L"Lumikino";
    }, 15000)) << RegistryText(HKEY_CLASSES_ROOT, kFirstExtension, nullptr);
    const std::wstring command = RegistryText(HKEY_CLASSES_ROOT, L"Lumikino\\Shell\\Open\\command", nullptr);
    EXPECT_EQ(command, L"\"" + PlayerProcess_CL::PlayerPath() + L"\" \"%1\"");
    EXPECT_EQ(rows.CellText(first, 2), L"Lumikino");
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ClosePlayer(&player);

    // "/ExtResume" ends without a window and hands both back to their earlier handlers.
    PlayerProcess_CL resume;
    ASSERT_TRUE(resume.Start({L"/ExtResume"}));
    DWORD exitCode = 1;
    ASSERT_TRUE(resume.WaitForExit(kExitTimeoutMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitUntil([&] {
        return RegistryText(HKEY_CLASSES_ROOT, kFirstExtension, nullptr) == kFirstEarlier &&
               RegistryText(HKEY_CLASSES_ROOT, kSecondExtension, nullptr) == kSecondEarlier;
    }, 15000)) << RegistryText(HKEY_CLASSES_ROOT, kFirstExtension, nullptr);
}

TEST_F(AssociationE2eTest, OnANewerSystemUpdatingTheInformationRegistersThePlayerAsAMediaApplication) {
    RegisterExtension(kFirstExtension, kFirstEarlier);
    PlayerProcess_CL player;
    HWND sheet = nullptr;
    HWND page = OpenAssociationPage(&player, &sheet);
    ASSERT_NE(page, nullptr) << "the association page did not show";
    HWND update = ::FindWindowExW(page, nullptr, L"Button", L"関連付け情報を更新する");
    ASSERT_NE(update, nullptr) << "the page is not the newer layout";
    ASSERT_TRUE(ClickUntil(update, [&] { return LogCount(L"関連付けヘルパーを起動しました") > 0; }));

    const std::wstring capabilities = L"Software\\Clients\\Media\\Lumikino\\Capabilities";
    // The helper runs on its own and writes key after key: the test waits for the last one.
    EXPECT_TRUE(WaitUntil([&] {
        return RegistryText(HKEY_LOCAL_MACHINE, capabilities + L"\\FileAssociations", kFirstExtension) == L"Lumikino" &&
               RegistryText(HKEY_LOCAL_MACHINE, L"Software\\RegisteredApplications", L"Lumikino") == capabilities;
    }, 15000)) << "the helper did not register the player";
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"Software\\Clients\\Media\\Lumikino", nullptr), L"Lumikino");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, capabilities, L"ApplicationName"), L"Lumikino");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"Software\\RegisteredApplications", L"Lumikino"), capabilities);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Lumikino\\Shell\\Open\\command", nullptr),
              L"\"" + PlayerProcess_CL::PlayerPath() + L"\" \"%1\"");
    // The class root is left to the system's own dialog on this path.
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, kFirstExtension, nullptr), kFirstEarlier);
    ASSERT_TRUE(PressSheetButton(sheet, IDOK, [&] { return !::IsWindow(sheet); }));
    ClosePlayer(&player);
}

}  // namespace
