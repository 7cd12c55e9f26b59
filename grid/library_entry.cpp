/*
** The library's entry points: DllMain, which the loader calls after loading and before
** unloading, the exit entry WEP and the link-forcing TesselLoadLib.
*/
#include "grid/library_state.h"
#include "grid/tessel.h"
#include "grid/tessel_lock.h"

extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gNestingDepth = 0;
    return AttachTesselLibrary(module);
  }
  if (reason == DLL_PROCESS_DETACH) ReleaseLibraryObjects();
  return TRUE;
}

extern "C" int WEP(int) {
  ReleaseLibraryObjects();
  return 0;
}

extern "C" int TesselLoadLib() { return 37; }
