/*
** The system "scrollbar" class: a horizontal or vertical scroll-bar control (SBS_HORZ,
** SBS_VERT) behind the SBM_* messages, telling its parent of real clicks and drags with
** WM_HSCROLL / WM_VSCROLL carrying the control's handle. As with a window's own bars, the
** thumb does not move by itself: the parent answers the message and sets the position.
*/
#ifndef ZARNE_PLATFORM_USER_SCROLLBAR_CONTROL_H
#define ZARNE_PLATFORM_USER_SCROLLBAR_CONTROL_H

#include "platform/user/window_types.h"

/* Scroll-bar control styles */
#define SBS_HORZ        0x0000L
#define SBS_VERT        0x0001L
#define SBS_TOPALIGN    0x0002L
#define SBS_LEFTALIGN   0x0002L
#define SBS_BOTTOMALIGN 0x0004L
#define SBS_RIGHTALIGN  0x0004L
#define SBS_SIZEBOX     0x0008L

/* Scroll-bar control messages */
#define SBM_SETPOS         0x00E0
#define SBM_GETPOS         0x00E1
#define SBM_SETRANGE       0x00E2
#define SBM_GETRANGE       0x00E3
#define SBM_ENABLE_ARROWS  0x00E4
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_SETSCROLLINFO  0x00E9
#define SBM_GETSCROLLINFO  0x00EA

/* The scroll-bar class's window procedure (what GetClassInfo("scrollbar") answers). */
LRESULT CALLBACK ScrollBarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterScrollBarClass();

#endif
