/*
** Text: output at a reference point under the DC's alignment (TextOut, ExtTextOut), text
** metrics and extents in logical units, and the DC's font face. Text is laid out in device
** units, so y-up mapping modes place it right way up; DrawText is in gdi_drawtext.cpp.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_pdf_engine.h"
#include "platform/gdi/gdi_text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zarne::gdi {

TextLayout::TextLayout(DeviceContext& dc)
    : dc_(dc),
      realized_(CurrentRealizedFont(dc)),
      scaleX_(std::abs(ScaleX(dc.state))),
      scaleY_(std::abs(ScaleY(dc.state))) {
  ascent_ = realized_->ascent();
  descent_ = realized_->descent();
}

double TextLayout::averageCharWidth() const { return realized_->averageCharWidth(); }

double TextLayout::width(const QString& text) const { return realized_->width(text); }
double TextLayout::drawnWidth(const QString& text) const { return realized_->drawnWidth(text); }

LONG TextLayout::toLogicalX(double device) const {
  return static_cast<LONG>(std::lround(device / scaleX_));
}
LONG TextLayout::toLogicalY(double device) const {
  return static_cast<LONG>(std::lround(device / scaleY_));
}

void TextLayout::paint(DcPainter& painter, QPointF topLeft, const QString& text,
                       const INT* advances) const {
  double textWidth = advances ? 0 : width(text);
  if (advances)
    for (int i = 0; i < text.size(); ++i) textWidth += advances[i] * scaleX_;
  QPointF origin(std::round(topLeft.x()), std::round(topLeft.y()));
  PdfPaintEngine* pdf = PdfPaintEngine::Of(*painter);
  if (dc_.state.bkMode == OPAQUE) {
    const QRectF cell(origin.x(), origin.y(), std::ceil(textWidth), height());
    if (pdf) pdf->fillRect(*painter, cell, ColorOf(dc_.state.bkColor));
    else painter->fillRect(cell, ColorOf(dc_.state.bkColor));
  }
  double baseline = origin.y() + ascent_;
  // Shaped once per font and text, on printers too. The PDF device takes the glyphs
  // straight, with the text they stand for so that it reads back; the painter's own pen and
  // font are not needed there.
  const ShapedText* shaped = advances ? nullptr : realized_->glyphs(text);
  if (pdf && shaped &&
      pdf->drawGlyphRuns(*painter, QPointF(origin.x(), baseline), shaped->parts, text,
                         ColorOf(dc_.state.textColor)))
    return;
  const QList<QGlyphRun>* runs = shaped ? &shaped->runs() : nullptr;
  painter->setPen(ColorOf(dc_.state.textColor));
  painter->setFont(realized_->font());
  if (!advances) {
    if (!runs) {
      painter->drawText(QPointF(origin.x(), baseline), text);
      return;
    }
    for (const QGlyphRun& run : *runs) painter->drawGlyphRun(QPointF(origin.x(), baseline), run);
    return;
  }
  double x = origin.x();
  for (int i = 0; i < text.size(); ++i) {
    painter->drawText(QPointF(x, baseline), QString(text[i]));
    x += advances[i] * scaleX_;
  }
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

namespace {

/* Where the text's top-left corner goes for a reference point under an alignment. */
QPointF AlignedTopLeft(const TextLayout& layout, QPointF reference, UINT align, double textWidth) {
  double x = reference.x();
  if ((align & TA_CENTER) == TA_CENTER) x -= textWidth / 2;
  else if (align & TA_RIGHT) x -= textWidth;
  double y = reference.y();
  if ((align & TA_BASELINE) == TA_BASELINE) y -= layout.ascent();
  else if (align & TA_BOTTOM) y -= layout.height();
  return QPointF(x, y);
}

/* Moves the current position past text drawn with TA_UPDATECP. */
void AdvanceCurrentPosition(DeviceContext& dc, UINT align, LONG logicalWidth) {
  if ((align & TA_CENTER) == TA_CENTER) return;
  dc.state.position.x += (align & TA_RIGHT) ? -logicalWidth : logicalWidth;
}

