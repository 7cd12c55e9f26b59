/*
** Keyboard accelerators: turning a key message into the command of an accelerator table
** (loaded with LoadAccelerators from the module's resources) before it is dispatched.
*/
#ifndef ZARNE_PLATFORM_USER_ACCELERATORS_H
#define ZARNE_PLATFORM_USER_ACCELERATORS_H

#include "platform/kernel/resources.h"
#include "platform/user/window_types.h"

/* When `msg` is a key (WM_KEYDOWN, WM_SYSKEYDOWN) or character (WM_CHAR, WM_SYSCHAR) that
** matches an entry of the table, sends WM_COMMAND (high word 1) with the entry's command to
** `hwnd` and answers TRUE: the caller then neither translates nor dispatches the message.
** When the command is an item of the window's menu, the window first hears WM_INITMENU and
** WM_INITMENUPOPUP as if the user opened the menus; an item then grayed or disabled is
** swallowed without WM_COMMAND, as on the original platform. FALSE for no match, a bad window or table. */
int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg);
#define TranslateAcceleratorA TranslateAccelerator

#endif
