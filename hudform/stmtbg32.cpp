/*
** stmtbg32: the printed HUD-1 page backgrounds and signature blocks.
*/
#include "hudform/form_painter.h"
#include "hudform/hudform_exports.h"

using hudform::Geometry;
using hudform::SignaturePlace;

extern "C" BOOL PrintHUD1ABkg(HDC dc, BOOL gdiLines) {
  if (!dc) return FALSE;
  hudform::PaintPrintedPage(dc, Geometry::Page1, gdiLines != FALSE);
  return TRUE;
}

extern "C" BOOL PrintHUD1BStdBkg(HDC dc, BOOL gdiLines) {
  if (!dc) return FALSE;
  hudform::PaintPrintedPage(dc, Geometry::Page2Standard, gdiLines != FALSE);
  return TRUE;
}

extern "C" BOOL PrintHUD1BExtraBkg(HDC dc, BOOL gdiLines) {
  if (!dc) return FALSE;
  hudform::PaintPrintedPage(dc, Geometry::Page2Extended, gdiLines != FALSE);
  return TRUE;
}

extern "C" BOOL PrintHUD1BStdSigBkg(HDC dc) {
  if (!dc) return FALSE;
  hudform::PaintSignatureBlock(dc, SignaturePlace::Page2Standard);
  return TRUE;
}

extern "C" BOOL PrintHUD1BExtraSigBkg(HDC dc) {
  if (!dc) return FALSE;
  hudform::PaintSignatureBlock(dc, SignaturePlace::Page2Extended);
  return TRUE;
}

extern "C" BOOL PrintHUD1CSigBkg(HDC dc) {
  if (!dc) return FALSE;
  hudform::PaintSignaturePageHeading(dc);
  hudform::PaintSignatureBlock(dc, SignaturePlace::Page3);
  return TRUE;
}
