/*
** Recording device contexts for tests: every drawing call is kept with its logical
** coordinates, text, font and colours, while text metrics and extents are answered as on a
** screen DC (96 dpi). A recording DC draws nothing; GdiStartRecording makes any other DC
** record as well as draw.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_RECORDING_H
#define ZARNE_PLATFORM_GDI_GDI_RECORDING_H

#include "platform/gdi/gdi_types.h"

#include <string>
#include <vector>

struct GdiDrawRecord {
  std::string call;           // the function's name: "TextOut", "LineTo", "Rectangle", ...
  std::vector<POINT> points;  // logical points in call order (line ends, text reference point)
  RECT rect{0, 0, 0, 0};      // logical rectangle of calls that take one
  std::string text;           // Windows-1252, as passed
  UINT flags = 0;             // text alignment, ExtTextOut options, DrawText format or ROP
  std::string fontFace;       // the selected logical font
  LONG fontHeight = 0;
  LONG fontWeight = 0;
  bool fontItalic = false;
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  int bkMode = 0;
  COLORREF penColor = 0;
  int penStyle = 0;
  COLORREF brushColor = 0;
  int brushStyle = 0;
  int rop2 = 0;
  int mapMode = 0;
  SIZE windowExt{0, 0};  // the mapping's extents when the call was made
  SIZE viewportExt{0, 0};
};

/* A DC that only records. Delete it with DeleteDC. */
HDC GdiCreateRecordingDC();
/* Makes any live DC record its drawing from now on; FALSE for a bad handle. */
BOOL GdiStartRecording(HDC dc);
/* The calls recorded so far (empty for a DC that does not record). */
std::vector<GdiDrawRecord> GdiRecordedCalls(HDC dc);
void GdiClearRecording(HDC dc);

#endif
