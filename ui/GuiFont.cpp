#include "ui/GuiFont.h"

#include <cmath>

#include "ui/ControlBase_CL.h"

GdiObject_CL MakeScaledGuiFont(double factor) {
    LOGFONTW font{};
    if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) != sizeof(font)) {
        return GdiObject_CL();
    }
    font.lfWeight = 100;
    font.lfHeight = static_cast<LONG>(std::lround(font.lfHeight * factor));
    font.lfWidth = static_cast<LONG>(std::lround(font.lfWidth * factor));
    return GdiObject_CL(::CreateFontIndirectW(&font));
}

bool ApplyScaledGuiFont(ControlBase_CL& control, double factor) {
    GdiObject_CL font = MakeScaledGuiFont(factor);
    if (!font.IsValid()) return false;
    control.SetFont(std::move(font));
    return true;
}
