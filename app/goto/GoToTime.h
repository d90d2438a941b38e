#pragma once
// The rules of "go to a time" (Ctrl+G): the times a user may type, and where a time lands in a
// movie of a given length. Pure.
// Thread: any.

#include <cstdint>
#include <string>

// "1:23:45", "83:10", "4990" (seconds) and a fraction of the last part ("12:03.5"); full-width
// digits, "：" and "．" as typed with a Japanese input method; blanks around the text. A
// minutes or seconds part after the first must be below 60. False for anything else, and for
// a time beyond 100,000 hours.
bool ParseGoToTime(const std::wstring& text, double* seconds);

// The position to seek to, in 100 ns units: before 0 goes to 0; at or past the end goes to one
// second before the end (a seek to the end would end the movie and reset its resume
// position), or to 0 for a movie shorter than a second. length <= 0 (unknown) keeps the time.
int64_t GoToTimeTarget(double seconds, int64_t length);
