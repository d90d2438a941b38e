#pragma once
// The common control classes (list view, progress bar, track bar, tool bar, tool tips,
// extended combo box) must be registered before their first window is made. The program
// runs with version 6 of the library through its manifest; test programs run with the
// older default version. Both register the same class names through this call.

// Thread: any; registers once per process. Returns false when registration failed.
bool EnsureCommonControls();
