#pragma once
// Start-up preparation of the data folder tree, the trace log and the two INI files.
// Thread: UI, at start-up.

// Creates Documents\Lumikino and its capture\ folder, points the trace log at it (emptying it
// first when log_clear_on_startup asks), writes the start lines, and makes sure the settings
// and history files exist. Failures to create folders are ignored.
void PrepareDataFolder();

// Creates contents\ and in it the 100 record folders 000 ... 099. Start-up runs it once the
// main window shows and before the first message is handled: no record is read or written
// before then. Failures are ignored, as for every folder of the data folder.
void CreateRecordFolders();

// Deletes the temporary extraction folder (zip\) with all it holds, as a run ends. Only under
// a documents folder that resolved to an absolute path: "\Lumikino\zip" alone would name a
// folder on whatever drive happens to be current.
void RemoveZipFolder();
