// The association helper run for real: a request in a fresh Documents folder, the helper
// started and waited for, and the registry read back on both of its paths. Wine reports the
// version an application's AppDefaults name, so the older path is chosen by naming "winxp64"
// for the helper. Everything the helper may write is removed before and after each test.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "assoc/AssocKeys.h"
#include "assoc/AssocRequest.h"
#include "base/UniqueHandle_CL.h"
#include "tests/assoc/AssocTestSupport.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr wchar_t kMediaKey[] = L"Software\\Clients\\Media\\Lumikino";
constexpr wchar_t kCapabilitiesKey[] = L"Software\\Clients\\Media\\Lumikino\\Capabilities";
constexpr wchar_t kClassKey[] = L"Software\\Classes\\Lumikino";
constexpr wchar_t kRegisteredAppsKey[] = L"Software\\RegisteredApplications";
constexpr wchar_t kHelperDefaultsKey[] = L"Software\\Wine\\AppDefaults\\Lumikino_FileExtChange.exe";
constexpr const wchar_t* kTestExtensions[] = {L".lkassoctest1", L".lkassoctest2", L".lkassoctest3"};

// A value as text with its type and size in bytes; "(none)" when the key or value is missing.
std::wstring ReadValue(HKEY root, const std::wstring& subKey, const wchar_t* name) {
    RegKey_CL key;
    std::wstring buffer(4096, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), type = 0;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &bytes) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return buffer.substr(0, wcsnlen(buffer.c_str(), bytes / sizeof(wchar_t))) + L" type " + std::to_wstring(type) +
           L" bytes " + std::to_wstring(bytes);
}

// A REG_SZ value as the helper must leave it: the text, its size counting the terminator.
std::wstring Sz(const std::wstring& text) {
    return text + L" type 1 bytes " + std::to_wstring((text.size() + 1) * sizeof(wchar_t));
}

bool KeyExists(HKEY root, const std::wstring& subKey) {
    RegKey_CL key;
    return ::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

void RemoveEverythingTheHelperWrites() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kMediaKey);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Lumikino");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRegisteredAppsKey, L"Lumikino");
    for (const wchar_t* extension : kTestExtensions) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, extension);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kHelperDefaultsKey);
}

// What a hostile request could reach: program types, and this program's own entries.
std::map<std::wstring, std::wstring> Snapshot() {
    return {{L"exefile command", ReadValue(HKEY_CLASSES_ROOT, L"exefile\\shell\\open\\command", nullptr)},
            {L"exefile icon", ReadValue(HKEY_CLASSES_ROOT, L"exefile\\DefaultIcon", nullptr)},
            {L".exe", ReadValue(HKEY_CLASSES_ROOT, L".exe", nullptr)},
            {L".bat", ReadValue(HKEY_CLASSES_ROOT, L".bat", nullptr)},
            {L"registered", ReadValue(HKEY_LOCAL_MACHINE, kRegisteredAppsKey, L"Lumikino")},
            {L"media", KeyExists(HKEY_LOCAL_MACHINE, kMediaKey) ? L"yes" : L"no"},
            {L"class", KeyExists(HKEY_CLASSES_ROOT, L"Lumikino") ? L"yes" : L"no"},
            {L"test extension", KeyExists(HKEY_CLASSES_ROOT, L".lkassoctest1") ? L"yes" : L"no"}};
}

class AssocHelperRun : public ::testing::Test {
protected:
    AssocHelperRun() : m_redirect(m_documents.Path()) {
        RemoveEverythingTheHelperWrites();
        ::CreateDirectoryW(m_documents.Join(L"Lumikino").c_str(), nullptr);
    }
    ~AssocHelperRun() override { RemoveEverythingTheHelperWrites(); }

