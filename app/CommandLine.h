#pragma once
// The command-line parse: pure, from the argument array to a LaunchRequest.

#include <string>
#include <vector>

#include "app/LaunchRequest.h"

enum class ParseOutcome {
    Run,        // go on with start-up
    ExtResume,  // "/ExtResume" as the first argument: re-apply the file association and end
};

// args[0] is the program. Switches are case-sensitive and recognised from args[2] on; args[1]
// is "/ExtResume" or the path. A path of more than 259 characters is not taken at all: cutting
// it could name a different file that exists.
ParseOutcome ParseCommandLine(const std::vector<std::wstring>& args, LaunchRequest& request);

// The arguments of this process (CommandLineToArgvW of GetCommandLineW).
std::vector<std::wstring> ProcessArguments();

// Pure: leading decimal digits of a text as milliseconds, turned into reference time,
// saturating at the 64-bit limit. No digits give 0.
int64_t MillisecondsArgumentToRefTime(const std::wstring& text);
