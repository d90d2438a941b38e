// Sub-classing: the object sees every message first, what it handles stops there, what it
// leaves goes on to the window's own procedure, and WM_DESTROY puts that procedure back.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/HostWindow_CL.h"
#include "ui/ControlFactory_CL.h"
#include "ui/Edit_CL.h"
#include "ui/SubClassWindowBase_CL.h"

namespace {
constexpr UINT WM_OUTER = WM_APP + 1;
constexpr UINT WM_INNER = WM_APP + 2;
constexpr UINT WM_ANSWER = WM_APP + 3;

// Swallows the character 'x', answers WM_ANSWER itself and records WM_DESTROY.
class Probe : public SubClassWindowBase_CL {
public:
    std::vector<UINT> seen;

protected:
    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_CHAR && wParam == L'x') {
            SetHandled();
            return 0;
        }
        if (message == WM_ANSWER) {
            SetHandled();
            return 42;
        }
        if (message == WM_OUTER) {
            // Marked handled before a nested message that is not handled: the nested level
            // must not take the mark away.
            SetHandled();
            ::SendMessageW(Window(), WM_INNER, 0, 0);
            return 7;
        }
        (void)lParam;
        return 0;
    }
};

// A window class of its own that notes, at WM_NCDESTROY, which procedure and user data the
// window has by then.
struct DestroyNotes {
    bool sawDestroy = false;
    LONG_PTR procedureAtNcDestroy = 0;
    LONG_PTR userDataAtNcDestroy = -1;
};
DestroyNotes g_notes;

LRESULT CALLBACK NotingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) g_notes.sawDestroy = true;
    if (message == WM_NCDESTROY) {
        g_notes.procedureAtNcDestroy = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
        g_notes.userDataAtNcDestroy = ::GetWindowLongPtrW(window, GWLP_USERDATA);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeNotingWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &NotingProcedure;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = L"LumikinoUiNoting";
        registered = ::RegisterClassExW(&cls) != 0;
    }
    return ::CreateWindowExW(0, L"LumikinoUiNoting", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND MakePlainEdit(HWND parent, int y) {
    return ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, y,
                             200, 24, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(window, buffer, 256);
    return buffer;
}

void TypeText(HWND window, const std::wstring& text) {
    for (wchar_t c : text) ::SendMessageW(window, WM_CHAR, c, 1);
}
}  // namespace

TEST(SubClassWindow, HandledMessagesStopAndOthersReachThePlainControl) {
    HostWindow_CL host;
    HWND edit = MakePlainEdit(host.Get(), 10);
    Probe probe;
    ASSERT_EQ(probe.SubClass(edit), S_OK);
    EXPECT_EQ(probe.Window(), edit);
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));

    TypeText(edit, L"axbx");
    EXPECT_EQ(TextOf(edit), L"ab");  // the x never reached the edit
    EXPECT_EQ(::SendMessageW(edit, WM_ANSWER, 0, 0), 42);
    ::SetWindowTextW(edit, L"再生リスト");
    EXPECT_EQ(TextOf(edit), L"再生リスト");
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(::SendMessageW(edit, WM_OUTER, 0, 0), 7);
    EXPECT_NE(std::find(probe.seen.begin(), probe.seen.end(), static_cast<UINT>(WM_INNER)), probe.seen.end());
}

