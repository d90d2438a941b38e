// Start-up benchmark: time from process start to the main window being visible, and the time
// a second launch takes to hand its path over and end, each against a minimal Win32 program
// measured in the same run (a window shown; a process that starts and ends).
//
// Each timed launch starts on a quiet machine: a process that ended a moment ago still has
// its windows and server state torn down under Wine, which would weigh on whichever launch
// came next. So the two programs take turns going first, every timed launch waits a short
// settling time, and the second launch waits until the running player has finished starting
// (its thread idle, waiting for input).
//
// A second comparison times the player against itself: with its version check on and due,
// talking to a proxy that takes the connection and never answers, against the check off
// (notify=1), in alternating order. The check runs on a worker once the window shows, so the
// window should come just as soon; the listener counts the connections to show the check ran.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"
#include "bench/startup/HungUpdateProxy_CL.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/support/PlayerProcess_CL.h"

namespace {
std::wstring BesideMe(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

struct Launched {
    KernelHandle_CL process;
    DWORD id = 0;
};

bool Launch(const std::wstring& exe, const std::wstring& args, Launched& out) {
    std::wstring commandLine = L"\"" + exe + L"\" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    out.process.Reset(info.hProcess);
    out.id = info.dwProcessId;
    return true;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to a visible top-level window of the process; -1 on failure.
double TimeToWindow(const std::wstring& exe, const std::wstring& args, HWND* windowOut, Launched& launched) {
    double start = NowMs();
    if (!Launch(exe, args, launched)) return -1;
    WindowSearch search{launched.id, nullptr};
    while (!search.found) {
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (NowMs() - start > 30000) return -1;
        ::Sleep(1);
    }
    *windowOut = search.found;
    return NowMs() - start;
}

double TimeToExit(const std::wstring& exe, const std::wstring& args) {
    double start = NowMs();
    Launched launched;
    if (!Launch(exe, args, launched)) return -1;
    if (::WaitForSingleObject(launched.process.Get(), 30000) != WAIT_OBJECT_0) return -1;
    return NowMs() - start;
}

void Close(HWND window, Launched& launched) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(launched.process.Get(), 15000) != WAIT_OBJECT_0) {
        ::TerminateProcess(launched.process.Get(), 1);
    }
}

// Before each timed launch: what the last process left behind settles.
constexpr DWORD kSettleMs = 300;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// How long the check may take to reach the proxy after the window shows.
constexpr unsigned kConnectionTimeoutMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;

struct CheckFigures {
    std::vector<double> show, idle, answer;  // window visible, start finished, a message answered
    std::vector<double> connection;          // the check's connection accepted ("on" rounds only)
};

// The player with the version check on (and a proxy that never answers) against the check off,
// in alternating order. Returns false when a launch failed or an "on" round's check never
// reached the proxy.
bool CompareVersionCheck(const std::wstring& player, int rounds) {
    HungUpdateProxy_CL proxy;
    TempFolder_CL documents;
    DocumentsRedirect_CL redirect(documents.Path());
    const std::wstring dataFolder = documents.Join(L"Lumikino");
    CheckFigures on, off;
    int onRounds = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool checkOn = (turn == 0) == (round % 2 == 0);
            CheckFigures& figures = checkOn ? on : off;
            if (!HungUpdateProxy_CL::WriteSettings(dataFolder, checkOn)) return false;
            HWND window = nullptr;
            Launched launched;
            ::Sleep(kSettleMs);
            const double start = NowMs();
            const double shown = TimeToWindow(player, L"", &window, launched);
            if (shown < 0) return false;
            figures.show.push_back(shown);
            ::WaitForInputIdle(launched.process.Get(), 10000);
            figures.idle.push_back(NowMs() - start);
            if (checkOn) {
                ++onRounds;
                if (!proxy.WaitForConnection(kConnectionTimeoutMs)) {
                    std::printf("round %d: the version check never reached the proxy\n", round + 1);
                    Close(window, launched);
                    return false;
                }
                on.connection.push_back(NowMs() - start);
            }
            // With the check's request hanging, the window still answers at once.
            const double asked = NowMs();
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result)) {
                std::printf("round %d: the player did not answer a message within %u ms\n", round + 1,
                            kAnswerTimeoutMs);
            }
            figures.answer.push_back(NowMs() - asked);
            Close(window, launched);
            const int connections = proxy.EndRound();
            if (!checkOn && connections != 0) {
                std::printf("round %d: %d connection(s) with the check off\n", round + 1, connections);
            }
        }
    }
    std::printf("version check on (proxy accepts and never answers) against off, %d rounds each, medians:\n",
                rounds);
    std::printf("  window visible: check on %.1f ms, off %.1f ms, ratio %.2fx\n", Median(on.show), Median(off.show),
                Median(on.show) / Median(off.show));
    std::printf("  start finished (thread idle): on %.1f ms, off %.1f ms, ratio %.2fx\n", Median(on.idle),
                Median(off.idle), Median(on.idle) / Median(off.idle));
    std::printf("  a message answered after that: on %.2f ms, off %.2f ms\n", Median(on.answer), Median(off.answer));
    std::printf("  the proxy accepted %d connection(s) in %d \"on\" rounds (first %.0f ms after launch, median); "
                "request: %s\n",
                proxy.TotalConnections(), onRounds, Median(on.connection), proxy.FirstRequestLine().c_str());
    return true;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    int rounds = argc > 1 ? _wtoi(argv[1]) : 9;
    const std::wstring player = BesideMe(L"Lumikino.exe");
    const std::wstring minimal = BesideMe(L"bench_minimal_window.exe");
    TempFolder_CL documents;
    DocumentsRedirect_CL redirect(documents.Path());

    std::vector<double> minimalShow, playerShow, minimalExit, handOff;
    for (int round = 0; round < rounds; ++round) {
        const bool playerFirst = round % 2 == 1;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == playerFirst) {
                HWND window = nullptr;
                Launched b;
                ::Sleep(kSettleMs);
                double t = TimeToWindow(player, L"", &window, b);
                if (t < 0) return 1;
                playerShow.push_back(t);
                // With the player running and idle, a second launch hands its path over and ends.
                ::WaitForInputIdle(b.process.Get(), 10000);
                ::Sleep(kSettleMs);
                t = TimeToExit(player, L"C:\\movies\\bench.avi");
                if (t < 0) return 1;
                handOff.push_back(t);
                ::Sleep(kSettleMs);
                t = TimeToExit(minimal, L"--exit");
                if (t < 0) return 1;
                minimalExit.push_back(t);
                Close(window, b);
            } else {
                HWND window = nullptr;
                Launched a;
                ::Sleep(kSettleMs);
                double t = TimeToWindow(minimal, L"", &window, a);
                if (t < 0) return 1;
                minimalShow.push_back(t);
                Close(window, a);
            }
        }
    }
    // The player's closing keeps the window for a 3 s grace period; that is not start-up.
    double showRatio = Median(playerShow) / Median(minimalShow);
    double handOffRatio = Median(handOff) / Median(minimalExit);
    std::printf("window visible: player %.1f ms, minimal program %.1f ms, ratio %.2fx (median of %d)\n",
                Median(playerShow), Median(minimalShow), showRatio, rounds);
    std::printf("second launch hand-off: player %.1f ms, minimal start-and-exit %.1f ms, ratio %.2fx\n",
                Median(handOff), Median(minimalExit), handOffRatio);
    std::fflush(stdout);
    return CompareVersionCheck(player, rounds) ? 0 : 1;
}
