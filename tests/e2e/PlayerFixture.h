#pragma once
// One fresh Documents folder per test, with the player's data folder inside it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"

class PlayerFixture : public ::testing::Test {
protected:
    static constexpr DWORD kStartTimeoutMs = 30000;
    static constexpr DWORD kExitTimeoutMs = 30000;

    PlayerFixture() : m_redirect(m_documents.Path()) {}

    std::wstring DataFolder() const { return m_documents.Join(L"Lumikino"); }
    std::wstring DataPath(const std::wstring& name) const { return DataFolder() + L"\\" + name; }
    std::wstring Log() const { return ReadLogText(DataPath(L"log.txt")); }
    bool LogContains(const std::wstring& text) const { return Log().find(text) != std::wstring::npos; }
    bool WaitForLog(const std::wstring& text, DWORD timeoutMs = 15000) const {
        return WaitUntil([&] { return LogContains(text); }, timeoutMs);
    }
    // Writes Lumikino.ini as the program keeps it: UTF-16 LE with its byte-order mark.
    void WriteSettings(const std::wstring& text) const;
    // Every content record file in the local store (contents\NNN\*.ini), bucket by bucket.
    std::vector<std::wstring> ContentRecordPaths() const;

    TempFolder_CL m_documents;
    DocumentsRedirect_CL m_redirect;
};
