/*
** The PDF device's paint engine: painter calls and glyph runs as PDF page content. The
** page's coordinates are printer dots, y down, from the printable area's corner: one matrix
** at the start of the page maps them onto the paper, so every figure is written as the
** painter gave it. The clip is a saved graphics state of its own, replaced when it changes.
*/
#include "platform/gdi/gdi_pdf_engine.h"

#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

namespace zarne::gdi {

namespace {

constexpr QPaintEngine::Type kPdfEngineType =
    static_cast<QPaintEngine::Type>(QPaintEngine::User + 38);
constexpr size_t kPageContentRoom = 64 * 1024;

bool TranslationOnly(const QTransform& m) { return m.type() <= QTransform::TxTranslate; }

void AppendHex4(std::string& out, quint32 value) {
  static const char kDigits[] = "0123456789ABCDEF";
  char text[4] = {kDigits[value >> 12 & 0xF], kDigits[value >> 8 & 0xF], kDigits[value >> 4 & 0xF],
                  kDigits[value & 0xF]};
  out.append(text, 4);
}

QPainterPath PathOfRegion(const QRegion& region) {
  QPainterPath path;
  path.addRegion(region);
  return path;
}

/* Raw fonts of painter text items, by the font's key: drawText of single characters asks
   for the same few fonts again and again. */
const QRawFont& RawFontOf(const QFont& font) {
  static std::unordered_map<std::string, QRawFont> faces;
  std::string key = font.key().toStdString();
  auto found = faces.find(key);
  if (found != faces.end()) return found->second;
  if (faces.size() >= 64) faces.clear();
  return faces.emplace(std::move(key), QRawFont::fromFont(font)).first->second;
}

}  // namespace

bool PdfPaintEngine::Clip::operator==(const Clip& other) const {
  if (on != other.on) return false;
  if (!on) return true;
  if (isPath != other.isPath) return false;
  return isPath ? path == other.path : region == other.region;
}

PdfPaintEngine::PdfPaintEngine(PdfDocument& document)
    : QPaintEngine(AllFeatures), document_(document) {}

PdfPaintEngine* PdfPaintEngine::Of(QPainter& painter) {
  QPaintEngine* engine = painter.paintEngine();
  return engine && engine->type() == kPdfEngineType ? static_cast<PdfPaintEngine*>(engine)
                                                    : nullptr;
}

QPaintEngine::Type PdfPaintEngine::type() const { return kPdfEngineType; }

void PdfPaintEngine::startPage() {
  const PdfPageGeometry& page = document_.geometry();
  const double scale = 72.0 / page.dpi;
  out_.clear();
  // Room for a full page at once: a page of form and fields runs to tens of kilobytes, and
  // growing the content step by step copied it over and over.
  out_.reserve(kPageContentRoom);
  out_ += "q ";
  AppendNumber(out_, scale);
  out_ += " 0 0 ";
  AppendNumber(out_, -scale);
  out_ += " ";
  AppendNumber(out_, page.offsetXDots * scale);
  out_ += " ";
  AppendNumber(out_, page.heightPoints - page.offsetYDots * scale);
  out_ += " cm\n";
  inText_ = false;
  emitted_ = Emitted{};
  emittedClip_ = Clip{};
}

std::string PdfPaintEngine::endPage() {
  endText();
  if (emittedClip_.on) out_ += "Q\n";
  out_ += "Q\n";
  emittedClip_ = Clip{};
  return std::move(out_);
}

void PdfPaintEngine::updateState(const QPaintEngineState& state) {
  const DirtyFlags flags = state.state();
  if (flags & DirtyTransform) matrix_ = state.transform();
  if (flags & DirtyPen) pen_ = state.pen();
  if (flags & DirtyBrush) brush_ = state.brush();
  if (flags & DirtyBrushOrigin) brushOrigin_ = state.brushOrigin();
  if (flags & DirtyBackground) background_ = state.backgroundBrush();
  if (flags & DirtyBackgroundMode) backgroundMode_ = state.backgroundMode();
  if (flags & (DirtyClipPath | DirtyClipRegion)) {
    Clip given;
    given.on = state.clipOperation() != Qt::NoClip;
    if (given.on) {
      if ((flags & DirtyClipPath) || !TranslationOnly(matrix_) ||
          matrix_.dx() != std::floor(matrix_.dx()) || matrix_.dy() != std::floor(matrix_.dy())) {
        given.isPath = true;
        given.path = matrix_.map((flags & DirtyClipPath) ? state.clipPath()
                                                         : PathOfRegion(state.clipRegion()));
      } else {
        given.region = state.clipRegion().translated(static_cast<int>(matrix_.dx()),
                                                     static_cast<int>(matrix_.dy()));
      }
    }
    if (state.clipOperation() == Qt::IntersectClip && painterClip_.on) {
      if (!painterClip_.isPath && !given.isPath) {
        given.region &= painterClip_.region;
      } else {
        QPainterPath current =
            painterClip_.isPath ? painterClip_.path : PathOfRegion(painterClip_.region);
        QPainterPath added = given.isPath ? given.path : PathOfRegion(given.region);
        given.isPath = true;
        given.path = current.intersected(added);
      }
    }
    painterClip_ = given;
  }
  if ((flags & DirtyClipEnabled) && !state.isClipEnabled()) painterClip_ = Clip{};
}

void PdfPaintEngine::applyClip(const Clip& wanted) {
  if (wanted == emittedClip_) return;
  endText();
  if (emittedClip_.on) {
    out_ += "Q\n";
    emitted_ = Emitted{};
  }
  emittedClip_ = wanted;
  if (!wanted.on) return;
  out_ += "q\n";
  if (wanted.isPath) {
    appendPath(wanted.path, true);
    out_ += wanted.path.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
    return;
  }
  if (wanted.region.isEmpty()) out_ += "0 0 0 0 re\n";
  for (const QRect& r : wanted.region) {
    AppendInt(out_, r.x());
    out_ += ' ';
    AppendInt(out_, r.y());
    out_ += ' ';
    AppendInt(out_, r.width());
    out_ += ' ';
    AppendInt(out_, r.height());
    out_ += " re\n";
  }
  out_ += "W n\n";
}

void PdfPaintEngine::beginDrawing() {
  endText();
  applyClip(painterClip_);
}

void PdfPaintEngine::endText() {
  if (!inText_) return;
  out_ += "ET\n";
  inText_ = false;
}

void PdfPaintEngine::appendColor(QRgb rgb, bool stroke) {
  // A page switches between a few colours many times (a white box under each field's
  // text, then black again): each colour's operator is written out once and then copied.
  for (const ColorOperator& known : colorOperators_)
    if (known.rgb == rgb && known.stroke == stroke) {
      out_ += known.text;
      return;
    }
  std::string text;
  if (document_.gray()) {
    AppendNumber(text, qGray(rgb) / 255.0);
    text += stroke ? " G\n" : " g\n";
  } else {
    AppendNumber(text, qRed(rgb) / 255.0);
    text += ' ';
    AppendNumber(text, qGreen(rgb) / 255.0);
    text += ' ';
    AppendNumber(text, qBlue(rgb) / 255.0);
    text += stroke ? " RG\n" : " rg\n";
  }
  out_ += text;
  if (colorOperators_.size() < kKeptColorOperators)
    colorOperators_.push_back({rgb, stroke, std::move(text)});
}

void PdfPaintEngine::setFill(const QColor& color) {
  QRgb rgb = color.rgb() | 0xFF000000;
  if (rgb == emitted_.fill) return;
  emitted_.fill = rgb;
  appendColor(rgb, false);
}

void PdfPaintEngine::setStroke(const QPen& pen) {
  QRgb rgb = pen.color().rgb() | 0xFF000000;
  if (rgb != emitted_.stroke) {
    emitted_.stroke = rgb;
    appendColor(rgb, true);
  }
  double width = pen.widthF();
  if (width != emitted_.width) {
    emitted_.width = width;
    AppendNumber(out_, width);
    out_ += " w\n";
  }
  int cap = pen.capStyle() == Qt::RoundCap ? 1 : pen.capStyle() == Qt::SquareCap ? 2 : 0;
  if (cap != emitted_.cap) {
    emitted_.cap = cap;
    AppendInt(out_, cap);
    out_ += " J\n";
  }
  int join = pen.joinStyle() == Qt::RoundJoin ? 1 : pen.joinStyle() == Qt::MiterJoin ? 0 : 2;
  if (join != emitted_.join) {
    emitted_.join = join;
    AppendInt(out_, join);
    out_ += " j\n";
  }
  std::string dash;
  if (pen.style() != Qt::SolidLine) {
    const double unit = std::max(width, 1.0);
    dash = "[";
    for (qreal length : pen.dashPattern()) {
      if (dash.size() > 1) dash += ' ';
      AppendNumber(dash, length * unit);
    }
    dash += "]";
    AppendNumber(dash, pen.dashOffset() * unit);
    dash += " d\n";
  }
  if (dash != emitted_.dash) {
    out_ += dash.empty() ? "[]0 d\n" : dash;
    emitted_.dash = dash;
  }
}

void PdfPaintEngine::appendPoint(QPointF p) {
  AppendNumber(out_, p.x());
  out_ += ' ';
  AppendNumber(out_, p.y());
}

void PdfPaintEngine::appendPath(const QPainterPath& path, bool close) {
  QPointF start, last;
  bool open = false;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    switch (e.type) {
      case QPainterPath::MoveToElement:
        if (open && close && last == start) out_ += "h\n";
        appendPoint(e);
        out_ += " m\n";
        start = last = e;
        open = true;
        break;
      case QPainterPath::LineToElement:
        appendPoint(e);
        out_ += " l\n";
        last = e;
        break;
      case QPainterPath::CurveToElement:
        if (i + 2 < path.elementCount()) {
          appendPoint(e);
          out_ += ' ';
          appendPoint(path.elementAt(i + 1));
          out_ += ' ';
          appendPoint(path.elementAt(i + 2));
          out_ += " c\n";
          last = path.elementAt(i + 2);
          i += 2;
        }
        break;
      default: break;
    }
  }
  if (open && close && last == start) out_ += "h\n";
}

