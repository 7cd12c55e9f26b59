/*
** Device contexts: surface DCs over a paint device, memory DCs over bitmaps, their state
** (attributes, SaveDC/RestoreDC), object selection and device capabilities, and the painter
** that each drawing call borrows.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zarne::gdi {

namespace {

/* The 1x1 monochrome bitmap every memory DC starts with; never freed. */
HGDIOBJ DefaultBitmap() {
  static HGDIOBJ bitmap = [] {
    HGDIOBJ handle = NewBitmap(1, 1, 1);
    LookupObject(handle)->stock = true;
    return handle;
  }();
  return bitmap;
}

QPainter::CompositionMode RasterMode(int rop2) {
  switch (rop2) {
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

int ScreenDeviceCaps(int index) {
  switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return static_cast<int>(std::lround(kScreenWidth * 25.4 / kScreenDpi));
    case VERTSIZE: return static_cast<int>(std::lround(kScreenHeight * 25.4 / kScreenDpi));
    case HORZRES: return kScreenWidth;
    case VERTRES: return kScreenHeight;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return kScreenDpi;
    case COLORRES: return 24;
    default: return 0;
  }
}

}  // namespace

namespace {

// Owner: platform/gdi. The DC whose painter is kept between calls (one at a time).
DeviceContext* gPainterKeeper = nullptr;

}  // namespace

QPaintDevice* CurrentDevice(DeviceContext& dc) {
  if (dc.kind == DcKind::Memory) {
    GdiObject* bitmap = LookupObject(dc.state.bitmap, ObjectKind::Bitmap);
    return bitmap ? &bitmap->image : nullptr;
  }
  if (dc.kind == DcKind::Surface) return dc.device;
  return nullptr;
}

QSize DeviceSize(DeviceContext& dc) {
  switch (dc.kind) {
    case DcKind::Surface:
      return dc.device ? QSize(dc.device->width() - dc.deviceOrigin.x(),
                               dc.device->height() - dc.deviceOrigin.y())
                       : QSize();
    case DcKind::Memory: {
      QPaintDevice* device = CurrentDevice(dc);
      return device ? QSize(device->width(), device->height()) : QSize();
    }
    case DcKind::Printer:
      return QSize(PrinterDeviceCaps(dc, HORZRES), PrinterDeviceCaps(dc, VERTRES));
    default: return QSize(kScreenWidth, kScreenHeight);
  }
}

QRegion VisibleDeviceRegion(DeviceContext& dc) {
  QRegion visible(QRect(QPoint(0, 0), DeviceSize(dc)));
  if (dc.kind == DcKind::Surface && !dc.surfaceClip.isEmpty())
    visible &= dc.surfaceClip.translated(-dc.deviceOrigin);
  if (dc.state.clip) visible &= *dc.state.clip;
  return visible;
}

DcPainter::DcPainter(DeviceContext& dc, const QRect& reach) {
  if (dc.kind == DcKind::Printer) {
    // The page's painter is kept between calls; a call's own settings (pen, brush, font) are
    // made by the call itself, and what a call may leave behind is put back to the DC's
    // here, only where it differs: a save and restore around every call made the PDF writer
    // repeat the whole graphics state for each text, most of a report page's cost.
    painter_ = PrintJobPainter(dc);
    if (!painter_) return;
    raster_ = false;
    QRegion clip;
    bool clipped = dc.state.clip.has_value();
    if (clipped) clip = dc.state.clip->translated(dc.deviceOrigin);
    if (clipped) painter_->setClipRegion(clip);
    else if (painter_->hasClipping()) painter_->setClipping(false);
    const QTransform origin = QTransform::fromTranslate(dc.deviceOrigin.x(), dc.deviceOrigin.y());
    if (painter_->worldTransform() != origin) painter_->setWorldTransform(origin);
    if (painter_->backgroundMode() != Qt::TransparentMode)
      painter_->setBackgroundMode(Qt::TransparentMode);
    return;
  }
  QPaintDevice* device = CurrentDevice(dc);
  if (!device || device->width() <= 0 || device->height() <= 0) return;  // nothing to paint on
  kept_ = borrowKept(dc, device);
  if (!kept_ && !beginOn(dc, device)) return;
  QRegion clip;
  bool clipped = false;
  if (dc.kind == DcKind::Surface && !dc.surfaceClip.isEmpty()) {
    clip = dc.surfaceClip;
    clipped = true;
  }
  if (dc.state.clip) {
    QRegion own = dc.state.clip->translated(dc.deviceOrigin);
    clip = clipped ? clip.intersected(own) : own;
    clipped = true;
  }
  if (clipped && clip.rectCount() > 1 && !reach.isEmpty()) {
    clip &= reach.translated(dc.deviceOrigin);
    if (clip.isEmpty()) clip = QRegion(-2, -2, 1, 1);  // nothing the call draws shows
  }
  if (clipped) clip_ = clip;
  clipped_ = clipped;
  origin_ = dc.deviceOrigin;
  if (kept_) {
    // The kept painter is already moved to the DC's origin; its clip is given in the same
    // moved units.
    if (clipped) painter_->setClipRegion(clip.translated(-origin_));
    else if (painter_->hasClipping()) painter_->setClipping(false);
    return;
  }
  if (clipped) painter_->setClipRegion(clip);
  painter_->translate(dc.deviceOrigin);
}

