/*
** The system "edit" class: a Qt line or text editor behind the edit message interface.
** Keys and mouse clicks reach the window procedure first (so subclasses and superclasses
** see them); the class's default handling hands them to the editor.
*/
#ifndef ZARNE_PLATFORM_USER_EDIT_CONTROL_H
#define ZARNE_PLATFORM_USER_EDIT_CONTROL_H

#include "platform/user/window_types.h"

/* The edit class's window procedure (what GetClassInfo("edit") answers). */
LRESULT CALLBACK EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/* Registers the system classes ("edit"); done once, on first use of the window manager. */
void RegisterSystemClasses();

#endif