void PdfPaintEngine::paintPath(const QPainterPath& devicePath, bool fill, bool stroke,
                               bool oddEven) {
  fill = fill && brush_.style() != Qt::NoBrush && brush_.color().alpha() > 0;
  stroke = stroke && pen_.style() != Qt::NoPen && pen_.color().alpha() > 0;
  if (fill && brush_.style() != Qt::SolidPattern) {
    paintBrushImage(devicePath);
    fill = false;
  }
  if (!fill && !stroke) return;
  beginDrawing();
  if (fill) setFill(brush_.color());
  if (stroke) setStroke(pen_);
  appendPath(devicePath, fill || stroke);
  if (fill && stroke) out_ += oddEven ? "B*\n" : "B\n";
  else if (fill) out_ += oddEven ? "f*\n" : "f\n";
  else out_ += "S\n";
}

void PdfPaintEngine::paintBrushImage(const QPainterPath& devicePath) {
  // Hatches, pattern bitmaps and gradients are drawn as the raster engine draws them, into
  // an image of the area laid over the page (at most four million pixels).
  const PdfPageGeometry& page = document_.geometry();
  QRectF area = devicePath.boundingRect() & QRectF(0, 0, page.widthDots, page.heightDots);
  QRect pixels = area.toAlignedRect();
  if (pixels.isEmpty()) return;
  const double scale = std::min(1.0, std::sqrt(4.0e6 / (double(pixels.width()) * pixels.height())));
  QImage image(std::max(1, int(std::ceil(pixels.width() * scale))),
               std::max(1, int(std::ceil(pixels.height() * scale))),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.translate(-pixels.topLeft());
    painter.setPen(Qt::NoPen);
    painter.setBackgroundMode(backgroundMode_);
    painter.setBackground(background_);
    painter.setBrushOrigin(matrix_.map(brushOrigin_));
    painter.setBrush(brush_);
    painter.drawPath(devicePath);
  }
  beginDrawing();
  placeImage(QRectF(pixels), image);
}

