/*
** A small shared library whose only purpose is to carry resources of its own, so tests can
** tell a library's resources from the program's.
*/
#include "platform/kernel/module_identity.h"

extern "C" HMODULE RcTestLibraryModule() {
  return ModuleFromAddress(reinterpret_cast<const void*>(&RcTestLibraryModule));
}
