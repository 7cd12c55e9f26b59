/*
** Realised fonts kept between text calls, looked up by the logical font's bytes, the device
** scale and whether the device is a raster. Both tables are bounded: when one fills it is
** emptied and refilled, as the fonts and captions in use change rarely.
*/
#include "platform/gdi/gdi_font_cache.h"

#include <QTextLayout>

#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zarne::gdi {

namespace {

constexpr size_t kMaxFonts = 64;
constexpr size_t kMaxTextsPerFont = 8192;

/* Tabs, line ends and other controls are laid out differently by a text layout than by a
   painter's single-line drawing, so such text is not shaped ahead. */
bool PlainText(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  return true;
}

/* The glyph runs of one line of text with the baseline of its origin at y = 0, and the
   line's advance. */
QList<QGlyphRun> ShapeLine(const QString& text, const QFont& font, double* advance) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  *advance = line.isValid() ? line.horizontalAdvance() : 0;
  QList<QGlyphRun> runs = layout.glyphRuns();
  const QPointF lift(0, line.isValid() ? line.ascent() : 0);
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& position : positions) position -= lift;
    run.setPositions(positions);
  }
  return runs;
}

/* The feature tags of an OpenType layout table (GSUB or GPOS); false when the table is cut
   short. An absent table has none. */
bool LayoutFeatures(const QByteArray& table, std::vector<std::string>* tags) {
  tags->clear();
  if (table.isEmpty()) return true;
  const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(table[i]); };
  const auto u16 = [&](qsizetype i) { return byteAt(i) << 8 | byteAt(i + 1); };
  if (table.size() < 10) return false;
  const qsizetype list = u16(6);
  if (list == 0) return true;
  if (list + 2 > table.size()) return false;
  const qsizetype count = u16(list);
  if (list + 2 + count * 6 > table.size()) return false;
  for (qsizetype i = 0; i < count; ++i) tags->emplace_back(table.constData() + list + 2 + i * 6, 4);
  return true;
}

/* Whether the face shapes every character alone: no substitution features, and no
   positioning but kerning when kerning is off; no AAT tables, which a shaper would follow
   instead. */
bool ShapesCharacterByCharacter(const QRawFont& face, bool kerning) {
  for (const char* aat : {"morx", "mort", "kerx", "trak"})
    if (!face.fontTable(aat).isEmpty()) return false;
  std::vector<std::string> tags;
  if (!LayoutFeatures(face.fontTable("GSUB"), &tags) || !tags.empty()) return false;
  if (!LayoutFeatures(face.fontTable("GPOS"), &tags)) return false;
  for (const std::string& tag : tags)
    if (tag != "kern" || kerning) return false;
  return true;
}

/* The bytes a realised font is known by: the logical font (its face name compared up to its
   NUL only, so bytes after it cannot split a font), the device scale and the device kind. */
struct FontKey {
  char bytes[sizeof(LOGFONT) + sizeof(double) + 1];

  FontKey(const LOGFONT& font, double scale, bool raster) {
    LOGFONT normalised = font;
    size_t faceLength = strnlen(font.lfFaceName, LF_FACESIZE);
    std::memset(normalised.lfFaceName + faceLength, 0, LF_FACESIZE - faceLength);
    std::memcpy(bytes, &normalised, sizeof normalised);
    std::memcpy(bytes + sizeof normalised, &scale, sizeof scale);
    bytes[sizeof bytes - 1] = raster ? 'r' : 'v';
  }
  bool operator==(const FontKey& other) const {
    return std::memcmp(bytes, other.bytes, sizeof bytes) == 0;
  }
  std::string text() const { return std::string(bytes, sizeof bytes); }
};

}  // namespace

RealizedFont::RealizedFont(const QFont& font) : font_(font), metrics_(font_) {
  double cell = std::round(metrics_.ascent() + metrics_.descent());
  descent_ = std::round(metrics_.descent());
  ascent_ = cell - descent_;
}

