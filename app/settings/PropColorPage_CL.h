#pragma once
// The colour page, one design for two sets of values: 色設定 edits the application-wide
// adjustment (PropAppColor_CL), 色調整 the loaded movie's own (PropContentsColor_CL). A check
// box switches the adjustment on; four sliders, brightness, contrast, saturation and hue,
// span the ranges the presenter offers, one position per step of each control
// (ColourSliderScale), and stand at the stored values (a value not set, 0x7FFFFFFF, shows
// the control's default). The sliders work only while the box is ticked.
// Thread: UI only.

#include <cstdint>
#include <functional>

#include "media/ColourAdjust_CL.h"
#include "ui/PropertyPage_CL.h"

struct ColourValues {
    int enable = 0;
    int32_t brightness = 0x7FFFFFFF;
    int32_t contrast = 0x7FFFFFFF;
    int32_t saturation = 0x7FFFFFFF;
    int32_t hue = 0x7FFFFFFF;
};

class PropColorPage_CL : public PropertyPage_CL {
public:
    using RangeOf = std::function<ProcAmpRange(int mask)>;
    // The sliders in the order they stand, by their colour control.
    static constexpr int kMasks[4] = {kProcAmpBrightness, kProcAmpContrast, kProcAmpSaturation, kProcAmpHue};

    PropColorPage_CL(std::wstring title, std::wstring checkText, RangeOf rangeOf);

    SIZE BuildControls(HWND parent) override;
    // While the page is open: the check box, and the slider of a colour control.
    ControlBase_CL* CheckBox() const { return Controls().At(m_check); }
    ControlBase_CL* Slider(int mask) const;

    ProcAmpRange RangeFor(int mask) const;

protected:
    virtual ColourValues Stored() const = 0;
    virtual void Store(const ColourValues& values) = 0;

    void LoadValues() override;
    void ApplyValues() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;

private:
    void EnableSliders();

    std::wstring m_checkText;
    RangeOf m_rangeOf;
    int m_check = -1;
    int m_sliders[4] = {-1, -1, -1, -1};
};
