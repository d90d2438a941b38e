#pragma once
// Where the libraries Lumikino.exe binds on first use come from (see app/CMakeLists.txt: only
// kernel32, user32, gdi32, advapi32 and the C runtime are bound at process start).

#include <windows.h>
#include <delayimp.h>

// Thread: UI, first thing in wWinMain, before any late-bound function is called. From then on
// a late-bound library is loaded from the system folder only (side-by-side assemblies such as
// the version 6 common controls still apply), never from the current folder, which is the
// movie's folder when an association started the player.
void RouteDelayLoadsToSystemFolder();

// The hook itself: answers the library for dliNotePreLoadLibrary, null for everything else (the
// platform's own handling then goes on). Thread: any.
FARPROC WINAPI DelayLoadFromSystemFolder(unsigned notification, PDelayLoadInfo info);
