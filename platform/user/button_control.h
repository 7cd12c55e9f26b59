/*
** The system "button" class: push and default push buttons, check boxes (two and three
** states, automatic or not), radio buttons, group boxes, owner-drawn and bitmap buttons,
** painted through GDI, with the button message interface and its notifications.
*/
#ifndef ZARNE_PLATFORM_USER_BUTTON_CONTROL_H
#define ZARNE_PLATFORM_USER_BUTTON_CONTROL_H

#include "platform/user/window_types.h"

/* Button styles */
#define BS_PUSHBUTTON      0x00000000L
#define BS_DEFPUSHBUTTON   0x00000001L
#define BS_CHECKBOX        0x00000002L
#define BS_AUTOCHECKBOX    0x00000003L
#define BS_RADIOBUTTON     0x00000004L
#define BS_3STATE          0x00000005L
#define BS_AUTO3STATE      0x00000006L
#define BS_GROUPBOX        0x00000007L
#define BS_USERBUTTON      0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW       0x0000000BL
#define BS_TYPEMASK        0x0000000FL
#define BS_LEFTTEXT        0x00000020L
#define BS_RIGHTBUTTON     BS_LEFTTEXT
#define BS_TEXT            0x00000000L
#define BS_ICON            0x00000040L
#define BS_BITMAP          0x00000080L
#define BS_LEFT            0x00000100L
#define BS_RIGHT           0x00000200L
#define BS_CENTER          0x00000300L
#define BS_TOP             0x00000400L
#define BS_BOTTOM          0x00000800L
#define BS_VCENTER         0x00000C00L
#define BS_PUSHLIKE        0x00001000L
#define BS_MULTILINE       0x00002000L
#define BS_NOTIFY          0x00004000L
#define BS_FLAT            0x00008000L

/* Button messages */
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK    0x00F5
#define BM_GETIMAGE 0x00F6
#define BM_SETIMAGE 0x00F7

#define BST_UNCHECKED     0x0000
#define BST_CHECKED       0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED        0x0004
#define BST_FOCUS         0x0008

/* Button notifications (high word of WM_COMMAND's wParam) */
#define BN_CLICKED       0
#define BN_PAINT         1
#define BN_HILITE        2
#define BN_UNHILITE      3
#define BN_DISABLE       4
#define BN_DOUBLECLICKED 5
#define BN_PUSHED        BN_HILITE
#define BN_UNPUSHED      BN_UNHILITE
#define BN_DBLCLK        BN_DOUBLECLICKED
#define BN_SETFOCUS      6
#define BN_KILLFOCUS     7

/* Image kinds of BM_SETIMAGE / STM_SETIMAGE */
#define IMAGE_BITMAP 0
#define IMAGE_ICON   1

/* The button class's window procedure (what GetClassInfo("button") answers). */
LRESULT CALLBACK ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterButtonClass();

/* A picture push button of the custom-control library's button class: its faces are the
** bitmaps numbered id + 1000 (up), id + 3000 (pressed) and id + 5000 (focused) in the
** module that holds the dialog. Without an up face the button keeps its plain face and this
** answers false. The button owns the bitmaps. */
bool AttachPictureFaces(HWND button, HINSTANCE instance);

#endif
