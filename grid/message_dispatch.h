/*
** TesselMsgProc: the dispatcher of the grid's own messages (WM_USER+0..+177, +250..+264)
** and CUSTCNTL_NOTIFY.
*/
#ifndef ZARNE_GRID_MESSAGE_DISPATCH_H
#define ZARNE_GRID_MESSAGE_DISPATCH_H

#include "platform/user/winuser.h"

LRESULT TesselMsgProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam);

#endif
