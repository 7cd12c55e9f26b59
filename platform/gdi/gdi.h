/*
** The drawing interface the system's code calls: device contexts, drawing objects, mapping
** modes, clipping, lines, shapes, text and bitmaps, with the names, arguments and failure
** values of the original platform. Printing (printer DCs, documents, device modes) is in
** gdi_print.h; the seam to windows is gdi_surface.h.
**
** Every call runs on the user-interface thread. Handles that are null, deleted or of the
** wrong kind give the platform's failure value (0, FALSE, NULL), never a crash.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_H
#define ZARNE_PLATFORM_GDI_GDI_H

#include "platform/gdi/gdi_types.h"

/* Device contexts. */
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedState);
int GetDeviceCaps(HDC dc, int index);
int GetObjectType(HGDIOBJ object);

/* Drawing objects. */
HGDIOBJ GetStockObject(int index);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
#define CreateFont CreateFontA
HFONT CreateFontIndirectA(const LOGFONT* font);
#define CreateFontIndirect CreateFontIndirectA
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

/* Attributes. */
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int SetROP2(HDC dc, int mode);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

/* Mapping modes and coordinates. */
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous);
BOOL GetWindowExtEx(HDC dc, LPSIZE size);
BOOL GetViewportExtEx(HDC dc, LPSIZE size);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT point);
BOOL GetViewportOrgEx(HDC dc, LPPOINT point);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);

/* Regions and clipping. Regions are in device units. */
HRGN CreateRectRgn(int left, int top, int right, int bottom);
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
BOOL PtInRegion(HRGN region, int x, int y);
int GetRgnBox(HRGN region, LPRECT rect);
int SelectClipRgn(HDC dc, HRGN region);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, LPRECT rect);
BOOL PtVisible(HDC dc, int x, int y);
/* Whether any part of the logical rectangle lies inside the DC's visible (clip) region; on a
   recording DC any non-empty rectangle counts as visible. */
BOOL RectVisible(HDC dc, const RECT* rect);

/* Lines and shapes. */
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

/* Text. Strings are Windows-1252; a count of -1 means NUL-terminated where the platform allows it. */
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
#define TextOut TextOutA
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* advances);
#define ExtTextOut ExtTextOutA
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
#define DrawText DrawTextA
BOOL GetTextMetricsA(HDC dc, LPTEXTMETRIC metrics);
#define GetTextMetrics GetTextMetricsA
BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, LPSIZE size);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
#define GetTextExtentPoint   GetTextExtentPointA
#define GetTextExtentPoint32 GetTextExtentPoint32A
int GetTextFaceA(HDC dc, int size, LPSTR face);
#define GetTextFace GetTextFaceA
BOOL GetCharWidthA(HDC dc, UINT first, UINT last, LPINT widths);
#define GetCharWidth GetCharWidthA

/* Bitmaps. */
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop);
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
#define LoadIcon LoadIconA
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

#endif
