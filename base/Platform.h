#pragma once
// What the program needs to know about the platform it runs on, found once.

// True under Wine (ntdll exports wine_get_version). Some platform parts behave differently
// there and the program works around them: see the callers.
bool RunningUnderWine();
