/*
** Keyboard and mouse state: key states as the message being handled saw them and as they
** are now, mouse capture, the cursor and its position.
*/
#ifndef ZARNE_PLATFORM_USER_INPUT_H
#define ZARNE_PLATFORM_USER_INPUT_H

#include "platform/kernel/wintypes.h"

/* High bit set while the key is down; low bit the toggle state (Caps Lock ...). */
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* state256);
BOOL SetKeyboardState(const BYTE* state256);

HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

#define IDC_ARROW       MAKEINTRESOURCE(32512)
#define IDC_IBEAM       MAKEINTRESOURCE(32513)
#define IDC_WAIT        MAKEINTRESOURCE(32514)
#define IDC_CROSS       MAKEINTRESOURCE(32515)
#define IDC_UPARROW     MAKEINTRESOURCE(32516)
#define IDC_SIZE        MAKEINTRESOURCE(32640)
#define IDC_ICON        MAKEINTRESOURCE(32641)
#define IDC_SIZENWSE    MAKEINTRESOURCE(32642)
#define IDC_SIZENESW    MAKEINTRESOURCE(32643)
#define IDC_SIZEWE      MAKEINTRESOURCE(32644)
#define IDC_SIZENS      MAKEINTRESOURCE(32645)
#define IDC_SIZEALL     MAKEINTRESOURCE(32646)
#define IDC_NO          MAKEINTRESOURCE(32648)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP        MAKEINTRESOURCE(32651)

/* The system cursors (instance NULL); a module's own cursors are not yet loadable. */
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
#define LoadCursorA LoadCursor
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR cursor);
/* Frees an icon from LoadIcon; the system's shared icons stay. */
BOOL DestroyIcon(HICON icon);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(LPRECT rect);

#endif