bool DcPainter::beginOn(DeviceContext& dc, QPaintDevice* device) {
  // A device takes one painter at a time: a DC's kept painter on it ends here (the DC
  // begins another at its next call), as does any kept painter when this DC keeps one.
  if (gPainterKeeper && gPainterKeeper != &dc &&
      (dc.keepsPainter || gPainterKeeper->keptPainter->device() == device))
    EndKeptPainter(*gPainterKeeper);
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(device)) return false;
  painter_ = painter.get();
  if (!dc.keepsPainter) {
    owned_ = std::move(painter);
    return true;
  }
  dc.keptPen = painter->pen();
  dc.keptBrush = painter->brush();
  dc.keptBackground = painter->background();
  dc.keptPainter = std::move(painter);
  gPainterKeeper = &dc;
  return true;
}

bool DcPainter::borrowKept(DeviceContext& dc, QPaintDevice* device) {
  if (!dc.keptPainter) return false;
  if (dc.keptPainter->device() != device || !dc.keptPainter->isActive()) {
    EndKeptPainter(dc);
    return false;
  }
  painter_ = dc.keptPainter.get();
  if (painter_->compositionMode() != QPainter::CompositionMode_SourceOver)
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (painter_->backgroundMode() != Qt::TransparentMode)
    painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->setPen(dc.keptPen);
  painter_->setBrush(dc.keptBrush);
  painter_->setBackground(dc.keptBackground);
  return true;
}

void EndKeptPainter(DeviceContext& dc) {
  if (gPainterKeeper == &dc) gPainterKeeper = nullptr;
  if (!dc.keptPainter) return;
  if (dc.keptPainter->isActive()) dc.keptPainter->end();
  dc.keptPainter.reset();
}

DcPainter::~DcPainter() {
  if (owned_) owned_->end();
}