void PdfPaintEngine::placeImage(const QRectF& r, const QImage& image) {
  int resource = document_.image(image);
  if (!resource) return;
  out_ += "q ";
  AppendNumber(out_, r.width());
  out_ += " 0 0 ";
  AppendNumber(out_, -r.height());
  out_ += ' ';
  AppendNumber(out_, r.x());
  out_ += ' ';
  AppendNumber(out_, r.y() + r.height());
  out_ += " cm /Im";
  AppendInt(out_, resource);
  out_ += " Do Q\n";
}

void PdfPaintEngine::drawRects(const QRectF* rects, int count) {
  const bool fill = brush_.style() != Qt::NoBrush && brush_.color().alpha() > 0;
  const bool stroke = pen_.style() != Qt::NoPen && pen_.color().alpha() > 0;
  if (!fill && !stroke) return;
  if ((fill && brush_.style() != Qt::SolidPattern) || !TranslationOnly(matrix_)) {
    for (int i = 0; i < count; ++i) {
      QPainterPath path;
      path.addRect(rects[i]);
      paintPath(matrix_.map(path), true, true, false);
    }
    return;
  }
  beginDrawing();
  if (fill) setFill(brush_.color());
  if (stroke) setStroke(pen_);
  for (int i = 0; i < count; ++i) {
    QRectF r = rects[i].translated(matrix_.dx(), matrix_.dy());
    appendPoint(r.topLeft());
    out_ += ' ';
    AppendNumber(out_, r.width());
    out_ += ' ';
    AppendNumber(out_, r.height());
    out_ += " re\n";
  }
  out_ += fill && stroke ? "B\n" : fill ? "f\n" : "S\n";
}

