#include "tests/e2e/PlayerFixture.h"

#include <windows.h>

void PlayerFixture::WriteSettings(const std::wstring& text) const {
    ::CreateDirectoryW(DataFolder().c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(DataPath(L"Lumikino.ini"), Utf16File(text)));
}
