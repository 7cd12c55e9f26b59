/*
** Drawing objects: stock objects, pens, brushes, bitmaps and their deletion and description
** (GetObject), and their Qt forms for painting.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace zarne::gdi {

namespace {

/* The twenty colours of the default palette, in palette order. */
constexpr std::array<COLORREF, 20> kDefaultPalette = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};

/* Larger bitmaps than this are refused rather than risking the allocation. */
constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

std::unique_ptr<GdiObject> NewObject(ObjectKind kind) {
  auto object = std::make_unique<GdiObject>();
  object->kind = kind;
  return object;
}

LOGFONT StockFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily) {
  LOGFONT font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = ANSI_CHARSET;
  font.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

std::unique_ptr<GdiObject> MakeStockObject(int index) {
  auto pen = [](UINT style, COLORREF color) {
    auto object = NewObject(ObjectKind::Pen);
    object->pen = LOGPEN{style, {0, 0}, color};
    return object;
  };
  auto brush = [](UINT style, COLORREF color) {
    auto object = NewObject(ObjectKind::Brush);
    object->brush = LOGBRUSH{style, color, 0};
    return object;
  };
  auto font = [](LOGFONT logFont) {
    auto object = NewObject(ObjectKind::Font);
    object->font = logFont;
    return object;
  };
  switch (index) {
    case WHITE_BRUSH: return brush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return brush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return brush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return brush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return brush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return brush(BS_NULL, 0);
    case WHITE_PEN: return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return pen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return pen(PS_NULL, 0);
    case OEM_FIXED_FONT: return font(StockFont("Terminal", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN));
    case ANSI_FIXED_FONT: return font(StockFont("Courier", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN));
    case ANSI_VAR_FONT:
      return font(StockFont("MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
    case SYSTEM_FONT: return font(StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS));
    case DEVICE_DEFAULT_FONT:
      return font(StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS));
    case SYSTEM_FIXED_FONT:
      return font(StockFont("Fixedsys", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN));
    case DEFAULT_GUI_FONT:
      return font(StockFont("MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS));
    case DEFAULT_PALETTE: return NewObject(ObjectKind::Palette);
    default: return nullptr;
  }
}

int WidthBytes(int width, int bitsPixel) { return ((width * bitsPixel + 15) / 16) * 2; }

/* Monochrome source bits: rows padded to 16 bits, a set bit is white. */
void LoadMonochromeBits(QImage& image, const BYTE* bits) {
  int stride = WidthBytes(image.width(), 1);
  for (int y = 0; y < image.height(); ++y) {
    const BYTE* row = bits + y * stride;
    for (int x = 0; x < image.width(); ++x) {
      bool white = (row[x / 8] >> (7 - x % 8)) & 1;
      image.setPixel(x, y, white ? 0xFFFFFFFFu : 0xFF000000u);
    }
  }
}

/* 24- and 32-bit source bits: blue, green, red (and a pad byte) per pixel. */
void LoadColorBits(QImage& image, const BYTE* bits, int bitsPixel) {
  int stride = WidthBytes(image.width(), bitsPixel);
  int bytesPerPixel = bitsPixel / 8;
  for (int y = 0; y < image.height(); ++y) {
    const BYTE* row = bits + y * stride;
    for (int x = 0; x < image.width(); ++x) {
      const BYTE* pixel = row + x * bytesPerPixel;
      image.setPixel(x, y, qRgb(pixel[2], pixel[1], pixel[0]));
    }
  }
}

}  // namespace

HGDIOBJ NewBitmap(int width, int height, int bitsPixel) {
  if (width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) {
    width = height = 1;
    bitsPixel = 1;
  }
  if (static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
  auto object = NewObject(ObjectKind::Bitmap);
  object->image = QImage(width, height, QImage::Format_RGB32);
  if (object->image.isNull()) return nullptr;
  object->image.fill(Qt::black);
  object->bitsPixel = bitsPixel == 1 ? 1 : 32;
  return RegisterObject(std::move(object));
}

QColor ColorOf(COLORREF color) {
  if ((color >> 24) == 0x01) {
    WORD index = static_cast<WORD>(color & 0xFFFF);
    color = index < kDefaultPalette.size() ? kDefaultPalette[index] : RGB(0, 0, 0);
  }
  return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

QPen QPenOf(const DeviceContext& dc, HGDIOBJ pen) {
  GdiObject* object = LookupObject(pen, ObjectKind::Pen);
  if (!object) return QPen(Qt::NoPen);
  const LOGPEN& logPen = object->pen;
  UINT style = logPen.lopnStyle & PS_STYLE_MASK;
  if (style == PS_NULL) return QPen(Qt::NoPen);
  // A width of 0 is one device pixel whatever the mapping mode.
  int width =
      std::max(1, static_cast<int>(std::lround(std::abs(logPen.lopnWidth.x * ScaleX(dc.state)))));
  QPen qpen(ColorOf(logPen.lopnColor), width);
  // Thin lines end short of their last pixel (flat caps); wide pens are round-ended and
  // round-joined, as the platform's pens are.
  qpen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
  qpen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  // Styled lines exist only one pixel wide; wider ones are solid, as on the platform.
  if (width == 1) {
    switch (style) {
      case PS_DASH: qpen.setDashPattern({18, 6}); break;
      case PS_DOT: qpen.setDashPattern({3, 3}); break;
      case PS_DASHDOT: qpen.setDashPattern({9, 6, 3, 6}); break;
      case PS_DASHDOTDOT: qpen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
      default: break;
    }
  }
  return qpen;
}

QBrush QBrushOf(const DeviceContext& dc, HGDIOBJ brush) {
  GdiObject* object = LookupObject(brush, ObjectKind::Brush);
  if (!object || object->brush.lbStyle != BS_PATTERN || !object->patternMonochrome)
    return GdiBrushToQBrush(static_cast<HBRUSH>(brush));
  // A monochrome pattern takes the DC's colours: clear bits the text colour, set bits the background.
  QImage tile = object->pattern.copy();
  QRgb ink = ColorOf(dc.state.textColor).rgb(), paper = ColorOf(dc.state.bkColor).rgb();
  for (int y = 0; y < tile.height(); ++y)
    for (int x = 0; x < tile.width(); ++x)
      tile.setPixel(x, y, (tile.pixel(x, y) & 0xFFFFFF) ? paper : ink);
  return QBrush(tile);
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

QColor GdiColorToQColor(COLORREF color) { return ColorOf(color); }

QBrush GdiBrushToQBrush(HBRUSH brush) {
  GdiObject* object = LookupObject(brush, ObjectKind::Brush);
  if (!object) return QBrush(Qt::NoBrush);
  const LOGBRUSH& logBrush = object->brush;
  switch (logBrush.lbStyle) {
    case BS_SOLID: return QBrush(ColorOf(logBrush.lbColor));
    case BS_HATCHED: {
      static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                Qt::FDiagPattern, Qt::BDiagPattern,
                                                Qt::CrossPattern, Qt::DiagCrossPattern};
      return QBrush(ColorOf(logBrush.lbColor), kHatches[std::min<ULONG_PTR>(logBrush.lbHatch, 5)]);
    }
    case BS_PATTERN: return QBrush(object->pattern);
    default: return QBrush(Qt::NoBrush);
  }
}

HGDIOBJ GetStockObject(int index) {
  static std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> stock{};
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  if (!stock[index]) {
    std::unique_ptr<GdiObject> object = MakeStockObject(index);
    if (!object) return nullptr;
    object->stock = true;
    stock[index] = RegisterObject(std::move(object));
  }
  return stock[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if ((static_cast<UINT>(style) & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
  LOGPEN pen{static_cast<UINT>(style), {std::abs(width), 0}, color};
  return CreatePenIndirect(&pen);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen || (pen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
  auto object = NewObject(ObjectKind::Pen);
  object->pen = *pen;
  return static_cast<HPEN>(RegisterObject(std::move(object)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  if (brush->lbStyle == BS_HATCHED && brush->lbHatch > HS_DIAGCROSS) return nullptr;
  if (brush->lbStyle == BS_PATTERN)
    return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
  if (brush->lbStyle > BS_PATTERN) return nullptr;
  auto object = NewObject(ObjectKind::Brush);
  object->brush = *brush;
  return static_cast<HBRUSH>(RegisterObject(std::move(object)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  LOGBRUSH brush{BS_SOLID, color, 0};
  return CreateBrushIndirect(&brush);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  LOGBRUSH brush{BS_HATCHED, color, static_cast<ULONG_PTR>(hatch)};
  return CreateBrushIndirect(&brush);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  GdiObject* source = LiveObject(bitmap, ObjectKind::Bitmap);
  if (!source) return nullptr;
  auto object = NewObject(ObjectKind::Brush);
  object->brush = LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(bitmap)};
  object->pattern = source->image.copy();  // the brush keeps its own copy of the pixels
  object->patternMonochrome = source->bitsPixel == 1;
  return static_cast<HBRUSH>(RegisterObject(std::move(object)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))
    return nullptr;
  HBITMAP handle = static_cast<HBITMAP>(NewBitmap(width, height, static_cast<int>(bitsPerPixel)));
  GdiObject* object = LookupObject(handle, ObjectKind::Bitmap);
  if (!object || !bits || width == 0 || height == 0) return handle;
  if (bitsPerPixel == 1) LoadMonochromeBits(object->image, static_cast<const BYTE*>(bits));
  else LoadColorBits(object->image, static_cast<const BYTE*>(bits), static_cast<int>(bitsPerPixel));
  return handle;
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* object = LiveObject(handle);
  if (!object) return FALSE;
  if (object->stock) return TRUE;  // stock objects are never freed
  if (object->selections > 0) {
    object->deletePending = true;
    return TRUE;
  }
  EraseObject(handle);
  return TRUE;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
  GdiObject* object = LiveObject(handle);
  if (!object || size < 0) return 0;
  auto copyOut = [&](const void* record, int recordSize) {
    if (!buffer) return recordSize;
    int copied = std::min(size, recordSize);
    std::memcpy(buffer, record, static_cast<size_t>(copied));
    return copied;
  };
  switch (object->kind) {
    case ObjectKind::Pen: return copyOut(&object->pen, sizeof(LOGPEN));
    case ObjectKind::Brush: return copyOut(&object->brush, sizeof(LOGBRUSH));
    case ObjectKind::Font: return copyOut(&object->font, sizeof(LOGFONT));
    case ObjectKind::Bitmap: {
      BITMAP bitmap{};
      bitmap.bmWidth = object->image.width();
      bitmap.bmHeight = object->image.height();
      bitmap.bmWidthBytes = WidthBytes(bitmap.bmWidth, object->bitsPixel);
      bitmap.bmPlanes = 1;
      bitmap.bmBitsPixel = static_cast<WORD>(object->bitsPixel);
      return copyOut(&bitmap, sizeof(BITMAP));
    }
    default: return 0;
  }
}
