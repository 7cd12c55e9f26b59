/*
** The shortcuts the drawing layer takes for speed paint exactly what the general path
** paints: axis-aligned thin lines against Qt's own line drawing with the same pen, and text
** measured from the kept fonts and widths against a fresh realisation.
*/
#include "platform/gdi/tests/gdi_test_support.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Segment {
  QPoint from;
  QPoint to;
};

/* Lines of every direction and of lengths 0, 1, 2 and more, some running off the image. */
std::vector<Segment> AxisSegments() {
  std::vector<Segment> segments;
  for (int length : {0, 1, 2, 7, 60}) {
    segments.push_back({{5, 3 + length % 11}, {5 + length, 3 + length % 11}});
    segments.push_back({{70, 20 + length % 13}, {70 - length, 20 + length % 13}});
    segments.push_back({{8 + length % 17, 10}, {8 + length % 17, 10 + length}});
    segments.push_back({{30 + length % 19, 75}, {30 + length % 19, 75 - length}});
  }
  segments.push_back({{-10, 40}, {100, 40}});
  segments.push_back({{45, -5}, {45, 120}});
  return segments;
}

/* What Qt draws for the segments with the thin pen the DC realises. */
QImage QtLines(const std::vector<Segment>& segments, QColor color, QPoint origin) {
  QImage image = WhiteImage(80, 80);
  QPainter painter(&image);
  painter.translate(origin);
  QPen pen(color, 1);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  for (const Segment& segment : segments)
    if (segment.from != segment.to) painter.drawLine(segment.from, segment.to);
  return image;
}

QImage GdiLines(const std::vector<Segment>& segments, HPEN pen, QPoint origin) {
  QImage image = WhiteImage(80, 80);
  HDC dc = GdiCreateSurfaceDC(&image, origin, QRegion());
  HGDIOBJ old = SelectObject(dc, pen);
  for (const Segment& segment : segments) {
    MoveToEx(dc, segment.from.x(), segment.from.y(), nullptr);
    LineTo(dc, segment.to.x(), segment.to.y());
  }
  SelectObject(dc, old);
  GdiReleaseSurfaceDC(dc);
  return image;
}

/* "same" or where two images of one size first differ, for a readable failure. */
std::string Difference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size()) return "sizes differ";
  int count = 0;
  std::string first;
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if (actual.pixel(x, y) != expected.pixel(x, y) && count++ == 0)
        first = " first at " + std::to_string(x) + "," + std::to_string(y);
  return count == 0 ? "same" : std::to_string(count) + " pixels differ," + first;
}

}  // namespace

TEST(GdiShortcuts, ThinAxisLinesMatchQtLinesPixelForPixel) {
  const std::vector<Segment> segments = AxisSegments();
  for (int width : {0, 1}) {
    HPEN pen = CreatePen(PS_SOLID, width, RGB(200, 30, 60));
    for (QPoint origin : {QPoint(0, 0), QPoint(3, -2)}) {
      EXPECT_EQ(Difference(GdiLines(segments, pen, origin),
                           QtLines(segments, QColor(200, 30, 60), origin)),
                "same")
          << "pen width " << width << ", origin " << origin.x() << "," << origin.y();
    }
    DeleteObject(pen);
  }
}

TEST(GdiShortcuts, PolylineFramesMatchQtLines) {
  QImage gdi = WhiteImage(80, 80);
  HDC dc = GdiCreateSurfaceDC(&gdi, QPoint(), QRegion());
  POINT frame[5] = {{10, 10}, {60, 10}, {60, 50}, {10, 50}, {10, 10}};
  Polyline(dc, frame, 5);
  GdiReleaseSurfaceDC(dc);
  std::vector<Segment> segments;
  for (int i = 1; i < 5; ++i)
    segments.push_back({{frame[i - 1].x, frame[i - 1].y}, {frame[i].x, frame[i].y}});
  EXPECT_EQ(Difference(gdi, QtLines(segments, Qt::black, QPoint())), "same");
}

TEST(GdiShortcuts, XorAndDashedLinesKeepTheirOwnDrawing) {
  QImage image = WhiteImage(80, 80);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  SetROP2(dc, R2_NOT);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 40, 5);
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 40, 5);  // inverted twice: white again
  SetROP2(dc, R2_COPYPEN);
  HPEN dashed = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
  SelectObject(dc, dashed);
  MoveToEx(dc, 5, 20, nullptr);
  LineTo(dc, 65, 20);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  DeleteObject(dashed);
  GdiReleaseSurfaceDC(dc);
  EXPECT_EQ(InkCount(image, QRect(0, 0, 80, 10)), 0);
  const int dots = InkCount(image, QRect(0, 20, 80, 1));
  EXPECT_GT(dots, 20);
  EXPECT_LT(dots, 60);  // gaps left: not drawn as a solid run
}

