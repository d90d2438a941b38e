#pragma once
// The single-instance hand-off: a second launch gives its request to the running instance in
// WM_COPYDATA and ends.

#include <windows.h>

#include "app/LaunchRequest.h"

// Thread: UI, before anything else at start-up. True when this launch was handed to a running
// instance (the caller then ends with 0). Reads duplicate_launch from the settings file itself.
bool HandOffToRunningInstance();

// Pure: takes a received record only when it is exactly one LaunchRequest; the path's
// terminator is forced inside its 260 units. Anything else leaves out unchanged and answers false.
bool ReadLaunchRecord(const COPYDATASTRUCT* data, LaunchRequest& out);
