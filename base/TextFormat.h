#pragma once
// Bounded wide-string formatting: never overruns, always terminates, cuts what does not fit.
// Callers pass literal formats; data goes in the arguments ("%ls"), never as the format.

#include <cstdarg>
#include <cstddef>
#include <string>

// Formats into buffer[0..capacity), cutting at the end; returns the number of units written
// (without the terminator). capacity 0 writes nothing.
size_t FormatBounded(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args);

// Formats into a new string of any length.
std::wstring FormatString(const wchar_t* format, ...);
std::wstring FormatStringV(const wchar_t* format, va_list args);
