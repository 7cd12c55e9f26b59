/*
** Recording what a window's own paint draws, for tests: once a window is recorded, every
** paint DC BeginPaint hands it records its calls, and EndPaint keeps them in the window's
** log (the erase included). GetDC drawing and the children's paints are not in it.
*/
#ifndef ZARNE_PLATFORM_USER_PAINT_RECORDING_H
#define ZARNE_PLATFORM_USER_PAINT_RECORDING_H

#include "platform/gdi/gdi_recording.h"
#include "platform/user/window_types.h"

#include <vector>

/* Starts (on) or ends (off) recording the window's paints; starting empties its log. */
void RecordWindowPaints(HWND hwnd, bool on);
/* The calls of the window's paints since recording started, in order. */
std::vector<GdiDrawRecord> RecordedWindowPaints(HWND hwnd);

#endif
