#pragma once
// The page 操作設定: the idle delay and actions, and what a double click on the picture does.
// Thread: UI only.

#include "app/settings/BoundSettingsPage_CL.h"

class PropAppNoOperation_CL : public BoundSettingsPage_CL {
public:
    explicit PropAppNoOperation_CL(AppSettings& settings);
};
