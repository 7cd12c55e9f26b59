/*
** The window procedures of the in-cell editor classes "tsedit" and "tsComboBox". They
** hand every message to the system edit class; the editing keys, the list and the
** notifications to the grid are added on top of this by the in-cell editing code.
*/
#include "grid/library_state.h"
#include "grid/tessel.h"

extern "C" LRESULT NewEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
}

extern "C" LRESULT ComboBoxEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
}
