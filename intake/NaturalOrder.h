#pragma once
// The order of the play list's name column: numbers inside names compare by value, so "ep2"
// comes before "ep10". Full-width digits and Latin letters count as their ASCII forms, so that
// names typed with a Japanese input method sort among the others.
// Pure. Thread: any.

#include <string>

// Negative when a sorts before b, 0 when they are equal in this order, positive otherwise.
// Both names are cut into runs of digits and of other characters. Runs compare pairwise from
// the left: digit runs by numeric value (of any length), text runs by UTF-16 code units
// (case-sensitive), and a digit run before a text run. The name that runs out first sorts first.
int NaturalCompare(const std::wstring& a, const std::wstring& b);

// Full-width digits and Latin letters to ASCII; every other character unchanged.
wchar_t FoldFullWidth(wchar_t c);
