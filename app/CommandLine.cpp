#include "app/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <limits>

#include "base/LogFile_CL.h"
#include "base/UniqueHandle_CL.h"
#include "store/Inifile_CL.h"

namespace {
constexpr wchar_t kStartFramePrefix[] = L"/StartFrame:";
constexpr size_t kStartFrameLength = 29;  // the prefix and "%08x:%08x"
constexpr int64_t kRefTimePerMillisecond = 10'000;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}
}  // namespace

int64_t MillisecondsArgumentToRefTime(const std::wstring& text) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t milliseconds = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        int digit = c - L'0';
        if (milliseconds > (kMax - digit) / 10) return kMax;
        milliseconds = milliseconds * 10 + digit;
    }
    if (milliseconds > kMax / kRefTimePerMillisecond) return kMax;
    return milliseconds * kRefTimePerMillisecond;
}

ParseOutcome ParseCommandLine(const std::vector<std::wstring>& args, LaunchRequest& request) {
    if (args.size() < 2) return ParseOutcome::Run;
    if (args[1] == L"/ExtResume") return ParseOutcome::ExtResume;
    if (args[1].size() < kLaunchPathUnits) {
        args[1].copy(request.path, kLaunchPathUnits - 1);
        request.path[args[1].size()] = L'\0';
    } else {
        LogPrintf(L"コマンドラインのパスが長すぎます (%u 文字)", static_cast<unsigned>(args[1].size()));
    }
    for (size_t i = 2; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"/FullScreen") request.full_screen = 1;
        if (arg == L"/Loop") request.loop = 1;
        if (arg == L"/EndClose") request.end_close = 1;
        if (arg == L"/NoResume") request.no_resume = 1;
        if (StartsWith(arg, kStartFramePrefix) && arg.size() == kStartFrameLength) {
            request.start_position = Inifile_CL::ParseHex64(arg.substr(std::wcslen(kStartFramePrefix)), 0);
        }
        // The value argument is examined again in the next round, where it matches nothing.
        if (i + 1 < args.size() && StartsWith(arg, L"/start")) {
            request.start_position = MillisecondsArgumentToRefTime(args[i + 1]);
        }
        if (arg == L"/Kinoshelf") request.from_album = 1;
    }
    // An explicit start position always wins over "/NoResume".
    if (request.start_position != -1) request.no_resume = 0;
    return ParseOutcome::Run;
}

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!argv) return args;
    LocalMemory_CL owner(reinterpret_cast<HLOCAL>(argv));
    for (int i = 0; i < count; ++i) args.emplace_back(argv[i]);
    return args;
}
