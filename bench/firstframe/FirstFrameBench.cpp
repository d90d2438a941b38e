// First-frame benchmark: how long it takes until a movie's picture is on screen.
//   1. start-up: from starting "Lumikino.exe movie.avi" (fresh Documents folder) to the
//      movie's first frame in the player's window;
//   2. hand-off: with the player running, from starting "Lumikino.exe other.avi" (which hands
//      its path to the running player and ends) to the other movie's first frame;
//   3. baseline: from starting bench_bare_render_file (a window, RenderFile with the default
//      filters, Run) on the same movie to its first frame.
// "On screen" is read back from the screen itself: the movies are single-coloured, each in a
// colour far from black, white and the window backgrounds, and a window counts as showing a
// movie when most sample points of the middle of its client area have that colour.
// Every round starts fresh processes; figures are medians with min and max, printed as ratios
// against the baseline of the same run. A last, separate round turns the player's detail
// trace on and prints its log against the time since launch, to show what the time goes to.
// Before it, a second comparison times the player against itself: its version check on and
// due, talking to a proxy that takes the connection and never answers, against the check off
// (notify=1), rounds alternating which goes first; the listener counts the connections, so
// the figures show that the check ran and whether a hung server holds the picture up.
//   bench_first_frame [rounds=5]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"
#include "bench/startup/HungUpdateProxy_CL.h"
#include "tests/support/AviWriter_CL.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/ScreenPicture_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr AviRgb8 kFirstMovieColour{230, 120, 30};   // orange
constexpr AviRgb8 kSecondMovieColour{60, 110, 230};  // blue
// Limited-range YUY2 and back loses a few steps per channel; the colours above are more than
// a hundred steps apart in at least one channel from each other, black, white and grey.
constexpr int kChannelTolerance = 40;
constexpr double kShownFraction = 0.6;  // of the sample points; leaves room for overlay text
constexpr int kSampleStepPx = 8;
constexpr DWORD kPollMs = 2;
constexpr double kTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;
constexpr wchar_t kBareWindowClass[] = L"BareRenderFileWindow";
constexpr double kTraceTailMs = 1000;  // log lines printed after the last picture seen

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

