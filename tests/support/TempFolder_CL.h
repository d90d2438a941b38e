#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <string>

class TempFolder_CL {
public:
    TempFolder_CL();
    ~TempFolder_CL();
    TempFolder_CL(const TempFolder_CL&) = delete;
    TempFolder_CL& operator=(const TempFolder_CL&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring Join(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

// Small file helpers for tests.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
// Text as UTF-16 LE bytes, and the same behind the FF FE mark (as the program's INI files).
std::string Utf16Bytes(const std::wstring& text);
std::string Utf16File(const std::wstring& text);
