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
/* The combo editor's drop-down list's window procedure. */
LRESULT TSListBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
/* Adds the TAB-separated items (each cut to 999 characters) to a list box; the count. */
int FillListFromItems(HWND list, const char* items);
/* Frees a grid state (a record from TSM_CLONEDATA, or a grid's own) with every block it
   holds; 0, or -22 when it does not lock (it is freed all the same). */
int FreeTesselData(HGLOBAL record);
/* Writes the value (stored form of type, length bytes) as text under the picture into
   text, at most TS_MAXTEXT bytes with the terminator whatever the picture, fill or
   width; answers the length. With a device context and a positive width the text is
   fitted (fill character, and the overflow character for numbers). */
int FormatData(HDC dc, char* text, const char* picture, const void* value, WORD type, WORD length,
               int width, char overflow);
/* Replaces the value by what the text says under the picture, or leaves it unchanged when
   the text cannot be read for that type. */
int GetCellData(void* value, const char* text, const char* picture, WORD length, WORD type);
}

/* The block of a virtual-row request (TSM_GETFIRSTROW ... TSM_GETROWAT, sent to the owner
   with the grid's id in wParam): the owner sets result 0 when it delivered a row, puts that
   row's key in key and writes its values (the TSM_GETROW layout) at values. */
struct TesselVirtualRequest {
  int32_t result;
  int32_t key;
  void* values;
};

/* The platform's edit never reports running out of space, so TSN_ERRSPACE is never sent. */
/* Every key press reaching a grid overwrites its user value (TSM_GETUSERDATA) with the
   key's virtual-key code while TSN_KEYDOWN is sent: keep nothing else there that must
   survive typing. */

#endif
