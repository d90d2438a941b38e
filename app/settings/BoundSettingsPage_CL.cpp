#include "app/settings/BoundSettingsPage_CL.h"

#include "store/AppSettings.h"
#include "ui/CheckBox_CL.h"
#include "ui/ComboBox_CL.h"
#include "ui/PageLayout_CL.h"
#include "ui/TrackBar_CL.h"

BoundSettingsPage_CL::BoundSettingsPage_CL(std::wstring title, AppSettings& settings, std::vector<SettingGroup> groups)
    : PropertyPage_CL(std::move(title)), m_settings(settings), m_groups(std::move(groups)) {}

SIZE BoundSettingsPage_CL::BuildControls(HWND parent) {
    PageLayout_CL layout(Controls(), parent);
    m_rowIndexes.assign(m_groups.size(), {});
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const SettingGroup& group = m_groups[g];
        // A group without a caption has no frame: its rows stand on the page itself.
        if (!group.caption.empty()) layout.BeginGroup(group.caption);
        for (const SettingRow& row : group.rows) {
            int index = -1;
            switch (row.kind) {
            case RowKind::Label:
                index = layout.Label(row.text);
                break;
            case RowKind::Check:
                index = layout.CheckBox(row.text);
                break;
            case RowKind::Combo:
                index = layout.Combo(row.items, row.text);
                break;
            case RowKind::Slider:
                index = layout.Slider(row.width96);
                if (auto* slider = Controls().Get<TrackBar_CL>(index)) slider->SetRange(row.minimum, row.maximum);
                break;
            }
            m_rowIndexes[g].push_back(index);
        }
        BuildGroupExtras(layout, g);
        if (!group.caption.empty()) layout.EndGroup();
    }
    return layout.Finish();
}

int BoundSettingsPage_CL::RowIndex(size_t group, size_t row) const {
    if (group >= m_rowIndexes.size() || row >= m_rowIndexes[group].size()) return -1;
    return m_rowIndexes[group][row];
}

ControlBase_CL* BoundSettingsPage_CL::RowControl(size_t group, size_t row) const {
    return Controls().At(RowIndex(group, row));
}

ControlBase_CL* BoundSettingsPage_CL::ControlFor(int AppSettings::*field) const {
    for (size_t g = 0; g < m_groups.size(); ++g) {
        for (size_t r = 0; r < m_groups[g].rows.size(); ++r) {
            if (m_groups[g].rows[r].field == field) return RowControl(g, r);
        }
    }
    return nullptr;
}

int BoundSettingsPage_CL::ControlValue(const ControlBase_CL& control) {
    switch (control.Kind()) {
    case ControlKind::CheckBox:
        return static_cast<const CheckBox_CL&>(control).IsChecked() ? 1 : 0;
    case ControlKind::ComboBox:
        return static_cast<const ComboBox_CL&>(control).Selection();
    case ControlKind::TrackBar:
        return static_cast<const TrackBar_CL&>(control).Position();
    default:
        return 0;
    }
}

void BoundSettingsPage_CL::SetControlValue(ControlBase_CL& control, const SettingRow& row, int value) {
    const int shown = ControlValueOf(row, value);
    switch (control.Kind()) {
    case ControlKind::CheckBox:
        static_cast<CheckBox_CL&>(control).SetChecked(shown != 0);
        break;
    case ControlKind::ComboBox:
        static_cast<ComboBox_CL&>(control).Select(shown);
        break;
    case ControlKind::TrackBar:
        static_cast<TrackBar_CL&>(control).SetPosition(shown);
        break;
    default:
        break;
    }
}

void BoundSettingsPage_CL::LoadValues() {
    for (size_t g = 0; g < m_groups.size(); ++g) {
        for (size_t r = 0; r < m_groups[g].rows.size(); ++r) {
            const SettingRow& row = m_groups[g].rows[r];
            ControlBase_CL* control = RowControl(g, r);
            if (row.field && control) SetControlValue(*control, row, m_settings.*row.field);
        }
    }
}

void BoundSettingsPage_CL::ApplyValues() {
    for (size_t g = 0; g < m_groups.size(); ++g) {
        for (size_t r = 0; r < m_groups[g].rows.size(); ++r) {
            const SettingRow& row = m_groups[g].rows[r];
            const ControlBase_CL* control = RowControl(g, r);
            if (row.field && control) m_settings.WriteInt(row.field, StoredValueOf(row, ControlValue(*control)));
        }
    }
}
