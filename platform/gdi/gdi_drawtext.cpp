/*
** DrawText: text formatted into a rectangle, in lines broken at line ends and, with
** DT_WORDBREAK, between words; aligned left, centred or right, and for a single line also
** centred vertically or at the bottom; '&' prefixes underline the next character; tabs
** expanded; clipped to the rectangle unless DT_NOCLIP. DT_CALCRECT measures without drawing.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace zarne::gdi;

namespace {

/* Tab stops every eight average character widths. */
constexpr int kTabStopChars = 8;

/* Stands before a character that a '&' prefix underlines, from prefix processing until the
   line is painted; it has no width of its own. */
constexpr char16_t kUnderlineMark = 0xE000;

QString WithoutMarks(QString text) { return text.remove(QChar(kUnderlineMark)); }

class LineMeasure {
 public:
  /* `drawing`: the lines measured are the lines drawn, so each is shaped once for both. */
  LineMeasure(const TextLayout& layout, bool expandTabs, bool drawing)
      : layout_(layout),
        expandTabs_(expandTabs),
        drawing_(drawing),
        tabWidth_(std::max(1.0, kTabStopChars * layout.averageCharWidth())) {}

  /* The width of a line; with tabs expanded each tab moves to the next stop. */
  double width(const QString& line) const {
    if (!expandTabs_ || !line.contains('\t'))
      return drawing_ ? layout_.drawnWidth(WithoutMarks(line)) : layout_.width(WithoutMarks(line));
    double x = 0;
    const QStringList parts = line.split('\t');
    for (int i = 0; i < parts.size(); ++i) {
      if (i > 0) x = nextStop(x);
      x += layout_.width(WithoutMarks(parts[i]));
    }
    return x;
  }

  double nextStop(double x) const { return (std::floor(x / tabWidth_) + 1) * tabWidth_; }
  bool expandTabs() const { return expandTabs_; }

 private:
  const TextLayout& layout_;
  bool expandTabs_;
  bool drawing_;
  double tabWidth_;
};

/* Prefix processing: "&&" stands for one '&'; "&x" shows x underlined; a '&' at the end
   vanishes. */
QString MarkPrefixes(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out.append(text[i]);
      continue;
    }
    if (i + 1 >= text.size()) break;
    ++i;
    if (text[i] != '&') out.append(QChar(kUnderlineMark));
    out.append(text[i]);
  }
  return out;
}

/* Paints a run of text with its marked characters underlined in the text colour. */
void PaintRun(DcPainter& painter, const TextLayout& layout, const DeviceContext& dc,
              QPointF topLeft, const QString& run) {
  QString visible = WithoutMarks(run);
  layout.paint(painter, topLeft, visible);
  int shown = 0;
  for (int i = 0; i < run.size(); ++i) {
    if (run[i] != QChar(kUnderlineMark)) {
      ++shown;
      continue;
    }
    if (shown >= visible.size()) break;
    double left = std::round(topLeft.x() + layout.width(visible.left(shown)));
    double width = layout.width(visible.mid(shown, 1));
    double y = std::round(topLeft.y()) + layout.ascent() + 1;
    painter->fillRect(QRectF(left, y, std::max(1.0, std::round(width)), 1),
                      ColorOf(dc.state.textColor));
  }
}

/* Breaks one paragraph between words so that each line fits the width where it can; a
   word wider than the width keeps a line of its own. */
QStringList WrapParagraph(const QString& paragraph, double maxWidth, const LineMeasure& measure) {
  // Most captions fit whole: then every word would fit where it stands, and one measure says so.
  if (measure.width(paragraph) <= maxWidth) return {paragraph};
  QStringList lines;
  QString line;
  int i = 0;
  while (i < paragraph.size()) {
    int wordEnd = i;
    while (wordEnd < paragraph.size() && paragraph[wordEnd] == ' ') ++wordEnd;
    while (wordEnd < paragraph.size() && paragraph[wordEnd] != ' ') ++wordEnd;
    QString word = paragraph.mid(i, wordEnd - i);
    if (!line.isEmpty() && measure.width(line + word) > maxWidth) {
      lines.append(line);
      while (!word.isEmpty() && word[0] == ' ') word.remove(0, 1);  // spaces at a break vanish
      line = word;
    } else {
      line += word;
    }
    i = wordEnd;
  }
  lines.append(line);
  return lines;
}

/* The byte 0x0B stands for a CR LF pair in stored multi-line text; drawn, it breaks the
   line as the pair would (a font has no glyph for it). */
constexpr char16_t kPackedLineBreak = 0x0B;

