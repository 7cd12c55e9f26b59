/*
** Drawing objects as owned values over the drawing layer's handles.
*/
#include "platform/framework/gdi_objects.h"

const TColor TColor::Black(0, 0, 0);
const TColor TColor::White(255, 255, 255);
const TColor TColor::LtGray(192, 192, 192);
const TColor TColor::Gray(128, 128, 128);
const TColor TColor::LtRed(255, 0, 0);
const TColor TColor::LtGreen(0, 255, 0);
const TColor TColor::LtBlue(0, 0, 255);

TGdiObject::~TGdiObject() {
  if (owned_ && handle_) DeleteObject(handle_);
}

TPen::TPen(const TColor& color, int width, int style)
    : TGdiObject(CreatePen(style, width, color), true) {}

TPen::TPen(const LOGPEN& logPen) : TGdiObject(CreatePenIndirect(&logPen), true) {}

TBrush::TBrush(const TColor& color) : TGdiObject(CreateSolidBrush(color), true) {}

TBrush::TBrush(const TColor& color, int hatchStyle)
    : TGdiObject(CreateHatchBrush(hatchStyle, color), true) {}

TBrush::TBrush(HBITMAP pattern) : TGdiObject(CreatePatternBrush(pattern), true) {}

TFont::TFont(const char* faceName, int height, int width, int escapement, int orientation,
             int weight, BYTE pitchAndFamily, BYTE italic, BYTE underline, BYTE strikeout,
             BYTE charSet, BYTE outputPrecision, BYTE clipPrecision, BYTE quality)
    : TGdiObject(
          CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeout,
                     charSet, outputPrecision, clipPrecision, quality, pitchAndFamily, faceName),
          true) {}

TFont::TFont(const LOGFONT& logFont) : TGdiObject(CreateFontIndirect(&logFont), true) {}

bool TFont::GetObject(LOGFONT& logFont) const {
  return handle_ && ::GetObject(handle_, sizeof logFont, &logFont) == sizeof logFont;
}

TBitmap::TBitmap(HINSTANCE module, int resourceId)
    : TGdiObject(LoadBitmap(module, MAKEINTRESOURCE(resourceId)), true) {}

TBitmap::TBitmap(HDC compatibleWith, int width, int height)
    : TGdiObject(CreateCompatibleBitmap(compatibleWith, width, height), true) {}

int TBitmap::Width() const {
  BITMAP info{};
  return handle_ && ::GetObject(handle_, sizeof info, &info) ? info.bmWidth : 0;
}

int TBitmap::Height() const {
  BITMAP info{};
  return handle_ && ::GetObject(handle_, sizeof info, &info) ? info.bmHeight : 0;
}
