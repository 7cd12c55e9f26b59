/*
** The Column Setup dialog's shared state and the helpers its sub-dialogs use.
*/
#ifndef ZARNE_GRID_COLUMN_SETUP_H
#define ZARNE_GRID_COLUMN_SETUP_H

#include "platform/user/winuser.h"

#include <cstdint>

/* Shared by the dialog and its sub-dialogs (passed as their parameter). */
struct ColumnSetupState {
  uint16_t count;    // columns of the grid
  uint16_t current;  // 1-based current column, 0 without columns
  HWND grid;
};

/* One entry of the Type box: name, default data length (0: typed), type code. */
struct ColumnTypeEntry {
  char name[16];
  uint32_t length;
  uint32_t code;
};
/* The 23 types Column Setup offers, made from the grid's type table without TST_BITMAP. */
const ColumnTypeEntry* ColumnTypeList();
#define COLUMN_TYPE_COUNT 23

/* A number field read as unsigned; false with the range message shown (under the dialog's
   caption) when it lies outside [low, high], and the field focused. */
bool ReadRangedField(HWND dialog, int id, const char* fieldName, int low, int high, int* value);
/* A failure message under the dialog's caption, with an OK button and no icon. */
void ShowDialogFailure(HWND dialog, const char* text);
/* Redrawing of the grid off, and on again with a repaint. */
void GridRedraw(HWND grid, bool on);

#endif
