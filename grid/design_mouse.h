/*
** The design-time mouse: in design mode a right click lets the grid hold the mouse (its
** own window procedure back in place of a dialog editor's, capture, pointer kept inside
** the grid), so that columns can be resized and set up by mouse while a dialog editor
** hosts the grid.
*/
#ifndef ZARNE_GRID_DESIGN_MOUSE_H
#define ZARNE_GRID_DESIGN_MOUSE_H

#include "grid/tessel_lock.h"

/* Takes the design-time mouse for the current grid when it does not hold it. */
void TakeDesignMouse();
/* Gives it back: clip, capture and the editor's window procedure released. */
void ReleaseDesignMouse();
/* Whether the current grid holds the design-time mouse. */
bool HoldsDesignMouse();
/* A right press in design mode: takes or releases the design-time mouse. */
void ToggleDesignMouse();
/* A double click while the design-time mouse is held: the column's setup (TSM_COLUMNSETUP
   to a dialog-editor parent of class Corvane, else the grid's own Column Setup dialog). */
void OpenDesignColumnSetup(int area, int column);

#endif
