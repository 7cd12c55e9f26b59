/*
** The drawing objects every statement window shares: the form's background bitmap, the
** brush made of it (the window class's background) and the font of the fields and the two
** floating controls. Made once at start-up and deleted when the program ends.
*/
#ifndef ZARNE_STATEMENT_STATEMENT_DRAWING_H
#define ZARNE_STATEMENT_STATEMENT_DRAWING_H

#include "platform/gdi/gdi_types.h"
#include "platform/kernel/wintypes.h"

// Owner: statement.
extern HBITMAP gStatementBitmap;
extern HBRUSH gStatementBrush;
extern HFONT gStatementFont;

/* Bitmap 19000 of the module; its pattern brush, or a light grey one without the bitmap;
   an 11-pixel swiss font. */
void MakeStatementDrawingObjects(HINSTANCE module);
/* Deletes each that exists and forgets it. */
void DeleteStatementDrawingObjects();

#endif