QStringList BreakLines(const QString& text, UINT format, double maxWidth,
                       const LineMeasure& measure) {
  if (format & DT_SINGLELINE) {
    QString single = text;
    single.remove('\r');
    single.remove('\n');
    single.remove(QChar(kPackedLineBreak));
    return {single};
  }
  QString normalised = text;
  if (normalised.contains('\r')) {
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace('\r', '\n');
  }
  normalised.replace(QChar(kPackedLineBreak), QChar('\n'));
  QStringList lines;
  for (const QString& paragraph : normalised.split('\n')) {
    if (format & DT_WORDBREAK) lines.append(WrapParagraph(paragraph, maxWidth, measure));
    else lines.append(paragraph);
  }
  return lines;
}

void PaintLine(DcPainter& painter, const TextLayout& layout, const LineMeasure& measure,
               const DeviceContext& dc, QPointF topLeft, const QString& line) {
  if (!measure.expandTabs() || !line.contains('\t')) {
    PaintRun(painter, layout, dc, topLeft, line);
    return;
  }
  double x = 0;
  const QStringList parts = line.split('\t');
  for (int i = 0; i < parts.size(); ++i) {
    if (i > 0) x = measure.nextStop(x);
    PaintRun(painter, layout, dc, QPointF(topLeft.x() + x, topLeft.y()), parts[i]);
    x += layout.width(WithoutMarks(parts[i]));
  }
}

}  // namespace

int DrawTextA(HDC handle, LPCSTR text, int count, LPRECT rect, UINT format) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect || (!text && count != 0)) return 0;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  if (Recording(*dc) && !(format & DT_CALCRECT)) {
    GdiDrawRecord record;
    record.call = "DrawText";
    record.rect = *rect;
    record.text.assign(text ? text : "", static_cast<size_t>(count));
    record.flags = format;
    RecordCall(*dc, record);
  }
  QString qtext = TextFrom1252(text, count);
  if (!(format & DT_NOPREFIX)) qtext = MarkPrefixes(qtext);

  TextLayout layout(*dc);
  // Single lines are drawn as measured; wrapping measures words and pieces never drawn alone.
  LineMeasure measure(
      layout, (format & DT_EXPANDTABS) != 0,
      !(format & DT_CALCRECT) && ((format & DT_SINGLELINE) || !(format & DT_WORDBREAK)));
  QRect box = LogicalRectToDevice(dc->state, rect->left, rect->top, rect->right, rect->bottom);
  const QStringList lines = BreakLines(qtext, format, box.width(), measure);
  double lineHeight = layout.height();
  if (format & DT_EXTERNALLEADING)
    lineHeight += std::max(0.0, std::round(layout.metrics().leading()));
  double textHeight = lineHeight * lines.size();

  double top = box.top();
  if (format & DT_SINGLELINE) {
    if (format & DT_BOTTOM) top = box.top() + box.height() - lineHeight;
    else if (format & DT_VCENTER) top = box.top() + (box.height() - lineHeight) / 2;
  }
  double widest = 0;
  for (const QString& line : lines) widest = std::max(widest, measure.width(line));

  if (format & DT_CALCRECT) {
    // The logical rectangle grows from its left and top in the direction the axes run.
    double signX = ScaleX(dc->state) < 0 ? -1 : 1;
    double signY = ScaleY(dc->state) < 0 ? -1 : 1;
    rect->right = rect->left + static_cast<LONG>(signX * layout.toLogicalX(widest));
    rect->bottom = rect->top + static_cast<LONG>(signY * layout.toLogicalY(textHeight));
    return layout.toLogicalY(textHeight);
  }

  DcPainter painter(*dc, (format & DT_NOCLIP) ? QRect() : box);
  if (painter.active()) {
    if (!(format & DT_NOCLIP)) painter->setClipRect(box, Qt::IntersectClip);
    double y = top;
    const double clipBottom = box.top() + box.height();
    for (const QString& line : lines) {
      // A line that starts below a clipped rectangle shows nothing: it is not drawn at all, so
      // a printed document holds no text that cannot be seen.
      if (!(format & DT_NOCLIP) && y >= clipBottom) break;
      double lineWidth = measure.width(line);
      double x = box.left();
      if (format & DT_CENTER) x = box.left() + (box.width() - lineWidth) / 2;
      else if (format & DT_RIGHT) x = box.left() + box.width() - lineWidth;
      PaintLine(painter, layout, measure, *dc, QPointF(x, y), line);
      y += lineHeight;
    }
  }
  return layout.toLogicalY(top - box.top() + textHeight);
}