size_t RealizedFont::TextHash::operator()(const QString& text) const noexcept {
  return std::hash<std::u16string_view>()(std::u16string_view(
      reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

const QList<QGlyphRun>& ShapedText::runs() const {
  if (!haveRuns_) {
    runs_.clear();
    for (const ShapedRun& part : parts) {
      QGlyphRun run;
      run.setRawFont(part.face);
      run.setGlyphIndexes(part.glyphs);
      run.setPositions(part.positions);
      runs_.append(run);
    }
    haveRuns_ = true;
  }
  return runs_;
}

void ShapedText::setRuns(QList<QGlyphRun> runs) {
  runs_ = std::move(runs);
  haveRuns_ = true;
}

void ShapedText::forgetRuns() {
  runs_.clear();
  haveRuns_ = false;
}

RealizedFont::TextShape& RealizedFont::entryOf(const QString& text) {
  if (lastEntry_ && *lastText_ == text) return *lastEntry_;
  auto found = texts_.find(text);
  if (found == texts_.end()) {
    if (texts_.size() >= kMaxTextsPerFont) texts_.clear();
    found = texts_.emplace(text, TextShape{}).first;
  }
  // Entries stay where they are until the table is emptied (a node-based table).
  lastText_ = &found->first;
  lastEntry_ = &found->second;
  return found->second;
}

double RealizedFont::width(const QString& text) {
  if (placed_.shaped && placedText_ == text) return placed_.width;
  TextShape& entry = entryOf(text);
  if (entry.width < 0) entry.width = metrics_.horizontalAdvance(text);
  return entry.width;
}

double RealizedFont::drawnWidth(const QString& text) {
  if (!drawsGlyphRuns(text)) return width(text);
  return drawnEntry(text).width;
}

RealizedFont::TextShape& RealizedFont::drawnEntry(const QString& text) {
  if (placed_.shaped && placedText_ == text) return placed_;  // measured, now drawn
  const bool last = lastEntry_ && *lastText_ == text;
  if (!last && placedByCharacter(text) && texts_.find(text) == texts_.end()) {
    place(text);
    return placed_;
  }
  TextShape& entry = entryOf(text);
  if (!entry.shaped) shape(entry, text);
  return entry;
}

bool RealizedFont::placedByCharacter(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c.unicode() < kFirstPlaced || c.unicode() > kLastPlaced) return false;
  if (placement_ == Placement::Unknown) learnCharacters();
  return placement_ == Placement::ByCharacter;
}

void RealizedFont::learnCharacters() {
  placement_ = Placement::Shaped;
  // Every placed character, and one more so that the last one's advance shows.
  QString line;
  for (char16_t c = kFirstPlaced; c <= kLastPlaced; ++c) line.append(QChar(c));
  line.append(QChar(kFirstPlaced + 1));
  double advance = 0;
  const QList<QGlyphRun> runs = ShapeLine(line, font_, &advance);
  if (runs.size() != 1) return;
  const QList<quint32> glyphs = runs.front().glyphIndexes();
  const QList<QPointF> positions = runs.front().positions();
  if (glyphs.size() != line.size() || positions.size() != line.size()) return;
  if (glyphs.back() != glyphs[1]) return;
  for (const QPointF& position : positions)
    if (position.y() != positions.front().y()) return;
  if (!ShapesCharacterByCharacter(runs.front().rawFont(), font_.kerning())) return;
  for (int i = 0; i < kPlacedCount; ++i) {
    placedGlyph_[i] = glyphs[i];
    placedAdvance_[i] = positions[i + 1].x() - positions[i].x();
  }
  placedOrigin_ = positions.front();
  placedFace_ = runs.front().rawFont();
  placement_ = Placement::ByCharacter;
}

void RealizedFont::place(const QString& text) {
  placedText_ = text;
  ShapedText& shape = placed_.shape;
  shape.forgetRuns();
  shape.parts.resize(1);
  ShapedRun& run = shape.parts.front();
  run.face = placedFace_;
  run.glyphs.resize(text.size());
  run.positions.resize(text.size());
  quint32* glyph = run.glyphs.data();
  QPointF* position = run.positions.data();
  // Sums of the same advances in the same order as the shaped line's own.
  double x = placedOrigin_.x();
  const double y = placedOrigin_.y();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int c = text[i].unicode() - kFirstPlaced;
    glyph[i] = placedGlyph_[c];
    position[i] = QPointF(x, y);
    x += placedAdvance_[c];
  }
  placed_.width = x - placedOrigin_.x();
  placed_.shaped = true;
}

bool RealizedFont::drawsGlyphRuns(const QString& text) const {
  // Decorations drawn along glyph runs can end a pixel apart from the painter's own.
  return !font_.underline() && !font_.strikeOut() && !font_.overline() && PlainText(text);
}

void RealizedFont::shape(TextShape& entry, const QString& text) {
  double lineAdvance = 0;
  QList<QGlyphRun> runs = ShapeLine(text, font_, &lineAdvance);
  entry.shape.parts.clear();
  entry.shape.parts.reserve(static_cast<size_t>(runs.size()));
  for (const QGlyphRun& run : runs)
    entry.shape.parts.push_back({run.rawFont(), run.glyphIndexes(), run.positions()});
  entry.shape.setRuns(std::move(runs));
  entry.shaped = true;
  // A soft hyphen ending the line is shown by the line and not by the measure.
  if (entry.width < 0)
    entry.width = text.contains(QChar(0xAD)) ? metrics_.horizontalAdvance(text) : lineAdvance;
}

double RealizedFont::averageCharWidth() {
  static constexpr int kLetterWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                             56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
  static constexpr int kSpaceWeight = 166;
  if (averageCharWidth_ >= 0) return averageCharWidth_;
  double sum = kSpaceWeight * metrics_.horizontalAdvance(QChar(' '));
  for (int i = 0; i < 26; ++i)
    sum += kLetterWeights[i] * metrics_.horizontalAdvance(QChar('a' + i));
  averageCharWidth_ = sum / 1000.0;
  return averageCharWidth_;
}

const ShapedText* RealizedFont::glyphs(const QString& text) {
  if (!drawsGlyphRuns(text)) return nullptr;
  return &drawnEntry(text).shape;
}

std::shared_ptr<RealizedFont> CurrentRealizedFont(const DeviceContext& dc) {
  // Owner: platform/gdi. The table, and the font asked for last, answered first: the text
  // calls of a page ask for one font many times in a row.
  static std::unordered_map<std::string, std::shared_ptr<RealizedFont>> fonts;
  static std::optional<FontKey> lastKey;
  static std::shared_ptr<RealizedFont> last;
  const LOGFONT logFont = LogFontOf(dc.state.font);
  const double scale = ScaleY(dc.state);
  const bool raster = dc.kind != DcKind::Printer;
  const FontKey key(logFont, scale, raster);
  if (last && *lastKey == key) return last;
  std::string text = key.text();
  auto found = fonts.find(text);
  if (found == fonts.end()) {
    if (fonts.size() >= kMaxFonts) fonts.clear();  // callers keep their own share alive
    auto realized = std::make_shared<RealizedFont>(RealizeFont(logFont, scale, raster));
    found = fonts.emplace(std::move(text), std::move(realized)).first;
  }
  lastKey = key;
  last = found->second;
  return last;
}

}  // namespace zarne::gdi
