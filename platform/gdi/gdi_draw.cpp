/*
** Lines, shapes, rectangles and pixels: each call maps its logical coordinates to device
** units, paints with the DC's pen, brush and binary raster operation, and reports itself to
** a recording DC.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_surface.h"

#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace zarne::gdi {

namespace {

/* The classic default colours of the system colour indexes, for brushes given as
   (HBRUSH)(COLOR_xxx + 1) when no window layer supplies its own. */
COLORREF ClassicSystemColor(int index) {
  static constexpr std::array<COLORREF, 25> kColors = {
      RGB(192, 192, 192), RGB(0, 0, 128),     RGB(0, 0, 128),     RGB(128, 128, 128),
      RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
      RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),
      RGB(255, 255, 225)};
  return index >= 0 && index < static_cast<int>(kColors.size()) ? kColors[index] : RGB(0, 0, 0);
}

// Owner: platform/gdi.
SystemColorProvider gSystemColors = ClassicSystemColor;

GdiDrawRecord RecordOf(const char* call, std::initializer_list<POINT> points) {
  GdiDrawRecord record;
  record.call = call;
  record.points = points;
  return record;
}

GdiDrawRecord RecordOfRect(const char* call, const RECT& rect) {
  GdiDrawRecord record;
  record.call = call;
  record.rect = rect;
  return record;
}

/* The pixels a solid one-pixel line along an axis covers, as a filled rectangle: the same
   pixels Qt's line drawer sets (from the lower coordinate up to, not including, the higher
   one, whichever way the line runs), at a fraction of its cost. */
QRect AxisRun(QPoint from, QPoint to) {
  if (from.y() == to.y())
    return QRect(std::min(from.x(), to.x()), from.y(), std::abs(to.x() - from.x()), 1);
  return QRect(from.x(), std::min(from.y(), to.y()), 1, std::abs(to.y() - from.y()));
}

/* A dotted or dashed pen in OPAQUE mode fills its gaps with the background colour: the
   line is drawn solid in that colour first, then the pen's dashes over it. */
template <typename Stroke>
void StrokeWithGaps(QPainter& painter, const DeviceContext& dc, const QPen& pen, Stroke stroke) {
  if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen && dc.state.bkMode == OPAQUE) {
    QPen gaps = pen;
    gaps.setStyle(Qt::SolidLine);
    gaps.setColor(ColorOf(dc.state.bkColor));
    painter.setPen(gaps);
    stroke();
  }
  painter.setPen(pen);
  stroke();
}

void StrokeSegment(DcPainter& painter, const DeviceContext& dc, QPoint from, QPoint to) {
  QPen pen = QPenOf(dc, dc.state.pen);
  if (pen.style() == Qt::NoPen) return;
  // Only on pixels: a printer's line straddles its coordinate rather than filling below it.
  if (painter.raster() && pen.style() == Qt::SolidLine && pen.width() == 1 &&
      dc.state.rop2 == R2_COPYPEN && (from.x() == to.x() || from.y() == to.y())) {
    if (from != to) painter.fillRect(AxisRun(from, to), QBrush(pen.color()));
    return;
  }
  if (!painter.applyRop2(dc.state.rop2, &pen, nullptr)) return;
  // With flat caps the line covers [from, to): its last pixel is left out, as on the
  // platform, so joined segments and XOR lines meet cleanly.
  if (from != to) StrokeWithGaps(*painter, dc, pen, [&] { painter->drawLine(from, to); });
}

/* Fills and outlines a closed shape with the DC's brush and pen. */
template <typename Shape>
BOOL PaintShape(DeviceContext& dc, Shape drawShape, const QRect& reach = QRect()) {
  DcPainter painter(dc, reach);
  if (!painter.active()) return TRUE;
  QPen pen = QPenOf(dc, dc.state.pen);
  QBrush brush = QBrushOf(dc, dc.state.brush);
  if (!painter.applyRop2(dc.state.rop2, &pen, &brush)) return TRUE;
  if (brush.style() >= Qt::HorPattern && brush.style() <= Qt::DiagCrossPattern &&
      dc.state.bkMode == OPAQUE) {
    painter->setBackground(ColorOf(dc.state.bkColor));
    painter->setBackgroundMode(Qt::OpaqueMode);
  }
  painter->setPen(pen);
  painter->setBrush(brush);
  drawShape(*painter, pen);
  return TRUE;
}

/* Where a shape's outline runs: a one-pixel pen along the shape's last pixels; a wider pen
   centred on the shape's edge, or wholly inside it for PS_INSIDEFRAME. */
