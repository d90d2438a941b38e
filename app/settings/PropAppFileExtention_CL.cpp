#include "app/settings/PropAppFileExtention_CL.h"

#include <commctrl.h>

#include <algorithm>

#include "app/settings/SettingsTexts.h"
#include "intake/FileExtList_CL.h"
#include "ui/DpiScale.h"
#include "ui/ListView_CL.h"
#include "ui/PageLayout_CL.h"

namespace {
// Check boxes, grid lines, header drag and drop and full-row selection.
constexpr DWORD kListExtendedStyle = 0x35;
}  // namespace

PropAppFileExtention_CL::PropAppFileExtention_CL(std::vector<LaunchExtension> extensions, DWORD majorVersion,
                                                 AssocLauncher_CL launcher)
    : PropertyPage_CL(kPageAssociation),
      m_extensions(std::move(extensions)),
      m_majorVersion(majorVersion),
      m_launcher(std::move(launcher)) {}

ListView_CL* PropAppFileExtention_CL::List() const { return Controls().Get<ListView_CL>(m_list); }

SIZE PropAppFileExtention_CL::BuildControls(HWND parent) {
    if (!ListLayout()) {
        PageLayout_CL layout(Controls(), parent);
        layout.BeginGroup(kGroupAssociation);
        m_systemDialog = layout.Button(kButtonAssociationUi);
        layout.EndGroup();
        layout.BeginGroup(kGroupRegistry);
        m_registerAll = layout.Button(kButtonRegisterAll);
        layout.EndGroup();
        return layout.Finish();
    }
    // The list layout stands where it always stood: the list at (0, 4), 548 × 308, the note
    // at (8, 316), the buttons to the note's right.
    const int listTop = ScaleForDpi(4), listWidth = ScaleForDpi(548), listHeight = ScaleForDpi(308);
    m_list = Controls().AddListView(parent, 0, listTop, listWidth, listHeight);
    if (ListView_CL* list = List()) {
        list->SetExtendedStyle(kListExtendedStyle);
        list->AddColumn(kColumnExtension, ScaleForDpi(128));
        list->AddColumn(kColumnContentType, ScaleForDpi(128));
        list->AddColumn(kColumnHandler, ScaleForDpi(400));
    }
    const int noteTop = ScaleForDpi(316);
    const int note = Controls().AddStaticText(parent, ScaleForDpi(8), noteTop, kAssociationNote);
    int right = listWidth, bottom = noteTop;
    if (const ControlBase_CL* text = Controls().At(note)) {
        right = std::max<int>(right, text->RectInParent().right);
        bottom = std::max<int>(bottom, text->RectInParent().bottom);
    }
    const int buttonsTop = bottom + ScaleForDpi(6);
    m_selectAll = Controls().AddButton(parent, ScaleForDpi(8), buttonsTop, kButtonSelectAll);
    int x = ScaleForDpi(8);
    if (const ControlBase_CL* button = Controls().At(m_selectAll)) {
        x = button->RectInParent().right + ScaleForDpi(6);
        bottom = button->RectInParent().bottom;
    }
    m_clearAll = Controls().AddButton(parent, x, buttonsTop, kButtonClearAll);
    return SIZE{right + ScaleForDpi(4), bottom + ScaleForDpi(8)};
}

void PropAppFileExtention_CL::LoadValues() {
    ListView_CL* list = List();
    if (!list) return;
    for (size_t i = 0; i < m_extensions.size(); ++i) {
        const LaunchExtension& extension = m_extensions[i];
        const int row = list->AddRow(extension.extension);
        list->SetCellText(row, 1, extension.contentType);
        list->SetCellText(row, 2, extension.currentHandler);
        ListView_SetCheckState(list->Window(), row, extension.associated ? TRUE : FALSE);
    }
}

std::vector<bool> PropAppFileExtention_CL::CheckedRows() const {
    std::vector<bool> checked;
    if (const ListView_CL* list = List()) {
        for (int row = 0; row < list->RowCount(); ++row) checked.push_back(ListView_GetCheckState(list->Window(), row) != 0);
    }
    return checked;
}

void PropAppFileExtention_CL::CheckAll(bool checked) {
    ListView_CL* list = List();
    if (!list) return;
    for (int row = 0; row < list->RowCount(); ++row) ListView_SetCheckState(list->Window(), row, checked ? TRUE : FALSE);
    Changed();
}

void PropAppFileExtention_CL::ApplyValues() {
    ListView_CL* list = List();
    if (!ListLayout() || !list) return;
    std::vector<int> changedRows;
    SendAppliedCheckStates(m_launcher, m_extensions, CheckedRows(), &changedRows);
    ++m_requestCount;
    for (int row : changedRows) list->SetCellText(row, 2, m_extensions[static_cast<size_t>(row)].currentHandler);
}

void PropAppFileExtention_CL::RegisterAll() {
    SendRegisterAll(m_launcher, m_extensions, FileExtList_CL::DefaultIniPath());
    ++m_requestCount;
}

void PropAppFileExtention_CL::OpenSystemDialog() { (void)ShowSystemAssociationDialog(); }

void PropAppFileExtention_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    (void)controlId;
    if (notifyCode != BN_CLICKED) return;
    auto is = [this, control](int index) {
        const ControlBase_CL* button = Controls().At(index);
        return button && control == button->Window();
    };
    if (is(m_selectAll)) return CheckAll(true);
    if (is(m_clearAll)) return CheckAll(false);
    // These two start the association's work at once; they are not a change of the sheet.
    if (is(m_registerAll)) return RegisterAll();
    if (is(m_systemDialog)) return OpenSystemDialog();
}

LRESULT PropAppFileExtention_CL::OnNotify(const NMHDR& header) {
    const ListView_CL* list = List();
    if (list && header.hwndFrom == list->Window() && header.code == static_cast<UINT>(LVN_ITEMCHANGED)) Changed();
    return 0;
}
