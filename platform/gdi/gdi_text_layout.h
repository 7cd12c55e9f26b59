/*
** Text laid out in device units for one DC and its selected font: measuring, converting
** measures back to logical units, and painting one run of text at its top-left corner with
** the DC's colours and background mode. Private to the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_TEXT_LAYOUT_H
#define ZARNE_PLATFORM_GDI_GDI_TEXT_LAYOUT_H

#include "platform/gdi/gdi_font_cache.h"
#include "platform/gdi/gdi_internal.h"

#include <QFontMetricsF>

#include <memory>

namespace zarne::gdi {

class TextLayout {
 public:
  explicit TextLayout(DeviceContext& dc);
  /* Device-unit measures; ascent and descent are whole pixels, as text is placed on pixels. */
  double width(const QString& text) const;
  /* The width of text that is drawn next: measured and shaped in one go. */
  double drawnWidth(const QString& text) const;
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }
  double height() const { return ascent_ + descent_; }
  /* The platform's average character width: lower-case letters and the space weighted by
     their frequency in English text (fixed-pitch fonts: the one width). */
  double averageCharWidth() const;
  const QFont& font() const { return realized_->font(); }
  const QFontMetricsF& metrics() const { return realized_->metrics(); }
  LONG toLogicalX(double device) const;
  LONG toLogicalY(double device) const;
  /* Paints text whose cell's top-left corner is at a device point; `advances` (logical
     units, one per character) replace the font's own spacing when given. */
  void paint(DcPainter& painter, QPointF topLeft, const QString& text,
             const INT* advances = nullptr) const;

 private:
  DeviceContext& dc_;
  std::shared_ptr<RealizedFont> realized_;
  double scaleX_;
  double scaleY_;
  double ascent_ = 0;
  double descent_ = 0;
};

}  // namespace zarne::gdi

#endif
