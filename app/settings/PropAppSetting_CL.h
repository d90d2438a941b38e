#pragma once
// The page 基本設定: start-up, thumbnails, the skip ranges not skipped, the [+]/[-] step, resume and the play rate.
// Thread: UI only.

#include "app/settings/BoundSettingsPage_CL.h"

class PropAppSetting_CL : public BoundSettingsPage_CL {
public:
    explicit PropAppSetting_CL(AppSettings& settings);
};
