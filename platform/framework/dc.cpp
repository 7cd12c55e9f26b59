/*
** Device contexts as objects over the drawing and painting calls.
*/
#include "platform/framework/dc.h"

#include "platform/user/painting.h"

#include <cstring>

TDC::~TDC() { RestoreObjects(); }

void TDC::Remember(HGDIOBJ previous, HGDIOBJ& slot) {
  if (!slot) slot = previous;
}

void TDC::SelectObject(const TPen& pen) {
  Remember(::SelectObject(hdc_, pen.GetHandle()), origPen_);
}
void TDC::SelectObject(const TBrush& brush) {
  Remember(::SelectObject(hdc_, brush.GetHandle()), origBrush_);
}
void TDC::SelectObject(const TFont& font) {
  Remember(::SelectObject(hdc_, font.GetHandle()), origFont_);
}
void TDC::SelectObject(const TBitmap& bitmap) {
  Remember(::SelectObject(hdc_, bitmap.GetHandle()), origBitmap_);
}

static void PutBack(HDC dc, HGDIOBJ& slot) {
  if (slot && dc) ::SelectObject(dc, slot);
  slot = nullptr;
}

void TDC::RestorePen() { PutBack(hdc_, origPen_); }
void TDC::RestoreBrush() { PutBack(hdc_, origBrush_); }
void TDC::RestoreFont() { PutBack(hdc_, origFont_); }
void TDC::RestoreBitmap() { PutBack(hdc_, origBitmap_); }

void TDC::RestoreObjects() {
  RestorePen();
  RestoreBrush();
  RestoreFont();
  RestoreBitmap();
}

bool TDC::SetWindowExt(const TSize& extent, TSize* previous) {
  return ::SetWindowExtEx(hdc_, extent.cx, extent.cy, previous);
}
bool TDC::SetViewportExt(const TSize& extent, TSize* previous) {
  return ::SetViewportExtEx(hdc_, extent.cx, extent.cy, previous);
}
bool TDC::SetViewportOrg(const TPoint& origin, TPoint* previous) {
  return ::SetViewportOrgEx(hdc_, origin.x, origin.y, previous);
}
TSize TDC::GetWindowExt() const {
  TSize s;
  ::GetWindowExtEx(hdc_, &s);
  return s;
}
TPoint TDC::GetViewportOrg() const {
  TPoint p;
  ::GetViewportOrgEx(hdc_, &p);
  return p;
}

bool TDC::TextOut(int x, int y, const char* text, int count) {
  if (!text) return false;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return ::TextOut(hdc_, x, y, text, count);
}

bool TDC::ExtTextOut(int x, int y, UINT options, const TRect* rect, const char* text, int count,
                     const int* dx) {
  if (!text) return false;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return ::ExtTextOut(hdc_, x, y, options, rect, text, static_cast<UINT>(count), dx);
}

int TDC::DrawText(const char* text, int count, const TRect& rect, UINT format) {
  if (!text) return 0;
  TRect r(rect);
  return ::DrawText(hdc_, text, count, &r, format);
}

bool TDC::BitBlt(const TRect& dst, const TDC& src, const TPoint& srcOrigin, DWORD rop) {
  return ::BitBlt(hdc_, dst.left, dst.top, dst.Width(), dst.Height(), src, srcOrigin.x, srcOrigin.y,
                  rop);
}
bool TDC::BitBlt(int x, int y, int w, int h, const TDC& src, int sx, int sy, DWORD rop) {
  return ::BitBlt(hdc_, x, y, w, h, src, sx, sy, rop);
}
bool TDC::StretchBlt(const TRect& dst, const TDC& src, const TRect& s, DWORD rop) {
  return ::StretchBlt(hdc_, dst.left, dst.top, dst.Width(), dst.Height(), src, s.left, s.top,
                      s.Width(), s.Height(), rop);
}
bool TDC::PatBlt(const TRect& r, DWORD rop) {
  return ::PatBlt(hdc_, r.left, r.top, r.Width(), r.Height(), rop);
}

TWindowDC::TWindowDC(HWND hwnd) : hwnd_(hwnd) { hdc_ = GetWindowDC(hwnd); }
TWindowDC::~TWindowDC() {
  RestoreObjects();
  if (hdc_) ReleaseDC(hwnd_, hdc_);
}

TClientDC::TClientDC(HWND hwnd) : hwnd_(hwnd) { hdc_ = GetDC(hwnd); }
TClientDC::~TClientDC() {
  RestoreObjects();
  if (hdc_) ReleaseDC(hwnd_, hdc_);
}

TPaintDC::TPaintDC(HWND hwnd) : Ps{}, hwnd_(hwnd) { hdc_ = BeginPaint(hwnd, &Ps); }
TPaintDC::~TPaintDC() {
  RestoreObjects();
  if (hdc_) EndPaint(hwnd_, &Ps);
}

TMemoryDC::TMemoryDC() { hdc_ = CreateCompatibleDC(nullptr); }
TMemoryDC::TMemoryDC(const TDC& compatibleWith) { hdc_ = CreateCompatibleDC(compatibleWith); }
TMemoryDC::~TMemoryDC() {
  RestoreObjects();
  if (hdc_) DeleteDC(hdc_);
}

TPrintDC::TPrintDC(const char* driver, const char* device, const char* output,
                   const DEVMODE* mode) {
  hdc_ = CreateDC(driver, device, output, mode);
}
TPrintDC::TPrintDC(HDC printerDC) { hdc_ = printerDC; }
TPrintDC::~TPrintDC() {
  RestoreObjects();
  if (hdc_) DeleteDC(hdc_);
}

int TPrintDC::StartDoc(const char* documentName, const char* output) {
  DOCINFO info{};
  info.cbSize = sizeof info;
  info.lpszDocName = documentName;
  info.lpszOutput = output;
  return ::StartDoc(hdc_, &info);
}
