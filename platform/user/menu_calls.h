/*
** Menus: menu bars and pop-up menus built in code or loaded from compiled menu resources,
** their items (commands, separators, pop-ups) and states, a window's menu bar, and pop-up
** menus tracked at a point. A chosen item reaches its window as WM_COMMAND with the item id;
** WM_INITMENU and WM_INITMENUPOPUP come before a menu opens.
*/
#ifndef ZARNE_PLATFORM_USER_MENU_CALLS_H
#define ZARNE_PLATFORM_USER_MENU_CALLS_H

#include "platform/user/window_types.h"

#include <functional>

/* Item flags (AppendMenu, InsertMenu, ModifyMenu, GetMenuState) */
#define MF_INSERT          0x00000000L
#define MF_CHANGE          0x00000080L
#define MF_APPEND          0x00000100L
#define MF_DELETE          0x00000200L
#define MF_REMOVE          0x00001000L
#define MF_BYCOMMAND       0x00000000L
#define MF_BYPOSITION      0x00000400L
#define MF_SEPARATOR       0x00000800L
#define MF_ENABLED         0x00000000L
#define MF_GRAYED          0x00000001L
#define MF_DISABLED        0x00000002L
#define MF_UNCHECKED       0x00000000L
#define MF_CHECKED         0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING          0x00000000L
#define MF_BITMAP          0x00000004L
#define MF_OWNERDRAW       0x00000100L
#define MF_POPUP           0x00000010L
#define MF_MENUBARBREAK    0x00000020L
#define MF_MENUBREAK       0x00000040L
#define MF_UNHILITE        0x00000000L
#define MF_HILITE          0x00000080L
#define MF_DEFAULT         0x00001000L
#define MF_SYSMENU         0x00002000L
#define MF_HELP            0x00004000L
#define MF_RIGHTJUSTIFY    0x00004000L
#define MF_MOUSESELECT     0x00008000L
#define MF_END             0x00000080L

/* TrackPopupMenu */
#define TPM_LEFTBUTTON   0x0000L
#define TPM_RIGHTBUTTON  0x0002L
#define TPM_LEFTALIGN    0x0000L
#define TPM_CENTERALIGN  0x0004L
#define TPM_RIGHTALIGN   0x0008L
#define TPM_TOPALIGN     0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN  0x0020L
#define TPM_NONOTIFY     0x0080L
#define TPM_RETURNCMD    0x0100L

HMENU CreateMenu();
HMENU CreatePopupMenu();
/* Destroys the menu and every pop-up menu it holds. */
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

/* `item` is a command id, or a pop-up menu's handle with MF_POPUP. */
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCSTR text);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCSTR text);
/* DeleteMenu destroys a pop-up it removes; RemoveMenu leaves it to the caller. */
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

/* Both answer the item's previous state (MF_GRAYED|MF_DISABLED, MF_CHECKED), or -1 when the
** item does not exist. MF_BYCOMMAND looks into pop-ups as well. */
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);

/* -1 for a bad menu. */
int GetMenuItemCount(HMENU menu);
/* The command id at a position; -1 for a pop-up or a bad position, 0 for a separator. */
UINT GetMenuItemID(HMENU menu, int position);
/* Copies the item's text; answers its length. 0 when there is no such item. */
int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
/* The item's flags; for a pop-up the item count sits in the high byte. -1 when missing. */
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);

/* A module's compiled menu; NULL when it has none or it is malformed. */
HMENU LoadMenu(HINSTANCE instance, LPCSTR name);

/* A window's menu bar (top-level windows only). SetMenu replaces the bar without destroying
** the previous menu. */
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);

/* Shows a pop-up menu at a screen point for `owner`; the chosen item is posted to the owner
** as WM_COMMAND (answer TRUE), or answered itself with TPM_RETURNCMD (0: nothing chosen). */
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);

/* Who chooses from a tracked pop-up menu: answers the chosen command id, 0 for none. The
** default shows a Qt menu; tests install their own. Answers the previous chooser. */
using PopupMenuChooser = std::function<UINT(HMENU menu, int x, int y, HWND owner)>;
PopupMenuChooser SetPopupMenuChooser(PopupMenuChooser chooser);

/* Chooses a command of a window's menu bar as the user would: WM_INITMENU, then
** WM_INITMENUPOPUP for each pop-up on the way to the item, then WM_COMMAND when the item is
** enabled. FALSE when the bar has no enabled item with that id. */
BOOL ChooseMenuBarCommand(HWND hwnd, UINT id);

#define AppendMenuA    AppendMenu
#define InsertMenuA    InsertMenu
#define ModifyMenuA    ModifyMenu
#define GetMenuStringA GetMenuString
#define LoadMenuA      LoadMenu

#endif
