/*
** The clipboard, backed by the desktop's clipboard through Qt. Text is exchanged as CF_TEXT
** (Windows-1252, NUL-terminated) in moveable global memory blocks.
*/
#ifndef ZARNE_PLATFORM_USER_CLIPBOARD_H
#define ZARNE_PLATFORM_USER_CLIPBOARD_H

#include "platform/kernel/wintypes.h"

#define CF_TEXT    1
#define CF_BITMAP  2
#define CF_OEMTEXT 7

BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
/* Takes ownership of the block; answers it, or NULL when the clipboard is not open. */
HANDLE SetClipboardData(UINT format, HANDLE data);
/* The clipboard's own block: the caller reads it and must not free it. */
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();

#endif
