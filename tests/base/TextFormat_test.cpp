#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "base/TextFormat.h"

namespace {
size_t Bounded(wchar_t* buffer, size_t capacity, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    size_t n = FormatBounded(buffer, capacity, format, args);
    va_end(args);
    return n;
}
}  // namespace

TEST(TextFormat, WideAndNarrowArgumentsAndJapaneseText) {
    EXPECT_EQ(FormatString(L"%ls|%hs|%d|%08x", L"日本語", "abc", -5, 0x1234u), L"日本語|abc|-5|00001234");
    EXPECT_EQ(FormatString(L"%lld", 9223372036854775807LL), L"9223372036854775807");
}

TEST(TextFormat, LongResultsAreCompleteWhenUnbounded) {
    std::wstring long_text(100000, L'x');
    EXPECT_EQ(FormatString(L"[%ls]", long_text.c_str()).size(), 100002u);
}

TEST(TextFormat, BoundedFormattingCutsAndTerminates) {
    wchar_t buffer[8];
    for (wchar_t& c : buffer) c = L'#';
    EXPECT_EQ(Bounded(buffer, 5, L"%ls", L"abcdefgh"), 4u);
    EXPECT_EQ(std::wstring(buffer), L"abcd");
    EXPECT_EQ(buffer[5], L'#');  // nothing written past the capacity
    EXPECT_EQ(Bounded(buffer, 1, L"%ls", L"abc"), 0u);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(Bounded(buffer, 0, L"%ls", L"abc"), 0u);
}