namespace {

/* Rows a patterned fill covers in one call. Qt fills all but plain colours scanline by
   scanline and hands more than about a hundred lines at once to its thread pool, whose
   hand-over costs more than the fill of a window's band does on a busy machine. */
constexpr int kPatternRowsPerFill = 64;

void FillInStrips(QPainter& painter, const QRect& rect, const QBrush& brush) {
  if (brush.style() == Qt::SolidPattern || rect.height() <= kPatternRowsPerFill) {
    painter.fillRect(rect, brush);
    return;
  }
  for (int top = rect.top(); top <= rect.bottom(); top += kPatternRowsPerFill)
    painter.fillRect(QRect(rect.left(), top, rect.width(),
                           std::min(kPatternRowsPerFill, rect.bottom() + 1 - top)),
                     brush);
}

int Wrapped(int value, int period) { return ((value % period) + period) % period; }

/* The image a fill may copy a pattern's pixels into: a 32-bit image painted by plain copy,
   moved by whole pixels only; null when Qt must blend. */
QImage* TileTarget(QPainter& painter, const QBrush& brush, QPoint* anchor) {
  if (brush.style() != Qt::TexturePattern || !brush.transform().isIdentity()) return nullptr;
  QPaintDevice* device = painter.device();
  if (!device || device->devType() != QInternal::Image) return nullptr;
  auto* image = static_cast<QImage*>(device);
  const QImage::Format format = image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return nullptr;
  const QPainter::CompositionMode mode = painter.compositionMode();
  if ((mode != QPainter::CompositionMode_SourceOver && mode != QPainter::CompositionMode_Source) ||
      painter.opacity() != 1.0)
    return nullptr;
  const QTransform& transform = painter.worldTransform();
  if (transform.type() > QTransform::TxTranslate) return nullptr;
  const QPointF at = transform.map(painter.brushOrigin());
  if (at.x() != std::floor(at.x()) || at.y() != std::floor(at.y())) return nullptr;
  *anchor = at.toPoint();
  return image;
}

/* Copies an opaque pattern's rows into the parts of the image (its own pixels): the pixels
   Qt's tiled fill sets, without blending each one. False when the pattern has see-through
   pixels. */
bool CopyTiles(QImage& image, const QRegion& parts, const QBrush& brush, QPoint anchor) {
  QImage tile = brush.textureImage();
  if (tile.isNull() || tile.hasAlphaChannel()) return false;
  if (tile.format() != QImage::Format_RGB32) tile = tile.convertToFormat(QImage::Format_RGB32);
  const int tileWidth = tile.width(), tileHeight = tile.height();
  const bool opaqueTarget = image.format() == QImage::Format_RGB32;
  for (const QRect& part : parts) {
    const int width = part.width();
    // Each of the tile's rows laid out across the part's width, starting at the part's left.
    std::vector<QRgb> rows(static_cast<size_t>(tileHeight) * width);
    for (int ty = 0; ty < tileHeight; ++ty) {
      const auto* source = reinterpret_cast<const QRgb*>(tile.constScanLine(ty));
      QRgb* row = rows.data() + static_cast<size_t>(ty) * width;
      for (int i = 0; i < width; ++i) {
        const QRgb pixel = source[Wrapped(part.left() + i - anchor.x(), tileWidth)];
        row[i] = opaqueTarget ? pixel : (pixel | 0xFF000000u);
      }
    }
    for (int y = part.top(); y <= part.bottom(); ++y) {
      const QRgb* row =
          rows.data() + static_cast<size_t>(Wrapped(y - anchor.y(), tileHeight)) * width;
      std::memcpy(reinterpret_cast<QRgb*>(image.scanLine(y)) + part.left(), row,
                  static_cast<size_t>(width) * sizeof(QRgb));
    }
  }
  return true;
}

}  // namespace

void DcPainter::fillRect(const QRect& rect, const QBrush& brush) {
  if (!raster_) {
    painter_->fillRect(rect, brush);
    return;
  }
  QPoint anchor;
  if (QImage* image = TileTarget(*painter_, brush, &anchor)) {
    QRegion parts = QRegion(rect.translated(origin_)).intersected(image->rect());
    if (clipped_) parts &= clip_;
    if (parts.isEmpty() || CopyTiles(*image, parts, brush, anchor)) return;
  }
  if (!clipped_ || clip_.rectCount() <= 1) {
    FillInStrips(*painter_, rect, brush);
    return;
  }
  const QRegion parts = clip_.intersected(rect.translated(origin_));
  if (parts.isEmpty()) return;
  painter_->setClipping(false);
  for (const QRect& part : parts) FillInStrips(*painter_, part.translated(-origin_), brush);
  painter_->setClipping(true);
}

bool DcPainter::applyRop2(int rop2, QPen* pen, QBrush* brush) {
  if (rop2 == R2_NOP) return false;
  if (rop2 == R2_BLACK || rop2 == R2_WHITE) {
    QColor color = rop2 == R2_BLACK ? Qt::black : Qt::white;
    if (pen && pen->style() != Qt::NoPen) pen->setColor(color);
    if (brush && brush->style() != Qt::NoBrush) brush->setColor(color);
    return true;
  }
  // Printers and PDF files only know plain painting.
  if (raster_) painter_->setCompositionMode(RasterMode(rop2));
  return true;
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

HDC GdiCreateSurfaceDC(QPaintDevice* device, QPoint deviceOrigin, const QRegion& clip) {
  if (!device) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = DcKind::Surface;
  dc->device = device;
  dc->deviceOrigin = deviceOrigin;
  dc->surfaceClip = clip;
  dc->state = DefaultState();
  return RegisterDC(std::move(dc));
}

HDC GdiCreatePaintDC(QPaintDevice* device, QPoint deviceOrigin, const QRegion& clip) {
  HDC handle = GdiCreateSurfaceDC(device, deviceOrigin, clip);
  if (DeviceContext* dc = LookupDC(handle)) dc->keepsPainter = true;
  return handle;
}

void GdiEndPaintingOn(QPaintDevice* device) {
  if (gPainterKeeper && gPainterKeeper->keptPainter &&
      gPainterKeeper->keptPainter->device() == device)
    EndKeptPainter(*gPainterKeeper);
}

BOOL GdiReleaseSurfaceDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || dc->kind != DcKind::Surface) return FALSE;
  DestroyDC(handle);
  return TRUE;
}

