/*
** A library for the window-class tests: it registers "ModuleClass" with its own instance when
** it is attached and leaves it registered when it is detached, as a library that forgets to
** clean up does. Its attach fails when the registration does.
*/
#include "platform/kernel/modules.h"
#include "platform/user/winuser.h"

namespace {
LRESULT CALLBACK ModuleClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7) return 4242;
  return DefWindowProc(hwnd, message, wParam, lParam);
}
}  // namespace

extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  WNDCLASS wc{};
  wc.lpfnWndProc = ModuleClassProc;
  wc.hInstance = module;
  wc.lpszClassName = "ModuleClass";
  return RegisterClass(&wc) != 0;
}
