#include "app/settings/PropAppNoOperation_CL.h"

#include "app/settings/SettingsTexts.h"

PropAppNoOperation_CL::PropAppNoOperation_CL(AppSettings& settings)
    : BoundSettingsPage_CL(
          kPageNoOperation, settings,
          {
              {kGroupIdleCounter,
               {SettingRow::Combo(L"", {kItemIdle3, kItemIdle5, kItemIdle10}, &AppSettings::countup_time),
                SettingRow::Check(kCheckMouseHide, &AppSettings::mouse_hide),
                SettingRow::Check(kCheckNoFrame, &AppSettings::no_frame),
                SettingRow::Check(kCheckNoThumbnail, &AppSettings::no_thumbnail),
                SettingRow::Check(kCheckMoveThumbnail, &AppSettings::move_thumbnail)}},
              {kGroupDoubleClick,
               {SettingRow::Combo(L"", {kItemToggleStrip, kItemToggleMaximised}, &AppSettings::double_click)}},
          }) {}
