/*
** Painting: the update region of a window, WM_PAINT through BeginPaint/EndPaint, device
** contexts of a window's client area (GetDC/ReleaseDC, a persistent one for CS_OWNDC) and
** scrolling of the client area's pixels.
*/
#ifndef ZARNE_PLATFORM_USER_PAINTING_H
#define ZARNE_PLATFORM_USER_PAINTING_H

#include "platform/user/window_types.h"

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect,
                   HRGN updateRegion, LPRECT updateRect, UINT flags);

#endif
