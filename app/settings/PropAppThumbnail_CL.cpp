#include "app/settings/PropAppThumbnail_CL.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "app/settings/SettingRow.h"
#include "app/settings/SettingsTexts.h"
#include "base/LogFile_CL.h"
#include "store/AppSettings.h"
#include "ui/DpiScale.h"
#include "ui/ListView_CL.h"
#include "ui/PageLayout_CL.h"
#include "ui/PopupMenu_CL.h"
#include "ui/SingleEdit_CL.h"

namespace {
constexpr UINT kMenuChange = 1;
constexpr int kEditLimit = 8;

std::wstring Formatted(const wchar_t* format, int value) {
    wchar_t text[64];
    std::swprintf(text, 64, format, value);
    return text;
}
}  // namespace

PropAppThumbnail_CL::PropAppThumbnail_CL(AppSettings& settings)
    : PropertyPage_CL(kPageThumbnail), m_settings(settings) {}

ListView_CL* PropAppThumbnail_CL::List() const { return Controls().Get<ListView_CL>(m_list); }

SIZE PropAppThumbnail_CL::BuildControls(HWND parent) {
    PageLayout_CL layout(Controls(), parent);
    layout.Label(kLabelIntervalMenu);
    m_list = layout.List(300, 160);
    if (ListView_CL* list = List()) {
        list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        list->AddColumn(kColumnMenuText, ScaleForDpi(150));
        list->AddColumn(kColumnInterval, ScaleForDpi(120));
    }
    return layout.Finish();
}

void PropAppThumbnail_CL::LoadValues() {
    m_seconds = m_settings.thumb_time;
    ShowRows();
}

void PropAppThumbnail_CL::ShowRows() {
    std::sort(m_seconds.begin(), m_seconds.end());
    ListView_CL* list = List();
    if (!list) return;
    ::SendMessageW(list->Window(), LVM_DELETEALLITEMS, 0, 0);
    for (int seconds : m_seconds) {
        const int row = list->AddRow(Formatted(kRowMenuTextFormat, seconds));
        list->SetCellText(row, 1, Formatted(kRowIntervalFormat, seconds));
    }
}

void PropAppThumbnail_CL::EditRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_seconds.size())) return;
    std::wstring typed;
    SingleEdit_CL dialog(kIntervalEditCaption, Formatted(L"%d", m_seconds[static_cast<size_t>(row)]), kEditLimit,
                         &typed);
    if (dialog.DoModal(Window()) != 0) return;
    const int seconds = ThumbIntervalFromText(typed);
    LogPrintf(L"縮小画像の表示間隔: 行%d \"%ls\" → %d秒", row, typed.c_str(), seconds);
    m_seconds[static_cast<size_t>(row)] = seconds;
    ShowRows();
    Changed();
}

LRESULT PropAppThumbnail_CL::OnNotify(const NMHDR& header) {
    ListView_CL* list = List();
    if (!list || header.hwndFrom != list->Window() || header.code != static_cast<UINT>(NM_RCLICK)) return 0;
    if (::SendMessageW(list->Window(), LVM_GETSELECTEDCOUNT, 0, 0) != 1) return 0;
    const int row = static_cast<int>(::SendMessageW(list->Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    PopupMenu_CL menu;
    menu.AddItem(kMenuChangeInterval, kMenuChange);
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(Window(), &point);
    if (menu.Show(Window(), point) == kMenuChange) EditRow(row);
    return 0;
}

void PropAppThumbnail_CL::ApplyValues() { m_settings.WriteThumbMenu(m_seconds); }
