/*
** The design-time exports of libvgrd32.so that dialog editors call: the custom-control
** description and style function, and the dialog procedures of Column Setup and its
** sub-dialogs.
*/
#ifndef ZARNE_GRID_DESIGN_EXPORTS_H
#define ZARNE_GRID_DESIGN_EXPORTS_H

#include "platform/user/custom_controls.h"
#include "platform/user/winuser.h"

extern "C" {
/* NULL: 1, the number of control types; otherwise fills the description and answers 1. */
UINT CustomControlInfoA(LPCCINFOA info);
/* Runs the style dialog on the record's style; non-zero after OK, Load or Save. */
BOOL TesselStyleFn(HWND parent, LPCCSTYLEA style);
INT_PTR ColStyleDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ColInsertDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ColCopyDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ColMoveDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ColDeleteDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ColListDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR EditStyleDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR SortDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
}

#endif
