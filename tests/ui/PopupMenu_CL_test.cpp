// The pop-up menu: items in order with the radio-check type and states, sub-menus, and
// the command chosen while it is shown.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/UniqueHandle_CL.h"
#include "tests/ui/HostWindow_CL.h"
#include "ui/PopupMenu_CL.h"

namespace {
MENUITEMINFOW ItemAt(HMENU menu, UINT position, wchar_t* text, UINT textSize) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = textSize;
    ::GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

// Timer callbacks keep running while the menu's own loop runs; this one picks the second
// item with the keyboard as a user would.
void CALLBACK ChooseSecondItem(HWND window, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(window, id);
    ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK Dismiss(HWND window, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(window, id);
    ::EndMenu();
}
}  // namespace

TEST(PopupMenu, ItemsAreAppendedInOrderWithTheirTypeAndState) {
    PopupMenu_CL menu;
    ASSERT_NE(menu.Handle(), nullptr);
    EXPECT_TRUE(menu.AddItem(L"一時停止", 0x8011));
    EXPECT_TRUE(menu.AddItem(L"ピッチを保つ", 0x8012, true));
    EXPECT_TRUE(menu.AddSeparator());
    EXPECT_TRUE(menu.AddItem(L"タグを追加する", 0x8013, false, false));
    PopupMenu_CL* speed = menu.AddSubMenu(L"再生速度");
    ASSERT_NE(speed, nullptr);
    EXPECT_TRUE(speed->AddItem(L"0.5倍", 0x8020));
    EXPECT_TRUE(speed->AddItem(L"1.0倍", 0x8021, true));
    EXPECT_EQ(menu.ItemCount(), 5);
    EXPECT_EQ(speed->ItemCount(), 2);

    wchar_t text[64] = {};
    MENUITEMINFOW first = ItemAt(menu.Handle(), 0, text, 64);
    EXPECT_EQ(std::wstring(text), L"一時停止");
    EXPECT_EQ(first.wID, 0x8011u);
    EXPECT_TRUE(first.fType & MFT_RADIOCHECK);
    EXPECT_FALSE(first.fState & MFS_CHECKED);

    MENUITEMINFOW checked = ItemAt(menu.Handle(), 1, text, 64);
    EXPECT_EQ(checked.fState & (MFS_CHECKED | MFS_HILITE), static_cast<UINT>(MFS_CHECKED | MFS_HILITE));
    EXPECT_TRUE(ItemAt(menu.Handle(), 2, text, 64).fType & MFT_SEPARATOR);
    EXPECT_TRUE(ItemAt(menu.Handle(), 3, text, 64).fState & MFS_GRAYED);
    MENUITEMINFOW parent = ItemAt(menu.Handle(), 4, text, 64);
    EXPECT_EQ(std::wstring(text), L"再生速度");
    EXPECT_EQ(parent.hSubMenu, speed->Handle());

    EXPECT_TRUE(menu.SetChecked(0x8012, false));
    EXPECT_EQ(ItemAt(menu.Handle(), 1, text, 64).fState & (MFS_CHECKED | MFS_HILITE), 0u);
    EXPECT_TRUE(menu.SetChecked(0x8011, true));
    EXPECT_TRUE(ItemAt(menu.Handle(), 0, text, 64).fState & MFS_CHECKED);
    EXPECT_FALSE(menu.SetChecked(0x9999, true));
}

TEST(PopupMenu, DestroysItsMenuAndSubMenus) {
    HMENU top = nullptr;
    HMENU sub = nullptr;
    {
        PopupMenu_CL menu;
        menu.AddItem(L"一", 1);
        sub = menu.AddSubMenu(L"二")->Handle();
        top = menu.Handle();
        EXPECT_TRUE(::IsMenu(top));
        EXPECT_TRUE(::IsMenu(sub));
    }
    EXPECT_FALSE(::IsMenu(top));
    EXPECT_FALSE(::IsMenu(sub));
}

TEST(PopupMenu, ItemImagesLiveAsLongAsTheMenu) {
    HBITMAP bitmap = nullptr;
    {
        PopupMenu_CL menu;
        WindowDC_CL screen(nullptr);
        bitmap = ::CreateCompatibleBitmap(screen.Get(), 16, 16);
        ASSERT_TRUE(menu.AddItemWithImage(L"アルバム１", 0x8100, GdiObject_CL(bitmap)));
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP | MIIM_ID;
        ASSERT_TRUE(::GetMenuItemInfoW(menu.Handle(), 0, TRUE, &info));
        EXPECT_EQ(info.hbmpItem, bitmap);
        EXPECT_EQ(info.wID, 0x8100u);
        EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
}

TEST(PopupMenu, ShowReturnsTheChosenCommandOrZeroWhenDismissed) {
    HostWindow_CL host;
    ::SetForegroundWindow(host.Get());
    PopupMenu_CL menu;
    menu.AddItem(L"開く", 0x8030);
    menu.AddItem(L"閉じる", 0x8031);
    menu.AddItem(L"終了", 0x8032);

    ::SetTimer(host.Get(), 1, 50, &ChooseSecondItem);
    EXPECT_EQ(menu.Show(host.Get(), POINT{20, 20}), 0x8031u);
    // The choice came back from Show, not as a command to the owner.
    HostWindow_CL::PumpPending();
    EXPECT_TRUE(host.Commands().empty());

    ::SetTimer(host.Get(), 2, 50, &Dismiss);
    EXPECT_EQ(menu.Show(host.Get(), POINT{20, 20}), 0u);
}
