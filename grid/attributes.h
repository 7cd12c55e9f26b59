/*
** Attributes of rows, columns, cells, headings, labels and the corner: pools of fixed-size
** records addressed by 1-based index (freed indices reused first), colours, fonts, cell
** attribute words, row labels and heights, the grid colours and font, and the rules that
** resolve a cell's colour and font for painting.
*/
#ifndef ZARNE_GRID_ATTRIBUTES_H
#define ZARNE_GRID_ATTRIBUTES_H

#include "grid/tessel_lock.h"

/* A record of a pool (valid until the pool next grows), or NULL for index 0. */
void* PoolRecord(TesselPoolKind kind, uint32_t index);
/* A new zeroed record's index, 0 when the pool cannot grow. */
uint32_t TakePoolRecord(TesselPoolKind kind);
/* Returns a record to its pool; -21 or -22 when the freed stack cannot grow. */
int ReturnPoolRecord(TesselPoolKind kind, uint32_t index);
size_t PoolRecordSize(TesselPoolKind kind);

TesselAttrHead* AttrHead(uint32_t index);
/* Frees a row's head with its cell nodes, colours and fonts. */
void FreeAttrHead(uint32_t index);
/* A copy of a head with copies of everything it holds (0 when none or out of memory). */
uint32_t CopyAttrHead(uint32_t index);
/* Frees the row and cell stores (heads, nodes, their colours and fonts, labels). */
void FreeRowAttributes();
/* Cell nodes follow the columns: delta +1 moves those at or after from up (a column was
   inserted there); -1 frees the nodes of column from and moves later ones down. */
void ShiftCellColumns(int from, int delta);
/* Returns a column's colour and font records (the column is going). */
void FreeColumnAttributes(int column);
/* Frees every pool and the label store. */
void FreeAllAttributes();

/* The grid colours as painting uses them; defaults from the parent when none were set. */
void SetGridColors(const TesselColors* colors);
/* The default colours (the parent's WM_CTLCOLORLISTBOX, else the system ones); the brush
   the parent answered, or NULL. */
HBRUSH ParentListColors(HDC dc, COLORREF* text, COLORREF* background);
bool AnyColorRecords();
/* Resolved colours of a data cell and of a button cell. */
void ResolveCellColors(int row, int column, bool selected, COLORREF* text, COLORREF* background);
bool ResolveButtonColors(int row, int column, bool pressed, COLORREF* text, COLORREF* background);
/* The LOGFONT of a data cell (or heading, label, corner), or NULL when none applies. */
const LOGFONT* ResolveCellFont(int row, int column);
uint16_t CellAttributeWord(int row, int column);
/* Sets a cell's attribute word within a row head given by index (made when 0 and a word is
   set); for rows that are being delivered and have no row number yet. 0, or -21. */
int SetCellWordInHead(uint32_t* head, int column, uint16_t word);
/* The label store: the text at a 1-based offset ("" for none) and appending one (0 when
   the store cannot grow). */
const char* RowLabelAt(uint32_t offset);
uint32_t AppendLabelText(const char* text);
/* A row's label text, "" for none. */
const char* RowLabel(int row);
int RowOwnHeight(int row);
int RowStyleWord(int row);

LRESULT OnSetColors(const TesselColors* colors);
LRESULT OnGetColors(TesselColors* colors);
LRESULT OnAttributeMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
