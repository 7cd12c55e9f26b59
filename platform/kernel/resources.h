/*
** The resource calls: finding a module's compiled resources by type and name, reaching their
** bytes, loading strings of its string table and its accelerator tables. Resources belong to
** the module they were linked into; a null module means the running program.
*/
#ifndef ZARNE_PLATFORM_KERNEL_RESOURCES_H
#define ZARNE_PLATFORM_KERNEL_RESOURCES_H

#include "platform/kernel/wintypes.h"

#define RT_CURSOR       MAKEINTRESOURCE(1)
#define RT_BITMAP       MAKEINTRESOURCE(2)
#define RT_ICON         MAKEINTRESOURCE(3)
#define RT_MENU         MAKEINTRESOURCE(4)
#define RT_DIALOG       MAKEINTRESOURCE(5)
#define RT_STRING       MAKEINTRESOURCE(6)
#define RT_ACCELERATOR  MAKEINTRESOURCE(9)
#define RT_RCDATA       MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON   MAKEINTRESOURCE(14)
#define RT_VERSION      MAKEINTRESOURCE(16)

/* Name and type are MAKEINTRESOURCE ordinals, "#<number>", or names (compared without case).
** NULL when the module has no such resource. */
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
/* A handle for LockResource; NULL for an unknown resource. */
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
/* The resource's bytes (read-only, valid while its module stays loaded); NULL for NULL. */
LPVOID LockResource(HGLOBAL loaded);
/* The resource's size in bytes; 0 for an unknown resource. */
DWORD SizeofResource(HMODULE module, HRSRC resource);
/* Resources live as long as their module; nothing to free. Answers FALSE as the platform does. */
BOOL FreeResource(HGLOBAL loaded);

/* Copies string `id` of the module's string table into the buffer, at most size - 1
** characters, always terminated; answers the characters copied, 0 when there is no such
** string (the buffer then holds an empty text). */
int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int size);

/* Accelerator flags */
#define FVIRTKEY  0x01
#define FNOINVERT 0x02
#define FSHIFT    0x04
#define FCONTROL  0x08
#define FALT      0x10

typedef struct tagACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
} ACCEL, *LPACCEL;

/* The module's accelerator table of that name; NULL when it has none. */
HACCEL LoadAccelerators(HINSTANCE instance, LPCSTR name);
/* With entries NULL: the table's entry count. Otherwise copies up to count entries and answers
** how many were copied. 0 for an unknown table. */
int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count);

#define FindResourceA         FindResource
#define LoadStringA           LoadString
#define LoadAcceleratorsA     LoadAccelerators
#define CopyAcceleratorTableA CopyAcceleratorTable

#endif
