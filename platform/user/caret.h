/*
** The caret: one per program, owned by a window, shown over its client area.
*/
#ifndef ZARNE_PLATFORM_USER_CARET_H
#define ZARNE_PLATFORM_USER_CARET_H

#include "platform/kernel/wintypes.h"

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();

#endif
