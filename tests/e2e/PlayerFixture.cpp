#include "tests/e2e/PlayerFixture.h"

#include <windows.h>

void PlayerFixture::WriteSettings(const std::wstring& text) const {
    ::CreateDirectoryW(DataFolder().c_str(), nullptr);
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    ASSERT_TRUE(WriteFileBytes(DataPath(L"Lumikino.ini"), bytes));
}
