/*
** The system classes (edit, list box, combo box, scroll bar, MDI client, dialog, button,
** static): registered once, on first use of the window manager, before any class of the
** program's own. Each control's file registers its own class with RegisterSystemClass.
*/
#ifndef ZARNE_PLATFORM_USER_SYSTEM_CLASSES_H
#define ZARNE_PLATFORM_USER_SYSTEM_CLASSES_H

#include "platform/user/window_types.h"

/* Registers a class marked as a system class, found from every module; answers its atom. */
ATOM RegisterSystemClass(const WNDCLASS* wc);

/* Registers every system class, in a fixed order (their atoms follow it). */
void RegisterSystemClasses();

#endif
