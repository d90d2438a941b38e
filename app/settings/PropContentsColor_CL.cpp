#include "app/settings/PropContentsColor_CL.h"

#include "app/settings/SettingsTexts.h"
#include "store/ContentInfo.h"

PropContentsColor_CL::PropContentsColor_CL(ContentInfo& record, RangeOf rangeOf, std::function<bool()> recordCurrent)
    : PropColorPage_CL(kPageContentColour, kCheckContentColour, std::move(rangeOf)),
      m_record(record),
      m_recordCurrent(std::move(recordCurrent)) {}

ColourValues PropContentsColor_CL::Stored() const {
    ColourValues values;
    values.enable = m_record.enable;
    values.brightness = m_record.brightness;
    values.contrast = m_record.contrast;
    values.saturation = m_record.saturation;
    values.hue = m_record.hue;
    return values;
}

void PropContentsColor_CL::Store(const ColourValues& values) {
    if (m_recordCurrent && !m_recordCurrent()) return;  // another movie's record now
    m_record.SetProcAmp(values.enable, values.brightness, values.contrast, values.hue, values.saturation);
}
