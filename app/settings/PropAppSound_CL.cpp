#include "app/settings/PropAppSound_CL.h"

#include "app/settings/SettingsTexts.h"
#include "ui/PageLayout_CL.h"
#include "ui/TrackBar_CL.h"

namespace {
constexpr size_t kBalanceGroup = 0;
constexpr size_t kBalanceSliderRow = 1;
}  // namespace

PropAppSound_CL::PropAppSound_CL(AppSettings& settings)
    : BoundSettingsPage_CL(kPageSound, settings,
                           {
                               {L"",
                                {SettingRow::Label(kLabelBalance),
                                 SettingRow::Slider(-100, 100, 300, &AppSettings::volume_balance)}},
                               {kGroupSlowFast,
                                {SettingRow::Check(kCheckPitchKeep, &AppSettings::pitch_keep),
                                 SettingRow::Label(kLabelPitchQuality),
                                 SettingRow::Combo(L"", {kItemQualityLow, kItemQualityNormal},
                                                   &AppSettings::pitch_keep_quality)}},
                           }) {}

void PropAppSound_CL::BuildGroupExtras(PageLayout_CL& layout, size_t group) {
    if (group != kBalanceGroup) return;
    layout.LabelUnder(RowIndex(kBalanceGroup, kBalanceSliderRow), kLabelCentre);
    // Sized for the longest text it will show.
    const std::wstring even = BalanceCaption(0), side = BalanceCaption(-100);
    m_balanceLabel = layout.Label(even.size() > side.size() ? even : side);
}

ControlBase_CL* PropAppSound_CL::BalanceLabel() const {
    return Controls().At(m_balanceLabel);
}

void PropAppSound_CL::LoadValues() {
    BoundSettingsPage_CL::LoadValues();
    ShowBalance();
}

void PropAppSound_CL::OnSlider(HWND slider) {
    const ControlBase_CL* balance = RowControl(kBalanceGroup, kBalanceSliderRow);
    if (balance && slider == balance->Window()) ShowBalance();
}

void PropAppSound_CL::ShowBalance() {
    const auto* balance = static_cast<const TrackBar_CL*>(RowControl(kBalanceGroup, kBalanceSliderRow));
    ControlBase_CL* label = BalanceLabel();
    if (balance && label) label->SetText(BalanceCaption(balance->Position()));
}
