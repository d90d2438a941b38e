// A stand-in for a DLL someone planted beside a movie: when anything loads it, it leaves a
// file named "planted_dll_ran.txt" in the current folder.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE marker = ::CreateFileW(L"planted_dll_ran.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI D3D9GetSWInfo() { return S_OK; }
