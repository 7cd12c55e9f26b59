/*
** Windows: creation and destruction, window longs and words, the window tree, text, place
** and size, show state, enabling, focus and activation, and coordinate mapping.
*/
#ifndef ZARNE_PLATFORM_USER_WINDOW_MANAGER_H
#define ZARNE_PLATFORM_USER_WINDOW_MANAGER_H

#include "platform/user/window_types.h"

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID createParam);
HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID createParam);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

/* Window longs are pointer-sized here so that GWL_WNDPROC and handles kept in extra words
** survive a round trip; extra words sit at byte offsets 0, 4, 8, ... of cbWndExtra. */
LONG_PTR GetWindowLong(HWND hwnd, int index);
LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value);
WORD GetWindowWord(HWND hwnd, int index);
WORD SetWindowWord(HWND hwnd, int index, WORD value);
#define GetWindowLongPtr GetWindowLong
#define SetWindowLongPtr SetWindowLong

/* The window tree. Children and siblings are listed in z-order, topmost first. */
HWND GetDesktopWindow();
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT relation);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
HWND FindWindow(LPCSTR className, LPCSTR windowName);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);

BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLength(HWND hwnd);

/* Place, size and show state */
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);

/* Input state of a window */
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);

/* The window that answers a standard control's WM_CTLCOLOR* questions instead of its parent
** (a floating list asks the grid or combo box it belongs to); null to ask the parent again. */
void SetControlColorParent(HWND control, HWND colorParent);

#define CreateWindowExA      CreateWindowEx
#define CreateWindowA        CreateWindow
#define FindWindowA          FindWindow
#define SetWindowTextA       SetWindowText
#define GetWindowTextA       GetWindowText
#define GetWindowTextLengthA GetWindowTextLength
#define GetWindowLongA       GetWindowLong
#define SetWindowLongA       SetWindowLong

#endif
