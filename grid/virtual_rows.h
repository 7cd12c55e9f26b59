/*
** Virtual rows (TSS_VIRTUALMEM after TSM_SETVIRTUAL): the grid keeps one window of rows in
** its row store and asks the owner for rows as it pages. Row n of the grid is buffer
** position n - top row; the owner's key of each position is kept in its attribute head.
*/
#ifndef ZARNE_GRID_VIRTUAL_ROWS_H
#define ZARNE_GRID_VIRTUAL_ROWS_H

#include "grid/tessel_lock.h"

#include <cstdint>

bool VirtualActive();
/* The buffer position of a row, -1 when it is not buffered. */
int VirtualSlotOfRow(int row);
/* The record at a buffer position, or NULL past the delivered rows. */
uint8_t* VirtualSlotAddress(int slot);
/* The buffer made large enough for the rows that fit (it never shrinks). */
void EnsureVirtualBuffer();

int LoadFirstPage(bool force);
/* After the window or font changed how many rows fit: a taller grid refills from the top
   row, a lower one drops the buffered rows that no longer fit. */
void FitVirtualBuffer();
int LoadLastPage();
/* The top row moved to row by paging: 0, or -28 when the owner did not deliver it. */
int VirtualSetTopRow(int row);
/* Brings a row into the buffer: above it becomes the top, below it the bottom row. */
int VirtualEnsureVisible(int row);
/* Scroll-bar input in virtual mode. */
void VirtualScroll(int code, int position);
/* Movement keys in virtual mode; false for keys it leaves to the common handling. */
bool VirtualMovementKey(int key, bool ctrl);

/* Room for a new row at *position (scrolled into the buffer first when it is not there):
   the buffered rows from there move down one slot and are renumbered. key is the new row's
   key with owner-fetched rows. Answers the new row's slot (its number in *position), or
   an error: -1 without columns, -5 when the position cannot be brought in, -22 gone. */
int MakeVirtualRoom(int* position, int32_t key);
/* Closes a row's slot: later rows move up and are renumbered, the freed last slot is asked
   of the owner. 0, or -22 when the grid went away during a request. */
int RemoveVirtualRow(int row);
/* The attribute head of a buffered row, for a row that travels to another slot. */
uint32_t VirtualRowHead(int row);
void SetVirtualRowHead(int slot, uint32_t head, int32_t key);

/* Owner-fetched rows are shown by buffer position: the row (the owner's key) painted at a
   screen row (-1 past the buffer), and the screen row a row shows at (-1 when it is not
   buffered). Other grids show row numbers as they are. */
int PaintedRow(int screenRow);
int ScreenRowOf(int row);

LRESULT OnVirtualMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