TEST(GdiShortcuts, KeptWidthsEqualFreshMeasuresForEveryFont) {
  QImage image = WhiteImage(200, 40);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  const std::vector<std::string> texts = {"Settlement Charges", "Gross Amount Due From Borrower",
                                          "W", "iiii", "Caf\xE9 \x93quoted\x94"};
  // Same face, sizes and weights apart: each must get its own widths. Enough fonts that the
  // table of kept fonts is refilled on the way.
  for (int round = 0; round < 2; ++round) {
    for (int height = -8; height >= -80; --height) {
      for (int weight : {FW_NORMAL, FW_BOLD}) {
        HFONT font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
        HGDIOBJ old = SelectObject(dc, font);
        QFontMetricsF fresh(GdiFontToQFont(font));
        for (const std::string& text : texts) {
          SIZE size{};
          ASSERT_TRUE(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size));
          QString unicode = text == texts.back() ? QString::fromUtf8("Caf\u00e9 \u201cquoted\u201d")
                                                 : QString::fromStdString(text);
          EXPECT_EQ(size.cx, std::lround(fresh.horizontalAdvance(unicode)))
              << text << " at " << height << "/" << weight;
        }
        SelectObject(dc, old);
        DeleteObject(font);
      }
    }
  }
  GdiReleaseSurfaceDC(dc);
}

TEST(GdiShortcuts, TextDrawnFromKeptFontsRepeatsExactly) {
  auto paint = [] {
    QImage image = WhiteImage(240, 90);
    HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    RECT box{4, 4, 120, 86};
    char text[] = "Contract sales price of the property and personal property";
    DrawTextA(dc, text, -1, &box, DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
    TextOutA(dc, 130, 10, "Line 101", 8);
    SelectObject(dc, old);
    DeleteObject(font);
    GdiReleaseSurfaceDC(dc);
    return image;
  };
  // Many distinct strings in between refill the kept widths.
  const QImage first = paint();
  QImage scratch = WhiteImage(10, 10);
  HDC dc = GdiCreateSurfaceDC(&scratch, QPoint(), QRegion());
  for (int i = 0; i < 9000; ++i) {
    std::string text = "caption " + std::to_string(i);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  }
  GdiReleaseSurfaceDC(dc);
  const QImage again = paint();
  EXPECT_GT(InkCount(first, first.rect()), 200);
  EXPECT_EQ(Difference(again, first), "same");
}

TEST(GdiShortcuts, ShapedAheadTextMatchesQtDrawTextPixelForPixel) {
  struct FontCase {
    const char* face;
    int height;
    int weight;
    BYTE italic, underline, strikeOut;
  };
  const FontCase fonts[] = {{"Arial", -11, FW_NORMAL, 0, 0, 0},
                            {"Arial", -15, FW_BOLD, 0, 0, 0},
                            {"Times New Roman", -13, FW_NORMAL, 1, 0, 0},
                            {"Courier", -12, FW_NORMAL, 0, 1, 0},
                            {"Arial", -9, FW_NORMAL, 0, 0, 1},
                            {"MS Sans Serif", 16, FW_BOLD, 0, 1, 1}};
  const std::vector<std::string> texts = {"Settlement Agent", "fi fl ffi AV To Wa 1,234.56",
                                          "Caf\xE9 \x93quoted\x94 \x80 100", "", "Tab\there"};
  for (const FontCase& f : fonts) {
    HFONT font = CreateFontA(f.height, 0, 0, 0, f.weight, f.italic, f.underline, f.strikeOut, 0, 0,
                             0, 0, 0, f.face);
    for (const std::string& text : texts) {
      QImage gdi = WhiteImage(260, 40);
      HDC dc = GdiCreateSurfaceDC(&gdi, QPoint(), QRegion());
      HGDIOBJ old = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextAlign(dc, TA_BASELINE | TA_LEFT);
      for (int round = 0; round < 2; ++round)  // shaped afresh, then from what was kept
        TextOutA(dc, 7, 25, text.data(), static_cast<int>(text.size()));
      SelectObject(dc, old);
      GdiReleaseSurfaceDC(dc);

      QImage qt = WhiteImage(260, 40);
      QPainter painter(&qt);
      painter.setFont(GdiFontToQFont(font));
      painter.setPen(Qt::black);
      QString unicode = QString::fromUtf8(
          text == texts[2] ? "Caf\u00e9 \u201cquoted\u201d \u20ac 100" : text.c_str());
      for (int round = 0; round < 2; ++round) painter.drawText(QPointF(7, 25), unicode);
      painter.end();
      EXPECT_EQ(Difference(gdi, qt), "same") << f.face << " " << f.height << ": " << text;
    }
    DeleteObject(font);
  }
}
