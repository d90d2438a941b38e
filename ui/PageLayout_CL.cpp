#include "ui/PageLayout_CL.h"

#include <algorithm>

#include "ui/ComboBox_CL.h"
#include "ui/ControlBase_CL.h"
#include "ui/ControlFactory_CL.h"
#include "ui/DpiScale.h"

namespace {
constexpr DWORD kDropDownList = CBS_DROPDOWNLIST;
constexpr int kComboMargins96 = 28;
}  // namespace

PageLayout_CL::PageLayout_CL(ControlFactory_CL& controls, HWND parent)
    : m_controls(controls),
      m_parent(parent),
      m_margin(ScaleForDpi(10)),
      m_gap(ScaleForDpi(6)),
      m_groupInset(ScaleForDpi(12)) {
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_captionHeight = ControlBase_CL::MeasureText(parent, font, L"M").cy;
    m_y = m_margin;
    m_right = m_margin;
}

int PageLayout_CL::Left() const { return m_margin + static_cast<int>(m_groups.size()) * m_groupInset; }

POINT PageLayout_CL::Next() const {
    if (m_sameLine) return POINT{m_lineRight + m_gap, m_lineTop};
    return POINT{Left(), m_y};
}

int PageLayout_CL::Place(int index) {
    if (ControlBase_CL* control = m_controls.At(index)) {
        Occupy(control->RectInParent());
    } else {
        m_sameLine = false;
    }
    return index;
}

void PageLayout_CL::Occupy(const RECT& rect) {
    if (!m_sameLine) m_lineTop = rect.top;
    m_sameLine = false;
    m_lineRight = rect.right;
    m_y = std::max<int>(m_y, rect.bottom + m_gap);
    m_right = std::max<int>(m_right, rect.right);
    for (Group& group : m_groups) group.right = std::max<int>(group.right, rect.right);
}

void PageLayout_CL::BeginGroup(const std::wstring& caption) {
    m_sameLine = false;
    Group group;
    group.top = m_y;
    group.caption = caption;
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    group.right = Left() + ControlBase_CL::MeasureText(m_parent, font, caption).cx + ScaleForDpi(24);
    m_groups.push_back(group);
    m_y += m_captionHeight + m_gap;
}

void PageLayout_CL::EndGroup() {
    if (m_groups.empty()) return;
    const Group group = m_groups.back();
    m_groups.pop_back();
    m_sameLine = false;
    const int left = Left();
    const int right = group.right + m_groupInset;
    const int bottom = m_y;  // the last line's gap becomes the frame's inner margin
    const int frame = m_controls.AddGroupBox(m_parent, left, group.top, right - left, bottom - group.top, group.caption);
    if (m_groups.empty()) m_topFrames.push_back(frame);
    m_right = std::max(m_right, right);
    for (Group& outer : m_groups) outer.right = std::max(outer.right, right);
    m_y = bottom + m_gap;
}

int PageLayout_CL::CheckBox(const std::wstring& text) {
    const POINT at = Next();
    return Place(m_controls.AddCheckBox(m_parent, at.x, at.y, text));
}

int PageLayout_CL::Label(const std::wstring& text) {
    POINT at = Next();
    if (m_sameLine) at.y += ScaleForDpi(4);  // level with the text of the control beside it
    return Place(m_controls.AddStaticText(m_parent, at.x, at.y, text));
}

int PageLayout_CL::Combo(const std::vector<std::wstring>& items, const std::wstring& label, int* labelIndex) {
    if (!label.empty()) {
        const int index = Label(label);
        if (labelIndex) *labelIndex = index;
        SameLine();
    }
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const LONG cell = std::max<LONG>(1, ControlBase_CL::MeasureText(m_parent, font, L"W").cx);
    LONG widest = 0;
    for (const std::wstring& item : items) widest = std::max(widest, ControlBase_CL::MeasureText(m_parent, font, item).cx);
    // The extended combo box keeps room for an item picture and its margins besides the arrow.
    const LONG needed = widest + ::GetSystemMetrics(SM_CXVSCROLL) + ScaleForDpi(kComboMargins96);
    const int columns = static_cast<int>((needed + cell - 1) / cell);
    const int rows = static_cast<int>(items.size()) + 2;  // the dropped list shows every item
    const POINT at = Next();
    const int index = m_controls.AddComboBox(m_parent, at.x, at.y, columns, rows, kDropDownList);
    auto* combo = m_controls.Get<ComboBox_CL>(index);
    if (!combo) return Place(index);
    for (const std::wstring& item : items) combo->AddItem(item);
    // The line is as high as the closed box, whatever height the dropped list needs.
    RECT rect = combo->RectInParent();
    rect.bottom = std::min<LONG>(rect.bottom, rect.top + ControlBase_CL::MeasureText(m_parent, font, L"M").cy +
                                                  ScaleForDpi(10));
    Occupy(rect);
    return index;
}

int PageLayout_CL::Slider(int width96) {
    const POINT at = Next();
    return Place(m_controls.AddTrackBar(m_parent, at.x, at.y, ScaleForDpi(width96), ScaleForDpi(30)));
}

int PageLayout_CL::Button(const std::wstring& text) {
    const POINT at = Next();
    return Place(m_controls.AddButton(m_parent, at.x, at.y, text));
}

int PageLayout_CL::Edit(int columns, int rows, const std::wstring& text) {
    const POINT at = Next();
    return Place(m_controls.AddEdit(m_parent, at.x, at.y, columns, rows, text));
}

int PageLayout_CL::List(int width96, int height96) {
    const POINT at = Next();
    return Place(m_controls.AddListView(m_parent, at.x, at.y, ScaleForDpi(width96), ScaleForDpi(height96)));
}

int PageLayout_CL::LabelUnder(int index, const std::wstring& text) {
    ControlBase_CL* above = m_controls.At(index);
    if (!above) return Label(text);
    const RECT anchor = above->RectInParent();
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const SIZE size = ControlBase_CL::MeasureText(m_parent, font, text);
    const int x = (anchor.left + anchor.right - size.cx) / 2;
    m_sameLine = false;
    return Place(m_controls.AddStaticText(m_parent, x, anchor.bottom, text));
}

void PageLayout_CL::SameLine() { m_sameLine = true; }

void PageLayout_CL::Space(int pixels96) {
    m_sameLine = false;
    m_y += ScaleForDpi(pixels96);
}

SIZE PageLayout_CL::Finish() {
    // The outermost frames all reach the rightmost edge, so the page reads as one column.
    for (int index : m_topFrames) {
        ControlBase_CL* frame = m_controls.At(index);
        if (!frame) continue;
        const RECT rect = frame->RectInParent();
        frame->Move(m_right - rect.left, rect.bottom - rect.top, false);
    }
    return SIZE{m_right + m_margin, m_y - m_gap + m_margin};
}
