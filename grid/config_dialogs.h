/*
** The Load and Save dialogs of one grid's configuration (opened from the style dialog).
*/
#ifndef ZARNE_GRID_CONFIG_DIALOGS_H
#define ZARNE_GRID_CONFIG_DIALOGS_H

#include "platform/user/winuser.h"

/* 1 when a configuration was loaded into the grid, 0 when the user cancelled or the name
   cannot be used. */
int RunLoadDialog(HWND owner, HWND grid, const char* configurationName);
/* 1 when the configuration was written, 0 when the user cancelled or the name cannot be
   used. */
int RunSaveDialog(HWND owner, HWND grid, const char* configurationName);

#endif
