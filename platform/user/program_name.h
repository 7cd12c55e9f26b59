/*
** The program's name as the desktop shows it where a window gives no title of its own.
*/
#ifndef ZARNE_PLATFORM_USER_PROGRAM_NAME_H
#define ZARNE_PLATFORM_USER_PROGRAM_NAME_H

#include "platform/kernel/wintypes.h"

/* A box with an empty caption shows this name; kept for the window system when it is not up
   yet. */
void SetProgramName(LPCSTR name);

#endif
