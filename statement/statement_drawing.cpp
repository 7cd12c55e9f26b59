/*
** Making and deleting the statement's shared drawing objects.
*/
#include "statement/statement_drawing.h"

#include "platform/gdi/gdi.h"

HBITMAP gStatementBitmap = nullptr;
HBRUSH gStatementBrush = nullptr;
HFONT gStatementFont = nullptr;

namespace {
constexpr int kStatementBitmapId = 19000;
constexpr COLORREF kLightGrey = 0xC0C0C0;
constexpr int kFieldFontHeight = -11;
constexpr BYTE kSwissFamily = 0x20;
}  // namespace

void MakeStatementDrawingObjects(HINSTANCE module) {
  gStatementBitmap = LoadBitmap(module, MAKEINTRESOURCE(kStatementBitmapId));
  gStatementBrush =
      gStatementBitmap ? CreatePatternBrush(gStatementBitmap) : CreateSolidBrush(kLightGrey);
  gStatementFont = CreateFont(kFieldFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              ANSI_CHARSET, 0, 0, 0, kSwissFamily, "");
}

void DeleteStatementDrawingObjects() {
  if (gStatementBrush) DeleteObject(gStatementBrush);
  if (gStatementBitmap) DeleteObject(gStatementBitmap);
  if (gStatementFont) DeleteObject(gStatementFont);
  gStatementBrush = nullptr;
  gStatementBitmap = nullptr;
  gStatementFont = nullptr;
}
