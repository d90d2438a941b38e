#pragma once
// The job a progress dialog runs on its own thread (an archive entry being unpacked, say).

#include <windows.h>

class EasyProgress_CL;

class ProgressWorker_CL {
public:
    virtual ~ProgressWorker_CL() = default;

    // Thread: the dialog's worker thread, started at WM_INITDIALOG. Does the job, reporting
    // through progress.SetPosition and looking at progress.IsCancelRequested (or waiting on
    // progress.CancelEvent). The value returned ends the dialog: DoModal returns it.
    virtual INT_PTR Run(EasyProgress_CL& progress) = 0;
};
