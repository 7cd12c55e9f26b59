/*
** Timings of the drawing calls a grid or statement repaint leans on: cell fills, grid
** lines, cell text through TextOut and DrawText, text extents, focus rectangles and a
** full-window BitBlt. Each call paints with its own short-lived painter, so these numbers
** show what that costs. Each is printed beside the same drawing done with one QPainter kept
** open on an image of the same size, in the same run, and the ratio. Run by bench/run.
*/
#include "platform/gdi/gdi_surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <chrono>
#include <cstdio>

namespace {

template <typename Body>
double MicrosecondsEach(int count, Body body) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) body(i);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::micro>(elapsed).count() / count;
}

template <typename Body, typename Baseline>
void Measure(const char* name, int count, Body body, Baseline baseline) {
  const double us = MicrosecondsEach(count, body);
  const double base = MicrosecondsEach(count, baseline);
  std::printf("%-40s %9.2f us/call   QPainter %9.2f us   ratio %6.2f\n", name, us, base, us / base);
}

QRect Cell(int i) { return QRect((i % 10) * 100, (i / 10 % 40) * 18, 100, 18); }

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QImage window(1024, 768, QImage::Format_RGB32);
  window.fill(Qt::white);
  HDC dc = GdiCreateSurfaceDC(&window, QPoint(), QRegion());
  HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  HBRUSH face = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  const int count = 20000;
  // The baseline: the same drawing with one painter kept open on an image of the same size.
  QImage plain(1024, 768, QImage::Format_RGB32);
  plain.fill(Qt::white);
  QPainter painter(&plain);
  QFont arial("Arial");
  arial.setPixelSize(13);
  painter.setFont(arial);
  const QBrush grey(QColor(192, 192, 192));
  QFontMetrics metrics(arial);
  Measure(
      "FillRect 100x18 cell", count,
      [&](int i) {
        RECT cell{(i % 10) * 100, (i / 10 % 40) * 18, (i % 10) * 100 + 100,
                  (i / 10 % 40) * 18 + 18};
        FillRect(dc, &cell, face);
      },
      [&](int i) { painter.fillRect(Cell(i), grey); });
  Measure(
      "MoveToEx + LineTo grid line", count,
      [&](int i) {
        MoveToEx(dc, 0, i % 768, nullptr);
        LineTo(dc, 1024, i % 768);
      },
      [&](int i) { painter.drawLine(0, i % 768, 1024, i % 768); });
  Measure(
      "TextOut 12 characters", count,
      [&](int i) { TextOut(dc, (i % 10) * 100, (i / 10 % 40) * 18, "123,456.78 $", 12); },
      [&](int i) {
        painter.drawText(Cell(i).topLeft() + QPoint(0, metrics.ascent()),
                         QStringLiteral("123,456.78 $"));
      });
  Measure(
      "DrawText right-aligned single line", count,
      [&](int i) {
        RECT cell{(i % 10) * 100, (i / 10 % 40) * 18, (i % 10) * 100 + 100,
                  (i / 10 % 40) * 18 + 18};
        DrawText(dc, "123,456.78", -1, &cell, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
      },
      [&](int i) {
        painter.drawText(Cell(i), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("123,456.78"));
      });
  Measure(
      "GetTextExtentPoint32 12 characters", count,
      [&](int) {
        SIZE size;
        GetTextExtentPoint32(dc, "123,456.78 $", 12, &size);
      },
      [&](int) {
        volatile int width = metrics.horizontalAdvance(QStringLiteral("123,456.78 $"));
        (void)width;
      });
  Measure(
      "DrawFocusRect 100x18", count,
      [&](int i) {
        RECT cell{(i % 10) * 100, 0, (i % 10) * 100 + 100, 18};
        DrawFocusRect(dc, &cell);
      },
      [&](int i) {
        // A dotted outline drawn by inverting, as a focus rectangle is.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(QRect((i % 10) * 100, 0, 99, 17));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
      });
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 1024, 768);
  SelectObject(memory, bitmap);
  QImage source(1024, 768, QImage::Format_RGB32);
  source.fill(Qt::black);
  Measure(
      "BitBlt 1024x768 SRCCOPY", 200,
      [&](int) { BitBlt(dc, 0, 0, 1024, 768, memory, 0, 0, SRCCOPY); },
      [&](int) { painter.drawImage(0, 0, source); });
  DeleteDC(memory);
  DeleteObject(bitmap);
  GdiReleaseSurfaceDC(dc);
  DeleteObject(font);
  return 0;
}
