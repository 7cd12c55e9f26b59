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

LRESULT OnVirtualMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
