#pragma once
// HRESULT flows back by early return; the failing expression and its code go to the trace log.

#include <windows.h>

#include "base/LogFile_CL.h"

#define LK_RETURN_IF_FAILED(expr)                                                        \
    do {                                                                                 \
        HRESULT lkHr_ = (expr);                                                          \
        if (FAILED(lkHr_)) {                                                             \
            LogPrintf(L"%hs failed: 0x%08x (%hs:%d)", #expr, static_cast<unsigned>(lkHr_), \
                      __FILE__, __LINE__);                                               \
            return lkHr_;                                                                \
        }                                                                                \
    } while (0)

#define LK_RETURN_HR_IF(hr, condition)                                                   \
    do {                                                                                 \
        if (condition) {                                                                 \
            LogPrintf(L"%hs: 0x%08x (%hs:%d)", #condition, static_cast<unsigned>(hr),    \
                      __FILE__, __LINE__);                                               \
            return (hr);                                                                 \
        }                                                                                \
    } while (0)
