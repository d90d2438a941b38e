#include "app/ListDialogRows.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/ControlBase_CL.h"
#include "ui/ListView_CL.h"
#include "ui/PopupMenu_CL.h"

namespace {
struct ColumnLayout {
    const wchar_t* title;
    int widthLetters;
    int format;
};
constexpr ColumnLayout kColumns[] = {
    {L"ファイル名", 16, LVCFMT_LEFT},   {L"拡張子", 4, LVCFMT_LEFT},       {L"★マーク", 5, LVCFMT_LEFT},
    {L"ファイルサイズ", 9, LVCFMT_RIGHT}, {L"更新日時", 11, LVCFMT_LEFT}, {L"ファイルパス", 20, LVCFMT_LEFT},
};
}  // namespace

void AddListDialogColumns(ListView_CL& rows, HWND dialog, HFONT font) {
    const SIZE letter = ControlBase_CL::MeasureText(dialog, font, L"Ｗ");
    for (const ColumnLayout& layout : kColumns) {
        const int column = rows.AddColumn(layout.title, layout.widthLetters * std::max<LONG>(letter.cx, 8));
        LVCOLUMNW format{};
        format.mask = LVCF_FMT;
        format.fmt = layout.format;
        // The first column is always left-aligned.
        if (column > 0) ::SendMessageW(rows.Window(), LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&format));
    }
}

UINT ShowListItemMenuAtPointer(HWND owner, const std::vector<MenuEntry>& entries,
                               const std::function<void(bool open)>& setModalDialogOpen) {
    PopupMenu_CL menu;
    if (!FillPopupMenu(entries, &menu)) return 0;
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(owner, &point);
    setModalDialogOpen(true);
    const UINT command = menu.Show(owner, point);
    setModalDialogOpen(false);
    return command;
}
