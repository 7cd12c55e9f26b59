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
#include <QList>
#include <QString>

#include <QRawFont>

#include <memory>
#include <unordered_map>
#include <vector>

namespace zarne::gdi {

/* One shaped run's face, glyphs and positions, taken out of its QGlyphRun once: the run
   hands out fresh copies of its lists on every call. */
struct ShapedRun {
  QRawFont face;
  QList<quint32> glyphs;
  QList<QPointF> positions;
};

/* A string shaped for drawing: the runs' parts, and the same runs as a QPainter draws them
   (made from the parts on first use where the shaping did not hand them over: the PDF
   device draws the parts alone). */
struct ShapedText {
  std::vector<ShapedRun> parts;
  const QList<QGlyphRun>& runs() const;
  void setRuns(QList<QGlyphRun> runs);
  void forgetRuns();

 private:
  mutable QList<QGlyphRun> runs_;
  mutable bool haveRuns_ = false;
};

class RealizedFont {
 public:
  explicit RealizedFont(const QFont& font);
  const QFont& font() const { return font_; }
  const QFontMetricsF& metrics() const { return metrics_; }
  /* Whole-pixel ascent and descent; the cell height is their rounded sum, so they add up
     to it. */
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }
  /* The advance of a string, measured once and remembered. */
  double width(const QString& text);
  /* The same advance for a string about to be drawn: shaped once for both the measure and
     the glyphs (the shaped line's advance is the measured one for such text). */
  double drawnWidth(const QString& text);
  /* The platform's average character width: lower-case letters and the space weighted by
     their frequency in English text; worked out once. */
  double averageCharWidth();
  /* The shaped glyphs of a string, placed from a baseline origin at (0, 0), shaped once and
     remembered; null where glyph runs would not paint what QPainter::drawText paints
     (control characters, underlined or struck-out fonts): such text is drawn as before. */
  const ShapedText* glyphs(const QString& text);

 private:
  QFont font_;
  QFontMetricsF metrics_;
  double ascent_ = 0;
  double descent_ = 0;
  struct TextShape {
    double width = -1;    // not yet measured
    bool shaped = false;  // runs worked out
    ShapedText shape;
  };
  /* Strings hashed over all their characters: Qt's own string hash let report figures that
     differ in a digit or two fall together, and lookups went through long probe chains. */
  struct TextHash {
    size_t operator()(const QString& text) const noexcept;
  };
  /* The string's entry, made empty when new; the last one asked for is answered first, as a
     text is measured and then drawn. */
  TextShape& entryOf(const QString& text);
  /* The shaped entry of a string about to be drawn: the table's when it holds the string,
     else for text placed by character the one entry kept for that (most such strings in a
     report, names and file numbers, are drawn once: holding them all only churned the
     table), else a new table entry. */
  TextShape& drawnEntry(const QString& text);
  /* Glyph runs can stand for the text (see glyphs()). */
  bool drawsGlyphRuns(const QString& text) const;
  void shape(TextShape& entry, const QString& text);

  /* Printable ASCII in a face that neither substitutes glyphs nor moves them by their
     neighbours (kerning off): shaping gives each character its own glyph and advance
     wherever it stands, so its glyphs are placed from those, learnt once per font from one
     shaped line, without laying the text out again. */
  bool placedByCharacter(const QString& text);
  void learnCharacters();
  void place(const QString& text);
  static constexpr char16_t kFirstPlaced = 0x20;
  static constexpr char16_t kLastPlaced = 0x7E;
  static constexpr int kPlacedCount = kLastPlaced - kFirstPlaced + 1;
  enum class Placement { Unknown, ByCharacter, Shaped };
  Placement placement_ = Placement::Unknown;
  QRawFont placedFace_;
  quint32 placedGlyph_[kPlacedCount] = {};
  double placedAdvance_[kPlacedCount] = {};
  QPointF placedOrigin_;
  QString placedText_;
  TextShape placed_;

  std::unordered_map<QString, TextShape, TextHash> texts_;
  const QString* lastText_ = nullptr;  // key of lastEntry_ inside texts_
  TextShape* lastEntry_ = nullptr;
  double averageCharWidth_ = -1;  // not yet worked out
};

/* The realisation of the DC's selected font at the DC's scale, shared by every call that
   asks for the same font, scale and kind of device. */
std::shared_ptr<RealizedFont> CurrentRealizedFont(const DeviceContext& dc);

}  // namespace zarne::gdi

#endif
