/*
** Drop-down grids: a grid of style TSS_DROPDOWN folds to its heading and one row (the
** current row) and opens again to the height it was created with.
*/
#ifndef ZARNE_GRID_DROPDOWN_H
#define ZARNE_GRID_DROPDOWN_H

#include "grid/tessel_lock.h"

/* Opens or closes the locked grid's drop-down: 0, -1 not a drop-down, -13 no height. */
int DropDown(bool open);
void ToggleDropDown();
/* After a style change: an automatic drop-down folds while the grid shows no focus mark
   (outside design mode) and opens otherwise; 0 or -22 when the grid went away. */
int FollowAutomaticDropDown();
/* The grid whose first style is being set as it is created: it folds itself once its
   layout exists, so the style change leaves it alone. */
// Owner: grid.
extern HWND gGridInCreation;
LRESULT OnDropDownMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
