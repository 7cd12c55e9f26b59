/*
** The standard scroll bars of windows styled WS_HSCROLL / WS_VSCROLL: range, position,
** page and visibility. Real interaction with them sends WM_HSCROLL / WM_VSCROLL.
*/
#ifndef ZARNE_PLATFORM_USER_SCROLL_BARS_H
#define ZARNE_PLATFORM_USER_SCROLL_BARS_H

#include "platform/user/window_types.h"

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);

#endif