    void WriteRequest(const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes(m_documents.Join(L"Lumikino\\file_ext_info.txt"), bytes));
    }
    void WritePlayerRequest(const std::vector<AssocItem>& items) {
        AssocRequestText request;
        ASSERT_TRUE(FormatAssocRequest(TestProgramPath(), items, &request));
        WriteRequest(request.bytes);
    }

    // Wine answers the helper's version query from its AppDefaults: "winxp64" is 5.2; without
    // the entry the prefix's own version (6 or more) stands.
    void ReportVersionFive(bool five) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kHelperDefaultsKey);
        if (five) {
            const std::wstring version = L"winxp64";
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kHelperDefaultsKey, L"Version", REG_SZ, version.c_str(),
                                        static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }

    // Starts the helper, waits for it to end and expects the exit code 0.
    void RunHelper() {
        KernelHandle_CL process;
        DWORD processId = 0, exitCode = 1;
        ASSERT_TRUE(LaunchProgram(TestProgramFolder() + L"\\" + kAssocHelperFileName, {}, TestProgramFolder(),
                                  &process, &processId));
        ASSERT_EQ(::WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
        ASSERT_TRUE(::GetExitCodeProcess(process.Get(), &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    TempFolder_CL m_documents;
    DocumentsRedirect_CL m_redirect;
};

std::wstring Command() { return L"\"" + TestProgramPath() + L"\" \"%1\""; }
}  // namespace

TEST_F(AssocHelperRun, RegisteredApplicationPathOffersTheExtensionsAsCapabilities) {
    WritePlayerRequest({{L".lkassoctest1", L"Lumikino"}, {L".lkassoctest2", L"Old.Handler"}, {L".exe", L"Lumikino"}});
    const std::wstring associations = std::wstring(kCapabilitiesKey) + L"\\FileAssociations";
    for (int run = 0; run < 2; ++run) {  // a second run leaves the same values
        RunHelper();
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kMediaKey, nullptr), Sz(L"Lumikino"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kMediaKey, L"LocalizedString"), Sz(L"Lumikino"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kCapabilitiesKey, L"ApplicationName"), Sz(L"Lumikino"));
        if (::GetACP() == 932) {
            EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kCapabilitiesKey, L"ApplicationDescription"), Sz(kAssocDescription));
        }
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, std::wstring(kClassKey) + L"\\DefaultIcon", nullptr),
                  Sz(TestProgramPath() + L",0"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, std::wstring(kClassKey) + L"\\Shell\\Open\\command", nullptr),
                  Sz(Command()));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, associations, L".lkassoctest1"), Sz(L"Lumikino"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, associations, L".lkassoctest2"), Sz(L"Lumikino"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, associations, L".exe"), L"(none)");
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kRegisteredAppsKey, L"Lumikino"), Sz(kCapabilitiesKey));
        // The class root's extension keys are the system dialog's to set on this path.
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".lkassoctest1"));
    }
}

TEST_F(AssocHelperRun, ClassRootPathGivesExtensionsToThePlayerAndHandsThemBack) {
    ReportVersionFive(true);
    const std::map<std::wstring, std::wstring> before = Snapshot();
    // Items without a comma, or naming program types or sub-keys, are skipped one by one.
    WriteRequest(HandWrittenRequest(L"Lumikino", TestProgramPath(),
                                    {L".lkassoctest1,Lumikino", L".lkassoctest3", L".exe,Lumikino", L"",
                                     L"exefile\\shell\\open\\command", L".bat,", L".lkassoctest2,Lumikino"}));
    RunHelper();
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".lkassoctest1", nullptr), Sz(L"Lumikino"));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".lkassoctest2", nullptr), Sz(L"Lumikino"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".lkassoctest3"));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"Lumikino\\DefaultIcon", nullptr), Sz(TestProgramPath() + L",0"));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"Lumikino\\Shell\\Open\\command", nullptr), Sz(Command()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMediaKey));
    const std::map<std::wstring, std::wstring> after = Snapshot();
    for (const wchar_t* name : {L"exefile command", L"exefile icon", L".exe", L".bat", L"registered"}) {
        EXPECT_EQ(after.at(name), before.at(name)) << name;
    }

    // Handed back: each extension gets the handler it had before, or an empty one.
    WritePlayerRequest({{L".lkassoctest1", L"LkAssocTest.Earlier"}, {L".lkassoctest2", L""}});
    RunHelper();
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".lkassoctest1", nullptr), Sz(L"LkAssocTest.Earlier"));
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L".lkassoctest2", nullptr), Sz(L""));
}

TEST_F(AssocHelperRun, HostileRequestsLeaveTheRegistryAsItWas) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::pair<const char*, std::string> requests[] = {
        {"other application", HandWrittenRequest(L"exefile", TestProgramPath(), {L".lkassoctest1,exefile"})},
        {"player outside the helper's folder",
         HandWrittenRequest(L"Lumikino", std::wstring(system) + L"\\notepad.exe", {L".lkassoctest1,Lumikino"})},
        {"no request", std::string()}};
    for (bool five : {true, false}) {
        ReportVersionFive(five);
        for (const auto& request : requests) {
            ::DeleteFileW(m_documents.Join(L"Lumikino\\file_ext_info.txt").c_str());
            if (!request.second.empty()) WriteRequest(request.second);
            const std::map<std::wstring, std::wstring> before = Snapshot();
            RunHelper();
            EXPECT_EQ(Snapshot(), before) << request.first << (five ? " (class root)" : " (registered)");
        }
    }
}
