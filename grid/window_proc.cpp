/*
** TesselWndFn, the window procedure of class "Tessel".
*/
#include "grid/tessel.h"
#include "grid/tessel_lock.h"

HWND gCurrentGrid = nullptr;
DWORD gCurrentStyle = 0;
int gNestingDepth = 0;

extern "C" LRESULT TesselWndFn(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(grid, message, wParam, lParam);
}
