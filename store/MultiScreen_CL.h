#pragma once
// The display monitors as they are now, and the hit test that decides whether a remembered
// window position still lies on one of them.

#include <windows.h>

#include <vector>

class MultiScreen_CL {
public:
    // Thread: any. Enumerates the monitors now attached.
    MultiScreen_CL();
    // Pure: a given set of monitor rectangles (for tests and for callers that have them).
    explicit MultiScreen_CL(std::vector<RECT> monitors) : m_monitors(std::move(monitors)) {}

    // Index of the first monitor with left <= x < right and top <= y < bottom, or -1.
    int FindMonitor(POINT point) const;
    bool Contains(POINT point) const { return FindMonitor(point) >= 0; }
    const std::vector<RECT>& Monitors() const { return m_monitors; }

private:
    std::vector<RECT> m_monitors;
};
