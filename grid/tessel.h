/*
** The grid library's interface for its callers: the codes (tessel_codes.h), and the
** exports of libvgrd32.so. Programs load the library with LoadLibrary("vgrd32.dll"),
** which registers the window class "Tessel", and then drive grids by messages.
*/
#ifndef ZARNE_GRID_TESSEL_H
#define ZARNE_GRID_TESSEL_H

#include "grid/tessel_codes.h"
#include "platform/kernel/kernel.h"
#include "platform/user/winuser.h"

extern "C" {
/* The window procedure of class "Tessel". Results are 32-bit values widened with their
   sign, so errors stay negative and 16-bit column numbers stay positive. */
LRESULT TesselWndFn(HWND grid, UINT message, WPARAM wParam, LPARAM lParam);
/* Does nothing but answer 37: calling it makes a host link the library. */
int TesselLoadLib();
/* The library's exit entry: releases the shared objects as unloading does; answers 0. */
int WEP(int code);
/* The in-cell editors' window procedures (classes "tsedit" and "tsComboBox"). */
LRESULT NewEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam);
}

#endif
