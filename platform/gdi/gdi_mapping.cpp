/*
** Mapping modes: how logical coordinates become device units through the window and
** viewport origins and extents, and the calls that set and read them.
*/
#include "platform/gdi/gdi_internal.h"

#include <cmath>
#include <cstdlib>

namespace zarne::gdi {

namespace {

/* Logical units per inch of the fixed mapping modes; 0 for the others. */
int UnitsPerInch(int mode) {
  switch (mode) {
    case MM_LOMETRIC: return 254;
    case MM_HIMETRIC: return 2540;
    case MM_LOENGLISH: return 100;
    case MM_HIENGLISH: return 1000;
    case MM_TWIPS: return 1440;
    default: return 0;
  }
}

LONG RoundHalfUp(double value) { return static_cast<LONG>(std::floor(value + 0.5)); }

/* In the isotropic mode one logical unit has the same size on both axes: the viewport
   extent of the axis with the larger scale shrinks to match the other. */
void KeepIsotropic(DcState& s) {
  if (s.mapMode != MM_ISOTROPIC || !s.windowExt.cx || !s.windowExt.cy) return;
  double scaleX = std::abs(static_cast<double>(s.viewportExt.cx) / s.windowExt.cx);
  double scaleY = std::abs(static_cast<double>(s.viewportExt.cy) / s.windowExt.cy);
  if (scaleX > scaleY) {
    LONG magnitude = RoundHalfUp(std::abs(s.windowExt.cx) * scaleY);
    s.viewportExt.cx = s.viewportExt.cx < 0 ? -magnitude : magnitude;
  } else if (scaleY > scaleX) {
    LONG magnitude = RoundHalfUp(std::abs(s.windowExt.cy) * scaleX);
    s.viewportExt.cy = s.viewportExt.cy < 0 ? -magnitude : magnitude;
  }
}

bool ScalableMode(const DcState& s) {
  return s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC;
}

}  // namespace

double ScaleX(const DcState& s) {
  return s.windowExt.cx ? static_cast<double>(s.viewportExt.cx) / s.windowExt.cx : 1.0;
}

double ScaleY(const DcState& s) {
  return s.windowExt.cy ? static_cast<double>(s.viewportExt.cy) / s.windowExt.cy : 1.0;
}

QPointF LogicalToDevice(const DcState& s, double x, double y) {
  return QPointF((x - s.windowOrg.x) * ScaleX(s) + s.viewportOrg.x,
                 (y - s.windowOrg.y) * ScaleY(s) + s.viewportOrg.y);
}

QPointF DeviceToLogical(const DcState& s, double x, double y) {
  return QPointF((x - s.viewportOrg.x) / ScaleX(s) + s.windowOrg.x,
                 (y - s.viewportOrg.y) / ScaleY(s) + s.windowOrg.y);
}

QPoint LogicalToDevicePoint(const DcState& s, int x, int y) {
  QPointF device = LogicalToDevice(s, x, y);
  return QPoint(static_cast<int>(RoundHalfUp(device.x())),
                static_cast<int>(RoundHalfUp(device.y())));
}

QRect LogicalRectToDevice(const DcState& s, int left, int top, int right, int bottom) {
  QPoint a = LogicalToDevicePoint(s, left, top);
  QPoint b = LogicalToDevicePoint(s, right, bottom);
  int x0 = std::min(a.x(), b.x()), x1 = std::max(a.x(), b.x());
  int y0 = std::min(a.y(), b.y()), y1 = std::max(a.y(), b.y());
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

RECT DeviceRectToLogical(const DcState& s, const QRect& r) {
  QPointF a = DeviceToLogical(s, r.left(), r.top());
  QPointF b = DeviceToLogical(s, r.left() + r.width(), r.top() + r.height());
  RECT out;
  out.left = RoundHalfUp(std::min(a.x(), b.x()));
  out.right = RoundHalfUp(std::max(a.x(), b.x()));
  // Keep the logical top where the device top is, so y-up modes give top > bottom.
  out.top = RoundHalfUp(a.y());
  out.bottom = RoundHalfUp(b.y());
  return out;
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

int SetMapMode(HDC handle, int mode) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  DcState& s = dc->state;
  int previous = s.mapMode;
  s.mapMode = mode;
  if (mode == MM_TEXT) {
    s.windowExt = {1, 1};
    s.viewportExt = {1, 1};
  } else if (int perInch = UnitsPerInch(mode)) {
    // y grows upward in every fixed mode other than MM_TEXT.
    s.windowExt = {perInch, perInch};
    s.viewportExt = {dc->dpiX, -dc->dpiY};
  }
  KeepIsotropic(s);  // the scalable modes keep the extents they inherit
  return previous;
}

int GetMapMode(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->state.mapMode : 0;
}

BOOL SetWindowExtEx(HDC handle, int x, int y, LPSIZE previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.windowExt;
  if (!ScalableMode(dc->state)) return TRUE;  // ignored in the fixed modes
  if (x == 0 || y == 0) return FALSE;
  dc->state.windowExt = {x, y};
  KeepIsotropic(dc->state);
  return TRUE;
}

BOOL SetViewportExtEx(HDC handle, int x, int y, LPSIZE previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportExt;
  if (!ScalableMode(dc->state)) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  dc->state.viewportExt = {x, y};
  KeepIsotropic(dc->state);
  return TRUE;
}

BOOL GetWindowExtEx(HDC handle, LPSIZE size) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !size) return FALSE;
  *size = dc->state.windowExt;
  return TRUE;
}

BOOL GetViewportExtEx(HDC handle, LPSIZE size) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !size) return FALSE;
  *size = dc->state.viewportExt;
  return TRUE;
}

BOOL SetWindowOrgEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.windowOrg;
  dc->state.windowOrg = {x, y};
  return TRUE;
}

BOOL SetViewportOrgEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportOrg;
  dc->state.viewportOrg = {x, y};
  return TRUE;
}

BOOL GetWindowOrgEx(HDC handle, LPPOINT point) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !point) return FALSE;
  *point = dc->state.windowOrg;
  return TRUE;
}

BOOL GetViewportOrgEx(HDC handle, LPPOINT point) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !point) return FALSE;
  *point = dc->state.viewportOrg;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC handle, int dx, int dy, LPPOINT previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  POINT org = dc->state.viewportOrg;
  return SetViewportOrgEx(handle, org.x + dx, org.y + dy, previous);
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || (!points && count > 0) || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) {
    QPointF logical = DeviceToLogical(dc->state, points[i].x, points[i].y);
    points[i] = {RoundHalfUp(logical.x()), RoundHalfUp(logical.y())};
  }
  return TRUE;
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || (!points && count > 0) || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) {
    QPoint device = LogicalToDevicePoint(dc->state, points[i].x, points[i].y);
    points[i] = {device.x(), device.y()};
  }
  return TRUE;
}
