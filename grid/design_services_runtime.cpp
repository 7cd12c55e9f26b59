/*
** The design-time services as a running program has them: no dialog editor hosts a grid,
** nothing is stashed, and the program's resources hold no saved configuration. The stash
** class is still registered, since the library's attach requires it.
*/
#include "grid/design_services.h"

namespace {

LRESULT StashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

int SetupTessel(HINSTANCE, LPCSTR, HWND) { return -25; }

int GetDesignHost(HWND) { return 0; }

int RestoreFromStash(HWND) { return 0; }

int StashOnDestroy(HWND) { return 0; }

int OpenColumnSetup(HWND, HWND, int) { return 0; }

BOOL RegisterStashClass(HINSTANCE module) {
  WNDCLASS stash{};
  stash.lpfnWndProc = StashProc;
  stash.cbWndExtra = 24;
  stash.hInstance = module;
  stash.lpszClassName = TESSEL_STASH_CLASS;
  return RegisterClass(&stash) != 0;
}
