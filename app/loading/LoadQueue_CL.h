#pragma once
// The movies waiting to be loaded and the rules of one load's attempts. A load never waits on
// the user-interface thread: a share that does not answer and a graph that cannot be built
// yet are tried again from a window timer, and every request that arrives meanwhile waits
// here; the newest one loads when the running load is done.
// Pure: no window, no graph. Thread: UI (owned by the main window).

#include <windows.h>

#include <string>

// What to load: the given path (direct), or the play list's next entry.
struct LoadRequest {
    bool direct = false;
    std::wstring path;
    bool continuesList = false;  // WM_PLAY_NEXT: the next entry plays from its start
};

// What a path names, decided before any graph is built for it.
enum class LoadPathKind { kEmpty, kMissing, kFolder, kFile };

class LoadQueue_CL {
public:
    static constexpr UINT kShareRetryDelayMs = 1000;
    static constexpr int kShareAttempts = 30;

    // Thread: UI. Keeps the request, replacing one that waited. True when no load is running,
    // so the caller starts one (after the thumbnail worker has stopped).
    bool Push(const LoadRequest& request);
    // Thread: UI. The waiting request, if any and no load runs; it leaves the queue.
    bool TakeNext(LoadRequest* request);
    bool HasWaiting() const { return m_waiting; }

    // Thread: UI. A load runs from Begin to End, across its timer waits.
    void Begin() { m_running = true; }
    void End() { m_running = false; }
    bool Running() const { return m_running; }

    // The share a UNC path needs connected: "\\server" of "\\server\share\movie.mp4". Empty when
    // the path is not UNC. *hasSeparator is false for a bare "\\server", which is tried once.
    static std::wstring ShareServerOf(const std::wstring& path, bool* hasSeparator);
    // After attemptsMade failed connections: try again in kShareRetryDelayMs? (The graph's own
    // retry rule is DShowGraph_CL::BuildAttemptAgain.)
    static bool ShareAttemptAgain(int attemptsMade, bool hasSeparator);
    // From GetFileAttributesW's answer for a path (INVALID_FILE_ATTRIBUTES when it failed).
    static LoadPathKind KindOf(const std::wstring& path, DWORD attributes);

private:
    LoadRequest m_request;
    bool m_waiting = false;
    bool m_running = false;
};
