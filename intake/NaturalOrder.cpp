#include "intake/NaturalOrder.h"

#include <cstddef>

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// One run of a name, as a range of the folded text.
struct Run {
    size_t begin;
    size_t end;
    bool digits;
};

Run NextRun(const std::wstring& text, size_t from) {
    bool digits = IsDigit(text[from]);
    size_t end = from + 1;
    while (end < text.size() && IsDigit(text[end]) == digits) ++end;
    return Run{from, end, digits};
}

// Numeric comparison of two digit runs without converting them: a run of 30 digits must not
// overflow. Leading zeros do not change the value.
int CompareDigitRuns(const std::wstring& a, Run ra, const std::wstring& b, Run rb) {
    while (ra.begin + 1 < ra.end && a[ra.begin] == L'0') ++ra.begin;
    while (rb.begin + 1 < rb.end && b[rb.begin] == L'0') ++rb.begin;
    size_t lengthA = ra.end - ra.begin;
    size_t lengthB = rb.end - rb.begin;
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    for (size_t i = 0; i < lengthA; ++i) {
        wchar_t ca = a[ra.begin + i];
        wchar_t cb = b[rb.begin + i];
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

int CompareTextRuns(const std::wstring& a, Run ra, const std::wstring& b, Run rb) {
    size_t lengthA = ra.end - ra.begin;
    size_t lengthB = rb.end - rb.begin;
    int order = a.compare(ra.begin, lengthA, b, rb.begin, lengthB);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

std::wstring Fold(const std::wstring& text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) c = FoldFullWidth(c);
    return folded;
}

}  // namespace

wchar_t FoldFullWidth(wchar_t c) {
    if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) {
        return static_cast<wchar_t>(c - 0xFF10 + 0x30);
    }
    return c;
}

int NaturalCompare(const std::wstring& nameA, const std::wstring& nameB) {
    const std::wstring a = Fold(nameA);
    const std::wstring b = Fold(nameB);
    size_t posA = 0;
    size_t posB = 0;
    while (posA < a.size() && posB < b.size()) {
        Run ra = NextRun(a, posA);
        Run rb = NextRun(b, posB);
        int order;
        if (ra.digits && rb.digits) {
            order = CompareDigitRuns(a, ra, b, rb);
        } else if (!ra.digits && !rb.digits) {
            order = CompareTextRuns(a, ra, b, rb);
        } else {
            order = ra.digits ? -1 : 1;
        }
        if (order != 0) return order;
        posA = ra.end;
        posB = rb.end;
    }
    if (posA < a.size()) return 1;
    if (posB < b.size()) return -1;
    return 0;
}
