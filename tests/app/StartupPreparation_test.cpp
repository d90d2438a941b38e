// What a start does before its window shows and what it leaves for after: the data folder
// without its record folders, the record folders, where late-bound libraries come from, and
// which libraries Lumikino.exe binds when it loads.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/DataFolderSetup.h"
#include "app/DelayLoadRoute.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/TextFormat.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

class StartupPreparation : public ::testing::Test {
protected:
    void SetUp() override { m_logPath = LogFile_CL::Process().Path(); }
    void TearDown() override { LogFile_CL::Process().SetPath(m_logPath); }

    std::wstring Data(const std::wstring& tail) const { return m_documents.Join(L"Lumikino\\" + tail); }

    TempFolder_CL m_documents;
    DocumentsRedirect_CL m_redirect{m_documents.Path()};
    std::wstring m_logPath;
};

std::string Bom() { return std::string("\xFF\xFE", 2); }

}  // namespace

TEST_F(StartupPreparation, BeforeTheWindowTheDataFolderGetsItsFilesButNoRecordFolders) {
    PrepareDataFolder();
    EXPECT_TRUE(FolderExists(m_documents.Join(L"Lumikino")));
    EXPECT_TRUE(FolderExists(Data(L"capture")));
    EXPECT_EQ(ReadFileBytes(Data(L"Lumikino.ini")), Bom());
    EXPECT_EQ(ReadFileBytes(Data(L"LumikinoHistory.ini")), Bom());
    const std::wstring log = ReadLogText(Data(L"log.txt"));
    EXPECT_NE(log.find(L"★★★★★ アプリ起動 ★★★★★"), std::wstring::npos);
    EXPECT_NE(log.find(L"DataFolderPath = \""), std::wstring::npos);
    EXPECT_FALSE(FolderExists(Data(L"contents")));
}

TEST_F(StartupPreparation, RecordFoldersAreTheHundredBucketsAndMakingThemAgainChangesNothing) {
    PrepareDataFolder();
    CreateRecordFolders();
    for (int bucket = 0; bucket < kContentBucketCount; ++bucket) {
        ASSERT_TRUE(FolderExists(Data(FormatString(L"contents\\%03d", bucket)))) << bucket;
    }
    EXPECT_FALSE(FolderExists(Data(L"contents\\100")));

    // A record already in a bucket survives a second start.
    ASSERT_TRUE(WriteFileBytes(Data(L"contents\\042\\record.ini"), Bom() + "x"));
    CreateRecordFolders();
    EXPECT_EQ(ReadFileBytes(Data(L"contents\\042\\record.ini")), Bom() + "x");
    EXPECT_TRUE(FolderExists(Data(L"contents\\099")));
}

TEST_F(StartupPreparation, ExistingSettingsAreLeftAsTheyAre) {
    ASSERT_TRUE(::CreateDirectoryW(m_documents.Join(L"Lumikino").c_str(), nullptr));
    const std::string settings = Utf16File(L"[SETTING]\r\nduplicate_launch=1\r\n");
    ASSERT_TRUE(WriteFileBytes(Data(L"Lumikino.ini"), settings));
    PrepareDataFolder();
    CreateRecordFolders();
    EXPECT_EQ(ReadFileBytes(Data(L"Lumikino.ini")), settings);
}

TEST(DelayLoadRoute, LibrariesComeFromTheSystemFolderOnly) {
    DelayLoadInfo info{};
    info.cb = sizeof(info);
    info.szDll = "version.dll";
    FARPROC loaded = DelayLoadFromSystemFolder(dliNotePreLoadLibrary, &info);
    ASSERT_NE(loaded, nullptr);
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(reinterpret_cast<HMODULE>(loaded), path, MAX_PATH), 0u);
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(::_wcsnicmp(path, system, std::wcslen(system)), 0) << path;

    // A name the system folder does not hold is not looked for anywhere else.
    info.szDll = "lumikino_no_such_library.dll";
    EXPECT_EQ(DelayLoadFromSystemFolder(dliNotePreLoadLibrary, &info), nullptr);
    // The other notifications are left to the platform.
    info.szDll = "version.dll";
    EXPECT_EQ(DelayLoadFromSystemFolder(dliNotePreGetProcAddress, &info), nullptr);
    EXPECT_EQ(DelayLoadFromSystemFolder(dliStartProcessing, &info), nullptr);
    EXPECT_EQ(DelayLoadFromSystemFolder(dliNotePreLoadLibrary, nullptr), nullptr);
}

