/*
** Device contexts as objects: TDC wraps a DC handle with the drawing calls the system's
** code makes; TWindowDC, TClientDC and TPaintDC get and release a window's DC; TMemoryDC
** and TPrintDC create and delete their own. Objects selected through the TDC are put back
** by the Restore calls and when the TDC ends, so no drawing object stays selected in a DC
** that outlives it.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_DC_H
#define ZARNE_PLATFORM_FRAMEWORK_DC_H

#include "platform/framework/gdi_objects.h"
#include "platform/gdi/gdi_print.h"
#include "platform/user/window_types.h"

class TDC {
 public:
  /* Wraps a DC made elsewhere: neither released nor deleted here. */
  explicit TDC(HDC dc) : hdc_(dc) {}
  TDC(const TDC&) = delete;
  TDC& operator=(const TDC&) = delete;
  virtual ~TDC();

  operator HDC() const { return hdc_; }
  HDC GetHDC() const { return hdc_; }
  bool IsValid() const { return hdc_ != nullptr; }

  /* Selection: the first object of each kind selected keeps the DC's original to restore. */
  void SelectObject(const TPen& pen);
  void SelectObject(const TBrush& brush);
  void SelectObject(const TFont& font);
  void SelectObject(const TBitmap& bitmap);
  void RestorePen();
  void RestoreBrush();
  void RestoreFont();
  void RestoreBitmap();
  void RestoreObjects();

  int SaveDC() const { return ::SaveDC(hdc_); }
  bool RestoreDC(int saved = -1) const { return ::RestoreDC(hdc_, saved); }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(hdc_, index); }

  /* Attributes */
  TColor SetTextColor(const TColor& c) { return ::SetTextColor(hdc_, c); }
  TColor GetTextColor() const { return ::GetTextColor(hdc_); }
  TColor SetBkColor(const TColor& c) { return ::SetBkColor(hdc_, c); }
  TColor GetBkColor() const { return ::GetBkColor(hdc_); }
  int SetBkMode(int mode) { return ::SetBkMode(hdc_, mode); }
  UINT SetTextAlign(UINT flags) { return ::SetTextAlign(hdc_, flags); }
  UINT GetTextAlign() const { return ::GetTextAlign(hdc_); }
  int SetROP2(int mode) { return ::SetROP2(hdc_, mode); }

  /* Mapping */
  int SetMapMode(int mode) { return ::SetMapMode(hdc_, mode); }
  int GetMapMode() const { return ::GetMapMode(hdc_); }
  bool SetWindowExt(const TSize& extent, TSize* previous = nullptr);
  bool SetViewportExt(const TSize& extent, TSize* previous = nullptr);
  bool SetViewportOrg(const TPoint& origin, TPoint* previous = nullptr);
  TSize GetWindowExt() const;
  TPoint GetViewportOrg() const;
  bool DPtoLP(TPoint* points, int count = 1) const { return ::DPtoLP(hdc_, points, count); }
  bool LPtoDP(TPoint* points, int count = 1) const { return ::LPtoDP(hdc_, points, count); }

  /* Clipping */
  int GetClipBox(TRect& rect) const { return ::GetClipBox(hdc_, &rect); }
  bool RectVisible(const TRect& rect) const { return ::RectVisible(hdc_, &rect); }
  int IntersectClipRect(const TRect& r) {
    return ::IntersectClipRect(hdc_, r.left, r.top, r.right, r.bottom);
  }

  /* Lines and shapes */
  bool MoveTo(int x, int y) { return ::MoveToEx(hdc_, x, y, nullptr); }
  bool MoveTo(const TPoint& p) { return MoveTo(p.x, p.y); }
  bool LineTo(int x, int y) { return ::LineTo(hdc_, x, y); }
  bool LineTo(const TPoint& p) { return LineTo(p.x, p.y); }
  bool Rectangle(const TRect& r) { return ::Rectangle(hdc_, r.left, r.top, r.right, r.bottom); }
  bool Rectangle(int l, int t, int r, int b) { return ::Rectangle(hdc_, l, t, r, b); }
  bool Ellipse(const TRect& r) { return ::Ellipse(hdc_, r.left, r.top, r.right, r.bottom); }
  bool Polyline(const TPoint* points, int count) { return ::Polyline(hdc_, points, count); }
  bool FillRect(const TRect& r, const TBrush& brush) { return ::FillRect(hdc_, &r, brush) != 0; }
  bool FrameRect(const TRect& r, const TBrush& brush) { return ::FrameRect(hdc_, &r, brush) != 0; }
  bool InvertRect(const TRect& r) { return ::InvertRect(hdc_, &r); }
  bool DrawFocusRect(const TRect& r) { return ::DrawFocusRect(hdc_, &r); }
  TColor SetPixel(const TPoint& p, const TColor& c) { return ::SetPixel(hdc_, p.x, p.y, c); }
  TColor GetPixel(const TPoint& p) const { return ::GetPixel(hdc_, p.x, p.y); }

  /* Text; a count of -1 means the whole NUL-terminated text. */
  bool TextOut(int x, int y, const char* text, int count = -1);
  bool TextOut(const TPoint& p, const char* text, int count = -1) {
    return TextOut(p.x, p.y, text, count);
  }
  /* Text with ETO_OPAQUE / ETO_CLIPPED over `rect` (may be null) and optional advances. */
  bool ExtTextOut(int x, int y, UINT options, const TRect* rect, const char* text, int count = -1,
                  const int* dx = nullptr);
  bool ExtTextOut(const TPoint& p, UINT options, const TRect* rect, const char* text,
                  int count = -1, const int* dx = nullptr) {
    return ExtTextOut(p.x, p.y, options, rect, text, count, dx);
  }
  int DrawText(const char* text, int count, const TRect& rect, UINT format);
  bool GetTextMetrics(TEXTMETRIC& metrics) const { return ::GetTextMetrics(hdc_, &metrics); }

  /* Bitmaps */
  bool BitBlt(const TRect& dst, const TDC& src, const TPoint& srcOrigin, DWORD rop = SRCCOPY);
  bool BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, DWORD rop = SRCCOPY);
  bool StretchBlt(const TRect& dst, const TDC& src, const TRect& srcRect, DWORD rop = SRCCOPY);
  bool PatBlt(const TRect& r, DWORD rop = PATCOPY);

 protected:
  TDC() : hdc_(nullptr) {}
  HDC hdc_;

 private:
  void Remember(HGDIOBJ previous, HGDIOBJ& slot);
  HGDIOBJ origPen_ = nullptr;
  HGDIOBJ origBrush_ = nullptr;
  HGDIOBJ origFont_ = nullptr;
  HGDIOBJ origBitmap_ = nullptr;
};

