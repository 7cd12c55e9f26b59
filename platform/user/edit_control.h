/*
** The system "edit" class: a Qt line or text editor behind the edit message interface.
** Keys and mouse clicks reach the window procedure first (so subclasses and superclasses
** see them); the class's default handling hands them to the editor.
*/
#ifndef ZARNE_PLATFORM_USER_EDIT_CONTROL_H
#define ZARNE_PLATFORM_USER_EDIT_CONTROL_H

#include "platform/user/window_types.h"

/* Edit messages beyond those of window_messages.h */
#define EM_SETRECT             0x00B3
#define EM_SETRECTNP           0x00B4
#define EM_SCROLL              0x00B5
#define EM_LINESCROLL          0x00B6
#define EM_SETPASSWORDCHAR     0x00CC
#define EM_GETFIRSTVISIBLELINE 0x00CE
#define EM_GETPASSWORDCHAR     0x00D2

/* The edit class's window procedure (what GetClassInfo("edit") answers). */
LRESULT CALLBACK EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/* Registers "edit" among the system classes. */
void RegisterEditClass();

#endif
