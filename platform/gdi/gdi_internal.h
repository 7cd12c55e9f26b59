/*
** The library's private model: drawing objects and device contexts behind their handles,
** the state a DC carries (and SaveDC keeps), and the helpers every drawing file shares.
** Not installed for other modules.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_INTERNAL_H
#define ZARNE_PLATFORM_GDI_GDI_INTERNAL_H

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_recording.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace zarne::gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap, Region, Palette };

struct GdiObject {
  ObjectKind kind = ObjectKind::Pen;
  bool stock = false;
  bool deletePending = false;  // DeleteObject while selected: freed when the last DC lets go
  int selections = 0;          // DCs (and their saved states) holding it
  LOGPEN pen{};
  LOGBRUSH brush{};
  QImage pattern;                  // pattern brushes
  bool patternMonochrome = false;  // painted in the DC's text and background colours
  LOGFONT font{};
  QImage image;  // bitmaps: Format_RGB32 pixels
  int bitsPixel = 32;
  QRegion region;  // regions, device units
};

enum class DcKind { Surface, Memory, Printer, Information, Recording };

/* What SaveDC keeps. */
struct DcState {
  int mapMode = MM_TEXT;
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  int stretchMode = BLACKONWHITE;
  POINT position{0, 0};
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;     // memory DCs
  std::optional<QRegion> clip;  // DC device units; none = whole device
};

struct Recorder {
  std::vector<GdiDrawRecord> calls;
};
struct PrintJob;  // gdi_print.cpp

struct DeviceContext {
  DcKind kind = DcKind::Surface;
  QPaintDevice* device = nullptr;  // surface DCs; memory DCs paint on their bitmap
  QPoint deviceOrigin;             // paint-device pixel of DC device point (0,0)
  QRegion surfaceClip;             // paint-device pixels; empty = none
  int dpiX = 96;
  int dpiY = 96;
  DcState state;
  std::vector<DcState> saved;
  std::shared_ptr<Recorder> recorder;
  std::shared_ptr<PrintJob> printJob;
  /* A window's paint DC keeps one painter on its device from its first drawing call to its
     release (see DcPainter), with the pen, brush and background a fresh painter has; null
     until then, and again whenever another DC paints on the device. */
  bool keepsPainter = false;
  std::unique_ptr<QPainter> keptPainter;
  QPen keptPen;
  QBrush keptBrush;
  QBrush keptBackground;
};

/* Handle tables. Lookups answer null for null, stale or foreign handles. */
HGDIOBJ RegisterObject(std::unique_ptr<GdiObject> object);
GdiObject* LookupObject(HGDIOBJ handle);
GdiObject* LookupObject(HGDIOBJ handle, ObjectKind kind);
/* As the API sees it: an object already deleted (but still selected somewhere) is gone. */
GdiObject* LiveObject(HGDIOBJ handle);
GdiObject* LiveObject(HGDIOBJ handle, ObjectKind kind);
void EraseObject(HGDIOBJ handle);
HDC RegisterDC(std::unique_ptr<DeviceContext> dc);
DeviceContext* LookupDC(HDC handle);
/* Frees a DC: deselects its objects (freeing those deleted meanwhile) and ends its kept
   painter. */
void DestroyDC(HDC handle);
/* Ends the painter a DC keeps between calls, if any. */
void EndKeptPainter(DeviceContext& dc);
void RetainObject(HGDIOBJ handle);
void ReleaseObject(HGDIOBJ handle);
void RetainState(const DcState& state);
void ReleaseState(const DcState& state);
/* A fresh DC state with the default pen, brush and font selected (and retained). */
DcState DefaultState();

/* A new black bitmap; 1 or 32 bits per pixel. Zero sizes give the 1x1 monochrome bitmap. */
HGDIOBJ NewBitmap(int width, int height, int bitsPixel);

/* The paint device a DC draws on now (a memory DC's selected bitmap), or null. */
QPaintDevice* CurrentDevice(DeviceContext& dc);
/* Size of the DC's drawing surface in DC device units. */
QSize DeviceSize(DeviceContext& dc);
/* What the DC may paint on, in DC device units: the surface's clip and the DC's clip region. */
QRegion VisibleDeviceRegion(DeviceContext& dc);

/* The fixed screen every display DC reports, so layouts are the same on every machine. */
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kScreenDpi = 96;

/* Coordinates. */
double ScaleX(const DcState& s);  // device units per logical unit
double ScaleY(const DcState& s);
QPointF LogicalToDevice(const DcState& s, double x, double y);
QPointF DeviceToLogical(const DcState& s, double x, double y);
QPoint LogicalToDevicePoint(const DcState& s, int x, int y);
/* The device rectangle of a logical one, normalised, right and bottom exclusive. */
QRect LogicalRectToDevice(const DcState& s, int left, int top, int right, int bottom);
RECT DeviceRectToLogical(const DcState& s, const QRect& r);

