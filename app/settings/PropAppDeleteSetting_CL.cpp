#include "app/settings/PropAppDeleteSetting_CL.h"

#include "app/settings/SettingsTexts.h"

PropAppDeleteSetting_CL::PropAppDeleteSetting_CL(AppSettings& settings)
    : BoundSettingsPage_CL(kPageDelete, settings,
                           {{kPageDelete, {SettingRow::Check(kCheckDeleteMenu, &AppSettings::enable_delete_menu)}}}) {}
