/*
** The row store: every row record back to back in one moveable block (row n at n x row
** length), each a header (a selection flag with TSS_MULTIROW, then the attribute-head
** index) followed by the column values at their offsets. Inserting, deleting, moving and
** copying rows, the row and cell messages, and re-laying rows when the layout changes.
*/
#ifndef ZARNE_GRID_ROWS_H
#define ZARNE_GRID_ROWS_H

#include "grid/tessel_lock.h"

#include <cstdint>
#include <vector>

/* The row header's size under the current style: 8 with TSS_MULTIROW, else 4. */
uint32_t RowHeaderSize();
/* The address of a row record (valid until the store next grows), or NULL. */
uint8_t* RowAddress(int row);
/* The attribute-head index a row's header holds (0 none). */
uint32_t RowHeadIndex(int row);
void SetRowHeadIndex(int row, uint32_t index);
bool RowSelectedFlag(int row);
void SetRowSelectedFlag(int row, bool selected);

/* Places every column's value (alignment of its type) after a header of headerSize bytes;
   answers the row length, or -24 when a row would pass 65,535 bytes (without store nothing
   changes; with it the offsets before the column that passed are already stored). */
long ComputeValueOffsets(uint32_t headerSize, bool store);

/* How the rows were laid before a change: header size, row length and each column's
   offset and length. */
struct RowLayout {
  uint32_t headerSize;
  uint32_t rowLength;
  std::vector<uint16_t> offsets;
  std::vector<uint16_t> lengths;
};
RowLayout CurrentRowLayout();
/* Puts back the offsets and row length of a layout taken with the same columns. */
void RestoreRowLayout(const RowLayout& layout);
/* Re-lays every row from the old layout to the columns' present one; the value of
   clearedColumn (or none, -1) starts as zeros. -24 past 2^31 - 1 bytes, -21 without memory;
   on failure the rows stay as they were. */
int RelayRows(const RowLayout& old, int clearedColumn);

/* Opens a zeroed record at position (rows from there move down); -1, -21, -22, -24 or 0. */
int MakeRoomForRow(int position);
/* The whole delete of one row with its notifications, repaint and bookkeeping. */
int DeleteOneRow(int row, bool notify, bool freeAttributes);
/* TSM_DELETEALLROWS. */
int DeleteAllRows();
/* Puts a row whose sort-key values changed back at its sorted place (the current row
   follows its record); answers the place. */
long PutRowAtSortedPlace(int row);
/* Any byte of the last row's values is not 0. */
bool LastRowHasData();

LRESULT OnGetRowCount();
LRESULT OnGetRow(WPARAM reference, void* buffer);
LRESULT OnSetRow(WPARAM reference, const void* values);
LRESULT OnInsertRow(WPARAM reference, const void* values);
LRESULT OnDeleteRow(WPARAM reference);
LRESULT OnMoveRow(WPARAM reference, LPARAM target);
LRESULT OnCopyRow(WPARAM reference, LPARAM target);
LRESULT OnGetCell(WPARAM reference, void* buffer);
LRESULT OnSetCell(WPARAM reference, const void* value);
LRESULT OnGetCellRect(WPARAM reference, RECT* rect);
LRESULT OnGetColOffset(WPARAM column);

#endif
