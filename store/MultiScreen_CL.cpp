#include "store/MultiScreen_CL.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}
}  // namespace

MultiScreen_CL::MultiScreen_CL() {
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&m_monitors));
}

int MultiScreen_CL::FindMonitor(POINT point) const {
    for (size_t i = 0; i < m_monitors.size(); ++i) {
        const RECT& r = m_monitors[i];
        if (r.left <= point.x && point.x < r.right && r.top <= point.y && point.y < r.bottom) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
