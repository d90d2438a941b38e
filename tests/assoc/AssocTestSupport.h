#pragma once
// What the association tests share: the test program's own path and folder (the helper and the
// player's stand-in lie there), and request files written by hand.

#include <windows.h>

#include <string>
#include <vector>

#include "store/LaunchExtension.h"

inline std::wstring TestProgramPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

inline std::wstring TestProgramFolder() {
    const std::wstring path = TestProgramPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

// Plain ASCII text as bytes (the request files the tests write by hand hold only ASCII).
inline std::string AsciiBytes(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A request in the player's form, with raw item values (not checked here), as ASCII bytes.
inline std::string HandWrittenRequest(const std::wstring& app, const std::wstring& exe,
                                      const std::vector<std::wstring>& rawItems, const std::wstring& icon = L",0",
                                      int count = -1) {
    std::wstring text = L"[APP_INFO]\r\napp=" + app + L"\r\nexe=" + exe + L"\r\nicon=" + icon +
                        L"\r\ndesc=Test description\r\n[FILE_EXT]\r\n";
    for (size_t i = 0; i < rawItems.size(); ++i) text += L"item" + std::to_wstring(i) + L"=" + rawItems[i] + L"\r\n";
    text += L"count=" + std::to_wstring(count < 0 ? static_cast<int>(rawItems.size()) : count) + L"\r\n";
    return AsciiBytes(text);
}

// The item lines and count of a request, without the lines before them.
inline std::string ItemLines(const std::string& bytes) {
    const size_t start = bytes.find("[FILE_EXT]\r\n");
    return start == std::string::npos ? std::string("(no request)") : bytes.substr(start + 12);
}

// A launch-extension record; one this program handles shows "Lumikino" as its handler.
inline LaunchExtension Record(const wchar_t* extension, bool associated, const wchar_t* saved) {
    LaunchExtension record;
    record.extension = extension;
    record.associated = associated;
    record.currentHandler = associated ? L"Lumikino" : saved;
    record.savedHandler = saved;
    return record;
}
