#pragma once
// The page 色設定: the application-wide colour adjustment, section PROC_AMP of the settings.
// Thread: UI only.

#include "app/settings/PropColorPage_CL.h"

class AppSettings;

class PropAppColor_CL : public PropColorPage_CL {
public:
    PropAppColor_CL(AppSettings& settings, RangeOf rangeOf);

protected:
    ColourValues Stored() const override;
    void Store(const ColourValues& values) override;

private:
    AppSettings& m_settings;
};
