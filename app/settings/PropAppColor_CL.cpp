#include "app/settings/PropAppColor_CL.h"

#include "app/settings/SettingsTexts.h"
#include "store/AppSettings.h"

PropAppColor_CL::PropAppColor_CL(AppSettings& settings, RangeOf rangeOf)
    : PropColorPage_CL(kPageAppColour, kCheckAppColour, std::move(rangeOf)), m_settings(settings) {}

ColourValues PropAppColor_CL::Stored() const {
    ColourValues values;
    values.enable = m_settings.proc_amp_enable;
    values.brightness = m_settings.brightness;
    values.contrast = m_settings.contrast;
    values.saturation = m_settings.saturation;
    values.hue = m_settings.hue;
    return values;
}

void PropAppColor_CL::Store(const ColourValues& values) {
    m_settings.WriteInt(&AppSettings::proc_amp_enable, values.enable);
    m_settings.WriteInt(&AppSettings::brightness, values.brightness);
    m_settings.WriteInt(&AppSettings::contrast, values.contrast);
    m_settings.WriteInt(&AppSettings::saturation, values.saturation);
    m_settings.WriteInt(&AppSettings::hue, values.hue);
}
