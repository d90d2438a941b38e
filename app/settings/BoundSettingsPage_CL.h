#pragma once
// A settings page made of framed groups of rows, each row a control that edits one integer
// key of the settings (SettingRow): it builds them, shows the stored values, and on apply
// writes every row's key through the settings record. Pages with more than plain rows add
// their own controls to a group (BuildGroupExtras) and react to their own controls.
//
// Thread: UI only.

#include <windows.h>

#include <vector>

#include "app/settings/SettingRow.h"
#include "ui/PropertyPage_CL.h"

class AppSettings;
class ControlBase_CL;
class PageLayout_CL;

class BoundSettingsPage_CL : public PropertyPage_CL {
public:
    BoundSettingsPage_CL(std::wstring title, AppSettings& settings, std::vector<SettingGroup> groups);

    const std::vector<SettingGroup>& Groups() const { return m_groups; }
    // While the page is open: the control of a row (group, row), or null; its factory index, or -1.
    ControlBase_CL* RowControl(size_t group, size_t row) const;
    int RowIndex(size_t group, size_t row) const;
    // While the page is open: the control that edits field, or null.
    ControlBase_CL* ControlFor(int AppSettings::*field) const;
    // Pure reading of a control as its row sees it: check 0/1, item index, slider position.
    static int ControlValue(const ControlBase_CL& control);
    static void SetControlValue(ControlBase_CL& control, const SettingRow& row, int value);

    SIZE BuildControls(HWND parent) override;

protected:
    // Called inside group index after its rows, before its frame is closed.
    virtual void BuildGroupExtras(PageLayout_CL& layout, size_t group) { (void)layout, (void)group; }
    void LoadValues() override;
    void ApplyValues() override;

    AppSettings& Settings() { return m_settings; }

private:
    AppSettings& m_settings;
    std::vector<SettingGroup> m_groups;
    std::vector<std::vector<int>> m_rowIndexes;  // factory index per row, -1 for none
};
