#pragma once
// A pop-up menu built item by item and shown at a point; the chosen command comes back from
// Show rather than as WM_COMMAND, so the caller decides where it goes. Items carry the
// radio-check type so a state shows as a dot; a sub-menu is a PopupMenu_CL of its own,
// owned by its parent.
//
// Thread: UI only.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/UniqueHandle_CL.h"

class PopupMenu_CL {
public:
    PopupMenu_CL();
    // Destroys the menu and its sub-menus.
    ~PopupMenu_CL();
    PopupMenu_CL(const PopupMenu_CL&) = delete;
    PopupMenu_CL& operator=(const PopupMenu_CL&) = delete;

    // Thread: UI. Appends an item; false when the menu could not take it.
    bool AddItem(const std::wstring& text, UINT commandId, bool checked = false, bool enabled = true);
    // An item with a picture beside its text (the album items); the menu keeps the bitmap
    // and frees it with itself.
    bool AddItemWithImage(const std::wstring& text, UINT commandId, GdiObject_CL bitmap);
    bool AddSeparator();
    // Appends an item that opens a sub-menu; nullptr when it could not be made. A non-zero
    // commandId names the item (choosing it only opens the sub-menu).
    PopupMenu_CL* AddSubMenu(const std::wstring& text, UINT commandId = 0);
    // Checked shows as checked and highlighted, as the player's menus mark the current state.
    bool SetChecked(UINT commandId, bool checked);

    // Thread: UI. Shows the menu with its top-left corner at clientPoint of owner and
    // returns the chosen command id, or 0 when the menu was dismissed.
    UINT Show(HWND owner, POINT clientPoint);

    int ItemCount() const;
    HMENU Handle() const { return m_menu; }

private:
    struct AttachedTag {};
    PopupMenu_CL(AttachedTag);  // a sub-menu: its parent destroys the handle
    bool Insert(MENUITEMINFOW& info);

    HMENU m_menu = nullptr;
    bool m_ownsHandle = true;
    std::vector<std::unique_ptr<PopupMenu_CL>> m_subMenus;
    // Menus only borrow item bitmaps; these live until the menu is gone.
    std::vector<GdiObject_CL> m_images;
};
