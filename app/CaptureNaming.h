#pragma once
// Names of captured pictures: "capture-YYYY-MM-DD-hh-mm-ss.png" in the data folder's "capture"
// folder, from the local time of the capture. A second capture within the same second must not
// replace the first, so later ones in that second take "-2", "-3", ... before ".png".
// Pure: no file system; the caller tries the names in order until one is free.

#include <windows.h>

#include <string>

// The first sequence number is the plain name; the capture gives up after the last one.
constexpr int kFirstCaptureSequence = 1;
constexpr int kLastCaptureSequence = 999;

// dataRoot + "\capture"; a trailing backslash on the root is not doubled.
std::wstring CaptureFolderPath(const std::wstring& dataRoot);

// "capture-%04d-%02d-%02d-%02d-%02d-%02d.png" from year, month, day, hour, minute, second;
// sequence 2 and above insert "-<sequence>" before ".png". A sequence below 1 counts as 1.
std::wstring CaptureFileName(const SYSTEMTIME& localTime, int sequence);
