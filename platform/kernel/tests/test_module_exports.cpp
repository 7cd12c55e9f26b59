/*
** The small library the module tests load: a couple of exports, and a DllMain that
** records its calls in the environment so that the test can see them after unloading.
*/
#include "platform/kernel/modules.h"
#include "platform/kernel/string_calls.h"

#include <cstdio>
#include <cstdlib>

namespace {
int gAttachCount = 0;
}

extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (std::getenv("KERNEL_TEST_MODULE_REFUSE")) return FALSE;
    ++gAttachCount;
    // Plain C formatting: C++ library templates would make the library impossible to unload.
    char text[32];
    snprintf(text, sizeof text, "%llu",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(module)));
    setenv("KERNEL_TEST_MODULE_ATTACHED", text, 1);
  } else if (reason == DLL_PROCESS_DETACH) {
    setenv("KERNEL_TEST_MODULE_DETACHED", "1", 1);
  }
  return TRUE;
}

extern "C" int KernelTestAttachCount() { return gAttachCount; }

extern "C" int KernelTestLength(const char* text) { return lstrlen(text); }
