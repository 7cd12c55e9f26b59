/*
** The moveable blocks a grid record holds: allocating and freeing the record with all
** its blocks, copying it whole, the column table's growth and the two string pools
** (format, heading and name of every column; the list items of every column).
*/
#ifndef ZARNE_GRID_RECORD_BLOCKS_H
#define ZARNE_GRID_RECORD_BLOCKS_H

#include "grid/tessel_record.h"

enum ColumnStringKind { kFormatString, kHeadingString, kNameString, kListItemsString };

/* A new zeroed record block, or NULL. */
HGLOBAL AllocateTesselRecord();
/* Frees every block the record holds (not the record block itself) and nulls the handles. */
void FreeRecordBlocks(TesselRecord* record);
/* A new record holding copies of the record's column table, string pools, attribute
   pools and label store (not its rows); NULL when memory runs out. */
HGLOBAL CloneTesselRecord(const TesselRecord* record);

/* Grows (or makes) a block to hold at least bytes, zero-filled; the same or a new handle,
   NULL on failure (the old block stays). */
HGLOBAL GrowBlock(HGLOBAL block, SIZE_T bytes);
/* The column table sized for count columns (steps of 1,024 bytes); -21 or 0. */
int EnsureColumnTable(int count);

/* The locked grid's string of a column (never NULL: "" when missing). */
const char* ColumnString(int column, ColumnStringKind kind);
/* Replaces a column's string; later strings move and their offsets follow; -21 or 0. */
int SetColumnString(int column, ColumnStringKind kind, const char* text);
/* Inserts the empty strings of a new column entry already placed at column; -21 or 0. */
int InsertColumnStrings(int column);
/* Removes the strings of the column about to leave the table. */
void RemoveColumnStrings(int column);

#endif
