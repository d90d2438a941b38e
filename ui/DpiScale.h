#pragma once
// Fixed pixel sizes of the dialogs are given for 96 dots per inch. A process that told the
// platform it is DPI-aware gets real pixels and scales them itself; an unaware one is
// scaled by the platform and keeps the 96-dpi numbers.

#include <windows.h>

// Pure: pixels96 at dotsPerInch, rounded to the nearest pixel.
int ScalePixelsForDpi(int pixels96, int dotsPerInch);

// Thread: any. The screen's dots per inch when this process is DPI-aware, else 96.
int EffectiveDpi();

// Thread: any. pixels96 at the effective dots per inch.
int ScaleForDpi(int pixels96);