QRectF OutlineRect(const QRect& device, const QPen& pen, bool insideFrame) {
  if (pen.style() == Qt::NoPen) return QRectF(device);
  if (pen.width() > 1 && insideFrame) {
    double inset = pen.width() / 2.0;
    return QRectF(device.left() + inset, device.top() + inset, device.width() - pen.width(),
                  device.height() - pen.width());
  }
  return QRectF(device.left(), device.top(), device.width() - 1, device.height() - 1);
}

/* The part of a shape's inside that its outline does not cover. */
QRect InteriorRect(const QRect& device, const QPen& pen, bool insideFrame) {
  int inset = pen.width() <= 1 ? 1 : insideFrame ? pen.width() : (pen.width() + 1) / 2;
  return device.adjusted(inset, inset, -inset, -inset);
}

/* Whether an outline is drawn as runs of pixels: a solid one-pixel pen copied onto pixels. */
bool PixelRunsOutline(const DeviceContext& dc, const QPen& pen) {
  return dc.kind != DcKind::Printer && pen.style() == Qt::SolidLine && pen.width() == 1 &&
         dc.state.rop2 == R2_COPYPEN;
}

/* What a shape drawn in a device rectangle can touch: the rectangle, and as far outside it
   as a wide pen centred on its edge reaches, with a pixel to spare. */
QRect Reach(const DeviceContext& dc, const QRect& device) {
  const int margin = static_cast<int>(std::ceil(QPenOf(dc, dc.state.pen).widthF())) + 1;
  return device.adjusted(-margin, -margin, margin, margin);
}

bool InsideFramePen(const DeviceContext& dc) {
  GdiObject* pen = LookupObject(dc.state.pen, ObjectKind::Pen);
  return pen && (pen->pen.lopnStyle & PS_STYLE_MASK) == PS_INSIDEFRAME;
}

}  // namespace

void FillDeviceRect(DeviceContext& dc, const QRect& rect, const QBrush& brush) {
  DcPainter painter(dc);
  if (!painter.active() || rect.isEmpty()) return;
  if (brush.style() >= Qt::HorPattern && brush.style() <= Qt::DiagCrossPattern &&
      dc.state.bkMode == OPAQUE)
    painter.fillRect(rect, QBrush(ColorOf(dc.state.bkColor)));
  painter.fillRect(rect, brush);
}

QBrush BrushOrSystemColor(HBRUSH brush) {
  uintptr_t value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 31 && !LookupObject(brush))
    return QBrush(ColorOf(gSystemColors(static_cast<int>(value) - 1)));
  return GdiBrushToQBrush(brush);
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

