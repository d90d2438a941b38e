#pragma once
// Shared pieces of the thumbnail tests: a window that records what the worker and the strip
// send it, pumping until something arrives, GDI+ for the strip, test movies whose frames show
// their number, and reading a picture's pixels back.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/AviWriter_CL.h"
#include "tests/support/FrameNumberReader_CL.h"

// A window of a private class that records the messages a test waits for: the worker's
// decoded and graph-ready posts, WM_COMMAND with its lParam, and the strip's activations.
class RecordingWindow_CL {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    // A top-level window (visible when asked), or a child of parent.
    RecordingWindow_CL(HWND parent, RECT rect, bool visible);
    ~RecordingWindow_CL();
    RecordingWindow_CL(const RecordingWindow_CL&) = delete;
    RecordingWindow_CL& operator=(const RecordingWindow_CL&) = delete;

    HWND Get() const { return m_window; }
    std::vector<Message> Of(UINT message) const;
    // WM_COMMAND lParams sent with a command id, in order.
    std::vector<LPARAM> CommandParams(WORD id) const;
    std::vector<int> Activations() const { return m_activations; }
    void Clear();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
    std::vector<Message> m_messages;
    std::vector<int> m_activations;
};

// Dispatches this thread's messages until done() holds or timeoutMs passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// GDI+ for the test program's life (the player starts it in wWinMain).
void EnsureGdiplus();

// A movie of frameCount frames at framesPerSecond whose frames show their number, 16-bit PCM
// sound included; written into folder.
std::wstring WriteNumberedMovie(const std::wstring& folder, const std::wstring& name, const AviMovieSpec& movieSpec);
AviMovieSpec NumberedMovieSpec(int framesPerSecond, int seconds);

// The pixels of a bitmap (any kind) as top-down BGRX.
BgrxPicture ReadBitmap(HBITMAP bitmap);
// A part of a window's client area as it is on screen.
BgrxPicture ReadWindowPixels(HWND window, const RECT& clientRect);
