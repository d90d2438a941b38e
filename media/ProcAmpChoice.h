#pragma once
// Which colour adjustment a movie is shown with: its own record's values when the record
// enables them, otherwise the application-wide ones when those are enabled, otherwise none.
// A stored 0x7FFFFFFF means "not set" and stands for that control's default. Pure logic.

#include <cstdint>

constexpr int32_t kProcAmpUnset = 0x7FFFFFFF;

struct ProcAmpSource {
    int enable = 0;
    int32_t values[4] = {kProcAmpUnset, kProcAmpUnset, kProcAmpUnset, kProcAmpUnset};  // b, c, h, s
};

struct ProcAmpChoice {
    bool fromRecord = false;
    bool fromApplication = false;
    int32_t values[4] = {0, 0x10000, 0, 0x10000};  // raw 16.16, clamped to the nominal ranges
};

ProcAmpChoice ChooseProcAmp(const ProcAmpSource& record, const ProcAmpSource& application);
