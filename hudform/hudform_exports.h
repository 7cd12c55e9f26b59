/*
** The exports of the four form libraries, as their callers declare them: the statement
** field layout (stmlay32), the other data fields (auxlay32), the screen form (pntfrm32) and
** the printed page backgrounds (stmtbg32). All have C linkage and are found by name.
*/
#ifndef ZARNE_HUDFORM_HUDFORM_EXPORTS_H
#define ZARNE_HUDFORM_HUDFORM_EXPORTS_H

#include "hudform/layout_records.h"
#include "platform/kernel/wintypes.h"

extern "C" {

/* stmlay32: records 0 to count - 1; an index outside that answers null. */
std::int32_t GetRespaFieldCount();
const RespaLayoutRecord* GetRespaField(std::int16_t index);

/* auxlay32 */
std::int32_t GetOtherFieldCount();
const OtherLayoutRecord* GetOtherField(std::int16_t index);

/* pntfrm32: paints the part of the statement form that meets the rectangle, given in form
   coordinates on a DC already shifted by the window's scroll position. */
void PaintRespaBackground(HDC dc, const RECT* rect);

/* stmtbg32: page backgrounds in the logical units the printout set for the page. With
   gdiLines false nothing is drawn, for printing onto pre-printed forms. */
BOOL PrintHUD1ABkg(HDC dc, BOOL gdiLines);
BOOL PrintHUD1BStdBkg(HDC dc, BOOL gdiLines);
BOOL PrintHUD1BExtraBkg(HDC dc, BOOL gdiLines);
BOOL PrintHUD1BStdSigBkg(HDC dc);
BOOL PrintHUD1BExtraSigBkg(HDC dc);
BOOL PrintHUD1CSigBkg(HDC dc);
}

using PaintRespaBackgroundProc = void (*)(HDC dc, const RECT* rect);
using PrintBackgroundProc = BOOL (*)(HDC dc, BOOL gdiLines);
using PrintSignatureProc = BOOL (*)(HDC dc);

#endif