void PdfPaintEngine::drawLines(const QLineF* lines, int count) {
  if (pen_.style() == Qt::NoPen || pen_.color().alpha() == 0 || count <= 0) return;
  beginDrawing();
  setStroke(pen_);
  for (int i = 0; i < count; ++i) {
    appendPoint(matrix_.map(lines[i].p1()));
    out_ += " m ";
    appendPoint(matrix_.map(lines[i].p2()));
    out_ += " l\n";
  }
  out_ += "S\n";
}

void PdfPaintEngine::drawPath(const QPainterPath& path) {
  paintPath(matrix_.map(path), true, true, path.fillRule() == Qt::OddEvenFill);
}

void PdfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
  if (count <= 0) return;
  QPainterPath path;
  path.moveTo(points[0]);
  for (int i = 1; i < count; ++i) path.lineTo(points[i]);
  if (mode != PolylineMode) path.closeSubpath();
  paintPath(matrix_.map(path), mode != PolylineMode, true, mode == OddEvenMode);
}

void PdfPaintEngine::drawPoints(const QPointF* points, int count) {
  if (pen_.style() == Qt::NoPen || count <= 0) return;
  beginDrawing();
  setFill(pen_.color());
  const double size = std::max(1.0, pen_.widthF());
  for (int i = 0; i < count; ++i) {
    QPointF p = matrix_.map(points[i]);
    appendPoint(QPointF(p.x() - size / 2, p.y() - size / 2));
    out_ += ' ';
    AppendNumber(out_, size);
    out_ += ' ';
    AppendNumber(out_, size);
    out_ += " re\n";
  }
  out_ += "f\n";
}

void PdfPaintEngine::drawEllipse(const QRectF& rect) {
  QPainterPath path;
  path.addEllipse(rect);
  drawPath(path);
}

void PdfPaintEngine::drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) {
  drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
}

void PdfPaintEngine::drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                               Qt::ImageConversionFlags) {
  if (image.isNull() || rect.isEmpty()) return;
  QImage shown =
      source.toAlignedRect() == image.rect() ? image : image.copy(source.toAlignedRect());
  beginDrawing();
  placeImage(matrix_.mapRect(rect), shown);
}