HDC CreateCompatibleDC(HDC handle) {
  // A null DC means "compatible with the screen", as on the platform.
  DeviceContext* model = handle ? LookupDC(handle) : nullptr;
  if (handle && !model) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = DcKind::Memory;
  if (model) {
    // Compatible with a printer: the fixed mapping modes use the printer's resolution.
    dc->dpiX = model->dpiX;
    dc->dpiY = model->dpiY;
  }
  dc->state = DefaultState();
  dc->state.bitmap = DefaultBitmap();
  RetainObject(dc->state.bitmap);
  return RegisterDC(std::move(dc));
}

BOOL DeleteDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (dc->kind == DcKind::Printer) AbortPrintJob(*dc);
  DestroyDC(handle);
  return TRUE;
}

int SaveDC(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  RetainState(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int savedState) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  int depth = static_cast<int>(dc->saved.size());
  int level = savedState < 0 ? depth + 1 + savedState : savedState;
  if (level < 1 || level > depth) return FALSE;
  while (static_cast<int>(dc->saved.size()) > level) {
    ReleaseState(dc->saved.back());
    dc->saved.pop_back();
  }
  DcState restored = dc->saved.back();
  dc->saved.pop_back();
  // The saved copy's references pass to the live state; the old state's are dropped.
  DcState old = dc->state;
  dc->state = restored;
  ReleaseState(old);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DeviceContext* dc = LookupDC(handle);
  GdiObject* found = LiveObject(object);
  if (!dc || !found) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (found->kind) {
    case ObjectKind::Pen: slot = &dc->state.pen; break;
    case ObjectKind::Brush: slot = &dc->state.brush; break;
    case ObjectKind::Font: slot = &dc->state.font; break;
    case ObjectKind::Bitmap:
      // A bitmap lives in one memory DC at a time.
      if (dc->kind != DcKind::Memory) return nullptr;
      if (found->selections > 0 && dc->state.bitmap != object && !found->stock) return nullptr;
      slot = &dc->state.bitmap;
      break;
    case ObjectKind::Region:
      return reinterpret_cast<HGDIOBJ>(
          static_cast<intptr_t>(SelectClipRgn(handle, static_cast<HRGN>(object))));
    case ObjectKind::Palette: return nullptr;
  }
  HGDIOBJ previous = *slot;
  RetainObject(object);
  *slot = object;
  ReleaseObject(previous);
  return previous;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
  }
}

int GetDeviceCaps(HDC handle, int index) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return 0;
  if (dc->kind == DcKind::Printer) return PrinterDeviceCaps(*dc, index);
  return ScreenDeviceCaps(index);
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->state.textColor;
  dc->state.textColor = color;
  return previous;
}

COLORREF GetTextColor(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->state.bkColor;
  dc->state.bkColor = color;
  return previous;
}

COLORREF GetBkColor(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->state.bkColor : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  int previous = dc->state.bkMode;
  dc->state.bkMode = mode;
  return previous;
}

int SetROP2(HDC handle, int mode) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || mode < R2_BLACK || mode > R2_WHITE) return 0;
  int previous = dc->state.rop2;
  dc->state.rop2 = mode;
  return previous;
}

UINT SetTextAlign(HDC handle, UINT align) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return GDI_ERROR;
  UINT previous = dc->state.textAlign;
  dc->state.textAlign = align;
  return previous;
}

UINT GetTextAlign(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc ? dc->state.textAlign : GDI_ERROR;
}
