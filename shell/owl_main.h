/*
** The single-instance test of the main program's entry.
*/
#ifndef ZARNE_SHELL_OWL_MAIN_H
#define ZARNE_SHELL_OWL_MAIN_H

#include "platform/framework/application.h"
#include "platform/user/window_manager.h"

/* The window-enumeration callback: a title "Zarne", or one starting "Zarne - [", is the
   running copy's frame; it is kept in gRunningInstance and the enumeration stops. */
BOOL CALLBACK FindRunningInstance(HWND window, LPARAM);

#endif
