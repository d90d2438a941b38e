#pragma once
// The page 削除設定: whether the context menus offer the delete command.
// Thread: UI only.

#include "app/settings/BoundSettingsPage_CL.h"

class PropAppDeleteSetting_CL : public BoundSettingsPage_CL {
public:
    explicit PropAppDeleteSetting_CL(AppSettings& settings);
};
