#pragma once
// The page 音声設定: the speaker balance (its text follows the slider) and pitch keeping at
// slow and fast rates with its quality.
// Thread: UI only.

#include "app/settings/BoundSettingsPage_CL.h"

class PropAppSound_CL : public BoundSettingsPage_CL {
public:
    explicit PropAppSound_CL(AppSettings& settings);

    // While the page is open: the text under the balance slider.
    ControlBase_CL* BalanceLabel() const;

protected:
    void BuildGroupExtras(PageLayout_CL& layout, size_t group) override;
    void LoadValues() override;
    void OnSlider(HWND slider) override;

private:
    void ShowBalance();

    int m_balanceLabel = -1;
};
