/*
** Column definitions: count, flags, type, length, width, strings, values and edit style,
** the heading text as shown, and the metrics message.
*/
#ifndef ZARNE_GRID_COLUMNS_H
#define ZARNE_GRID_COLUMNS_H

#include "grid/tessel_lock.h"

/* Dialog units to pixels and back, by the horizontal base unit (both truncate). */
int UnitsToPixels(int units);
int PixelsToUnits(int pixels);

/* Creates count default columns after the existing ones (entries, strings, offsets). */
int AppendDefaultColumns(int count);
/* Stores a column's type and the length it imposes; forced skips the refusals that only
   a caller's own length change gets. */
int SetColumnType(int column, uint16_t type);
int SetColumnLength(int column, long length, bool forced);
int SetColumnWidthPixels(int column, int pixels, bool notify);
int SetColumnFlags(int column, uint16_t flags);
/* The heading as TSM_GETCOLHEADING shows it, written into text (at least 201 bytes). */
void ColumnHeadingText(int column, char* text);
/* Copies a string into a caller's buffer of at most limit bytes. */
void CopyOut(char* buffer, const char* text, size_t limit);

LRESULT OnColumnMessage(UINT message, WPARAM wParam, LPARAM lParam);

#endif
