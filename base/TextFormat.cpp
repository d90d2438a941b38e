#include "base/TextFormat.h"

#include <cwchar>
#include <vector>

size_t FormatBounded(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args) {
    if (capacity == 0) return 0;
    buffer[0] = L'\0';
    // vswprintf reports a too-small buffer with a negative result and leaves the contents
    // unspecified; format into a scratch buffer of growing size and cut the result instead.
    va_list probe;
    va_copy(probe, args);
    std::wstring text = FormatStringV(format, probe);
    va_end(probe);
    size_t units = text.size() < capacity - 1 ? text.size() : capacity - 1;
    text.copy(buffer, units);
    buffer[units] = L'\0';
    return units;
}

std::wstring FormatStringV(const wchar_t* format, va_list args) {
    std::vector<wchar_t> scratch(512);
    for (;;) {
        va_list attempt;
        va_copy(attempt, args);
        int written = std::vswprintf(scratch.data(), scratch.size(), format, attempt);
        va_end(attempt);
        if (written >= 0 && static_cast<size_t>(written) < scratch.size()) {
            return std::wstring(scratch.data(), static_cast<size_t>(written));
        }
        // A negative result also comes from an encoding error; stop growing at some point.
        if (scratch.size() >= (1u << 24)) return std::wstring();
        scratch.resize(scratch.size() * 4);
    }
}

std::wstring FormatString(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatStringV(format, args);
    va_end(args);
    return text;
}
