/*
** What an HMODULE (= HINSTANCE) is here: the base address at which a module (the program or
** one of its shared libraries) is loaded, as on the original platform. Resources, window
** classes and LoadString are keyed by it.
*/
#ifndef ZARNE_PLATFORM_KERNEL_MODULE_IDENTITY_H
#define ZARNE_PLATFORM_KERNEL_MODULE_IDENTITY_H

#include "platform/kernel/wintypes.h"

#include <string>

/* The module that contains the code or data at this address; null when none does. */
HMODULE ModuleFromAddress(const void* address);

/* The running program's own module: what GetModuleHandle(NULL) answers. */
HMODULE MainProgramModule();

/* The host path of a module's file; empty when the handle names no loaded module. */
std::string ModuleHostPath(HMODULE module);

#endif
