/*
** Inside the menus: the object behind each HMENU and the lookups the menu bar, the pop-up
** tracker, accelerators and the MDI window menu share. Only platform/user includes this.
*/
#ifndef ZARNE_PLATFORM_USER_MENU_INTERNAL_H
#define ZARNE_PLATFORM_USER_MENU_INTERNAL_H

#include "platform/kernel/wintypes.h"

#include <string>
#include <vector>

class QWidget;

struct MenuItem {
  UINT flags = 0;  // MF_ state and kind bits, without MF_BYPOSITION
  UINT id = 0;     // command id; 0 for separators and pop-ups
  HMENU popup = nullptr;
  std::string text;  // Windows-1252, '&' marks the mnemonic, '\t' starts the key text
  bool IsPopup() const { return popup != nullptr; }
  bool IsSeparator() const { return (flags & 0x0800) != 0; }
};

struct MenuObject {
  bool popup = false;
  std::vector<MenuItem> items;
};

/* NULL for a handle that is not a live menu. */
MenuObject* FindMenuObject(HMENU menu);

/* An item by command (searched depth first through pop-ups) or by position. `owner` receives
** the menu that holds the item and `index` its position there. */
MenuItem* FindMenuItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr,
                       int* index = nullptr);

/* The window whose menu bar this menu is, or NULL. */
HWND WindowOfMenuBar(HMENU menu);

/* A menu handle changed: the bar that shows it (directly or through a pop-up) is refreshed. */
void NoteMenuChanged(HMENU menu);

/* What the user's opening of the menus on the way to command `id` of the window's bar would
** send (WM_INITMENU, WM_INITMENUPOPUP for each pop-up); then the item's state, or -1 when
** the bar has no such command. */
UINT PrepareMenuCommand(HWND hwnd, UINT id);

/* The maximized MDI child's minimize, restore and close buttons at the right end of the
** frame's menu bar, as the child's own caption is hidden; NULL removes them. */
void ShowMaximizedChildControls(HWND frame, HWND child);

/* The window's frame widget enabled or disabled, its menu bar laid out once for all the
** pop-ups Qt enables or disables with it. */
void SetFrameEnabled(HWND hwnd, QWidget* frame, bool enabled);

#endif
