#pragma once
// What the content loader needs of the main window: the old movie taken away, the path a
// request stands for, the playback graph built or released, and the new movie shown.
// Thread: UI for every call.

#include <windows.h>

#include <string>

struct LoadRequest;

class ContentLoaderHost_CL {
public:
    virtual ~ContentLoaderHost_CL() = default;

    // Thread: UI. A load is about to start: the movie playing goes (its position saved, its
    // graph released, its record unbound) and "loading" shows.
    virtual void LeaveContent() = 0;
    // Thread: UI. The path the request loads: its own, or the play list's next entry (the list
    // moves on). False when the player cannot load it; the load then ends.
    virtual bool ResolveLoadPath(const LoadRequest& request, std::wstring* path, bool* fromList) = 0;
    // Thread: UI. Releases the playback graph (before the first attempt and after a failed one).
    virtual void ReleaseGraph() = 0;
    // Asks the thumbnail worker to stop its job; true when its idle command (the worker-idle
    // command) will follow, false when there is nothing to stop.
    virtual bool StopThumbnails() = 0;
    // Thread: UI. One attempt at the playback graph for the path.
    virtual HRESULT BuildGraph(const std::wstring& path) = 0;
    // Thread: UI. The end of the load: the movie shown with its graph, or the failure
    // reported (hr failed). The load counts as running until this returns, so a request made
    // while its dialog is open waits.
    virtual void FinishLoad(const LoadRequest& request, const std::wstring& path, bool fromList, HRESULT hr) = 0;
};
