/*
** The system "static" class: text with its alignment and prefix handling, filled and framed
** rectangles, etched lines and frames, icons and bitmaps, painted through GDI in the colours
** the parent gives for WM_CTLCOLORSTATIC.
*/
#ifndef ZARNE_PLATFORM_USER_STATIC_CONTROL_H
#define ZARNE_PLATFORM_USER_STATIC_CONTROL_H

#include "platform/user/window_types.h"

/* Static styles */
#define SS_LEFT           0x00000000L
#define SS_CENTER         0x00000001L
#define SS_RIGHT          0x00000002L
#define SS_ICON           0x00000003L
#define SS_BLACKRECT      0x00000004L
#define SS_GRAYRECT       0x00000005L
#define SS_WHITERECT      0x00000006L
#define SS_BLACKFRAME     0x00000007L
#define SS_GRAYFRAME      0x00000008L
#define SS_WHITEFRAME     0x00000009L
#define SS_USERITEM       0x0000000AL
#define SS_SIMPLE         0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW      0x0000000DL
#define SS_BITMAP         0x0000000EL
#define SS_ENHMETAFILE    0x0000000FL
#define SS_ETCHEDHORZ     0x00000010L
#define SS_ETCHEDVERT     0x00000011L
#define SS_ETCHEDFRAME    0x00000012L
#define SS_TYPEMASK       0x0000001FL
#define SS_NOPREFIX       0x00000080L
#define SS_NOTIFY         0x00000100L
#define SS_CENTERIMAGE    0x00000200L
#define SS_RIGHTJUST      0x00000400L
#define SS_REALSIZEIMAGE  0x00000800L
#define SS_SUNKEN         0x00001000L

/* Static messages and notifications */
#define STM_SETICON  0x0170
#define STM_GETICON  0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED  0
#define STN_DBLCLK   1
#define STN_ENABLE   2
#define STN_DISABLE  3

/* The static class's window procedure (what GetClassInfo("static") answers). */
LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterStaticClass();

#endif
