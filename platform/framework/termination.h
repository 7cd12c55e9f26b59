/*
** Ending the program from outside: SIGTERM, SIGHUP and the end of the desktop session close
** the application's main window through the message queue, as File|Exit does, so every
** window saves its work and the program ends cleanly. The same signal again while that
** closing is under way ends the program at once; SIGTERM and SIGHUP together (a logout)
** are one request. Used by TApplication::Run only.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_TERMINATION_H
#define ZARNE_PLATFORM_FRAMEWORK_TERMINATION_H

#include "platform/kernel/wintypes.h"

/* Installs the signal handlers; a signal arriving before WatchForTermination is kept. */
void CatchTerminationSignals();
/* From now on each request posts WM_CLOSE to the window mainWindow() answers at that time
** (none: the request waits for one). Needs the Qt application object. */
void WatchForTermination(HWND (*mainWindow)());

#endif
