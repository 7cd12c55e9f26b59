/*
** Drawing shared by the dialog's standard controls (buttons, statics): the colours a control
** asks its parent for, 3-D edges, etched frames, text in the control's font, and the outline
** mask that lets a group box or frame drawn around other controls leave them visible.
*/
#ifndef ZARNE_PLATFORM_USER_DIALOG_PAINT_H
#define ZARNE_PLATFORM_USER_DIALOG_PAINT_H

#include "platform/gdi/gdi.h"
#include "platform/user/window_types.h"

#include <string>

/* Asks the parent with `ctlColorMessage` (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC ...) for the
** brush; the colours it leaves in the DC are the ones to draw with. Never null. */
HBRUSH ControlBackgroundBrush(HWND control, HDC dc, UINT ctlColorMessage);

/* Bevels: raised (light top-left, dark bottom-right) or sunken, two pixels deep. */
void DrawBevel(HDC dc, const RECT& rect, bool sunken);
/* A one-pixel rectangle outline in a colour. */
void DrawOutline(HDC dc, const RECT& rect, COLORREF color);
/* The etched line pair (shadow, then highlight one pixel in) around a rectangle. */
void DrawEtchedFrame(HDC dc, const RECT& rect);
void FillSolid(HDC dc, const RECT& rect, COLORREF color);

/* Selects the control's font (WM_GETFONT, else the system font); answers the previous one. */
HGDIOBJ SelectControlFont(HWND control, HDC dc);
/* The window's text as the interface gives it. */
std::string ControlText(HWND control);

/* Limits what the control shows and where it takes clicks to a band of `thickness` pixels
** along its edges plus `keep` (client coordinates; may be empty). */
void MaskControlToOutline(HWND control, int top, int thickness, const RECT& keep);

#endif
