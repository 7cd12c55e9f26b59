/*
** What the grid asks of its design-time support: dialog-editor hosting, the configuration
** stash, saved configurations and the Column Setup dialog. The grid calls only these; they
** are exports of the library too.
*/
#ifndef ZARNE_GRID_DESIGN_SERVICES_H
#define ZARNE_GRID_DESIGN_SERVICES_H

#include "platform/user/winuser.h"

extern "C" {
/* Applies the saved configuration of that name from the module; 0 when applied, -13 no
   window or module, -12 no name, -25 not found, -26 not lockable, else the parser's. */
int SetupTessel(HINSTANCE module, LPCSTR configurationName, HWND grid);
/* 0 at run time, 1 to 4 for the dialog-editor kinds hosting the grid. */
int GetDesignHost(HWND grid);
/* 1 when a kept record was put back into the grid's window word 0. */
int RestoreFromStash(HWND grid);
/* 1 when the grid's record was handed to the stash (the grid then frees nothing). */
int StashOnDestroy(HWND grid);
/* Registers the stash window class "TSStash"; 0 fails the library's attach. */
BOOL RegisterStashClass(HINSTANCE module);
/* Runs the Column Setup dialog on the grid at that column; the dialog result, or 0. */
int OpenColumnSetup(HWND owner, HWND grid, int column);
/* The stash window's procedure. */
LRESULT StashProc(HWND stash, UINT message, WPARAM wParam, LPARAM lParam);
}

#define TESSEL_STASH_CLASS "TSStash"

#endif
