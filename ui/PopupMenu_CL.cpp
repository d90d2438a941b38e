#include "ui/PopupMenu_CL.h"

#include "base/LogFile_CL.h"

PopupMenu_CL::PopupMenu_CL() : m_menu(::CreatePopupMenu()) {
    if (!m_menu) LogPrintf(L"CreatePopupMenu failed: %u", ::GetLastError());
}

PopupMenu_CL::PopupMenu_CL(AttachedTag) : m_menu(::CreatePopupMenu()), m_ownsHandle(false) {}

PopupMenu_CL::~PopupMenu_CL() {
    // DestroyMenu takes the attached sub-menus with it; their objects only forget the handle.
    // The item bitmaps go after the menu that shows them (members die after this body).
    if (m_menu && m_ownsHandle) ::DestroyMenu(m_menu);
}

bool PopupMenu_CL::Insert(MENUITEMINFOW& info) {
    if (!m_menu) return false;
    int position = ::GetMenuItemCount(m_menu);
    if (position < 0) return false;
    return ::InsertMenuItemW(m_menu, static_cast<UINT>(position), TRUE, &info) != FALSE;
}

bool PopupMenu_CL::AddItem(const std::wstring& text, UINT commandId, bool checked, bool enabled) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
    info.fType = MFT_RADIOCHECK;
    info.fState = (checked ? (MFS_CHECKED | MFS_HILITE) : MFS_UNCHECKED) | (enabled ? MFS_ENABLED : MFS_GRAYED);
    info.wID = commandId;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    return Insert(info);
}

bool PopupMenu_CL::AddItemWithImage(const std::wstring& text, UINT commandId, GdiObject_CL bitmap) {
    if (!bitmap.IsValid()) return AddItem(text, commandId);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_BITMAP;
    info.fType = MFT_RADIOCHECK;
    info.fState = MFS_ENABLED;
    info.wID = commandId;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    info.hbmpItem = static_cast<HBITMAP>(bitmap.Get());
    if (!Insert(info)) return false;
    m_images.push_back(std::move(bitmap));
    return true;
}

bool PopupMenu_CL::AddSeparator() {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    return Insert(info);
}

PopupMenu_CL* PopupMenu_CL::AddSubMenu(const std::wstring& text, UINT commandId) {
    std::unique_ptr<PopupMenu_CL> child(new PopupMenu_CL(AttachedTag{}));
    if (!child->m_menu) return nullptr;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | (commandId != 0 ? MIIM_ID : 0);
    info.fType = MFT_RADIOCHECK;
    info.wID = commandId;
    info.hSubMenu = child->m_menu;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    if (!Insert(info)) {
        ::DestroyMenu(child->m_menu);  // never attached
        return nullptr;
    }
    m_subMenus.push_back(std::move(child));
    return m_subMenus.back().get();
}

bool PopupMenu_CL::SetChecked(UINT commandId, bool checked) {
    if (!m_menu) return false;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!::GetMenuItemInfoW(m_menu, commandId, FALSE, &info)) return false;
    info.fState &= ~(MFS_CHECKED | MFS_HILITE);
    if (checked) info.fState |= MFS_CHECKED | MFS_HILITE;
    return ::SetMenuItemInfoW(m_menu, commandId, FALSE, &info) != FALSE;
}

int PopupMenu_CL::ItemCount() const { return m_menu ? ::GetMenuItemCount(m_menu) : 0; }

UINT PopupMenu_CL::Show(HWND owner, POINT clientPoint) {
    if (!m_menu || !owner) return 0;
    POINT screen = clientPoint;
    ::ClientToScreen(owner, &screen);
    // The menu closes on a click elsewhere only when its owner is the foreground window;
    // the empty message afterwards lets the next click reach the owner again.
    ::SetForegroundWindow(owner);
    BOOL chosen = ::TrackPopupMenu(m_menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD |
                                               TPM_NONOTIFY,
                                   screen.x, screen.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return static_cast<UINT>(chosen);
}
