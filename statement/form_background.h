/*
** The statement form's background on screen, drawn once and copied from then on. The form's
** lines, boxes and captions do not change while the program runs (fixed pixel fonts at the
** screen's fixed resolution, black on white), so every statement window shares one picture
** of it, made band by band as the windows first show each band. A paint copies the update's
** part of it, which costs a fraction of laying out the captions again. At most the whole
** paper at 32 bits a pixel is held.
*/
#ifndef ZARNE_STATEMENT_FORM_BACKGROUND_H
#define ZARNE_STATEMENT_FORM_BACKGROUND_H

#include "platform/kernel/wintypes.h"

/* Paints the part of the screen form that meets the rectangle (form coordinates on a DC
   shifted by the window's scroll position): the same pixels pntfrm32 draws there. */
void PaintFormBackground(HDC dc, const RECT& rect);
/* Frees the picture; the next paint draws it again. */
void ReleaseFormBackground();

#endif
