#pragma once
// One move-only owner for every kind of Win32 handle; the traits say what "no handle"
// is and how to give a handle back.

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle_CL {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle_CL() = default;
    explicit UniqueHandle_CL(Handle handle) : m_handle(handle) {}
    ~UniqueHandle_CL() { Reset(); }

    UniqueHandle_CL(const UniqueHandle_CL&) = delete;
    UniqueHandle_CL& operator=(const UniqueHandle_CL&) = delete;
    UniqueHandle_CL(UniqueHandle_CL&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle_CL& operator=(UniqueHandle_CL&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    bool IsValid() const { return Traits::IsValid(m_handle); }
    Handle Get() const { return m_handle; }

    // Gives up ownership without closing.
    Handle Release() {
        Handle handle = m_handle;
        m_handle = Traits::Invalid();
        return handle;
    }

    void Reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(m_handle)) Traits::Close(m_handle);
        m_handle = handle;
    }

    // For out-parameters of APIs that create the handle: closes what was held first.
    Handle* Put() {
        Reset();
        return &m_handle;
    }

private:
    Handle m_handle = Traits::Invalid();
};

// CreateFileW answers INVALID_HANDLE_VALUE on failure.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using FileHandle_CL = UniqueHandle_CL<FileHandleTraits>;

// Events, mutexes, threads and processes answer nullptr on failure.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using KernelHandle_CL = UniqueHandle_CL<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) { ::FindClose(h); }
};
using FindHandle_CL = UniqueHandle_CL<FindHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};
using RegKey_CL = UniqueHandle_CL<RegKeyTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
using Module_CL = UniqueHandle_CL<ModuleTraits>;

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
using GdiObject_CL = UniqueHandle_CL<GdiObjectTraits>;

// A device context made with CreateCompatibleDC goes with DeleteDC.
struct MemoryDCTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};
using MemoryDC_CL = UniqueHandle_CL<MemoryDCTraits>;

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};
using LocalMemory_CL = UniqueHandle_CL<LocalMemoryTraits>;

// A device context borrowed from a window with GetDC goes back with ReleaseDC.
class WindowDC_CL {
public:
    explicit WindowDC_CL(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDC_CL() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDC_CL(const WindowDC_CL&) = delete;
    WindowDC_CL& operator=(const WindowDC_CL&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A window this object made. Only the thread that made a window can destroy it, so from any
// other thread it is asked to close instead (its procedure then destroys it on its own thread).
class OwnedWindow_CL {
public:
    OwnedWindow_CL() = default;
    ~OwnedWindow_CL() { Reset(); }
    OwnedWindow_CL(const OwnedWindow_CL&) = delete;
    OwnedWindow_CL& operator=(const OwnedWindow_CL&) = delete;

    // Takes a window just made by the calling thread; the one held before goes.
    void Reset(HWND window = nullptr) {
        if (m_window && ::IsWindow(m_window)) {
            if (::GetCurrentThreadId() == m_thread) {
                ::DestroyWindow(m_window);
            } else {
                ::PostMessageW(m_window, WM_CLOSE, 0, 0);
            }
        }
        m_window = window;
        m_thread = window ? ::GetCurrentThreadId() : 0;
    }
    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
    DWORD m_thread = 0;
};
