#include "ui/ControlFactory_CL.h"

#include "base/LogFile_CL.h"
#include "ui/Button_CL.h"
#include "ui/CheckBox_CL.h"
#include "ui/ComboBox_CL.h"
#include "ui/CommonControls.h"
#include "ui/Edit_CL.h"
#include "ui/GroupBox_CL.h"
#include "ui/ListView_CL.h"
#include "ui/ProgressBar_CL.h"
#include "ui/StaticText_CL.h"
#include "ui/TrackBar_CL.h"

ControlFactory_CL::ControlFactory_CL(UINT firstId) : m_firstId(firstId), m_nextId(firstId) {
    EnsureCommonControls();
}

ControlFactory_CL::~ControlFactory_CL() { Clear(); }

void ControlFactory_CL::Clear() {
    // Later controls may refer to earlier ones (buddies); destroy in reverse order.
    while (!m_controls.empty()) m_controls.pop_back();
    m_nextId = m_firstId;
}

template <typename T, typename... Args>
int ControlFactory_CL::Add(HWND parent, Args&&... args) {
    auto control = std::make_unique<T>(this);
    HRESULT hr = control->Create(parent, m_nextId, std::forward<Args>(args)...);
    if (FAILED(hr)) {
        LogPrintf(L"ControlFactory: control 0x%04x of kind %u not created: 0x%08x", m_nextId,
                  static_cast<unsigned>(T::kKind), static_cast<unsigned>(hr));
        return -1;
    }
    ++m_nextId;
    m_controls.push_back(std::move(control));
    return static_cast<int>(m_controls.size() - 1);
}

int ControlFactory_CL::AddStaticText(HWND parent, int x, int y, const std::wstring& text) {
    return Add<StaticText_CL>(parent, x, y, text);
}

int ControlFactory_CL::AddButton(HWND parent, int x, int y, const std::wstring& text) {
    return Add<Button_CL>(parent, x, y, text);
}

int ControlFactory_CL::AddCheckBox(HWND parent, int x, int y, const std::wstring& text) {
    return Add<CheckBox_CL>(parent, x, y, text);
}

int ControlFactory_CL::AddEdit(HWND parent, int x, int y, int columns, int rows,
                               const std::wstring& text) {
    return Add<Edit_CL>(parent, x, y, columns, rows, text);
}

int ControlFactory_CL::AddComboBox(HWND parent, int x, int y, int columns, int rows, DWORD style) {
    return Add<ComboBox_CL>(parent, x, y, columns, rows, style);
}

int ControlFactory_CL::AddGroupBox(HWND parent, int x, int y, int width, int height,
                                   const std::wstring& text) {
    return Add<GroupBox_CL>(parent, x, y, width, height, text);
}

int ControlFactory_CL::AddListView(HWND parent, int x, int y, int width, int height, DWORD style) {
    return Add<ListView_CL>(parent, x, y, width, height, style);
}

int ControlFactory_CL::AddProgressBar(HWND parent, int x, int y, int width, int height) {
    return Add<ProgressBar_CL>(parent, x, y, width, height);
}

int ControlFactory_CL::AddTrackBar(HWND parent, int x, int y, int width, int height) {
    return Add<TrackBar_CL>(parent, x, y, width, height);
}

ControlBase_CL* ControlFactory_CL::At(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_controls.size()) return nullptr;
    return m_controls[static_cast<size_t>(index)].get();
}

ControlBase_CL* ControlFactory_CL::FindById(UINT id) const {
    for (const auto& control : m_controls) {
        if (control->Id() == id) return control.get();
    }
    return nullptr;
}
