/*
** Realised fonts kept between text calls: a logical font realised for one device scale,
** its metrics and the widths of the strings measured with it. Realising a font and shaping
** a string are most of what a text call costs, and windows repaint the same captions with
** the same few fonts over and over. Private to the library; GUI thread only.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_FONT_CACHE_H
#define ZARNE_PLATFORM_GDI_GDI_FONT_CACHE_H

#include "platform/gdi/gdi_internal.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

namespace zarne::gdi {

class RealizedFont {
 public:
  explicit RealizedFont(const QFont& font);
  const QFont& font() const { return font_; }
  const QFontMetricsF& metrics() const { return metrics_; }
  /* Whole-pixel ascent and descent; the cell height is their rounded sum, so they add up
     to it. */
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }
  /* The advance of a string, shaped once and remembered. */
  double width(const QString& text);
  /* The platform's average character width: lower-case letters and the space weighted by
     their frequency in English text; worked out once. */
  double averageCharWidth();
  /* The shaped glyphs of a string, placed from a baseline origin at (0, 0), shaped once and
     remembered; null where glyph runs would not paint what QPainter::drawText paints
     (control characters, underlined or struck-out fonts): such text is drawn as before. */
  const QList<QGlyphRun>* glyphs(const QString& text);

 private:
  QFont font_;
  QFontMetricsF metrics_;
  double ascent_ = 0;
  double descent_ = 0;
  QHash<QString, double> widths_;
  double averageCharWidth_ = -1;  // not yet worked out
  QHash<QString, QList<QGlyphRun>> glyphs_;
};

/* The realisation of the DC's selected font at the DC's scale, shared by every call that
   asks for the same font, scale and kind of device. */
std::shared_ptr<RealizedFont> CurrentRealizedFont(const DeviceContext& dc);

}  // namespace zarne::gdi

#endif