std::wstring BesideMe(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

struct Spread {
    double median = 0, min = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values) {
    Spread spread;
    if (values.empty()) return spread;
    std::sort(values.begin(), values.end());
    spread.median = values[values.size() / 2];
    spread.min = values.front();
    spread.max = values.back();
    return spread;
}

// --- movies ---------------------------------------------------------------------------------

// Fills every video chunk ('00db') of an AVI held in bytes[begin, end) with frame, walking
// RIFF and LIST chunks; returns the number of frames replaced.
int ReplaceVideoChunks(std::string& bytes, size_t begin, size_t end, const std::vector<uint8_t>& frame) {
    int replaced = 0;
    size_t at = begin;
    while (at + 8 <= end) {
        uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        const size_t payload = at + 8;
        if (payload + size > end) break;
        if (std::memcmp(&bytes[at], "RIFF", 4) == 0 || std::memcmp(&bytes[at], "LIST", 4) == 0) {
            replaced += ReplaceVideoChunks(bytes, payload + 4, payload + size, frame);
        } else if (std::memcmp(&bytes[at], "00db", 4) == 0 && size == frame.size()) {
            std::memcpy(&bytes[payload], frame.data(), frame.size());
            ++replaced;
        }
        at = payload + size + (size & 1);
    }
    return replaced;
}

// A 20 s movie (YUY2 with a PCM tone, as the test movies) whose every frame is one colour.
bool WriteSingleColourMovie(const std::wstring& path, AviRgb8 colour) {
    AviMovieSpec movieSpec;
    movieSpec.width = 320;
    movieSpec.height = 240;
    movieSpec.frameRateNum = 10;
    movieSpec.frameCount = 200;
    movieSpec.pixel = AviMovieSpec::Pixel::Yuy2;
    movieSpec.withAudio = true;
    movieSpec.amplitude = 0.2;
    std::string error;
    if (!AviWriter_CL::Write(path, movieSpec, &error)) {
        std::fprintf(stderr, "writing the movie failed: %s\n", error.c_str());
        return false;
    }
    std::vector<uint8_t> bgrx(static_cast<size_t>(movieSpec.width) * movieSpec.height * 4);
    for (size_t i = 0; i < bgrx.size(); i += 4) {
        bgrx[i] = colour.b;
        bgrx[i + 1] = colour.g;
        bgrx[i + 2] = colour.r;
        bgrx[i + 3] = 0xFF;
    }
    std::vector<uint8_t> frame;
    AviWriter_CL::ConvertRgb32ToYuy2(bgrx.data(), movieSpec.width, movieSpec.height, &frame);
    std::string bytes = ReadFileBytes(path);
    if (ReplaceVideoChunks(bytes, 0, bytes.size(), frame) != movieSpec.frameCount) {
        std::fprintf(stderr, "the movie's video chunks were not where expected\n");
        return false;
    }
    return WriteFileBytes(path, bytes);
}

// --- reading the screen ---------------------------------------------------------------------

// Reads the middle of a window's client area back from the screen (what the user sees, not
// what the window believes it drew) and tells whether it shows a colour.
class ScreenProbe {
public:
    ScreenProbe() : m_screen(nullptr), m_memory(::CreateCompatibleDC(m_screen.Get())) {}
    ~ScreenProbe() {
        if (m_oldBitmap) ::SelectObject(m_memory.Get(), m_oldBitmap);
    }
    ScreenProbe(const ScreenProbe&) = delete;
    ScreenProbe& operator=(const ScreenProbe&) = delete;

    // Milliseconds one look takes on average: the resolution of every figure.
    double MeanLookMs() const { return m_looks ? m_lookMsTotal / m_looks : 0; }

    bool Shows(HWND window, AviRgb8 colour) {
        const double start = NowMs();
        const bool shown = Look(window, colour);
        m_lookMsTotal += NowMs() - start;
        ++m_looks;
        return shown;
    }

private:
    bool Look(HWND window, AviRgb8 colour) {
        RECT client{};
        if (!::GetClientRect(window, &client)) return false;
        const int width = client.right / 2, height = client.bottom / 2;
        if (width < kSampleStepPx || height < kSampleStepPx) return false;
        POINT origin{client.right / 4, client.bottom / 4};
        ::ClientToScreen(window, &origin);
        if (!Prepare(width, height)) return false;
        ::BitBlt(m_memory.Get(), 0, 0, width, height, m_screen.Get(), origin.x, origin.y, SRCCOPY);
        ::GdiFlush();
        int points = 0, matching = 0;
        for (int y = kSampleStepPx / 2; y < height; y += kSampleStepPx) {
            const uint8_t* row = m_bits + static_cast<size_t>(y) * width * 4;
            for (int x = kSampleStepPx / 2; x < width; x += kSampleStepPx) {
                const uint8_t* p = row + static_cast<size_t>(x) * 4;
                ++points;
                if (std::abs(p[2] - colour.r) <= kChannelTolerance && std::abs(p[1] - colour.g) <= kChannelTolerance &&
                    std::abs(p[0] - colour.b) <= kChannelTolerance) {
                    ++matching;
                }
            }
        }
        return matching >= kShownFraction * points;
    }

    bool Prepare(int width, int height) {
        if (m_bitmap.IsValid() && width == m_width && height == m_height) return true;
        if (m_oldBitmap) ::SelectObject(m_memory.Get(), m_oldBitmap);
        m_oldBitmap = nullptr;
        // Kept between looks: a new bitmap every 2 ms would cost more than the look itself.
        m_bitmap = ScreenPicture_CL::TopDownBitmap(m_screen.Get(), width, height, &m_bits);
        if (!m_bitmap.IsValid()) return false;
        m_oldBitmap = ::SelectObject(m_memory.Get(), m_bitmap.Get());
        m_width = width;
        m_height = height;
        return true;
    }

    WindowDC_CL m_screen;
    MemoryDC_CL m_memory;
    GdiObject_CL m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    const uint8_t* m_bits = nullptr;
    int m_width = 0, m_height = 0;
    double m_lookMsTotal = 0;
    long m_looks = 0;
};

struct WindowList {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<WindowList*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == list->processId && ::IsWindowVisible(window)) list->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD processId) {
    WindowList list{processId, {}};
    ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

struct Sighting {
    double windowMs = -1;  // first visible top-level window of the process
    double frameMs = -1;   // the colour on screen in one of them; -1: never (timeout or exit)
};

// Polls the process's visible top-level windows until one shows the colour; times are from
// startMs. The player shows the picture in its main window, the baseline in the default
// renderer's own window, so every window of the process is looked at. eachPoll, when given,
// runs once per poll (to time something else on the way).
Sighting WaitForColour(ScreenProbe& probe, DWORD processId, const std::function<bool()>& isRunning, AviRgb8 colour,
                       double startMs, const std::function<void()>& eachPoll = nullptr) {
    Sighting sighting;
    for (;;) {
        if (eachPoll) eachPoll();
        const std::vector<HWND> windows = VisibleWindows(processId);
        if (!windows.empty() && sighting.windowMs < 0) sighting.windowMs = NowMs() - startMs;
        for (HWND window : windows) {
            if (probe.Shows(window, colour)) {
                sighting.frameMs = NowMs() - startMs;
                return sighting;
            }
        }
        if (!isRunning() || NowMs() - startMs > kTimeoutMs) return sighting;
        ::Sleep(kPollMs);  // polling step; the screen decides
    }
}

// --- the baseline program -------------------------------------------------------------------

struct Launched {
    KernelHandle_CL process;
    DWORD id = 0;
};

void CloseBare(Launched& bare) {
    for (HWND window : VisibleWindows(bare.id)) {
        wchar_t className[64] = {};
        ::GetClassNameW(window, className, 64);
        if (std::wcscmp(className, kBareWindowClass) == 0) ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(bare.process.Get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(bare.process.Get(), 1);
        ::WaitForSingleObject(bare.process.Get(), kExitTimeoutMs);
    }
}

// --- the player ----------------------------------------------------------------------------

struct PlayerTimes {
    Sighting startUp;      // from the first launch
    Sighting handOff;      // from the second launch; windowMs is not meaningful here
    double launcherExitMs = -1;  // the second launch's own process ending, from its start
};

void ClosePlayer(PlayerProcess_CL& player) {
    if (player.WaitForMainWindow(5000) && player.PostClose()) {
        DWORD code = 0;
        if (player.WaitForExit(kExitTimeoutMs, &code)) return;
    }
    player.Kill();
}

// One start-up and one hand-off with a fresh Documents folder (and so a fresh data folder).
// With settings given, they are written first as the player's Lumikino.ini; logOut receives
// the trace log and launchTimesOut the local times of the two launches. startUpPoll runs once
// per poll while the first picture is awaited; beforeClose runs with the player still running.
bool RunPlayerRound(ScreenProbe& probe, const std::wstring& firstMovie, const std::wstring& secondMovie,
                    const std::wstring& settings, PlayerTimes& times, std::wstring* logOut = nullptr,
                    SYSTEMTIME* launchTimesOut = nullptr, const std::function<void(double)>& startUpPoll = nullptr,
                    const std::function<void()>& beforeClose = nullptr) {
    TempFolder_CL documents;
    DocumentsRedirect_CL redirect(documents.Path());
    const std::wstring dataFolder = documents.Join(L"Lumikino");
    if (!settings.empty()) {
        ::CreateDirectoryW(dataFolder.c_str(), nullptr);
        if (!WriteFileBytes(dataFolder + L"\\Lumikino.ini", Utf16File(settings))) return false;
    }
    PlayerProcess_CL player;
    const auto playerRuns = [&] { return player.IsRunning(); };
    if (launchTimesOut) ::GetLocalTime(&launchTimesOut[0]);
    double start = NowMs();
    if (!player.Start({firstMovie})) return false;
    times.startUp = WaitForColour(probe, player.ProcessId(), playerRuns, kFirstMovieColour, start, [&] {
        if (startUpPoll) startUpPoll(NowMs() - start);
    });
    bool ok = times.startUp.frameMs >= 0;
    if (ok) {
        PlayerProcess_CL launcher;
        if (launchTimesOut) ::GetLocalTime(&launchTimesOut[1]);
        start = NowMs();
        if (launcher.Start({secondMovie})) {
            const auto noteLauncherExit = [&] {
                if (times.launcherExitMs < 0 && !launcher.IsRunning()) times.launcherExitMs = NowMs() - start;
            };
            times.handOff =
                WaitForColour(probe, player.ProcessId(), playerRuns, kSecondMovieColour, start, noteLauncherExit);
            DWORD code = 0;
            if (launcher.WaitForExit(kExitTimeoutMs, &code)) noteLauncherExit();
        }
        ok = times.handOff.frameMs >= 0;
    }
    if (beforeClose) beforeClose();
    ClosePlayer(player);
    if (logOut) *logOut = ReadLogText(dataFolder + L"\\log.txt");
    return ok;
}

// --- the trace --------------------------------------------------------------------------------

double MsOfDay(const SYSTEMTIME& t) {
    return ((t.wHour * 60.0 + t.wMinute) * 60.0 + t.wSecond) * 1000.0 + t.wMilliseconds;
}

std::string Utf8(const std::wstring& text) {
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(std::max(bytes, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    return utf8;
}

struct TraceEvent {
    double atMs;
    const char* what;
};

// Prints the log's lines with their time since the first launch, in the log's order, with
// what this benchmark saw (launches, pictures on screen) put in where their time falls. Lines
// starting alike in a row (the per-frame lines) are folded into the first and a count.
void PrintTrace(const std::wstring& log, const SYSTEMTIME launches[2], const PlayerTimes& times) {
    const double firstLaunch = MsOfDay(launches[0]);
    const double secondLaunch = MsOfDay(launches[1]) - firstLaunch;
    std::vector<TraceEvent> events = {
        {0, "first launch"},
        {times.startUp.windowMs, "main window visible"},
        {times.startUp.frameMs, "first movie's picture on screen"},
        {secondLaunch, "second launch"},
        {secondLaunch + times.launcherExitMs, "second launch's process ended"},
        {secondLaunch + times.handOff.frameMs, "second movie's picture on screen"},
    };
    std::stable_sort(events.begin(), events.end(),
                     [](const TraceEvent& a, const TraceEvent& b) { return a.atMs < b.atMs; });
    std::printf("trace round (detail log on; times from the first launch):\n");
    size_t nextEvent = 0;
    std::wstring previousHead = L"\n";  // matches no message
    int folded = 0;
    auto flushFolded = [&] {
        if (folded > 0) std::printf("             (%d more lines alike)\n", folded);
        folded = 0;
    };
    auto printEventsUntil = [&](double ms) {
        for (; nextEvent < events.size() && events[nextEvent].atMs <= ms; ++nextEvent) {
            flushFolded();
            previousHead = L"\n";
            std::printf("  %+7.0f ms  ==> %s\n", events[nextEvent].atMs, events[nextEvent].what);
        }
    };
    for (const std::wstring& line : SplitLines(log)) {
        int year, month, day, hour, minute, second, milli;
        const size_t kPrefixLength = 26;  // "2024/03/05 07:08:09.004 : "
        if (line.size() < kPrefixLength - 1 ||
            std::swscanf(line.c_str(), L"%d/%d/%d %d:%d:%d.%d", &year, &month, &day, &hour, &minute, &second,
                         &milli) != 7) {
            continue;  // the banner's text line and the like
        }
        const double atMs = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milli - firstLaunch;
        if (atMs > events.back().atMs + kTraceTailMs) break;  // the close is not what is measured
        printEventsUntil(atMs);
        // The start banner begins with a line break, so its stamped line holds no text.
        const std::wstring message = line.size() > kPrefixLength ? line.substr(kPrefixLength) : L"(start banner)";
        const std::wstring head = message.substr(0, 16);
        if (head == previousHead) {
            ++folded;
            continue;
        }
        flushFolded();
        previousHead = head;
        // The console takes UTF-8: the player's lines are partly Japanese.
        std::printf("  %+7.0f ms  %s\n", atMs, Utf8(message).c_str());
    }
    flushFolded();
    printEventsUntil(1e300);
}

void PrintFigure(const char* what, const Spread& spread, const Spread& baseline) {
    std::printf("%-34s median %7.1f ms (min %7.1f, max %7.1f)  ratio %.2fx\n", what, spread.median, spread.min,
                spread.max, baseline.median > 0 ? spread.median / baseline.median : 0.0);
}

// --- the version check -------------------------------------------------------------------------

// How long the check may take to reach the proxy after the launch.
constexpr unsigned kConnectionTimeoutMs = 10000;

struct CheckFigures {
    std::vector<double> window, frame, handOff;
    std::vector<double> connection;  // the check's connection accepted, from the launch ("on" only)
};

// The player with the version check on and due (a proxy that never answers) against the check
// off, rounds alternating which goes first. False when a round's picture never showed or an
// "on" round's check never reached the proxy.
bool CompareVersionCheck(ScreenProbe& probe, const std::wstring& firstMovie, const std::wstring& secondMovie,
                         int rounds) {
    HungUpdateProxy_CL proxy;
    CheckFigures on, off;
    std::vector<double> frameRatios;  // on against off within a round
    int onRounds = 0;
    for (int round = 0; round < rounds; ++round) {
        double roundFrame[2] = {0, 0};  // off, on
        for (int turn = 0; turn < 2; ++turn) {
            const bool checkOn = (turn == 0) == (round % 2 == 0);
            CheckFigures& figures = checkOn ? on : off;
            double connectedMs = -1;
            const auto noteConnection = [&](double sinceLaunchMs) {
                if (connectedMs < 0 && proxy.Connections() > 0) connectedMs = sinceLaunchMs;
            };
            bool reached = true;
            const auto awaitConnection = [&] {
                if (checkOn && connectedMs < 0) reached = proxy.WaitForConnection(kConnectionTimeoutMs);
            };
            PlayerTimes times;
            const bool shown = RunPlayerRound(probe, firstMovie, secondMovie, HungUpdateProxy_CL::SettingsText(checkOn),
                                              times, nullptr, nullptr, noteConnection, awaitConnection);
            const int connections = proxy.EndRound();
            if (!shown) {
                std::fprintf(stderr, "version check round %d (%s): the picture never showed\n", round + 1,
                             checkOn ? "on" : "off");
                return false;
            }
            if (checkOn) {
                ++onRounds;
                if (!reached || connections == 0) {
                    std::fprintf(stderr, "version check round %d: the check never reached the proxy\n", round + 1);
                    return false;
                }
                if (connectedMs >= 0) on.connection.push_back(connectedMs);
            } else if (connections != 0) {
                std::printf("version check round %d: %d connection(s) with the check off\n", round + 1, connections);
            }
            figures.window.push_back(times.startUp.windowMs);
            figures.frame.push_back(times.startUp.frameMs);
            figures.handOff.push_back(times.handOff.frameMs);
            roundFrame[checkOn ? 1 : 0] = times.startUp.frameMs;
        }
        frameRatios.push_back(roundFrame[1] / roundFrame[0]);
        std::printf("version check round %d: first frame with the check on %.0f ms, off %.0f ms\n", round + 1,
                    roundFrame[1], roundFrame[0]);
        std::fflush(stdout);
    }
    const Spread offWindow = SpreadOf(off.window), offFrame = SpreadOf(off.frame), offHandOff = SpreadOf(off.handOff);
    std::printf("version check on (proxy accepts and never answers) against off, %d rounds each:\n", rounds);
    PrintFigure("check off: window visible", offWindow, offWindow);
    PrintFigure("check on: window visible", SpreadOf(on.window), offWindow);
    PrintFigure("check off: first frame", offFrame, offFrame);
    PrintFigure("check on: first frame", SpreadOf(on.frame), offFrame);
    PrintFigure("check off: hand-off", offHandOff, offHandOff);
    PrintFigure("check on: hand-off", SpreadOf(on.handOff), offHandOff);
    const Spread ratio = SpreadOf(frameRatios);
    std::printf("per-round first-frame ratio on/off: %.2fx (%.2f-%.2f)\n", ratio.median, ratio.min, ratio.max);
    std::printf("the proxy accepted %d connection(s) in %d \"on\" rounds, %.0f ms after the launch (median, seen "
                "while the first picture was awaited in %zu); request: %s\n",
                proxy.TotalConnections(), onRounds, SpreadOf(on.connection).median, on.connection.size(),
                proxy.FirstRequestLine().c_str());
    std::fflush(stdout);
    return true;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    const std::wstring bare = BesideMe(L"bench_bare_render_file.exe");
    TempFolder_CL movies;
    const std::wstring firstMovie = movies.Join(L"first frame.avi");
    const std::wstring secondMovie = movies.Join(L"other.avi");
    if (!WriteSingleColourMovie(firstMovie, kFirstMovieColour) ||
        !WriteSingleColourMovie(secondMovie, kSecondMovieColour)) {
        return 1;
    }

    ScreenProbe probe;
    std::vector<double> bareFrame, bareWindow, playerFrame, playerWindow, handOffFrame, launcherExit;
    // Each round's figures against that round's baseline: on a machine shared with other work a
    // slow spell then slows both sides of the ratio alike.
    std::vector<double> startUpRatios, handOffRatios;
    for (int round = 0; round < rounds; ++round) {
        Launched launched;
        const double start = NowMs();
        if (!LaunchProgram(bare, {firstMovie}, std::wstring(), &launched.process, &launched.id)) {
            std::fprintf(stderr, "could not start %ls\n", bare.c_str());
            return 1;
        }
        const Sighting baseline = WaitForColour(
            probe, launched.id,
            [&] { return ::WaitForSingleObject(launched.process.Get(), 0) == WAIT_TIMEOUT; }, kFirstMovieColour,
            start);
        CloseBare(launched);
        if (baseline.frameMs < 0) {
            std::fprintf(stderr, "round %d: the baseline's picture never showed\n", round + 1);
            return 1;
        }
        bareFrame.push_back(baseline.frameMs);
        bareWindow.push_back(baseline.windowMs);

        PlayerTimes times;
        if (!RunPlayerRound(probe, firstMovie, secondMovie, std::wstring(), times)) {
            std::fprintf(stderr, "round %d: the player's picture never showed (start-up %.0f ms, hand-off %.0f ms)\n",
                         round + 1, times.startUp.frameMs, times.handOff.frameMs);
            return 1;
        }
        playerFrame.push_back(times.startUp.frameMs);
        playerWindow.push_back(times.startUp.windowMs);
        handOffFrame.push_back(times.handOff.frameMs);
        launcherExit.push_back(times.launcherExitMs);
        startUpRatios.push_back(times.startUp.frameMs / baseline.frameMs);
        handOffRatios.push_back(times.handOff.frameMs / baseline.frameMs);
        std::printf("round %d: baseline %.0f ms, player start-up %.0f ms, hand-off %.0f ms\n", round + 1,
                    baseline.frameMs, times.startUp.frameMs, times.handOff.frameMs);
        std::fflush(stdout);
    }

    const Spread baseline = SpreadOf(bareFrame);
    std::printf("first frame on screen, %d rounds, against the bare RenderFile program:\n", rounds);
    PrintFigure("baseline: bare RenderFile program", baseline, baseline);
    PrintFigure("player start-up", SpreadOf(playerFrame), baseline);
    PrintFigure("second launch hand-off", SpreadOf(handOffFrame), baseline);
    const Spread startUpRatio = SpreadOf(startUpRatios), handOffRatio = SpreadOf(handOffRatios);
    std::printf("per-round ratios (median, min-max): start-up %.2fx (%.2f-%.2f), hand-off %.2fx (%.2f-%.2f)\n",
                startUpRatio.median, startUpRatio.min, startUpRatio.max, handOffRatio.median, handOffRatio.min,
                handOffRatio.max);
    const Spread playerShown = SpreadOf(playerWindow), bareShown = SpreadOf(bareWindow),
                 launcher = SpreadOf(launcherExit);
    std::printf("for reference: first window visible: player %.1f ms, baseline %.1f ms; the second launch's "
                "process ends after %.1f ms (medians); one look at the screen takes %.2f ms\n",
                playerShown.median, bareShown.median, launcher.median, probe.MeanLookMs());
    std::fflush(stdout);

    const bool checkCompared = CompareVersionCheck(probe, firstMovie, secondMovie, rounds);

    PlayerTimes traced;
    std::wstring log;
    SYSTEMTIME launches[2] = {};
    const std::wstring detail =
        L"[SETTING]\r\nlog_detail_graph=1\r\nlog_detail_renderer=1\r\nlog_detail_other=1\r\nlog_detail_frame=1\r\n"
        L"log_detail_audio=1\r\nlog_detail_resize=1\r\n";
    if (RunPlayerRound(probe, firstMovie, secondMovie, detail, traced, &log, launches)) {
        PrintTrace(log, launches, traced);
    } else {
        std::printf("trace round: the picture never showed\n");
    }
    return checkCompared ? 0 : 1;
}
