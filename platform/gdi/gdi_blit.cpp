/*
** Block transfers between DCs (BitBlt, StretchBlt) and pattern fills (PatBlt) with the
** ternary raster operations the system uses. Monochrome bitmaps follow the platform's
** colour rules: blitted onto colour, black takes the destination's text colour and white its
** background colour; colour blitted onto monochrome turns white where it matches the
** source's background colour and black elsewhere.
*/
#include "platform/gdi/gdi_internal.h"

#include <cmath>
#include <cstdlib>

using namespace zarne::gdi;

namespace {

bool IsMonochrome(DeviceContext& dc) {
  if (dc.kind != DcKind::Memory) return false;
  GdiObject* bitmap = LookupObject(dc.state.bitmap, ObjectKind::Bitmap);
  return bitmap && bitmap->bitsPixel == 1;
}

/* The source pixels a blit reads, in the colours the destination expects. */
QImage SourcePixels(DeviceContext& source, DeviceContext& destination, const QRect& area) {
  auto* image = dynamic_cast<QImage*>(CurrentDevice(source));
  if (!image) return QImage();
  QImage pixels = image->copy(area.translated(source.deviceOrigin));
  bool sourceMono = IsMonochrome(source), destinationMono = IsMonochrome(destination);
  if (sourceMono && !destinationMono) {
    QRgb ink = ColorOf(destination.state.textColor).rgb(),
         paper = ColorOf(destination.state.bkColor).rgb();
    for (int y = 0; y < pixels.height(); ++y)
      for (int x = 0; x < pixels.width(); ++x)
        pixels.setPixel(x, y, (pixels.pixel(x, y) & 0xFFFFFF) ? paper : ink);
  } else if (!sourceMono && destinationMono) {
    QRgb background = ColorOf(source.state.bkColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < pixels.height(); ++y)
      for (int x = 0; x < pixels.width(); ++x)
        pixels.setPixel(x, y,
                        (pixels.pixel(x, y) & 0xFFFFFF) == background ? 0xFFFFFFFFu : 0xFF000000u);
  }
  return pixels;
}

/* The composition of a source-using raster operation; false for one not offered. */
bool SourceComposition(DWORD rop, QPainter::CompositionMode* mode, bool* invertSource) {
  *invertSource = false;
  switch (rop) {
    case SRCCOPY: *mode = QPainter::CompositionMode_Source; return true;
    case NOTSRCCOPY:
      *mode = QPainter::CompositionMode_Source;
      *invertSource = true;
      return true;
    case SRCAND: *mode = QPainter::RasterOp_SourceAndDestination; return true;
    case SRCPAINT: *mode = QPainter::RasterOp_SourceOrDestination; return true;
    case SRCINVERT: *mode = QPainter::RasterOp_SourceXorDestination; return true;
    case SRCERASE: *mode = QPainter::RasterOp_SourceAndNotDestination; return true;
    case NOTSRCERASE: *mode = QPainter::RasterOp_NotSourceAndNotDestination; return true;
    case MERGEPAINT: *mode = QPainter::RasterOp_NotSourceOrDestination; return true;
    default: return false;
  }
}

bool UsesSource(DWORD rop) { return ((rop >> 2) ^ rop) & 0x330000; }

void RecordBlit(DeviceContext& dc, const char* call, int x, int y, int width, int height,
                DWORD rop) {
  if (!Recording(dc)) return;
  GdiDrawRecord record;
  record.call = call;
  record.rect = RECT{x, y, x + width, y + height};
  record.flags = rop;
  RecordCall(dc, record);
}

}  // namespace

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS &&
      rop != WHITENESS)
    return FALSE;
  RecordBlit(*dc, "PatBlt", x, y, width, height, rop);
  QRect area = LogicalRectToDevice(dc->state, x, y, x + width, y + height);
  if (rop == PATCOPY) {
    FillDeviceRect(*dc, area, QBrushOf(*dc, dc->state.brush));
    return TRUE;
  }
  DcPainter painter(*dc);
  if (!painter.active()) return TRUE;
  switch (rop) {
    case BLACKNESS: painter->fillRect(area, Qt::black); break;
    case WHITENESS: painter->fillRect(area, Qt::white); break;
    case DSTINVERT:
      if (painter.raster()) {
        painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        painter->fillRect(area, Qt::black);
      }
      break;
    case PATINVERT:
      if (painter.raster()) painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter->fillRect(area, QBrushOf(*dc, dc->state.brush));
      break;
  }
  return TRUE;
}

BOOL StretchBlt(HDC destinationHandle, int x, int y, int width, int height, HDC sourceHandle,
                int sourceX, int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  DeviceContext* destination = LookupDC(destinationHandle);
  if (!destination) return FALSE;
  if (!UsesSource(rop)) return PatBlt(destinationHandle, x, y, width, height, rop);
  DeviceContext* source = LookupDC(sourceHandle);
  QPainter::CompositionMode mode;
  bool invertSource;
  if (!source || !SourceComposition(rop, &mode, &invertSource)) return FALSE;
  RecordBlit(*destination, sourceWidth == width && sourceHeight == height ? "BitBlt" : "StretchBlt",
             x, y, width, height, rop);
  QRect from = LogicalRectToDevice(source->state, sourceX, sourceY, sourceX + sourceWidth,
                                   sourceY + sourceHeight);
  QRect to = LogicalRectToDevice(destination->state, x, y, x + width, y + height);
  if (from.isEmpty() || to.isEmpty()) return TRUE;
  QImage pixels = SourcePixels(*source, *destination, from);
  if (pixels.isNull()) return source->kind == DcKind::Recording ? TRUE : FALSE;
  // Extents of opposite signs mirror the picture.
  bool mirrorX = (width < 0) != (sourceWidth < 0), mirrorY = (height < 0) != (sourceHeight < 0);
  if (mirrorX || mirrorY) pixels = pixels.mirrored(mirrorX, mirrorY);
  if (invertSource) pixels.invertPixels();
  DcPainter painter(*destination);
  if (!painter.active()) return TRUE;
  if (painter.raster()) painter->setCompositionMode(mode);
  painter->drawImage(to, pixels);
  return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
  return StretchBlt(destination, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return nullptr;
  // Compatible with a memory DC means with its selected bitmap, monochrome included.
  return static_cast<HBITMAP>(NewBitmap(width, height, IsMonochrome(*dc) ? 1 : 32));
}
