/*
** Draws the form description through the drawing layer: the screen form behind the statement
** fields, and the printed page backgrounds in the page's logical units.
*/
#ifndef ZARNE_HUDFORM_FORM_PAINTER_H
#define ZARNE_HUDFORM_FORM_PAINTER_H

#include "hudform/form_description.h"
#include "platform/kernel/wintypes.h"

namespace hudform {

/* The part of the screen form that meets the rectangle (form pixels). */
void PaintScreenForm(HDC dc, const RECT& rect);
/* A printed page's background; with drawLines false nothing is drawn, since pre-printed
   paper already carries it. */
void PaintPrintedPage(HDC dc, Geometry geometry, bool drawLines);
/* The certification and signature block at its place. */
void PaintSignatureBlock(HDC dc, SignaturePlace place);
/* Page 3's heading; its signature block is drawn separately. */
void PaintSignaturePageHeading(HDC dc);

}  // namespace hudform

#endif
