/*
** Window classes: registering the system's own classes, reading a class record (to build a
** superclass on the system edit class) and naming a window's class.
*/
#ifndef ZARNE_PLATFORM_USER_WINDOW_CLASS_H
#define ZARNE_PLATFORM_USER_WINDOW_CLASS_H

#include "platform/user/window_types.h"

/* Registers a class; answers its atom, 0 when the name is taken or the record is unusable. */
ATOM RegisterClass(const WNDCLASS* wc);
/* Fills *wc with a registered class's record (lpszClassName as asked); FALSE when unknown. */
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc);
/* Removes a class that no window uses any more; FALSE otherwise. */
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);
/* Copies the class name of a window; answers its length, 0 for a bad window. */
int GetClassName(HWND hwnd, LPSTR buffer, int size);

#define RegisterClassA   RegisterClass
#define GetClassInfoA    GetClassInfo
#define UnregisterClassA UnregisterClass
#define GetClassNameA    GetClassName

#endif
