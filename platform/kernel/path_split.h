/*
** Splitting a path into drive, directory, name and extension, in the two forms the
** system's compilers offered: _splitpath and fnsplit. Both take '\' and '/' as
** separators. The drive is "X:" or empty; the directory keeps its final separator; the
** extension starts with its '.'. Each part is cut to its buffer size (with terminator),
** so a caller's buffer of that size is never overrun; a null part pointer is skipped.
*/
#ifndef ZARNE_PLATFORM_KERNEL_PATH_SPLIT_H
#define ZARNE_PLATFORM_KERNEL_PATH_SPLIT_H

#include "platform/kernel/wintypes.h"

#define _MAX_PATH  260
#define _MAX_DRIVE 3
#define _MAX_DIR   256
#define _MAX_FNAME 256
#define _MAX_EXT   256

#define MAXPATH  260
#define MAXDRIVE 3
#define MAXDIR   256
#define MAXFILE  256
#define MAXEXT   256

/* fnsplit's answer: which parts were present (prefixed, so that these common words stay
   free for the rest of the system). */
#define FNSPLIT_WILDCARDS 0x01
#define FNSPLIT_EXTENSION 0x02
#define FNSPLIT_FILENAME  0x04
#define FNSPLIT_DIRECTORY 0x08
#define FNSPLIT_DRIVE     0x10

void _splitpath(const char* path, char* drive, char* dir, char* name, char* ext);
int fnsplit(const char* path, char* drive, char* dir, char* name, char* ext);

#endif
