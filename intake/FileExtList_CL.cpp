#include "intake/FileExtList_CL.h"

#include <windows.h>

#include <algorithm>

#include "base/Platform.h"
#include "intake/FileExtension.h"
#include "intake/IntakeKeys.h"
#include "store/Inifile_CL.h"

FileExtList_CL::FileExtList_CL() { Load(DefaultIniPath()); }

FileExtList_CL::FileExtList_CL(const std::wstring& iniPath) { Load(iniPath); }

std::wstring FileExtList_CL::DefaultIniPath() {
    return ProgramFolder() + L"\\" + kDropExtFileName;
}

void FileExtList_CL::Load(const std::wstring& iniPath) {
    m_extensions.clear();
    if (!iniPath.empty()) {
        // Bound, not opened: opening would create the file, and the player only reads it.
        Inifile_CL ini;
        ini.Bind(iniPath);
        int count = std::min(ini.GetInt(kDropExtSection, kDropExtCountKey, 0), kMaxFileEntries);
        for (int i = 0; i < count; ++i) {
            std::wstring value = ini.GetString(kDropExtSection, MakeIndexedKey(kDropExtItemStem, i), L"");
            if (!value.empty()) AddUnique(LowerText(value));
        }
    }
    for (const wchar_t* builtIn : kBuiltIn) AddUnique(builtIn);
}

void FileExtList_CL::AddUnique(const std::wstring& lowerExtension) {
    if (std::find(m_extensions.begin(), m_extensions.end(), lowerExtension) == m_extensions.end()) {
        m_extensions.push_back(lowerExtension);
    }
}

bool FileExtList_CL::Contains(const std::wstring& extension) const {
    const std::wstring lower = LowerText(extension);
    return std::find(m_extensions.begin(), m_extensions.end(), lower) != m_extensions.end();
}
