#include "ui/DpiScale.h"

#include "base/UniqueHandle_CL.h"

int ScalePixelsForDpi(int pixels96, int dotsPerInch) {
    if (dotsPerInch <= 0) return pixels96;
    return ::MulDiv(pixels96, dotsPerInch, 96);
}

int EffectiveDpi() {
    // IsProcessDPIAware exists from Vista on, which the program already requires; the newer
    // per-monitor awareness is not asked for, so the system value is the one that counts.
    if (!::IsProcessDPIAware()) return 96;
    WindowDC_CL screen(nullptr);
    if (!screen.Get()) return 96;
    int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

int ScaleForDpi(int pixels96) { return ScalePixelsForDpi(pixels96, EffectiveDpi()); }
