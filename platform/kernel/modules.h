/*
** Loading shared libraries by their Windows names: LoadLibrary, GetProcAddress,
** FreeLibrary, GetModuleHandle, GetModuleFileName.
**
** "vgrd32.dll" (any case, with or without ".dll", with or without a directory) names
** the file libvgrd32.so beside the running program (or beside this kernel library); a
** name starting with '/' is a host file used as it stands. A module's handle is its load
** address (module_identity.h), the same for every piece of the program.
**
** LoadLibrary counts references: each successful call needs one FreeLibrary, and the
** library is unloaded with the last. When the library exports
**   extern "C" BOOL DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
** it is called with DLL_PROCESS_ATTACH after the first load (a FALSE answer unloads the
** library and LoadLibrary fails) and with DLL_PROCESS_DETACH before the last unload, as
** on the original platform; a library registers its window classes there.
** A library linked to the program at build time gets its DllMain call only when it is
** also loaded through LoadLibrary.
** (The host loader may keep a library mapped after the last FreeLibrary, e.g. when it
** holds C++ template statics; DllMain has still been told of the detach.)
**
** Two environment variables let a test change what one process finds, without touching the
** files beside the program:
**   ZARNE_LIBRARY_DIR       a directory searched first for libNAME.so
**   ZARNE_HIDDEN_LIBRARIES  names this process treats as missing ("stmlay32,auxlay32.dll";
**                           separated by commas, colons, semicolons or spaces; any case)
**
** A missing library, or one that cannot be loaded, gives NULL (callers that test
** "<= 32" see a failure); a missing export gives NULL; exports are found by name only.
*/
#ifndef ZARNE_PLATFORM_KERNEL_MODULES_H
#define ZARNE_PLATFORM_KERNEL_MODULES_H

#include "platform/kernel/wintypes.h"

#include <string>

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1

/* Cast to the export's real type before calling. Declared as taking and answering
   nothing, the one function type the compiler lets callers cast freely. */
typedef void (*FARPROC)();

HMODULE LoadLibrary(LPCSTR library_name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR export_name);
/* A module already loaded (no reference taken); NULL names the program itself. */
HMODULE GetModuleHandle(LPCSTR module_name);
/* The module's file in Windows form (see paths.h; a program in the build tree shows as
   Z:\...). Copies at most size - 1 characters and terminates; answers the length, or
   size with ERROR_INSUFFICIENT_BUFFER when it was cut, or 0 for an unknown module. */
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size);

/* Told of a module's last FreeLibrary, after its DLL_PROCESS_DETACH and before the library is
   unloaded (the window manager drops the window classes it left registered). */
typedef void (*ModuleUnloadObserver)(HMODULE module);
void AddModuleUnloadObserver(ModuleUnloadObserver observer);

/* The host file a Windows library name stands for (whether or not it exists). */
std::string LibraryHostPath(const char* library_name);

#define LoadLibraryA       LoadLibrary
#define GetModuleHandleA   GetModuleHandle
#define GetModuleFileNameA GetModuleFileName

#endif
