#pragma once
// Start-up preparation of the data folder tree, the trace log and the two INI files.
// Thread: UI, at start-up.

// Creates Documents\Lumikino with capture\ and contents\000 ... 099, points the trace log at
// it (emptying it first when log_clear_on_startup asks), writes the start lines, and makes sure
// the settings and history files exist. Failures to create folders are ignored.
void PrepareDataFolder();