TEST(SubClassWindow, RefusesNoWindowAndASecondSubClass) {
    HostWindow_CL host;
    HWND edit = MakePlainEdit(host.Get(), 10);
    Probe first;
    Probe second;
    EXPECT_EQ(first.SubClass(nullptr), E_INVALIDARG);
    ASSERT_EQ(first.SubClass(edit), S_OK);
    EXPECT_EQ(first.SubClass(edit), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(second.SubClass(edit), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
}

TEST(SubClassWindow, UnSubClassPutsThePreviousProcedureBack) {
    HostWindow_CL host;
    HWND edit = MakePlainEdit(host.Get(), 10);
    LONG_PTR plain = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
    {
        Probe probe;
        ASSERT_EQ(probe.SubClass(edit), S_OK);
        EXPECT_NE(::GetWindowLongPtrW(edit, GWLP_WNDPROC), plain);
        probe.UnSubClass();
        EXPECT_EQ(probe.Window(), nullptr);
        EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), plain);
        EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_USERDATA), 0);
        TypeText(edit, L"x");
        EXPECT_EQ(TextOf(edit), L"x");  // the object no longer filters
    }
    // And an object that goes away while still attached gives the window back as well.
    {
        Probe probe;
        ASSERT_EQ(probe.SubClass(edit), S_OK);
    }
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), plain);
    TypeText(edit, L"x");
    EXPECT_EQ(TextOf(edit), L"xx");
}

TEST(SubClassWindow, DestroyRestoresThePreviousProcedureBeforeTheWindowEnds) {
    g_notes = DestroyNotes{};
    HWND window = MakeNotingWindow();
    ASSERT_NE(window, nullptr);
    LONG_PTR plain = ::GetWindowLongPtrW(window, GWLP_WNDPROC);
    Probe probe;
    ASSERT_EQ(probe.SubClass(window), S_OK);
    ::DestroyWindow(window);

    EXPECT_NE(std::find(probe.seen.begin(), probe.seen.end(), static_cast<UINT>(WM_DESTROY)), probe.seen.end());
    EXPECT_TRUE(g_notes.sawDestroy);  // the window's own procedure still got WM_DESTROY
    EXPECT_EQ(g_notes.procedureAtNcDestroy, plain);
    EXPECT_EQ(g_notes.userDataAtNcDestroy, 0);
    EXPECT_EQ(probe.Window(), nullptr);
    // WM_NCDESTROY went to the plain procedure only.
    EXPECT_EQ(std::find(probe.seen.begin(), probe.seen.end(), static_cast<UINT>(WM_NCDESTROY)), probe.seen.end());
}

TEST(SubClassWindow, ToolkitControlWithUnhandlingCallbackBehavesLikeThePlainControl) {
    HostWindow_CL host;
    HWND plain = MakePlainEdit(host.Get(), 10);
    ControlFactory_CL factory;
    Edit_CL* edit = factory.Get<Edit_CL>(factory.AddEdit(host.Get(), 10, 50, 20, 3, L""));
    ASSERT_NE(edit, nullptr);
    int callbackCalls = 0;
    edit->SetMessageCallback([&](ControlBase_CL&, UINT, WPARAM, LPARAM, bool&) -> LRESULT {
        ++callbackCalls;
        return 99;  // a result that must not leak out, as the message is not handled
    });
    // The plain twin is made multi-line too, so both answer the same questions alike.
    ::DestroyWindow(plain);
    plain = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", Edit_CL::kStyle, 10, 150, 200, 60, host.Get(),
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    for (HWND window : {plain, edit->Window()}) {
        ::SetWindowTextW(window, L"一行目\r\n二行目");
        ::SendMessageW(window, EM_SETSEL, 0, 2);
        TypeText(window, L"新");
    }
    EXPECT_EQ(TextOf(edit->Window()), TextOf(plain));
    EXPECT_EQ(TextOf(edit->Window()), L"新目\r\n二行目");
    EXPECT_EQ(::SendMessageW(edit->Window(), EM_GETLINECOUNT, 0, 0), ::SendMessageW(plain, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(::SendMessageW(edit->Window(), WM_GETTEXTLENGTH, 0, 0), ::SendMessageW(plain, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_GT(callbackCalls, 0);

    // With the callback handling a message, it stops there.
    edit->SetMessageCallback([](ControlBase_CL&, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (message == WM_GETTEXTLENGTH) {
            handled = true;
            return 1234;
        }
        return 0;
    });
    EXPECT_EQ(::SendMessageW(edit->Window(), WM_GETTEXTLENGTH, 0, 0), 1234);
}
