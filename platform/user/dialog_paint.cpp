/*
** Drawing shared by the standard controls: parent colours, bevels, etched frames, fonts and
** outline masks.
*/
#include "platform/user/dialog_paint.h"

#include "platform/user/message_queue.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QRegion>

#include <vector>

HBRUSH ControlBackgroundBrush(HWND control, HDC dc, UINT ctlColorMessage) {
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  HWND parent = GetParent(control);
  HBRUSH brush = nullptr;
  if (parent)
    brush = reinterpret_cast<HBRUSH>(SendMessage(
        parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(DefWindowProc(
        control, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  return brush ? brush : reinterpret_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

namespace {

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

/* One pixel ring: `topLeft` along the top and left edges, `bottomRight` along the others. */
void Ring(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  Line(dc, r.left, r.bottom - 1, r.left, r.top, topLeft);
  Line(dc, r.left, r.top, r.right - 1, r.top, topLeft);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, bottomRight);
  Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, bottomRight);
}

}  // namespace

void DrawBevel(HDC dc, const RECT& rect, bool sunken) {
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), lighter = GetSysColor(COLOR_3DLIGHT);
  COLORREF dark = GetSysColor(COLOR_3DDKSHADOW), shadow = GetSysColor(COLOR_BTNSHADOW);
  RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  if (sunken) {
    Ring(dc, rect, shadow, light);
    Ring(dc, inner, dark, lighter);
  } else {
    Ring(dc, rect, light, dark);
    Ring(dc, inner, lighter, shadow);
  }
}

void DrawOutline(HDC dc, const RECT& rect, COLORREF color) { Ring(dc, rect, color, color); }

void DrawEtchedFrame(HDC dc, const RECT& rect) {
  RECT outer{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  RECT inner{rect.left + 1, rect.top + 1, rect.right, rect.bottom};
  DrawOutline(dc, inner, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawOutline(dc, outer, GetSysColor(COLOR_BTNSHADOW));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

HGDIOBJ SelectControlFont(HWND control, HDC dc) {
  auto font = reinterpret_cast<HGDIOBJ>(SendMessage(control, WM_GETFONT, 0, 0));
  return SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
}

std::string ControlText(HWND control) {
  int length = GetWindowTextLength(control);
  std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
  GetWindowText(control, buffer.data(), length + 1);
  return buffer.data();
}

void MaskControlToOutline(HWND control, int top, int thickness, const RECT& keep) {
  WindowPtr window = FindWindowObject(control);
  if (!window || !window->frame) return;
  int width = RectWidth(window->rect), height = RectHeight(window->rect);
  QRegion outline(0, top, width, std::max(height - top, 0));
  outline -= QRegion(thickness, top + thickness, std::max(width - 2 * thickness, 0),
                     std::max(height - top - 2 * thickness, 0));
  if (keep.right > keep.left && keep.bottom > keep.top)
    outline += QRegion(keep.left, keep.top, RectWidth(keep), RectHeight(keep));
  window->frame->setMask(outline);
}