void PdfPaintEngine::drawTiledPixmap(const QRectF& rect, const QPixmap& pixmap,
                                     const QPointF& offset) {
  if (pixmap.isNull() || rect.isEmpty()) return;
  const QImage image = pixmap.toImage();
  const double w = image.width(), h = image.height();
  beginDrawing();
  QRectF area = matrix_.mapRect(rect);
  out_ += "q\n";
  appendPoint(area.topLeft());
  out_ += ' ';
  AppendNumber(out_, area.width());
  out_ += ' ';
  AppendNumber(out_, area.height());
  out_ += " re W n\n";
  for (double y = rect.top() - offset.y(); y < rect.bottom(); y += h)
    for (double x = rect.left() - offset.x(); x < rect.right(); x += w)
      placeImage(matrix_.mapRect(QRectF(x, y, w, h)), image);
  out_ += "Q\n";
  emitted_ = Emitted{};  // what was set inside is undone; write it again when next needed
}

void PdfPaintEngine::showGlyphs(const QRawFont& face, const quint32* glyphs,
                                const QPointF* positions, int count, QPointF origin,
                                const QChar* chars) {
  int resource = 0;
  PdfFont* font = count > 0 ? document_.font(face, &resource) : nullptr;
  if (!font) {
    // A face that cannot be embedded is drawn as outlines.
    if (count <= 0) return;
    QPainterPath outlines;
    for (int i = 0; i < count; ++i)
      outlines.addPath(face.pathForGlyph(glyphs[i]).translated(origin + positions[i]));
    QBrush brush = brush_;
    QPen pen = pen_;
    brush_ = QBrush(QColor::fromRgb(emitted_.fill));
    pen_ = QPen(Qt::NoPen);
    paintPath(outlines, true, false, false);
    brush_ = brush;
    pen_ = pen;
    return;
  }
  const double size = face.pixelSize();
  if (!inText_) {
    out_ += "BT\n";
    inText_ = true;
  }
  if (emitted_.font != resource || emitted_.fontSize != size) {
    emitted_.font = resource;
    emitted_.fontSize = size;
    out_ += "/F";
    AppendInt(out_, resource);
    out_ += ' ';
    AppendNumber(out_, size);
    out_ += " Tf\n";
  }
  for (int i = 0; i < count;) {
    const QPointF start = origin + positions[i];
    out_ += "1 0 0 -1 ";
    appendPoint(start);
    out_ += " Tm[";
    double pen = start.x();
    bool open = false;
    int j = i;
    for (; j < count; ++j) {
      const QPointF at = origin + positions[j];
      if (j > i) {
        if (std::abs(at.y() - start.y()) > 0.001) break;  // a new line: placed anew
        long long adjust = RoundToInteger((pen - at.x()) * 1000 / size);
        if (adjust != 0) {
          if (open) out_ += '>';
          open = false;
          AppendInt(out_, adjust);
          pen -= adjust * size / 1000;
        }
      }
      if (!open) out_ += '<';
      open = true;
      AppendHex4(out_, glyphs[j]);
      pen += font->width(glyphs[j]) * size / 1000;
      font->use(glyphs[j], chars ? chars[j] : QChar());
    }
    if (open) out_ += '>';
    out_ += "]TJ\n";
    i = j;
  }
}

PdfPaintEngine::Clip PdfPaintEngine::ClipOf(QPainter& painter, const QRectF& deviceBox) {
  Clip clip;
  if (!painter.hasClipping()) return clip;
  const QTransform& world = painter.worldTransform();
  clip.on = true;
  clip.region =
      painter.clipRegion().translated(static_cast<int>(world.dx()), static_cast<int>(world.dy()));
  if (clip.region.rectCount() == 1 && QRectF(clip.region.boundingRect()).contains(deviceBox))
    return Clip{};
  return clip;
}

void PdfPaintEngine::fillRect(QPainter& painter, const QRectF& rect, const QColor& color) {
  const QTransform& world = painter.worldTransform();
  if (!TranslationOnly(world) || color.alpha() == 0) {
    painter.fillRect(rect, color);
    return;
  }
  const QRectF box = rect.translated(world.dx(), world.dy());
  endText();
  applyClip(ClipOf(painter, box));
  setFill(color);
  appendPoint(box.topLeft());
  out_ += ' ';
  AppendNumber(out_, box.width());
  out_ += ' ';
  AppendNumber(out_, box.height());
  out_ += " re f\n";
}

