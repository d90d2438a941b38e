#include "app/settings/PropAppSetting_CL.h"

#include "app/settings/SettingsTexts.h"

namespace {

std::vector<std::wstring> SkipStepItems(const AppSettings& settings) {
    std::vector<std::wstring> items;
    for (int i = 0; i < 6; ++i) items.push_back(settings.SkipStepCaption(i, AppSettings::CaptionForm::SettingsPage));
    return items;
}

}  // namespace

PropAppSetting_CL::PropAppSetting_CL(AppSettings& settings)
    : BoundSettingsPage_CL(
          kPageBasic, settings,
          {
              {kGroupStart, {SettingRow::Check(kCheckDuplicateLaunch, &AppSettings::duplicate_launch)}},
              {kGroupThumbnail, {SettingRow::Check(kCheckHiddenDecode, &AppSettings::hidden_decode)}},
              {kGroupSkipFrame,
               {SettingRow::Check(kCheckPlayOpening, &AppSettings::play_op_frame),
                SettingRow::Check(kCheckPlayCommercials, &AppSettings::play_cm_frame),
                SettingRow::Check(kCheckPlayEnding, &AppSettings::play_ed_frame)}},
              {kGroupSkipStep, {SettingRow::Combo(L"", SkipStepItems(settings), &AppSettings::skip_sec_button_index)}},
              {kGroupResume, {SettingRow::Check(kCheckNoResume, &AppSettings::no_resume)}},
              {kGroupRate, {SettingRow::Check(kCheckRateKeep, &AppSettings::next_play_rate_keep)}},
          }) {}
