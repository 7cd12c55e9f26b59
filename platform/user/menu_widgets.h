/*
** Qt menus made from the menu model: each pop-up asks its window first (WM_INITMENUPOPUP)
** and is rebuilt from the model every time it opens, so states set by that handler show.
*/
#ifndef ZARNE_PLATFORM_USER_MENU_WIDGETS_H
#define ZARNE_PLATFORM_USER_MENU_WIDGETS_H

#include "platform/kernel/wintypes.h"

#include <functional>

class QMenu;
class QWidget;

/* What happens when an item is chosen: its command id. */
using MenuCommandSink = std::function<void(UINT id)>;

/* Fills `qtMenu` with the items of `menu` (pop-ups become submenus that fill themselves when
** they open, after WM_INITMENUPOPUP to `owner`). */
void FillQtMenu(QMenu* qtMenu, HMENU menu, HWND owner, const MenuCommandSink& sink);

/* A Qt menu for a pop-up that refills itself each time it opens; WM_INITMENUPOPUP goes to
** `owner` first with the pop-up's position in its parent, after `beforeOpen` (the bar's
** WM_INITMENU). */
QMenu* MakeSelfFillingMenu(QWidget* parent, HMENU popup, int position, HWND owner,
                           const MenuCommandSink& sink, std::function<void()> beforeOpen = {});

#endif
