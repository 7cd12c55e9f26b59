/*
** The boxes the table-access helpers show: texts and captions come from the program's
** string table, and a box is owned by the window that has the focus.
*/
#ifndef ZARNE_TABLEACCESS_SYSTEM_BOXES_H
#define ZARNE_TABLEACCESS_SYSTEM_BOXES_H

#include "platform/kernel/wintypes.h"

/* A string of the running program's string table (empty when missing). */
struct ResourceString {
  explicit ResourceString(UINT id);
  char text[256];
};

/* The owner of the helpers' boxes: the focus window, or none. */
HWND FocusOwner();

/* The string textId under 1002 "System Error" with the stop icon and an OK button. */
void ShowSystemError(UINT textId);

#endif
