/*
** Keyboard, mouse and scroll-bar input of the grid: the notifications the parent sees
** first, moving the current cell, selecting rows, dragging a selection and scrolling.
*/
#ifndef ZARNE_GRID_INPUT_H
#define ZARNE_GRID_INPUT_H

#include "grid/tessel_lock.h"

/* Answers whether the key was taken (otherwise default processing). */
bool OnTesselKey(UINT message, WPARAM key, LPARAM flags);
bool OnTesselMouse(UINT message, WPARAM keys, int x, int y);
void OnVerticalScroll(int code, int position);
void OnHorizontalScroll(int code, int position);
/* The next-cell and previous-cell steps (TSM_NEXTCELL, TSM_PREVCELL, Tab). */
int NextCell();
int PreviousCell();
/* Ends a selection drag: the capture and any cursor clip are released. */
void EndMouseTracking();

#endif
