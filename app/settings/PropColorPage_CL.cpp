#include "app/settings/PropColorPage_CL.h"

#include <algorithm>

#include "app/settings/ColourSliderScale.h"
#include "app/settings/SettingsTexts.h"
#include "store/AppSettings.h"
#include "ui/CheckBox_CL.h"
#include "ui/PageLayout_CL.h"
#include "ui/TrackBar_CL.h"

namespace {
constexpr int kSliderWidth96 = 300;
const wchar_t* const kLabels[4] = {kLabelBrightness, kLabelContrast, kLabelSaturation, kLabelHue};

int SlotOf(int mask) {
    for (int i = 0; i < 4; ++i) {
        if (PropColorPage_CL::kMasks[i] == mask) return i;
    }
    return 0;
}

int32_t ValueOf(const ColourValues& values, int mask) {
    switch (mask) {
    case kProcAmpContrast: return values.contrast;
    case kProcAmpSaturation: return values.saturation;
    case kProcAmpHue: return values.hue;
    default: return values.brightness;
    }
}

void SetValueOf(ColourValues& values, int mask, int32_t value) {
    switch (mask) {
    case kProcAmpContrast: values.contrast = value; break;
    case kProcAmpSaturation: values.saturation = value; break;
    case kProcAmpHue: values.hue = value; break;
    default: values.brightness = value; break;
    }
}
}  // namespace

PropColorPage_CL::PropColorPage_CL(std::wstring title, std::wstring checkText, RangeOf rangeOf)
    : PropertyPage_CL(std::move(title)), m_checkText(std::move(checkText)), m_rangeOf(std::move(rangeOf)) {}

ProcAmpRange PropColorPage_CL::RangeFor(int mask) const { return m_rangeOf ? m_rangeOf(mask) : NominalProcAmpRange(mask); }

ControlBase_CL* PropColorPage_CL::Slider(int mask) const { return Controls().At(m_sliders[SlotOf(mask)]); }

SIZE PropColorPage_CL::BuildControls(HWND parent) {
    PageLayout_CL layout(Controls(), parent);
    layout.BeginGroup(kGroupColour);
    m_check = layout.CheckBox(m_checkText);
    for (int i = 0; i < 4; ++i) {
        layout.Label(kLabels[i]);
        layout.SameLine();
        m_sliders[i] = layout.Slider(kSliderWidth96);
        if (auto* slider = Controls().Get<TrackBar_CL>(m_sliders[i])) {
            const ColourSliderScale scale(RangeFor(kMasks[i]));
            slider->SetRange(scale.MinimumPosition(), scale.MaximumPosition());
            slider->SetSteps(1, 1);  // one step of the control
        }
    }
    layout.EndGroup();
    return layout.Finish();
}

void PropColorPage_CL::LoadValues() {
    const ColourValues values = Stored();
    if (auto* check = Controls().Get<CheckBox_CL>(m_check)) check->SetChecked(values.enable == 1);
    for (int i = 0; i < 4; ++i) {
        auto* slider = Controls().Get<TrackBar_CL>(m_sliders[i]);
        if (!slider) continue;
        slider->SetPosition(ColourSliderScale(RangeFor(kMasks[i])).PositionOf(ValueOf(values, kMasks[i])));
    }
    EnableSliders();
}

void PropColorPage_CL::ApplyValues() {
    ColourValues values;
    const auto* check = Controls().Get<CheckBox_CL>(m_check);
    values.enable = check && check->IsChecked() ? 1 : 0;
    const ColourValues stored = Stored();
    for (int i = 0; i < 4; ++i) {
        const auto* slider = Controls().Get<TrackBar_CL>(m_sliders[i]);
        const int32_t before = ValueOf(stored, kMasks[i]);
        const ColourSliderScale scale(RangeFor(kMasks[i]));
        // A slider left where the stored value put it keeps that value exactly.
        const bool moved = !slider || before == kProcAmpNotSet || slider->Position() != scale.PositionOf(before);
        SetValueOf(values, kMasks[i], slider && moved ? scale.StoredOf(slider->Position()) : before);
    }
    Store(values);
}

void PropColorPage_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    const ControlBase_CL* check = CheckBox();
    if (check && control == check->Window() && notifyCode == BN_CLICKED) EnableSliders();
    PropertyPage_CL::OnCommand(controlId, notifyCode, control);
}

void PropColorPage_CL::EnableSliders() {
    const auto* check = Controls().Get<CheckBox_CL>(m_check);
    const bool on = check && check->IsChecked();
    for (int index : m_sliders) {
        if (ControlBase_CL* slider = Controls().At(index)) slider->Enable(on);
    }
}
