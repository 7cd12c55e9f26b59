/*
** The screen form behind the statement's fields, drawn once into tiles shared by every
** statement window and copied from them on each paint. The form is the same for every file:
** drawing its captions again on each open cost more than reading the file's records.
*/
#ifndef ZARNE_STATEMENT_FORM_BACKGROUND_H
#define ZARNE_STATEMENT_FORM_BACKGROUND_H

#include "platform/kernel/wintypes.h"

/* The pixels the form painter draws for the rectangle (form pixels; like the painter, its
   right and bottom edges are painted too), copied from the tiles the rectangle meets. */
void PaintFormBackground(HDC dc, const RECT& rect);
/* Deletes the tiles; the next paint draws them again. */
void DeleteFormBackgroundTiles();

#endif
