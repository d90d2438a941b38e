#include "app/goto/GoToTime.h"

#include <cmath>
#include <vector>

namespace {
constexpr int64_t kUnitsPerSecond = 10'000'000;
constexpr double kLongestSeconds = 100000.0 * 3600.0;

// Full-width digits and separators as their ASCII forms.
wchar_t Narrow(wchar_t c) {
    if (c >= L'０' && c <= L'９') return static_cast<wchar_t>(L'0' + (c - L'０'));
    if (c == L'：') return L':';
    if (c == L'．') return L'.';
    return c;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'　'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

bool ParseGoToTime(const std::wstring& text, double* seconds) {
    std::wstring narrow;
    for (wchar_t c : text) narrow += Narrow(c);
    size_t begin = 0, end = narrow.size();
    while (begin < end && IsBlank(narrow[begin])) ++begin;
    while (end > begin && IsBlank(narrow[end - 1])) --end;
    narrow = narrow.substr(begin, end - begin);
    if (narrow.empty()) return false;

    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = narrow.find(L':', start);
        parts.push_back(narrow.substr(start, colon == std::wstring::npos ? std::wstring::npos : colon - start));
        if (colon == std::wstring::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 3) return false;

    double total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::wstring& part = parts[i];
        const bool last = i + 1 == parts.size();
        // Digits, and in the last part an optional fraction: "5", "03.5", ".5" is not a time.
        size_t digits = 0;
        while (digits < part.size() && IsDigit(part[digits])) ++digits;
        if (digits == 0 || digits > 9) return false;
        double value = 0;
        for (size_t k = 0; k < digits; ++k) value = value * 10 + (part[k] - L'0');
        if (digits < part.size()) {
            if (!last || part[digits] != L'.' || digits + 1 >= part.size() || part.size() - digits - 1 > 6) return false;
            double scale = 0.1;
            for (size_t k = digits + 1; k < part.size(); ++k) {
                if (!IsDigit(part[k])) return false;
                value += (part[k] - L'0') * scale;
                scale /= 10;
            }
        }
        if (i > 0 && value >= 60) return false;
        total = total * 60 + value;
    }
    if (!(total <= kLongestSeconds)) return false;
    *seconds = total;
    return true;
}

int64_t GoToTimeTarget(double seconds, int64_t length) {
    if (!(seconds > 0)) return 0;
    const int64_t position = static_cast<int64_t>(std::llround(seconds * kUnitsPerSecond));
    if (length <= 0) return position;
    if (position < length) return position;
    return length > kUnitsPerSecond ? length - kUnitsPerSecond : 0;
}
