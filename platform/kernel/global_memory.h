/*
** Global memory blocks by handle: GlobalAlloc and its family.
**
** A fixed block's handle is its address; a moveable block's handle is an opaque value
** that is never an address (GlobalLock gives the address). A moveable block counts its
** locks (up to 255); GlobalUnlock answers whether it is still locked. Any call given a
** handle it did not make, or one already freed, answers its failure value (NULL, 0,
** FALSE, or the handle itself for GlobalFree) with ERROR_INVALID_HANDLE, never a crash.
**
** GlobalReAlloc: a moveable block may move when it is unlocked, or when the call passes
** GMEM_MOVEABLE; a locked moveable block grown without GMEM_MOVEABLE fails, as does a
** fixed block grown without it (a fixed block that moves gets a new handle). Shrinking
** never moves. Bytes added are zero when the call or the original allocation asked for
** GMEM_ZEROINIT. A size of 0 discards an unlocked moveable block: the handle stays valid
** and GlobalLock answers NULL until it is reallocated.
**
** The calls are thread-safe.
*/
#ifndef ZARNE_PLATFORM_KERNEL_GLOBAL_MEMORY_H
#define ZARNE_PLATFORM_KERNEL_GLOBAL_MEMORY_H

#include "platform/kernel/wintypes.h"

#define GMEM_FIXED          0x0000
#define GMEM_MOVEABLE       0x0002
#define GMEM_NOCOMPACT      0x0010
#define GMEM_NODISCARD      0x0020
#define GMEM_ZEROINIT       0x0040
#define GMEM_MODIFY         0x0080
#define GMEM_DISCARDABLE    0x0100
#define GMEM_NOT_BANKED     0x1000
#define GMEM_SHARE          0x2000
#define GMEM_DDESHARE       0x2000
#define GMEM_LOCKCOUNT      0x00FF
#define GMEM_DISCARDED      0x4000
#define GMEM_INVALID_HANDLE 0x8000
#define GHND                (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR                (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);
/* NULL on success, the handle when it was not valid. */
HGLOBAL GlobalFree(HGLOBAL memory);
/* The handle of the block whose address (as GlobalLock gave it) this is, or NULL. */
HGLOBAL GlobalHandle(LPCVOID address);
/* The lock count in the low byte, GMEM_DISCARDED, GMEM_DISCARDABLE; GMEM_INVALID_HANDLE
   for a handle that is not valid. */
UINT GlobalFlags(HGLOBAL memory);

#endif
