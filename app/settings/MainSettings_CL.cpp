#include "app/settings/MainSettings_CL.h"

#include <shlwapi.h>

#include "app/commands/CommandRouter_CL.h"
#include "app/settings/PropAppColor_CL.h"
#include "app/settings/PropAppDeleteSetting_CL.h"
#include "app/settings/PropAppDisplay_CL.h"
#include "app/settings/PropAppFileExtention_CL.h"
#include "app/settings/PropAppNoOperation_CL.h"
#include "app/settings/PropAppSetting_CL.h"
#include "app/settings/PropAppSound_CL.h"
#include "app/settings/PropAppThumbnail_CL.h"
#include "app/settings/PropAppVersion_CL.h"
#include "app/settings/PropContentsColor_CL.h"
#include "app/settings/PropContentsSetting_CL.h"
#include "app/settings/SettingsHost_CL.h"
#include "app/settings/SettingsTexts.h"
#include "base/CommandIds.h"
#include "base/LogFile_CL.h"
#include "base/Platform.h"
#include "media/PlaybackController_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "store/ContentRecords_CL.h"
#include "ui/PropertySheet_CL.h"

void MainSettings_CL::RegisterCommands(CommandRouter_CL& router) {
    router.Register(CMD_APP_SETTINGS, [this](WORD, LPARAM) { ShowAppSettings(); });
    router.Register(CMD_CONTENT_SETTINGS, [this](WORD, LPARAM) { ShowContentSettings(); });
    m_openSupportSite = [&router]() { router.Run(CMD_SUPPORT_SITE); };
}

INT_PTR MainSettings_CL::ShowAppSettings() {
    auto range = [this](int mask) { return m_host.ColourRange(mask); };
    PropAppSetting_CL basic(m_settings);
    PropAppDisplay_CL display(m_settings, m_host);
    PropAppThumbnail_CL thumbnail(m_settings);
    PropAppSound_CL sound(m_settings);
    PropAppColor_CL colour(m_settings, range);
    PropAppDeleteSetting_CL deletion(m_settings);
    PropAppNoOperation_CL idle(m_settings);
    PropAppFileExtention_CL association(m_settings.launch_extensions, OperatingSystemMajorVersion());
    PropAppVersion_CL version(m_settings, m_openSupportSite);
    PropertySheet_CL sheet(kAppSheetCaption, {&basic, &display, &thumbnail, &sound, &colour, &deletion, &idle,
                                              &association, &version});
    sheet.SetAppliedCallback([this]() { Follow(); });

    m_stripInterval = m_settings.ThumbnailIntervalRefTime();
    m_host.SetModalDialogOpen(true);
    const INT_PTR result = sheet.DoModal(m_host.MainWindow());
    m_host.SetModalDialogOpen(false);
    m_host.EndOpacityPreview();
    LogPrintf(L"アプリケーションの設定: %d", static_cast<int>(result));
    return result;
}

INT_PTR MainSettings_CL::ShowContentSettings() {
    // With no movie loaded the pages edit an unbound record: nothing reaches any file.
    ContentInfo unbound;
    unbound.Reset();
    ContentInfo* loaded = m_host.LoadedRecord();
    ContentInfo& record = loaded ? *loaded : unbound;
    const std::wstring moviePath = loaded ? m_host.LoadedMoviePath() : std::wstring();
    auto sharedNow = [&]() {
        return loaded && !moviePath.empty() && record.HasRecord() &&
               ::PathFileExistsW(record.RecordPath().c_str()) &&
               ContentRecords_CL::IsRecordBesideMovie(record.RecordPath(), moviePath);
    };
    ContentRecords_CL& records = m_host.Records();
    // The sheet pumps messages: a second start may load another movie into the same record.
    auto recordCurrent = [this, moviePath, loaded]() {
        return !loaded || (m_host.LoadedRecord() == loaded && m_host.LoadedMoviePath() == moviePath);
    };
    PropContentsSetting_CL setting(
        record, sharedNow(),
        [&records](const ContentInfo& applied) {
            if (applied.HasRecord()) records.SyncToAlbums(applied);
        },
        recordCurrent);
    PropContentsColor_CL colour(record, [this](int mask) { return m_host.ColourRange(mask); }, recordCurrent);
    PropertySheet_CL sheet(kContentSheetCaption, {&setting, &colour});
    sheet.SetAppliedCallback([this]() { Follow(); });

    m_stripInterval = m_settings.ThumbnailIntervalRefTime();
    m_host.SetModalDialogOpen(true);
    const INT_PTR result = sheet.DoModal(m_host.MainWindow());
    m_host.SetModalDialogOpen(false);
    LogPrintf(L"コンテンツの設定: %d", static_cast<int>(result));
    if (result != 1 || !loaded || !recordCurrent()) return result;
    const std::optional<bool> wanted = setting.SharingWanted();
    if (wanted && *wanted != sharedNow()) {
        const bool done = *wanted ? records.ShareContentInfo(record, moviePath)
                                  : records.UnshareContentInfo(record, moviePath);
        LogPrintf(L"コンテンツ情報の%ls: %ls", *wanted ? L"共有" : L"共有解除", done ? L"成功" : L"失敗");
        Follow();
    }
    return result;
}

void MainSettings_CL::Follow() {
    LogPrintf(L"%ls", L"設定を反映します");
    if (PlaybackController_CL* c = m_host.Controller()) c->FollowSettings();
    const int64_t interval = m_settings.ThumbnailIntervalRefTime();
    if (interval != m_stripInterval) {
        m_stripInterval = interval;
        m_host.RebuildStrip(interval);
    }
    m_host.FollowSettings();
}
