#pragma once
// The page 縮小画像表示設定: the six thumbnail intervals the strip menu offers, one row each
// ("%d秒毎に表示", "%d秒"), always sorted. A right click on one selected row offers
// "表示間隔を変更する", which asks for the seconds; what is typed is kept within 1 ... 600 and
// the rows are sorted again. Apply replaces the THUMB_MENU list in its sorted order.
// Thread: UI only.

#include <vector>

#include "ui/PropertyPage_CL.h"

class AppSettings;
class ListView_CL;

class PropAppThumbnail_CL : public PropertyPage_CL {
public:
    explicit PropAppThumbnail_CL(AppSettings& settings);

    SIZE BuildControls(HWND parent) override;
    // While the page is open.
    ListView_CL* List() const;
    const std::vector<int>& Seconds() const { return m_seconds; }

    // Thread: UI. Asks for the interval of row (the edit dialog) and sorts the rows again.
    void EditRow(int row);

protected:
    void LoadValues() override;
    void ApplyValues() override;
    LRESULT OnNotify(const NMHDR& header) override;

private:
    void ShowRows();

    AppSettings& m_settings;
    std::vector<int> m_seconds;
    int m_list = -1;
};
