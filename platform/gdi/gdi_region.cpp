/*
** Regions and clipping. Regions hold device units; a DC's clip region is kept in its own
** device units and combined with the surface's clip when it paints.
*/
#include "platform/gdi/gdi_internal.h"

namespace zarne::gdi {

namespace {

int RegionType(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect NormalisedRect(int left, int top, int right, int bottom) {
  return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
               QSize(std::abs(right - left), std::abs(bottom - top)));
}

/* Narrows or widens a DC's clip region; a DC without one starts from its whole surface. */
int ChangeClip(HDC handle, int left, int top, int right, int bottom, bool exclude) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return ERROR;
  QRegion current =
      dc->state.clip ? *dc->state.clip : QRegion(QRect(QPoint(0, 0), DeviceSize(*dc)));
  QRegion rect(LogicalRectToDevice(dc->state, left, top, right, bottom));
  dc->state.clip = exclude ? current.subtracted(rect) : current.intersected(rect);
  return RegionType(VisibleDeviceRegion(*dc));
}

}  // namespace

}  // namespace zarne::gdi

using namespace zarne::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto object = std::make_unique<GdiObject>();
  object->kind = ObjectKind::Region;
  object->region = QRegion(NormalisedRect(left, top, right, bottom));
  return static_cast<HRGN>(RegisterObject(std::move(object)));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  GdiObject* target = LiveObject(destination, ObjectKind::Region);
  GdiObject* first = LiveObject(source1, ObjectKind::Region);
  GdiObject* second = mode == RGN_COPY ? first : LiveObject(source2, ObjectKind::Region);
  if (!target || !first || !second) return ERROR;
  QRegion result;
  switch (mode) {
    case RGN_AND: result = first->region.intersected(second->region); break;
    case RGN_OR: result = first->region.united(second->region); break;
    case RGN_XOR: result = first->region.xored(second->region); break;
    case RGN_DIFF: result = first->region.subtracted(second->region); break;
    case RGN_COPY: result = first->region; break;
    default: return ERROR;
  }
  target->region = result;
  return RegionType(result);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  GdiObject* object = LiveObject(region, ObjectKind::Region);
  return object && object->region.contains(QPoint(x, y)) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
  GdiObject* object = LiveObject(region, ObjectKind::Region);
  if (!object || !rect) return ERROR;
  QRect box = object->region.boundingRect();
  *rect = RECT{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
  return RegionType(object->region);
}

int SelectClipRgn(HDC handle, HRGN region) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return ERROR;
  if (!region) {
    dc->state.clip.reset();  // a null region removes the DC's clipping
    return RegionType(VisibleDeviceRegion(*dc));
  }
  GdiObject* object = LiveObject(region, ObjectKind::Region);
  if (!object) return ERROR;
  dc->state.clip = object->region;  // the DC keeps a copy; the region may be deleted
  return RegionType(VisibleDeviceRegion(*dc));
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  return ChangeClip(handle, left, top, right, bottom, false);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
  return ChangeClip(handle, left, top, right, bottom, true);
}

int GetClipBox(HDC handle, LPRECT rect) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect) return ERROR;
  QRegion visible = VisibleDeviceRegion(*dc);
  *rect = DeviceRectToLogical(dc->state, visible.boundingRect());
  return RegionType(visible);
}

BOOL PtVisible(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  return VisibleDeviceRegion(*dc).contains(LogicalToDevicePoint(dc->state, x, y)) ? TRUE : FALSE;
}

BOOL RectVisible(HDC handle, const RECT* rect) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect) return FALSE;
  QRect device = LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom);
  if (device.isEmpty()) return FALSE;
  // A recording DC keeps every call wherever it lands, so nothing may be skipped on it.
  if (dc->kind == DcKind::Recording) return TRUE;
  return VisibleDeviceRegion(*dc).intersects(device) ? TRUE : FALSE;
}