bool PdfPaintEngine::drawGlyphRuns(QPainter& painter, QPointF baseline,
                                   const std::vector<ShapedRun>& runs, const QString& text,
                                   const QColor& color) {
  const QTransform& world = painter.worldTransform();
  if (!TranslationOnly(world)) return false;
  const QPointF origin = world.map(baseline);
  qsizetype glyphCount = 0;
  for (const ShapedRun& run : runs) glyphCount += run.glyphs.size();
  if (glyphCount == 0) return true;
  const QRawFont& face = runs.front().face;

  // Text wholly inside a one-rectangle clip needs no clip: the page stays one state.
  // (Its extent: the font's cell, a fifth of the em before the first glyph's origin and
  // a whole em after the last one's.)
  const double em = face.pixelSize();
  const double left = runs.front().positions.first().x() - em / 5;
  const double right = runs.back().positions.last().x() + em;
  const QRectF box(origin.x() + left, origin.y() - face.ascent(), right - left,
                   face.ascent() + face.descent());
  applyClip(ClipOf(painter, box));
  setFill(color);

  if (glyphCount == text.size()) {
    // One glyph per character, in order: each glyph stands for its character.
    qsizetype first = 0;
    for (const ShapedRun& run : runs) {
      showGlyphs(run.face, run.glyphs.constData(), run.positions.constData(),
                 static_cast<int>(run.glyphs.size()), origin, text.constData() + first);
      first += run.glyphs.size();
    }
    return true;
  }
  // Shaping joined or split characters: the characters' own glyphs, side by side, so that
  // every glyph still reads back as its character.
  const QList<quint32> glyphs = face.glyphIndexesForString(text);
  const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
  QList<QPointF> positions;
  positions.reserve(advances.size());
  QPointF pen(runs.front().positions.first().x(), 0);
  for (const QPointF& advance : advances) {
    positions.append(pen);
    pen += advance;
  }
  const int shown = static_cast<int>(std::min(glyphs.size(), text.size()));
  showGlyphs(face, glyphs.constData(), positions.constData(), shown, origin, text.constData());
  return true;
}

void PdfPaintEngine::drawTextItem(const QPointF& point, const QTextItem& item) {
  const QString text = item.text();
  if (text.isEmpty() || pen_.style() == Qt::NoPen) return;
  const QRawFont& face = RawFontOf(item.font());
  if (!face.isValid() || !TranslationOnly(matrix_)) {
    QPainterPath path;
    path.addText(point, item.font(), text);
    QBrush brush = brush_;
    QPen pen = pen_;
    brush_ = QBrush(pen.color());
    pen_ = QPen(Qt::NoPen);
    paintPath(matrix_.map(path), true, false, false);
    brush_ = brush;
    pen_ = pen;
    return;
  }
  applyClip(painterClip_);
  setFill(pen_.color());
  const QList<quint32> glyphs = face.glyphIndexesForString(text);
  const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
  QList<QPointF> positions;
  QPointF pen;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    positions.append(pen);
    pen += advances[i];
  }
  const int shown = static_cast<int>(std::min(glyphs.size(), text.size()));
  showGlyphs(face, glyphs.constData(), positions.constData(), shown, matrix_.map(point),
             text.constData());
}

PdfPaintDevice::PdfPaintDevice(std::unique_ptr<PdfDocument> document)
    : document_(std::move(document)), engine_(std::make_unique<PdfPaintEngine>(*document_)) {}

PdfPaintDevice::~PdfPaintDevice() = default;

int PdfPaintDevice::metric(PaintDeviceMetric metric) const {
  const PdfPageGeometry& page = document_->geometry();
  switch (metric) {
    case PdmWidth: return page.widthDots;
    case PdmHeight: return page.heightDots;
    case PdmWidthMM: return static_cast<int>(std::lround(page.widthDots * 25.4 / page.dpi));
    case PdmHeightMM: return static_cast<int>(std::lround(page.heightDots * 25.4 / page.dpi));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return page.dpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
  }
}

}  // namespace zarne::gdi