/* The DC of the whole window (GetWindowDC), released at the end. */
class TWindowDC : public TDC {
 public:
  explicit TWindowDC(HWND hwnd);
  ~TWindowDC() override;

 protected:
  HWND hwnd_;
};

/* The DC of a window's client area (GetDC), released at the end. */
class TClientDC : public TDC {
 public:
  explicit TClientDC(HWND hwnd);
  ~TClientDC() override;

 private:
  HWND hwnd_;
};

/* The DC of one WM_PAINT (BeginPaint ... EndPaint); Ps holds the paint record. */
class TPaintDC : public TDC {
 public:
  explicit TPaintDC(HWND hwnd);
  ~TPaintDC() override;
  PAINTSTRUCT Ps;

 private:
  HWND hwnd_;
};

/* A memory DC compatible with another DC (or with the screen), deleted at the end. */
class TMemoryDC : public TDC {
 public:
  TMemoryDC();
  explicit TMemoryDC(const TDC& compatibleWith);
  ~TMemoryDC() override;
};

/* A printer DC made from driver, device and port names and a device mode, deleted at the end,
** with the print-job calls. */
class TPrintDC : public TDC {
 public:
  TPrintDC(const char* driver, const char* device, const char* output, const DEVMODE* mode);
  /* Takes over a printer DC made elsewhere (and deletes it). */
  explicit TPrintDC(HDC printerDC);
  ~TPrintDC() override;

  int StartDoc(const char* documentName, const char* output = nullptr);
  int StartPage() { return ::StartPage(hdc_); }
  int EndPage() { return ::EndPage(hdc_); }
  int EndDoc() { return ::EndDoc(hdc_); }
  int AbortDoc() { return ::AbortDoc(hdc_); }
  int SetAbortProc(ABORTPROC proc) { return ::SetAbortProc(hdc_, proc); }
};

#endif