namespace {

// The names of the DLLs a PE image imports at load time, upper-cased, read from its file.
bool LoadTimeImports(const std::string& image, std::set<std::string>* names, std::vector<std::string>* sections) {
    auto read32 = [&](size_t at) -> uint32_t {
        uint32_t v = 0;
        if (at + 4 <= image.size()) std::memcpy(&v, image.data() + at, 4);
        return v;
    };
    auto read16 = [&](size_t at) -> uint16_t {
        uint16_t v = 0;
        if (at + 2 <= image.size()) std::memcpy(&v, image.data() + at, 2);
        return v;
    };
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return false;
    const size_t pe = read32(0x3C);
    if (image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return false;
    const size_t fileHeader = pe + 4;
    const uint16_t sectionCount = read16(fileHeader + 2);
    const uint16_t optionalSize = read16(fileHeader + 16);
    const size_t optional = fileHeader + 20;
    if (read16(optional) != 0x20B) return false;  // PE32+
    const uint32_t importRva = read32(optional + 112 + 8);  // data directory 1
    const size_t sectionTable = optional + optionalSize;
    // Names longer than eight characters are "/offset" into the string table after the symbols.
    const size_t stringTable = size_t(read32(fileHeader + 8)) + size_t(read32(fileHeader + 12)) * 18;
    struct Section {
        uint32_t rva, size, fileOffset;
    };
    std::vector<Section> table;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable + size_t(i) * 40;
        std::string name = image.substr(at, 8);
        name = name.substr(0, name.find('\0'));
        if (!name.empty() && name[0] == '/') {
            const size_t nameAt = stringTable + size_t(std::atoi(name.c_str() + 1));
            if (nameAt < image.size()) name = image.substr(nameAt, image.find('\0', nameAt) - nameAt);
        }
        sections->push_back(name);
        table.push_back({read32(at + 12), std::max(read32(at + 8), read32(at + 16)), read32(at + 20)});
    }
    auto fileOffset = [&](uint32_t rva) -> size_t {
        for (const Section& s : table) {
            if (rva >= s.rva && rva < s.rva + s.size) return s.fileOffset + (rva - s.rva);
        }
        return 0;
    };
    size_t descriptor = fileOffset(importRva);
    if (!descriptor) return false;
    for (;; descriptor += 20) {
        const uint32_t nameRva = read32(descriptor + 12);
        if (nameRva == 0) break;
        const size_t nameAt = fileOffset(nameRva);
        if (!nameAt) return false;
        std::string name = image.substr(nameAt, image.find('\0', nameAt) - nameAt);
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        names->insert(name);
    }
    return true;
}

}  // namespace

TEST(ProgramImage, LumikinoBindsOnlyTheLibrariesEveryStartNeedsAndCarriesNoDebuggingInformation) {
    const std::string image = ReadFileBytes(PlayerProcess_CL::PlayerPath());
    ASSERT_FALSE(image.empty()) << "Lumikino.exe is built beside the tests";
    std::set<std::string> imports;
    std::vector<std::string> sections;
    ASSERT_TRUE(LoadTimeImports(image, &imports, &sections));
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL"};
    for (const std::string& name : imports) {
        EXPECT_TRUE(allowed.count(name)) << name << " is bound at process start";
    }
    EXPECT_TRUE(imports.count("KERNEL32.DLL"));
    for (const std::string& section : sections) {
        EXPECT_NE(section.rfind(".debug", 0), 0u) << section;
    }
}
