#pragma once
// The player's one top-level window (class "MainWindowClass", title "Lumikino").
// Thread: UI for everything here.

#include <windows.h>

#include "app/CommandLine.h"
#include "app/LaunchRequest.h"

class LumikinoHDMainWindow_CL {
public:
    explicit LumikinoHDMainWindow_CL(HINSTANCE instance);
    ~LumikinoHDMainWindow_CL();
    LumikinoHDMainWindow_CL(const LumikinoHDMainWindow_CL&) = delete;
    LumikinoHDMainWindow_CL& operator=(const LumikinoHDMainWindow_CL&) = delete;

    // Fills the window's launch request from this process's command line.
    ParseOutcome ParseLaunchCommandLine();
    const LaunchRequest& Launch() const { return m_launch; }

    bool RegisterWindowClass();
    // Creates the window; its WM_CREATE shows it. Null on failure.
    HWND Create();
    HWND Handle() const { return m_window; }

    // The keyboard commands, given the keys the message loop delivers.
    void KeyHandler(UINT virtualKey);
    // Any key, click, wheel or pointer movement: ends the idle state.
    void NoteUserActivity();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnFirstPaint();
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnClose();
    void OnDestroy();
    void OnOpenLaunchFile();
    void SaveMainWindowRect();

    // The launch request stays the first member: it is what a hand-off overwrites.
    LaunchRequest m_launch;
    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;  // shared resource icon, not destroyed
    bool m_firstPaint = true;
    bool m_closing = false;
};
