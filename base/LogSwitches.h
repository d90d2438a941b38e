#pragma once
// The trace log's detail switches. Written once by the first settings load, before any other
// thread starts; read afterwards from every thread as plain booleans.

struct LogSwitches {
    // The raw keys of section SETTING; the two trace keys also turn their detail flag on.
    bool log_resize_trace = false;
    bool log_verbose_frame = false;

    bool log_detail_resize = false;
    bool log_detail_frame = false;
    bool log_detail_graph = false;
    bool log_detail_renderer = false;
    bool log_detail_audio = false;
    bool log_detail_other = false;

    // Not a log switch, read in the same pass: redraw once after a border drag ends.
    bool resize_defer_modal_size = false;
};

// The process's switches. Thread: written by the UI thread during the first settings load only.
LogSwitches& ProcessLogSwitches();
