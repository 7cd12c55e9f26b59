/*
** The PDF device's paint device and engine: what a QPainter draws on a page (rectangles,
** lines, paths, images, text items) becomes PDF content in printer dots, and shaped text
** (glyph runs) goes straight in as the glyphs of embedded fonts, one show operator per
** run. The graphics state is written only where it changes. Private to the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PDF_ENGINE_H
#define ZARNE_PLATFORM_GDI_GDI_PDF_ENGINE_H

#include "platform/gdi/gdi_font_cache.h"
#include "platform/gdi/gdi_pdf_document.h"

#include <QBrush>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>

#include <memory>
#include <string>
#include <vector>

namespace zarne::gdi {

class PdfPaintEngine final : public QPaintEngine {
 public:
  explicit PdfPaintEngine(PdfDocument& document);
  /* The engine a painter draws with when it draws on the PDF device, else null. */
  static PdfPaintEngine* Of(QPainter& painter);

  void startPage();
  /* The page's content, closed. */
  std::string endPage();
  /* Glyph runs whose origins are relative to a baseline point (device units before the
     painter's transform), in a colour, under the painter's clip; `text` is what they show.
     False, drawing nothing, where the painter's transform is more than a translation. */
  bool drawGlyphRuns(QPainter& painter, QPointF baseline, const std::vector<ShapedRun>& runs,
                     const QString& text, const QColor& color);
  /* A rectangle filled with a plain colour under the painter's transform and clip. */
  void fillRect(QPainter& painter, const QRectF& rect, const QColor& color);

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override;
  void updateState(const QPaintEngineState& state) override;
  void drawRects(const QRectF* rects, int count) override;
  void drawLines(const QLineF* lines, int count) override;
  void drawPath(const QPainterPath& path) override;
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
  void drawPoints(const QPointF* points, int count) override;
  void drawEllipse(const QRectF& rect) override;
  void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override;
  void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags) override;
  void drawTiledPixmap(const QRectF& rect, const QPixmap& pixmap, const QPointF& offset) override;
  void drawTextItem(const QPointF& point, const QTextItem& item) override;

 private:
  struct Clip {
    bool on = false;
    bool isPath = false;
    QRegion region;     // device dots
    QPainterPath path;  // device dots
    bool operator==(const Clip& other) const;
  };
  struct Emitted {
    QRgb fill = 0xFF000000;
    QRgb stroke = 0xFF000000;
    double width = 1;
    int cap = 0;
    int join = 0;
    std::string dash;
    int font = 0;
    double fontSize = 0;
  };

  /* The painter's clip in device units; none where it would not cut into the box. */
  static Clip ClipOf(QPainter& painter, const QRectF& deviceBox);
  void applyClip(const Clip& wanted);
  void beginDrawing();  // closes text, puts the painter's clip in force
  void endText();
  void setFill(const QColor& color);
  void setStroke(const QPen& pen);
  void appendColor(QRgb rgb, bool stroke);
  void appendPoint(QPointF p);
  void appendPath(const QPainterPath& path, bool close);
  /* Paints the path with the brush: solid colours as PDF fills, other brushes through an
     image of the area. Strokes it with the pen when it has one. */
  void paintPath(const QPainterPath& devicePath, bool fill, bool stroke, bool oddEven);
  void paintBrushImage(const QPainterPath& devicePath);
  void placeImage(const QRectF& deviceRect, const QImage& image);
  void showGlyphs(const QRawFont& face, const quint32* glyphs, const QPointF* positions, int count,
                  QPointF origin, const QChar* chars);

  /* A colour's operator as written, for the colours a document uses most. */
  struct ColorOperator {
    QRgb rgb;
    bool stroke;
    std::string text;
  };
  static constexpr size_t kKeptColorOperators = 8;

  PdfDocument& document_;
  std::string out_;
  std::vector<ColorOperator> colorOperators_;
  bool inText_ = false;
  Emitted emitted_;
  Clip emittedClip_;
  Clip painterClip_;
  QPen pen_;
  QBrush brush_;
  QPointF brushOrigin_;
  QBrush background_;
  Qt::BGMode backgroundMode_ = Qt::TransparentMode;
  QTransform matrix_;
};

/* The paint device of one PDF document: a page of the printable area, in printer dots. */
class PdfPaintDevice final : public QPaintDevice {
 public:
  explicit PdfPaintDevice(std::unique_ptr<PdfDocument> document);
  ~PdfPaintDevice() override;
  PdfDocument& document() { return *document_; }
  PdfPaintEngine& engine() { return *engine_; }
  QPaintEngine* paintEngine() const override { return engine_.get(); }

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  std::unique_ptr<PdfDocument> document_;
  std::unique_ptr<PdfPaintEngine> engine_;
};

}  // namespace zarne::gdi

#endif
