/*
** Resizing columns and rows with the mouse: the press on an edge, the tracking line that
** follows the mouse, and the end that sets the width or height. Every way a resize can end
** (release, focus loss, cancel mode, capture lost) erases the line and frees both the
** capture and the pointer.
*/
#ifndef ZARNE_GRID_RESIZE_TRACKING_H
#define ZARNE_GRID_RESIZE_TRACKING_H

#include "grid/layout.h"

/* Starts a resize on a press in a resize zone; false when none could start. */
bool BeginResize(const HitResult& hit, int x, int y);
bool Resizing();
/* Moves the tracking line. */
void TrackResize(int x, int y);
/* Ends the resize: with apply the new size is set (button up), otherwise dropped. */
void EndResize(bool apply);
/* The cursor a position shows when nothing is being dragged. */
HCURSOR CursorForHit(const HitResult& hit);

#endif
