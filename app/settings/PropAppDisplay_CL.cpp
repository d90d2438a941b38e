#include "app/settings/PropAppDisplay_CL.h"

#include <cwchar>

#include "app/settings/SettingsHost_CL.h"
#include "app/settings/SettingsTexts.h"
#include "ui/CheckBox_CL.h"
#include "ui/TrackBar_CL.h"

namespace {
constexpr size_t kTransparencyGroup = 1;
constexpr size_t kOpacityLabelRow = 0;
}  // namespace

PropAppDisplay_CL::PropAppDisplay_CL(AppSettings& settings, SettingsHost_CL& host)
    : BoundSettingsPage_CL(
          kPageDisplay, settings,
          {
              // The items run top, bottom, left, right; the stored sides run top, right, bottom, left.
              {kGroupStripSide,
               {SettingRow::Combo(L"", {kItemTop, kItemBottom, kItemLeft, kItemRight}, &AppSettings::direction,
                                  {0, 2, 3, 1})}},
              {kGroupTransparency,
               {SettingRow::Label(kLabelOpacityFirst), SettingRow::Slider(10, 255, 300, &AppSettings::transparent),
                SettingRow::Check(kCheckMouseTransparent, &AppSettings::mouse_transparent)}},
              {kGroupPlayWindow,
               {SettingRow::Check(kCheckTitle, &AppSettings::enable_title),
                SettingRow::Check(kCheckPlayTime, &AppSettings::enable_playtime),
                SettingRow::Check(kCheckClock, &AppSettings::enable_clock),
                SettingRow::Combo(kLabelClockCorner, {kItemTopLeft, kItemTopRight, kItemBottomLeft, kItemBottomRight},
                                  &AppSettings::now_time_pos)}},
          }),
      m_host(host) {}

void PropAppDisplay_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    const ControlBase_CL* passThrough = ControlFor(&AppSettings::mouse_transparent);
    if (!Loading() && notifyCode == BN_CLICKED && passThrough && control == passThrough->Window() &&
        static_cast<const CheckBox_CL*>(passThrough)->IsChecked()) {
        ::MessageBoxW(Window(), kNoticeMouseTransparent, kNoticeCaption, MB_OK);
    }
    BoundSettingsPage_CL::OnCommand(controlId, notifyCode, control);
}

void PropAppDisplay_CL::OnSlider(HWND slider) {
    const ControlBase_CL* opacity = ControlFor(&AppSettings::transparent);
    if (!opacity || slider != opacity->Window()) return;
    const int alpha = static_cast<const TrackBar_CL*>(opacity)->Position();
    if (ControlBase_CL* label = RowControl(kTransparencyGroup, kOpacityLabelRow)) {
        wchar_t text[64];
        std::swprintf(text, 64, kLabelOpacityFormat, alpha);
        label->SetText(text);  // never wider than the first text, which sized the label
    }
    if (!Settings().layered_windows) {
        Settings().mouse_transparent = 0;
        m_host.TurnOffTransparentDisplay();
        return;
    }
    m_host.PreviewOpacity(alpha);
    m_previewing = true;
    ::SetTimer(Window(), kPreviewTimer, kPreviewMs, nullptr);
}

void PropAppDisplay_CL::EndPreview() {
    if (Window()) ::KillTimer(Window(), kPreviewTimer);
    if (!m_previewing) return;
    m_previewing = false;
    m_host.EndOpacityPreview();
}

void PropAppDisplay_CL::ApplyValues() {
    BoundSettingsPage_CL::ApplyValues();
    // Back to the configured transparency, which may have changed: always, preview or not.
    if (Window()) ::KillTimer(Window(), kPreviewTimer);
    m_previewing = false;
    m_host.EndOpacityPreview();
}

void PropAppDisplay_CL::CancelValues() { EndPreview(); }

INT_PTR PropAppDisplay_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPreviewTimer) {
        EndPreview();
        return TRUE;
    }
    if (message == WM_DESTROY) EndPreview();  // a sheet closed before the timer fired
    return BoundSettingsPage_CL::HandleMessage(message, wParam, lParam);
}
