/*
** Painting the grid: background, heading and label buttons, grid lines, data cells and the
** focus rectangle.
*/
#ifndef ZARNE_GRID_PAINTING_H
#define ZARNE_GRID_PAINTING_H

#include "grid/tessel_lock.h"

void PaintTessel();
/* Draws one data cell; 0 when its row cannot be reached. */
int DrawCell(HDC dc, int row, int column);
/* Toggles the focus rectangle of the current cell. */
void DrawFocusCell(HDC dc);
void Draw3DFrame(HDC dc, const RECT& rect, bool pressed);
/* Toggles the focus rectangle on the grid's own device context. */
void ToggleFocusMark();
/* Removes the focus rectangle while the current cell moves or the grid scrolls, and draws
   it again afterwards (when it is shown). */
void HideFocusMark();
void ShowFocusMark();

#endif