void GdiSetSystemColorProvider(SystemColorProvider provider) {
  gSystemColors = provider ? provider : ClassicSystemColor;
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.position;
  dc->state.position = {x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT point) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !point) return FALSE;
  *point = dc->state.position;
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  POINT from = dc->state.position;
  if (Recording(*dc)) RecordCall(*dc, RecordOf("LineTo", {from, POINT{x, y}}));
  {
    DcPainter painter(*dc);
    if (painter.active())
      StrokeSegment(painter, *dc, LogicalToDevicePoint(dc->state, from.x, from.y),
                    LogicalToDevicePoint(dc->state, x, y));
  }
  dc->state.position = {x, y};
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !points || count < 2) return FALSE;
  if (Recording(*dc)) {
    GdiDrawRecord record = RecordOf("Polyline", {});
    record.points.assign(points, points + count);
    RecordCall(*dc, record);
  }
  DcPainter painter(*dc);
  if (!painter.active()) return TRUE;
  for (int i = 1; i < count; ++i)
    StrokeSegment(painter, *dc, LogicalToDevicePoint(dc->state, points[i - 1].x, points[i - 1].y),
                  LogicalToDevicePoint(dc->state, points[i].x, points[i].y));
  return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !points || count < 2) return FALSE;
  if (Recording(*dc)) {
    GdiDrawRecord record = RecordOf("Polygon", {});
    record.points.assign(points, points + count);
    RecordCall(*dc, record);
  }
  QPolygon polygon;
  for (int i = 0; i < count; ++i)
    polygon << LogicalToDevicePoint(dc->state, points[i].x, points[i].y);
  return PaintShape(*dc,
                    [&](QPainter& p, const QPen&) { p.drawPolygon(polygon, Qt::OddEvenFill); });
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (Recording(*dc)) RecordCall(*dc, RecordOfRect("Rectangle", RECT{left, top, right, bottom}));
  QRect device = LogicalRectToDevice(dc->state, left, top, right, bottom);
  if (device.width() <= 0 || device.height() <= 0) return TRUE;
  bool insideFrame = InsideFramePen(*dc);
  return PaintShape(
      *dc,
      [&](QPainter& p, const QPen& pen) {
        if (pen.style() == Qt::NoPen) {
          p.fillRect(device, p.brush());
          return;
        }
        QRectF outline = OutlineRect(device, pen, insideFrame);
        if (outline.width() <= 0 || outline.height() <= 0) {
          p.fillRect(device, pen.color());
          return;
        }
        // Interior and outline never overlap, so XOR and NOT modes touch each pixel once.
        QRect interior = InteriorRect(device, pen, insideFrame);
        if (PixelRunsOutline(*dc, pen) && p.brush().style() == Qt::SolidPattern &&
            p.brush().color().alpha() == 255 && !interior.isEmpty()) {
          // Copied onto pixels, the box in the pen's colour with an opaque inside over it sets
          // what the four edge runs and the inside set, in two fills instead of five.
          p.fillRect(device, pen.color());
          p.fillRect(interior, p.brush());
          return;
        }
        if (p.brush().style() != Qt::NoBrush && !interior.isEmpty())
          p.fillRect(interior, p.brush());
        if (PixelRunsOutline(*dc, pen)) {
          // On pixels a one-pixel solid outline is its four edge runs: the pixels Qt's stroker
          // sets, without its cost, and with the last corner also on a box cut by the device's
          // edge, where the stroker leaves that corner out.
          const QColor color = pen.color();
          p.fillRect(QRect(device.left(), device.top(), device.width(), 1), color);
          p.fillRect(QRect(device.left(), device.bottom(), device.width(), 1), color);
          p.fillRect(QRect(device.left(), device.top() + 1, 1, device.height() - 2), color);
          p.fillRect(QRect(device.right(), device.top() + 1, 1, device.height() - 2), color);
          return;
        }
        p.setBrush(Qt::NoBrush);
        StrokeWithGaps(p, *dc, pen, [&] { p.drawRect(outline); });
      },
      Reach(*dc, device));
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (Recording(*dc)) RecordCall(*dc, RecordOfRect("Ellipse", RECT{left, top, right, bottom}));
  QRect device = LogicalRectToDevice(dc->state, left, top, right, bottom);
  if (device.width() <= 0 || device.height() <= 0) return TRUE;
  bool insideFrame = InsideFramePen(*dc);
  return PaintShape(*dc, [&](QPainter& p, const QPen& pen) {
    p.drawEllipse(OutlineRect(device, pen, insideFrame));
  });
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int width, int height) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (Recording(*dc)) {
    GdiDrawRecord record = RecordOfRect("RoundRect", RECT{left, top, right, bottom});
    record.points.push_back(POINT{width, height});
    RecordCall(*dc, record);
  }
  QRect device = LogicalRectToDevice(dc->state, left, top, right, bottom);
  if (device.width() <= 0 || device.height() <= 0) return TRUE;
  double radiusX = std::abs(width * ScaleX(dc->state)) / 2.0;
  double radiusY = std::abs(height * ScaleY(dc->state)) / 2.0;
  bool insideFrame = InsideFramePen(*dc);
  return PaintShape(*dc, [&](QPainter& p, const QPen& pen) {
    p.drawRoundedRect(OutlineRect(device, pen, insideFrame), radiusX, radiusY);
  });
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect) return 0;
  uintptr_t brushValue = reinterpret_cast<uintptr_t>(brush);
  bool systemColor = brushValue > 0 && brushValue <= 31 && !LookupObject(brush);
  if (!systemColor && !LiveObject(brush, ObjectKind::Brush)) return 0;
  QBrush qbrush = systemColor ? BrushOrSystemColor(brush) : QBrushOf(*dc, brush);
  if (Recording(*dc)) {
    RecordCall(*dc, RecordOfRect("FillRect", *rect));
    QColor color = qbrush.color();
    dc->recorder->calls.back().brushColor = RGB(color.red(), color.green(), color.blue());
    dc->recorder->calls.back().brushStyle =
        qbrush.style() == Qt::SolidPattern ? BS_SOLID : BS_HATCHED;
  }
  FillDeviceRect(*dc,
                 LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom),
                 qbrush);
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect || !LiveObject(brush, ObjectKind::Brush)) return 0;
  if (Recording(*dc)) RecordCall(*dc, RecordOfRect("FrameRect", *rect));
  QRect r = LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom);
  if (r.isEmpty()) return 1;
  QBrush qbrush = QBrushOf(*dc, brush);
  FillDeviceRect(*dc, QRect(r.left(), r.top(), r.width(), 1), qbrush);
  FillDeviceRect(*dc, QRect(r.left(), r.bottom(), r.width(), 1), qbrush);
  FillDeviceRect(*dc, QRect(r.left(), r.top() + 1, 1, r.height() - 2), qbrush);
  FillDeviceRect(*dc, QRect(r.right(), r.top() + 1, 1, r.height() - 2), qbrush);
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect) return FALSE;
  if (Recording(*dc)) RecordCall(*dc, RecordOfRect("InvertRect", *rect));
  DcPainter painter(*dc);
  if (!painter.active() || !painter.raster()) return TRUE;
  painter->setCompositionMode(QPainter::RasterOp_NotDestination);
  painter->fillRect(
      LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom), Qt::black);
  return TRUE;
}

