#pragma once
// What the two list dialogs beside the player (the play list and the play history) share: the
// six columns of their rows and the list item menu opened at the pointer.
// Thread: UI.

#include <windows.h>

#include <functional>
#include <vector>

#include "app/commands/MenuModel.h"

class ListView_CL;

// "ファイル名", "拡張子", "★マーク", "ファイルサイズ" (right-aligned), "更新日時", "ファイルパス", each
// as wide as a number of full-width letters of the dialog's font.
void AddListDialogColumns(ListView_CL& rows, HWND dialog, HFONT font);

// The list item menu at the pointer, owned by owner, with the modal-dialog flag raised while it
// is open. The command chosen; 0 when none was.
UINT ShowListItemMenuAtPointer(HWND owner, const std::vector<MenuEntry>& entries,
                               const std::function<void(bool open)>& setModalDialogOpen);