/* Colours and objects in Qt form. */
QColor ColorOf(COLORREF color);
QPen QPenOf(const DeviceContext& dc, HGDIOBJ pen);
QBrush QBrushOf(const DeviceContext& dc, HGDIOBJ brush);
LOGFONT LogFontOf(HGDIOBJ font);
/* A logical font realised for a device scale (device pixels per logical unit). */
QFont RealizeFont(const LOGFONT& font, double deviceUnitsPerLogical, bool raster);
/* tmPitchAndFamily of a logical font's realisation. */
BYTE TextMetricPitchAndFamily(const LOGFONT& font);
/* The face GetTextFace answers for a logical font. */
std::string RealizedFaceName(const LOGFONT& font);

/* Fills a DC device rectangle with a brush (hatches on the background colour when opaque). */
void FillDeviceRect(DeviceContext& dc, const QRect& rect, const QBrush& brush);
/* A brush handle, or a system colour index plus one as the platform accepts in FillRect. */
QBrush BrushOrSystemColor(HBRUSH brush);

/* Windows-1252 text. */
QString TextFrom1252(const char* text, int count);

/*
** A QPainter on the DC's device for the length of one call: transform to the DC's device
** origin, clip to the surface and the DC's clip region. Printers keep one painter for the
** whole document; it is borrowed, and its clip, transform and background mode are set to
** the DC's where they differ. A window's paint DC keeps one painter between its calls
** likewise (beginning a painter on a window's image costs more than most of the calls of a
** paint): each call borrows it with the state a fresh painter starts with put back (clip,
** composition, pen, brush, background); another DC painting on the same image ends it first.
*/
class DcPainter {
 public:
  /* `reach`, in the DC's device units, holds every pixel the call can touch (an empty one:
     anywhere): a clip of many rectangles is cut down to the part that meets it, so a call
     on one small box under a scroll's band and scattered fields paints under a clip of one
     rectangle instead of making Qt build the span lists of the whole region. */
  explicit DcPainter(DeviceContext& dc, const QRect& reach = QRect());
  ~DcPainter();
  DcPainter(const DcPainter&) = delete;
  DcPainter& operator=(const DcPainter&) = delete;
  bool active() const { return painter_ != nullptr; }
  QPainter& operator*() { return *painter_; }
  QPainter* operator->() { return painter_; }
  /* Applies the binary raster operation to what follows; false when it draws nothing (R2_NOP). */
  bool applyRop2(int rop2, QPen* pen, QBrush* brush);
  bool raster() const { return raster_; }
  /* Fills a rectangle of the DC's device units as painter->fillRect does, with the same
     pixels. On pixels under a clip of many rectangles (a scroll's band and scattered
     fields), each part of the rectangle inside the clip is filled on its own with the clip
     off: Qt would otherwise fill it scanline by scanline, handing large areas to its
     thread pool; patterned brushes fill a few dozen rows at a time for the same reason,
     and an opaque pattern on a 32-bit image has its rows copied in. */
  void fillRect(const QRect& rect, const QBrush& brush);

 private:
  /* Begins a painter on the device for the call, or for the DC to keep; false when the
     device cannot be painted on. */
  bool beginOn(DeviceContext& dc, QPaintDevice* device);
  /* Borrows the painter the DC keeps on the device, its state put back to a fresh one's;
     false when it keeps none there. */
  bool borrowKept(DeviceContext& dc, QPaintDevice* device);

  QPainter* painter_ = nullptr;
  std::unique_ptr<QPainter> owned_;
  bool kept_ = false;
  bool raster_ = true;
  /* The clip set on an owned painter, in the device's own pixels, and the DC's origin on
     that device. */
  QRegion clip_;
  bool clipped_ = false;
  QPoint origin_;
};

/* The persistent painter of a printer DC between StartPage and EndPage, or null. */
QPainter* PrintJobPainter(DeviceContext& dc);
int PrinterDeviceCaps(DeviceContext& dc, int index);
/* Ends a printer DC's document unfinished (DeleteDC in the middle of a job). */
void AbortPrintJob(DeviceContext& dc);

/* Recording: a drawing call reports itself (with the DC's colours, font and mapping filled in)
   when the DC records. The call name and its own arguments are set by the caller. */
bool Recording(const DeviceContext& dc);
void RecordCall(DeviceContext& dc, GdiDrawRecord call);

}  // namespace zarne::gdi

#endif
