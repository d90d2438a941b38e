#pragma once
// What a running player holds, read from outside for leak checks. Windows tells a process's
// handle count and private bytes; Wine answers 0 for both, so there the figures come from the
// Linux process that runs the player, found by its command line: its open descriptors and
// threads stand for the handles, its anonymous resident memory for the private bytes.

#include <windows.h>

#include <string>

struct ProcessFigures {
    double handles = 0;       // Windows handles, or Linux descriptors + threads
    double privateBytes = 0;  // Windows private bytes, or Linux anonymous resident bytes
    bool fromLinux = false;
    double threads = 0;      // Linux only: the threads among the handles

};

// False when neither way gave figures. commandLineMark: a text only the player's command line
// holds (its movie's file name).
bool ReadProcessFigures(HANDLE process, const std::wstring& commandLineMark, ProcessFigures* figures);

// The same for this process (under Wine found by its program's name).
bool ReadOwnProcessFigures(ProcessFigures* figures);
