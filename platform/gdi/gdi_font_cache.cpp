/*
** Realised fonts kept between text calls, looked up by the logical font's bytes, the device
** scale and whether the device is a raster. Both tables are bounded: when one fills it is
** emptied and refilled, as the fonts and captions in use change rarely.
*/
#include "platform/gdi/gdi_font_cache.h"

#include <QTextLayout>

#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

namespace zarne::gdi {

namespace {

constexpr size_t kMaxFonts = 64;
constexpr qsizetype kMaxWidthsPerFont = 8192;
constexpr qsizetype kMaxGlyphRunsPerFont = 4096;

/* Tabs, line ends and other controls are laid out differently by a text layout than by a
   painter's single-line drawing, so such text is not shaped ahead. */
bool PlainText(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  return true;
}

/* The glyph runs of one line of text with the baseline of its origin at y = 0. */
QList<QGlyphRun> ShapeLine(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  QList<QGlyphRun> runs = layout.glyphRuns();
  const QPointF lift(0, line.isValid() ? line.ascent() : 0);
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& position : positions) position -= lift;
    run.setPositions(positions);
  }
  return runs;
}

std::string KeyOf(const LOGFONT& font, double scale, bool raster) {
  // The face name is compared up to its NUL only, so bytes after it cannot split a font.
  LOGFONT normalised = font;
  size_t faceLength = strnlen(font.lfFaceName, LF_FACESIZE);
  std::memset(normalised.lfFaceName + faceLength, 0, LF_FACESIZE - faceLength);
  std::string key(reinterpret_cast<const char*>(&normalised), sizeof normalised);
  key.append(reinterpret_cast<const char*>(&scale), sizeof scale);
  key.push_back(raster ? 'r' : 'v');
  return key;
}

}  // namespace

RealizedFont::RealizedFont(const QFont& font) : font_(font), metrics_(font_) {
  double cell = std::round(metrics_.ascent() + metrics_.descent());
  descent_ = std::round(metrics_.descent());
  ascent_ = cell - descent_;
}

double RealizedFont::width(const QString& text) {
  auto found = widths_.constFind(text);
  if (found != widths_.constEnd()) return found.value();
  if (widths_.size() >= kMaxWidthsPerFont) widths_.clear();
  double measured = metrics_.horizontalAdvance(text);
  widths_.insert(text, measured);
  return measured;
}

double RealizedFont::averageCharWidth() {
  static constexpr int kLetterWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                             56, 56, 17, 4,  49, 56,  71, 31, 10, 18, 3,  18, 2};
  static constexpr int kSpaceWeight = 166;
  if (averageCharWidth_ >= 0) return averageCharWidth_;
  double sum = kSpaceWeight * metrics_.horizontalAdvance(QChar(' '));
  for (int i = 0; i < 26; ++i) sum += kLetterWeights[i] * metrics_.horizontalAdvance(QChar('a' + i));
  averageCharWidth_ = sum / 1000.0;
  return averageCharWidth_;
}

const QList<QGlyphRun>* RealizedFont::glyphs(const QString& text) {
  // Decorations drawn along glyph runs can end a pixel apart from the painter's own.
  if (font_.underline() || font_.strikeOut() || font_.overline() || !PlainText(text)) return nullptr;
  auto found = glyphs_.constFind(text);
  if (found != glyphs_.constEnd()) return &found.value();
  if (glyphs_.size() >= kMaxGlyphRunsPerFont) glyphs_.clear();
  return &glyphs_.insert(text, ShapeLine(text, font_)).value();
}

std::shared_ptr<RealizedFont> CurrentRealizedFont(const DeviceContext& dc) {
  static std::unordered_map<std::string, std::shared_ptr<RealizedFont>> fonts;
  const LOGFONT logFont = LogFontOf(dc.state.font);
  const double scale = ScaleY(dc.state);
  const bool raster = dc.kind != DcKind::Printer;
  std::string key = KeyOf(logFont, scale, raster);
  auto found = fonts.find(key);
  if (found != fonts.end()) return found->second;
  if (fonts.size() >= kMaxFonts) fonts.clear();  // callers keep their own share alive
  auto realized = std::make_shared<RealizedFont>(RealizeFont(logFont, scale, raster));
  fonts.emplace(std::move(key), realized);
  return realized;
}

}  // namespace zarne::gdi