namespace {

/* The dots of a focus rectangle's border in device pixels, each with whether it takes the
** background colour (the checkerboard's even squares) or the text colour. */
template <typename Dot>
void ForEachFocusDot(const QRect& r, Dot dot) {
  for (int x = r.left(); x <= r.right(); ++x) {
    dot(x, r.top());
    if (r.height() > 1) dot(x, r.bottom());
  }
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    dot(r.left(), y);
    if (r.width() > 1) dot(r.right(), y);
  }
}

/* XORs the dots straight into a 32-bit image without alpha, the usual window surface: a
** QPainter drawing a thousand single points under a raster operation costs some twenty times
** a fill of the same rectangle, and a grid draws the focus mark several times a key. False
** when the DC draws on anything else, which then takes the painter's way. */
bool XorFocusDotsIntoImage(DeviceContext& dc, const QRect& r) {
  if (dc.kind != DcKind::Surface && dc.kind != DcKind::Memory) return false;
  QPaintDevice* device = CurrentDevice(dc);
  if (!device || device->devType() != QInternal::Image) return false;
  QImage& image = *static_cast<QImage*>(device);
  if (image.format() != QImage::Format_RGB32) return false;
  const QPoint origin = dc.deviceOrigin;
  const QRegion visible = VisibleDeviceRegion(dc).translated(origin).intersected(image.rect());
  if (visible.isEmpty()) return true;
  const QRgb bkXor = ColorOf(dc.state.bkColor).rgb() & 0x00FFFFFF;
  const QRgb textXor = ColorOf(dc.state.textColor).rgb() & 0x00FFFFFF;
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  const QRect bounds = visible.boundingRect();
  const bool simple = visible.rectCount() == 1;
  ForEachFocusDot(r, [&](int x, int y) {
    QPoint at(x + origin.x(), y + origin.y());
    if (!bounds.contains(at) || (!simple && !visible.contains(at))) return;
    reinterpret_cast<QRgb*>(bits + at.y() * stride)[at.x()] ^= ((x + y) & 1) == 0 ? bkXor : textXor;
  });
  return true;
}

}  // namespace

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect) return FALSE;
  if (Recording(*dc)) RecordCall(*dc, RecordOfRect("DrawFocusRect", *rect));
  QRect r = LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom);
  if (r.isEmpty()) return TRUE;
  // A one-pixel border XORed with a checkerboard of the background and text colours, as
  // the platform's grey pattern: drawing it twice leaves the pixels as they were.
  if (XorFocusDotsIntoImage(*dc, r)) return TRUE;
  DcPainter painter(*dc);
  if (!painter.active() || !painter.raster()) return TRUE;
  QPolygon bkDots, textDots;
  ForEachFocusDot(r,
                  [&](int x, int y) { (((x + y) & 1) == 0 ? bkDots : textDots) << QPoint(x, y); });
  painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter->setPen(QPen(ColorOf(dc->state.bkColor), 1));
  painter->drawPoints(bkDots);
  painter->setPen(QPen(ColorOf(dc->state.textColor), 1));
  painter->drawPoints(textDots);
  return TRUE;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  if (Recording(*dc)) RecordCall(*dc, RecordOf("SetPixel", {POINT{x, y}}));
  QPoint device = LogicalToDevicePoint(dc->state, x, y);
  if (dc->kind != DcKind::Recording && !VisibleDeviceRegion(*dc).contains(device))
    return CLR_INVALID;
  DcPainter painter(*dc);
  if (painter.active()) {
    painter->setPen(QPen(ColorOf(color), 1));
    painter->drawPoint(device);
  }
  QColor set = ColorOf(color);
  return RGB(set.red(), set.green(), set.blue());
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  QPoint device = LogicalToDevicePoint(dc->state, x, y);
  auto* image = dynamic_cast<QImage*>(CurrentDevice(*dc));
  if (!image || !VisibleDeviceRegion(*dc).contains(device)) return CLR_INVALID;
  QRgb pixel = image->pixel(device + dc->deviceOrigin);
  return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}
