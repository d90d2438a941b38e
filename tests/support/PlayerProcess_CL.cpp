#include "tests/support/PlayerProcess_CL.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "tests/support/TempFolder_CL.h"

namespace {
constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kPersonalValue[] = L"Personal";
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= deadline) return condition();
        ::Sleep(15);  // polling step, not synchronisation: the condition decides
    }
}

PlayerProcess_CL::~PlayerProcess_CL() { Kill(); }

std::wstring PlayerProcess_CL::PlayerPath() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"Lumikino.exe";
}

std::wstring PlayerProcess_CL::QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') backslashes = backslashes * 2 + 1;
        quoted.append(backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

bool LaunchProgram(const std::wstring& exe, const std::vector<std::wstring>& args, const std::wstring& workingFolder,
                   KernelHandle_CL* process, DWORD* processId) {
    std::wstring commandLine = PlayerProcess_CL::QuoteArgument(exe);
    for (const std::wstring& arg : args) commandLine += L" " + PlayerProcess_CL::QuoteArgument(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    process->Reset(info.hProcess);
    *processId = info.dwProcessId;
    return true;
}

bool PlayerProcess_CL::Start(const std::vector<std::wstring>& args, const std::wstring& workingFolder) {
    m_window = nullptr;
    return LaunchProgram(PlayerPath(), args, workingFolder, &m_process, &m_processId);
}

bool PlayerProcess_CL::IsRunning() const {
    return m_process.IsValid() && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

namespace {
struct FindContext {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectPlayerWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (std::wstring(className) != L"MainWindowClass") return TRUE;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (context->processId == 0 || owner == context->processId) context->windows.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindPlayerWindows(DWORD processId) {
    FindContext context{processId, {}};
    ::EnumWindows(CollectPlayerWindow, reinterpret_cast<LPARAM>(&context));
    return context.windows;
}

HWND PlayerProcess_CL::WaitForMainWindow(DWORD timeoutMs) {
    const ULONGLONG started = ::GetTickCount64();
    WaitUntil(
        [&] {
            for (HWND w : FindPlayerWindows(m_processId)) {
                if (::IsWindowVisible(w)) {
                    m_window = w;
                    return true;
                }
            }
            return !IsRunning();
        },
        timeoutMs);
    // The window shows before its child windows are made and the rest of the start runs; the
    // player has started once its thread waits for input.
    if (m_window) {
        const ULONGLONG spent = ::GetTickCount64() - started;
        ::WaitForInputIdle(m_process.Get(), spent < timeoutMs ? static_cast<DWORD>(timeoutMs - spent) : 0);
    }
    return m_window;
}

bool PlayerProcess_CL::SendCopyData(ULONG_PTR dwData, const void* data, DWORD size, LRESULT* result,
                                    DWORD timeoutMs) {
    if (!m_window) return false;
    COPYDATASTRUCT copy{};
    copy.dwData = dwData;
    copy.cbData = size;
    copy.lpData = const_cast<void*>(data);
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(m_window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG,
                               timeoutMs, &answer)) {
        return false;
    }
    if (result) *result = static_cast<LRESULT>(answer);
    return true;
}

bool PlayerProcess_CL::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_window && ::PostMessageW(m_window, message, wParam, lParam);
}

void PlayerProcess_CL::CloseDialogs() const {
    struct Search {
        DWORD processId;
    } search{m_processId};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            wchar_t className[16] = {};
            ::GetClassNameW(window, className, 16);
            if (owner == s->processId && std::wcscmp(className, L"#32770") == 0) ::PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
}

bool PlayerProcess_CL::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!m_process.IsValid()) return false;
    // A player may be showing a dialog (the play-error dialog for a made-up path), and while
    // one is open it does not close: such dialogs are closed as they appear.
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD slice = now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 250));
        if (::WaitForSingleObject(m_process.Get(), slice) == WAIT_OBJECT_0) break;
        if (now >= deadline) return false;
        CloseDialogs();
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.Get(), &code);
    if (exitCode) *exitCode = code;
    return true;
}

void PlayerProcess_CL::Kill() {
    if (m_processId == 0) return;
    if (IsRunning()) {
        ::TerminateProcess(m_process.Get(), 99);
        ::WaitForSingleObject(m_process.Get(), 10000);
    }
    EndProcessesStartedBy(m_processId);
}

void EndProcessesStartedBy(DWORD processId) {
    KernelHandle_CL snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid()) return;
    std::vector<std::pair<DWORD, DWORD>> parentOf;  // (process, its parent)
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        parentOf.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
    }
    // Parents before children, so that a child cannot be missed when its parent ends first.
    std::vector<DWORD> started{processId};
    for (size_t i = 0; i < started.size(); ++i) {
        for (const auto& [child, parent] : parentOf) {
            if (parent == started[i] && child != processId &&
                std::find(started.begin(), started.end(), child) == started.end()) {
                started.push_back(child);
            }
        }
    }
    for (size_t i = 1; i < started.size(); ++i) {
        KernelHandle_CL process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started[i]));
        if (!process.IsValid()) continue;
        ::TerminateProcess(process.Get(), 99);
        ::WaitForSingleObject(process.Get(), 10000);
    }
}

DocumentsRedirect_CL::DocumentsRedirect_CL(const std::wstring& folder) {
    RegKey_CL key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          key.Put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    wchar_t old[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(old) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), kPersonalValue, nullptr, &type, reinterpret_cast<BYTE*>(old), &bytes) ==
        ERROR_SUCCESS) {
        m_hadValue = true;
        m_oldValue = old;
    }
    ::RegSetValueExW(key.Get(), kPersonalValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

DocumentsRedirect_CL::~DocumentsRedirect_CL() {
    RegKey_CL key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_WRITE, key.Put()) != ERROR_SUCCESS) return;
    if (m_hadValue) {
        ::RegSetValueExW(key.Get(), kPersonalValue, 0, REG_EXPAND_SZ,
                         reinterpret_cast<const BYTE*>(m_oldValue.c_str()),
                         static_cast<DWORD>((m_oldValue.size() + 1) * sizeof(wchar_t)));
    } else {
        ::RegDeleteValueW(key.Get(), kPersonalValue);
    }
}

std::wstring ReadLogText(const std::wstring& path) {
    std::string bytes = ReadFileBytes(path);
    size_t start = (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                    static_cast<unsigned char>(bytes[1]) == 0xFE)
                       ? 2
                       : 0;
    std::wstring text;
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t from = 0;
    for (;;) {
        size_t end = text.find(L"\r\n", from);
        if (end == std::wstring::npos) {
            if (from < text.size()) lines.push_back(text.substr(from));
            return lines;
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
}