BOOL OutputText(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text, int count,
                const INT* advances, const char* callName) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || count < 0 || (count > 0 && !text)) return FALSE;
  UINT align = dc->state.textAlign;
  POINT reference = (align & TA_UPDATECP) ? dc->state.position : POINT{x, y};
  QString qtext = TextFrom1252(text, count);
  if (Recording(*dc)) {
    GdiDrawRecord record;
    record.call = callName;
    record.points.push_back(reference);
    if (rect) record.rect = *rect;
    record.text.assign(text ? text : "", static_cast<size_t>(count));
    record.flags = rect ? options : align;
    RecordCall(*dc, record);
  }
  // No text and no opaque box: nothing is drawn and the current position stays, so neither
  // the font nor a painter is needed (most of a new file's statement fields are empty).
  const bool drawsSomething = count > 0 || (rect && (options & ETO_OPAQUE));
  if (!drawsSomething) return TRUE;
  TextLayout layout(*dc);
  double textWidth = layout.drawnWidth(qtext);
  if (advances) {
    textWidth = 0;
    for (int i = 0; i < count; ++i) textWidth += advances[i] * std::abs(ScaleX(dc->state));
  }
  {
    QRect box =
        rect ? LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom)
             : QRect();
    DcPainter painter(*dc, rect && (options & ETO_CLIPPED) ? box : QRect());
    if (painter.active()) {
      if (rect && (options & ETO_OPAQUE)) painter->fillRect(box, ColorOf(dc->state.bkColor));
      if (rect && (options & ETO_CLIPPED)) painter->setClipRect(box, Qt::IntersectClip);
      QPointF device = LogicalToDevice(dc->state, reference.x, reference.y);
      if (count > 0)
        layout.paint(painter, AlignedTopLeft(layout, device, align, textWidth), qtext, advances);
    }
  }
  if (align & TA_UPDATECP) AdvanceCurrentPosition(*dc, align, layout.toLogicalX(textWidth));
  return TRUE;
}

BOOL TextExtent(HDC handle, LPCSTR text, int count, LPSIZE size) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  TextLayout layout(*dc);
  size->cx = layout.toLogicalX(layout.width(TextFrom1252(text, count)));
  size->cy = layout.toLogicalY(layout.height());
  return TRUE;
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  return OutputText(dc, x, y, 0, nullptr, text, count, nullptr, "TextOut");
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* advances) {
  return OutputText(dc, x, y, options, rect, text, static_cast<int>(count), advances, "ExtTextOut");
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return TextExtent(dc, text, count, size);
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return TextExtent(dc, text, count, size);
}

BOOL GetTextMetricsA(HDC handle, LPTEXTMETRIC metrics) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !metrics) return FALSE;
  TextLayout layout(*dc);
  const QFontMetricsF& fm = layout.metrics();
  LOGFONT font = LogFontOf(dc->state.font);
  TEXTMETRIC tm{};
  tm.tmAscent = layout.toLogicalY(layout.ascent());
  tm.tmDescent = layout.toLogicalY(layout.descent());
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading =
      std::max<LONG>(0, tm.tmHeight - layout.toLogicalY(layout.font().pixelSize()));
  tm.tmExternalLeading = std::max<LONG>(0, layout.toLogicalY(fm.leading()));
  tm.tmAveCharWidth = layout.toLogicalX(layout.averageCharWidth());
  tm.tmMaxCharWidth = layout.toLogicalX(fm.maxWidth());
  tm.tmWeight = font.lfWeight > 0 ? font.lfWeight : FW_NORMAL;
  tm.tmDigitizedAspectX = dc->dpiX;
  tm.tmDigitizedAspectY = dc->dpiY;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = font.lfItalic ? 1 : 0;
  tm.tmUnderlined = font.lfUnderline ? 1 : 0;
  tm.tmStruckOut = font.lfStrikeOut ? 1 : 0;
  tm.tmPitchAndFamily = TextMetricPitchAndFamily(font);
  tm.tmCharSet = ANSI_CHARSET;
  *metrics = tm;
  return TRUE;
}

int GetTextFaceA(HDC handle, int size, LPSTR face) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return 0;
  std::string name = RealizedFaceName(LogFontOf(dc->state.font));
  if (!face) return static_cast<int>(name.size()) + 1;  // room needed, with the NUL
  if (size <= 0) return 0;
  size_t copied = std::min(name.size(), static_cast<size_t>(size - 1));
  std::memcpy(face, name.data(), copied);
  face[copied] = '\0';
  return static_cast<int>(copied);
}

BOOL GetCharWidthA(HDC handle, UINT first, UINT last, LPINT widths) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !widths || last < first || last > 0xFF) return FALSE;
  TextLayout layout(*dc);
  for (UINT code = first; code <= last; ++code) {
    char byte = static_cast<char>(code);
    widths[code - first] = layout.toLogicalX(layout.width(TextFrom1252(&byte, 1)));
  }
  return TRUE;
}
