#pragma once
// A list view of the player read and set from the test, through a block of the player's memory.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/e2e/RemoteMemory.h"

class RemoteListView {
public:
    static constexpr size_t kTextUnits = 520;

    RemoteListView(DWORD processId, HWND listView)
        : m_listView(listView), m_memory(processId, kBlockBytes), m_remote(m_memory.At()) {}

    bool IsValid() const { return m_memory.IsValid() && m_listView != nullptr; }
    HWND Window() const { return m_listView; }

    int RowCount() const { return static_cast<int>(::SendMessageW(m_listView, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring CellText(int row, int column) const {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(m_remote + sizeof(LVITEMW));
        item.cchTextMax = static_cast<int>(kTextUnits);
        if (!Write(&item, sizeof(item))) return L"<unreadable>";
        const LRESULT length = ::SendMessageW(m_listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(m_remote));
        std::vector<wchar_t> text(kTextUnits, L'\0');
        if (!m_memory.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW))) return L"<unreadable>";
        return std::wstring(text.data(), static_cast<size_t>(length > 0 ? length : 0));
    }

    // The texts of one column, top row first.
    std::vector<std::wstring> Column(int column) const {
        std::vector<std::wstring> texts;
        for (int row = 0; row < RowCount(); ++row) texts.push_back(CellText(row, column));
        return texts;
    }

    bool IsChecked(int row) const {
        const LRESULT state = ::SendMessageW(m_listView, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
        return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    bool IsSelected(int row) const {
        return (::SendMessageW(m_listView, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }
    bool SetChecked(int row, bool checked) const {
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        return Write(&item, sizeof(item)) &&
               ::SendMessageW(m_listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote)) != 0;
    }

    // A row's rectangle (its label part) in screen coordinates; empty when unknown.
    RECT RowRectOnScreen(int row) const {
        RECT rect{LVIR_LABEL, 0, 0, 0};
        RECT result{};
        if (!Write(&rect, sizeof(rect)) ||
            !::SendMessageW(m_listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(m_remote)) ||
            !Read(&result, sizeof(result))) {
            return RECT{};
        }
        ::MapWindowPoints(m_listView, nullptr, reinterpret_cast<POINT*>(&result), 2);
        return result;
    }

    // The middle of a row's label, on the screen and in the list view's client area.
    POINT RowMiddleOnScreen(int row) const {
        const RECT rect = RowRectOnScreen(row);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    POINT RowMiddleInClient(int row) const {
        POINT point = RowMiddleOnScreen(row);
        ::ScreenToClient(m_listView, &point);
        return point;
    }

    // A column header's rectangle in screen coordinates; empty when unknown.
    RECT HeaderRectOnScreen(int column) const {
        HWND header = reinterpret_cast<HWND>(::SendMessageW(m_listView, LVM_GETHEADER, 0, 0));
        RECT result{};
        if (!header || !::SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(m_remote)) ||
            !Read(&result, sizeof(result))) {
            return RECT{};
        }
        ::MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&result), 2);
        return result;
    }

private:
    static constexpr size_t kBlockBytes = sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t);

    bool Write(const void* data, size_t size) const { return m_memory.Write(data, size); }
    bool Read(void* data, size_t size) const { return m_memory.Read(data, size); }

    HWND m_listView;
    RemoteMemory m_memory;
    uint8_t* m_remote;
};
