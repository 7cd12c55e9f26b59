/*
** The system "combobox" class: simple, drop-down and drop-down-list combo boxes made of an
** "edit" child (id 1001), a "listbox" (id 1000; for the drop-down kinds a list floating above
** the dialog) and a face with the drop-down button, behind the CB_* message interface, with
** the CBN_* notifications to the parent.
*/
#ifndef ZARNE_PLATFORM_USER_COMBOBOX_CONTROL_H
#define ZARNE_PLATFORM_USER_COMBOBOX_CONTROL_H

#include "platform/user/window_types.h"

/* Combo-box styles */
#define CBS_SIMPLE            0x0001L
#define CBS_DROPDOWN          0x0002L
#define CBS_DROPDOWNLIST      0x0003L
#define CBS_OWNERDRAWFIXED    0x0010L
#define CBS_OWNERDRAWVARIABLE 0x0020L
#define CBS_AUTOHSCROLL       0x0040L
#define CBS_OEMCONVERT        0x0080L
#define CBS_SORT              0x0100L
#define CBS_HASSTRINGS        0x0200L
#define CBS_NOINTEGRALHEIGHT  0x0400L
#define CBS_DISABLENOSCROLL   0x0800L
#define CBS_UPPERCASE         0x2000L
#define CBS_LOWERCASE         0x4000L

/* Combo-box messages */
#define CB_GETEDITSEL            0x0140
#define CB_LIMITTEXT             0x0141
#define CB_SETEDITSEL            0x0142
#define CB_ADDSTRING             0x0143
#define CB_DELETESTRING          0x0144
#define CB_DIR                   0x0145
#define CB_GETCOUNT              0x0146
#define CB_GETCURSEL             0x0147
#define CB_GETLBTEXT             0x0148
#define CB_GETLBTEXTLEN          0x0149
#define CB_INSERTSTRING          0x014A
#define CB_RESETCONTENT          0x014B
#define CB_FINDSTRING            0x014C
#define CB_SELECTSTRING          0x014D
#define CB_SETCURSEL             0x014E
#define CB_SHOWDROPDOWN          0x014F
#define CB_GETITEMDATA           0x0150
#define CB_SETITEMDATA           0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT         0x0153
#define CB_GETITEMHEIGHT         0x0154
#define CB_SETEXTENDEDUI         0x0155
#define CB_GETEXTENDEDUI         0x0156
#define CB_GETDROPPEDSTATE       0x0157
#define CB_FINDSTRINGEXACT       0x0158

#define CB_OKAY     0
#define CB_ERR      (-1)
#define CB_ERRSPACE (-2)

/* Combo-box notifications (high word of WM_COMMAND's wParam) */
#define CBN_ERRSPACE     (-1)
#define CBN_SELCHANGE    1
#define CBN_DBLCLK       2
#define CBN_SETFOCUS     3
#define CBN_KILLFOCUS    4
#define CBN_EDITCHANGE   5
#define CBN_EDITUPDATE   6
#define CBN_DROPDOWN     7
#define CBN_CLOSEUP      8
#define CBN_SELENDOK     9
#define CBN_SELENDCANCEL 10

/* Ids of a combo box's own children */
#define COMBO_LIST_ID 1000
#define COMBO_EDIT_ID 1001

/* The combo-box class's window procedure (what GetClassInfo("combobox") answers). */
LRESULT CALLBACK ComboBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterComboBoxClass();

/* The list and the edit field of a combo box (null for a bad window; the edit is null for a
** drop-down list), for the harness and for code that subclasses them. */
HWND ComboBoxListWindow(HWND combo);
HWND ComboBoxEditWindow(HWND combo);

/* Inside platform/user: the combo's list reports a mouse pick; `onItem` when the button
** came up over an item (the choice is taken), else the list just closes. */
void ComboListPicked(HWND combo, bool onItem);

#endif
