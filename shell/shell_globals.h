/*
** Program-wide state of the main program that the shell sets up at start-up: where the
** program lives, the grid library it keeps loaded, and the running copy found by the
** single-instance test.
*/
#ifndef ZARNE_SHELL_SHELL_GLOBALS_H
#define ZARNE_SHELL_SHELL_GLOBALS_H

#include "platform/kernel/wintypes.h"

/* Drive and directory of the running program file, ending in a backslash. */
// Owner: shell.
extern char gProgramDir[MAX_PATH];
/* The grid library, loaded at start-up and freed at shutdown. */
// Owner: shell.
extern HMODULE gGridModule;
/* The frame of another running copy, found by FindRunningInstance (null until found). */
// Owner: shell.
extern HWND gRunningInstance;

#endif
