/*
** The system "listbox" class: a Qt list view behind the list-box message interface
** (LB_*), single, multiple and extended selection, sorted inserts, directory listings, and
** the LBN_* notifications to the parent. DlgDirList fills a dialog's list box with file names.
*/
#ifndef ZARNE_PLATFORM_USER_LISTBOX_CONTROL_H
#define ZARNE_PLATFORM_USER_LISTBOX_CONTROL_H

#include "platform/user/window_types.h"

#include <string>
#include <vector>

/* List-box styles */
#define LBS_NOTIFY            0x0001L
#define LBS_SORT              0x0002L
#define LBS_NOREDRAW          0x0004L
#define LBS_MULTIPLESEL       0x0008L
#define LBS_OWNERDRAWFIXED    0x0010L
#define LBS_OWNERDRAWVARIABLE 0x0020L
#define LBS_HASSTRINGS        0x0040L
#define LBS_USETABSTOPS       0x0080L
#define LBS_NOINTEGRALHEIGHT  0x0100L
#define LBS_MULTICOLUMN       0x0200L
#define LBS_WANTKEYBOARDINPUT 0x0400L
#define LBS_EXTENDEDSEL       0x0800L
#define LBS_DISABLENOSCROLL   0x1000L
#define LBS_NODATA            0x2000L
#define LBS_NOSEL             0x4000L
#define LBS_STANDARD          (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

/* List-box messages */
#define LB_ADDSTRING           0x0180
#define LB_INSERTSTRING        0x0181
#define LB_DELETESTRING        0x0182
#define LB_SELITEMRANGEEX      0x0183
#define LB_RESETCONTENT        0x0184
#define LB_SETSEL              0x0185
#define LB_SETCURSEL           0x0186
#define LB_GETSEL              0x0187
#define LB_GETCURSEL           0x0188
#define LB_GETTEXT             0x0189
#define LB_GETTEXTLEN          0x018A
#define LB_GETCOUNT            0x018B
#define LB_SELECTSTRING        0x018C
#define LB_DIR                 0x018D
#define LB_GETTOPINDEX         0x018E
#define LB_FINDSTRING          0x018F
#define LB_GETSELCOUNT         0x0190
#define LB_GETSELITEMS         0x0191
#define LB_SETTABSTOPS         0x0192
#define LB_GETHORIZONTALEXTENT 0x0193
#define LB_SETHORIZONTALEXTENT 0x0194
#define LB_SETCOLUMNWIDTH      0x0195
#define LB_ADDFILE             0x0196
#define LB_SETTOPINDEX         0x0197
#define LB_GETITEMRECT         0x0198
#define LB_GETITEMDATA         0x0199
#define LB_SETITEMDATA         0x019A
#define LB_SELITEMRANGE        0x019B
#define LB_SETANCHORINDEX      0x019C
#define LB_GETANCHORINDEX      0x019D
#define LB_SETCARETINDEX       0x019E
#define LB_GETCARETINDEX       0x019F
#define LB_SETITEMHEIGHT       0x01A0
#define LB_GETITEMHEIGHT       0x01A1
#define LB_FINDSTRINGEXACT     0x01A2
#define LB_INITSTORAGE         0x01A8

#define LB_OKAY     0
#define LB_ERR      (-1)
#define LB_ERRSPACE (-2)

/* List-box notifications (high word of WM_COMMAND's wParam) */
#define LBN_ERRSPACE  (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK    2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS  4
#define LBN_KILLFOCUS 5

/* File kinds of LB_DIR, CB_DIR and DlgDirList */
#define DDL_READWRITE 0x0000
#define DDL_READONLY  0x0001
#define DDL_HIDDEN    0x0002
#define DDL_SYSTEM    0x0004
#define DDL_DIRECTORY 0x0010
#define DDL_ARCHIVE   0x0020
#define DDL_POSTMSGS  0x2000
#define DDL_DRIVES    0x4000
#define DDL_EXCLUSIVE 0x8000

/* The list-box class's window procedure (what GetClassInfo("listbox") answers). */
LRESULT CALLBACK ListBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterListBoxClass();

/* Fills list box `listBoxId` of `dialog` with the files matching `pathSpec` (a Windows path
** whose last part is a pattern such as "C:\ZARNE\*.zbi", or a bare pattern for the current
** directory); the directory becomes the current one and its name goes to static
** `staticPathId` when not 0; `pathSpec` is left holding the pattern alone. Only plain files
** are listed. FALSE when the directory does not exist. */
int DlgDirList(HWND dialog, LPSTR pathSpec, int listBoxId, int staticPathId, UINT fileType);

/* Inside platform/user: the combo box that owns a list (its drop-down or simple list), which
** then receives the list's notifications and never loses its focus to the list. */
void SetListBoxOwnerCombo(HWND list, HWND combo);
/* The matching file names of a Windows path pattern, plain files only, in name order. */
bool ListMatchingFiles(const char* pathSpec, std::vector<std::string>& names);

#define DlgDirListA DlgDirList

#endif
