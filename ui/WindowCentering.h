#pragma once
// Places a dialog over its parent. The dialog is first made a top-level window of its own,
// so that it neither moves with nor hides with the parent; a minimised parent has no useful
// rectangle, so the dialog is then centred on the screen instead.

#include <windows.h>

// Pure: the top-left corner that centres a client area of clientSize on area; a corner
// above the screen's top edge is moved down to 0 so the caption stays reachable.
POINT CenteredTopLeft(const RECT& area, SIZE clientSize);

// Thread: UI (the dialog's thread). Detaches dialog from parent and centres its client
// size on the parent's window rectangle, or on (0, 0, SM_CXFULLSCREEN, SM_CYFULLSCREEN)
// when the parent is minimised or missing.
void CenterDialogOnParent(HWND parent, HWND dialog);

// Thread: UI (the window's thread). Centres window (a top-level window) over owner, or over
// the screen when owner is missing or minimised, keeps it whole on the owner's monitor even
// when the owner reaches past its edges, and puts it above the other windows.
void PlaceOverOwnerOnScreen(HWND owner, HWND window);
