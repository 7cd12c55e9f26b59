/*
** pntfrm32: the statement form behind the fields on screen.
*/
#include "hudform/form_painter.h"
#include "hudform/hudform_exports.h"

extern "C" void PaintRespaBackground(HDC dc, const RECT* rect) {
  if (!dc || !rect) return;
  hudform::PaintScreenForm(dc, *rect);
}
