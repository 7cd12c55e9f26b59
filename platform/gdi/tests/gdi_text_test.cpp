/*
** Text: metrics of the mapped Liberation faces, extents, placement under each alignment and
** mapping mode (through a recording DC and through pixels), DrawText formatting.
*/
#include "platform/gdi/gdi_font_cache.h"
#include "platform/gdi/gdi_recording.h"
#include "platform/gdi/tests/gdi_test_support.h"

#include <QTextLayout>
#include <gtest/gtest.h>

#include <cstring>

namespace {

HFONT MakeFont(int height, const char* face, int weight = FW_NORMAL) {
  return CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

/* A white image with a surface DC drawing black text on a transparent background. */
struct Canvas {
  QImage image;
  HDC dc;
  HFONT font;
  HGDIOBJ oldFont;
  explicit Canvas(int width = 400, int height = 300, int fontHeight = -16,
                  const char* face = "Arial")
      : image(WhiteImage(width, height)),
        dc(GdiCreateSurfaceDC(&image, QPoint(), QRegion())),
        font(MakeFont(fontHeight, face)),
        oldFont(SelectObject(dc, font)) {
    SetBkMode(dc, TRANSPARENT);
  }
  ~Canvas() {
    SelectObject(dc, oldFont);
    DeleteObject(font);
    GdiReleaseSurfaceDC(dc);
  }
  SIZE Extent(const char* text) {
    SIZE size{};
    GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size;
  }
};

TEXTMETRIC MetricsOf(HDC dc, HFONT font) {
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRIC tm{};
  EXPECT_EQ(GetTextMetrics(dc, &tm), TRUE);
  SelectObject(dc, old);
  return tm;
}

}  // namespace

// Documented values: Arial (Liberation Sans) at 96 dpi, the same on every machine.
//   height -16: tmHeight 18, ascent 15, descent 3, internal leading 2, average width 7
//   height -13: tmHeight 15, ascent 12, descent 3, internal leading 2, average width 6
//   height  16 (cell): tmHeight 16
TEST(GdiTextMetrics, LiberationSansHasTheDocumentedMetricsOnEveryDc) {
  HFONT arial16 = MakeFont(-16, "Arial");
  HFONT arial13 = MakeFont(-13, "Helv");
  HFONT cell16 = MakeFont(16, "MS Sans Serif");
  HDC recording = GdiCreateRecordingDC();
  HDC memory = CreateCompatibleDC(nullptr);
  for (HDC dc : {recording, memory}) {
    TEXTMETRIC tm = MetricsOf(dc, arial16);
    EXPECT_EQ(tm.tmHeight, 18);
    EXPECT_EQ(tm.tmAscent, 15);
    EXPECT_EQ(tm.tmDescent, 3);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_EQ(tm.tmAveCharWidth, 7);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_SWISS);
    tm = MetricsOf(dc, arial13);
    EXPECT_EQ(tm.tmHeight, 15);
    EXPECT_EQ(tm.tmAscent, 12);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(MetricsOf(dc, cell16).tmHeight, 16);
  }
  TEXTMETRIC first = MetricsOf(recording, arial16), second = MetricsOf(memory, arial16);
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
  DeleteDC(recording);
  DeleteDC(memory);
  for (HFONT font : {arial16, arial13, cell16}) DeleteObject(font);
}

TEST(GdiTextMetrics, FixedPitchAndUnknownFaces) {
  HDC dc = GdiCreateRecordingDC();
  HFONT courier = MakeFont(-16, "Courier");
  SelectObject(dc, courier);
  INT widths[3];
  ASSERT_EQ(GetCharWidth(dc, 'i', 'k', widths), TRUE);
  EXPECT_EQ(widths[0], widths[2]);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);  // clear bit: fixed pitch
  EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth);
  char face[LF_FACESIZE];
  GetTextFace(dc, sizeof face, face);
  EXPECT_STREQ(face, "Courier");
  // A face that does not exist is still a font; the mapper picks by family.
  HFONT unknown = CreateFont(-16, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, FF_ROMAN, "No Such Face");
  ASSERT_NE(unknown, nullptr);
  SelectObject(dc, unknown);
  GetTextFace(dc, sizeof face, face);
  EXPECT_STREQ(face, "Times New Roman");
  DeleteDC(dc);
  DeleteObject(courier);
  DeleteObject(unknown);
}

TEST(GdiTextExtent, ExtentIsTheSumOfCharacterWidthsAndTheCellHeight) {
  Canvas canvas;
  SIZE size = canvas.Extent("Settlement");
  INT widths[256];
  GetCharWidth(canvas.dc, 0, 255, widths);
  int sum = 0;
  for (const char* c = "Settlement"; *c; ++c) sum += widths[static_cast<unsigned char>(*c)];
  EXPECT_NEAR(size.cx, sum, 5);
  EXPECT_EQ(size.cy, 18);
  EXPECT_GT(canvas.Extent("WWWW").cx, canvas.Extent("iiii").cx);
  EXPECT_EQ(canvas.Extent("").cx, 0);
  // Windows-1252 0x80 is the euro sign, a printable character, not a C1 control.
  EXPECT_GT(canvas.Extent("\x80").cx, 0);
}

TEST(GdiTextOut, AlignmentPlacesTheReferencePoint) {
  struct Case {
    UINT align;
    bool inkRightOfX, inkBelowY;
  };
  for (Case c :
       {Case{TA_LEFT | TA_TOP, true, true}, Case{TA_RIGHT | TA_TOP, false, true},
        Case{TA_LEFT | TA_BOTTOM, true, false}, Case{TA_RIGHT | TA_BASELINE, false, false}}) {
    Canvas canvas;
    SetTextAlign(canvas.dc, c.align);
    ASSERT_EQ(TextOut(canvas.dc, 200, 150, "HUD", 3), TRUE);
    QRect ink = InkBox(canvas.image);
    ASSERT_FALSE(ink.isEmpty());
    SIZE size = canvas.Extent("HUD");
    if (c.inkRightOfX) {
      EXPECT_GE(ink.left(), 200);
      EXPECT_LE(ink.right(), 200 + size.cx);
    } else {
      EXPECT_LT(ink.right(), 200);
      EXPECT_GE(ink.left(), 200 - size.cx);
    }
    if (c.inkBelowY) EXPECT_GE(ink.top(), 150);
    else EXPECT_LT(ink.bottom(), 150);
  }
  // Centred text straddles the point; baseline text sits on it (capitals have no descent).
  Canvas centred;
  SetTextAlign(centred.dc, TA_CENTER | TA_BASELINE);
  TextOut(centred.dc, 200, 150, "HUD", 3);
  QRect ink = InkBox(centred.image);
  EXPECT_LT(ink.left(), 200);
  EXPECT_GT(ink.right(), 200);
  EXPECT_EQ(ink.bottom(), 149);
}

TEST(GdiTextOut, OpaqueBackgroundFillsTheTextCell) {
  Canvas canvas;
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(0, 0, 255));
  TextOut(canvas.dc, 10, 10, "a", 1);
  SIZE size = canvas.Extent("a");
  EXPECT_EQ(PixelAt(canvas.image, 10, 10), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(canvas.image, 10, 10 + size.cy - 1), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(canvas.image, 10, 10 + size.cy), RGB(255, 255, 255));
}

TEST(GdiTextOut, UpdateCurrentPositionAdvancesByTheExtent) {
  Canvas canvas;
  SetTextAlign(canvas.dc, TA_UPDATECP);
  MoveToEx(canvas.dc, 5, 7, nullptr);
  TextOut(canvas.dc, 100, 100, "Escrow", 6);
  POINT position{};
  GetCurrentPositionEx(canvas.dc, &position);
  EXPECT_EQ(position.x, 5 + canvas.Extent("Escrow").cx);
  EXPECT_EQ(position.y, 7);
  EXPECT_LT(InkBox(canvas.image).left(), 20);  // drawn at the current position, not at (100, 100)
}

TEST(GdiTextOut, ExtTextOutOpaqueRectangleAndClipping) {
  Canvas canvas;
  RECT rect{20, 20, 60, 40};
  SetBkColor(canvas.dc, RGB(255, 0, 0));
  ASSERT_EQ(ExtTextOut(canvas.dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr), TRUE);
  EXPECT_EQ(InkBox(canvas.image), QRect(20, 20, 40, 20));
  Canvas clipped;
  RECT clip{0, 0, 30, 100};
  ExtTextOut(clipped.dc, 10, 10, ETO_CLIPPED, &clip, "WWWWWWWW", 8, nullptr);
  EXPECT_LE(InkBox(clipped.image).right(), 29);
  EXPECT_GT(InkCount(clipped.image, QRect(10, 10, 20, 20)), 0);
}

TEST(GdiTextMapping, EachMappingModePlacesTextWhereItShould) {
  struct Case {
    int mode;
    int x, y;         // logical point
    QPoint expected;  // device point at 96 dpi
    int fontHeight;   // about 16 pixels in the mode's units
  };
  for (Case c : {Case{MM_TEXT, 30, 40, QPoint(30, 40), -16},
                 Case{MM_LOENGLISH, 100, -50, QPoint(96, 48), -17},
                 Case{MM_HIENGLISH, 1000, -500, QPoint(96, 48), -167},
                 Case{MM_LOMETRIC, 254, -127, QPoint(96, 48), -42},
                 Case{MM_TWIPS, 1440, -720, QPoint(96, 48), -240}}) {
    Canvas canvas(400, 300, c.fontHeight);
    SetMapMode(canvas.dc, c.mode);
    TEXTMETRIC tm{};
    GetTextMetrics(canvas.dc, &tm);
    EXPECT_NEAR(tm.tmHeight * 16.0 / -c.fontHeight, 18, 1.5)
        << c.mode;  // the cell scales with the mode
    POINT point{c.x, c.y};
    LPtoDP(canvas.dc, &point, 1);
    EXPECT_EQ(QPoint(point.x, point.y), c.expected) << c.mode;
    DPtoLP(canvas.dc, &point, 1);
    EXPECT_EQ(point.x, c.x);
    EXPECT_EQ(point.y, c.y);
    TextOut(canvas.dc, c.x, c.y, "H", 1);
    QRect ink = InkBox(canvas.image);
    EXPECT_NEAR(ink.left(), c.expected.x(), 3) << c.mode;
    EXPECT_NEAR(ink.top(), c.expected.y(), 5)
        << c.mode;  // a capital's top is close to the cell's top
  }
}

TEST(GdiTextMapping, AnisotropicPageMappingScalesPositionsAndFonts) {
  // The statement printout's page mapping: 7950 units across, y down from 0 to -13250.
  Canvas canvas(795, 1325);
  HDC dc = canvas.dc;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 7950, -13250, nullptr);
  SetViewportExtEx(dc, 795, 1325, nullptr);
  POINT point{3975, -6625};
  LPtoDP(dc, &point, 1);
  EXPECT_EQ(point.x, 398);  // 397.5 and 662.5 round up
  EXPECT_EQ(point.y, 663);
  HFONT times = MakeFont(128, "Times New Roman");  // cell height 128 units = 12.8 pixels
  HGDIOBJ old = SelectObject(dc, times);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  EXPECT_NEAR(tm.tmHeight, 128, 10);
  SetTextAlign(dc, TA_RIGHT);
  TextOut(dc, 7020, -10720, "1,234.56", 8);
  QRect ink = InkBox(canvas.image);
  EXPECT_LE(ink.right(), 702);
  EXPECT_GE(ink.right(), 695);
  EXPECT_GE(ink.top(), 1072);
  SelectObject(dc, old);
  DeleteObject(times);
}

TEST(GdiTextMapping, IsotropicModeKeepsUnitsSquareAndOriginsMove) {
  HDC dc = GdiCreateRecordingDC();
  SetMapMode(dc, MM_ISOTROPIC);
  SetWindowExtEx(dc, 100, 100, nullptr);
  SetViewportExtEx(dc, 400, 200, nullptr);
  SIZE viewport{};
  GetViewportExtEx(dc, &viewport);
  EXPECT_EQ(viewport.cx, 200);
  EXPECT_EQ(viewport.cy, 200);
  SetMapMode(dc, MM_TEXT);
  SetViewportOrgEx(dc, 10, 20, nullptr);
  OffsetViewportOrgEx(dc, 5, 5, nullptr);
  SetWindowOrgEx(dc, 100, 100, nullptr);
  POINT point{100, 100};
  LPtoDP(dc, &point, 1);
  EXPECT_EQ(point.x, 15);
  EXPECT_EQ(point.y, 25);
  // Fixed modes ignore extents; bad modes and null DCs fail.
  SetMapMode(dc, MM_LOENGLISH);
  SIZE window{};
  EXPECT_EQ(SetWindowExtEx(dc, 5, 5, &window), TRUE);
  GetWindowExtEx(dc, &window);
  EXPECT_EQ(window.cx, 100);
  EXPECT_EQ(SetMapMode(dc, 99), 0);
  EXPECT_EQ(SetMapMode(nullptr, MM_TEXT), 0);
  EXPECT_EQ(LPtoDP(nullptr, &point, 1), FALSE);
  DeleteDC(dc);
}

TEST(GdiTextRecording, RecordsLogicalCoordinatesFontAndColours) {
  HDC dc = GdiCreateRecordingDC();
  SetMapMode(dc, MM_LOENGLISH);
  HFONT helv = MakeFont(-19, "Helv", FW_BOLD);
  SelectObject(dc, helv);
  SetTextColor(dc, RGB(10, 20, 30));
  SetTextAlign(dc, TA_CENTER);
  TextOut(dc, 400, -120, "Disbursement Report", 19);
  std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].call, "TextOut");
  EXPECT_EQ(calls[0].points[0].x, 400);
  EXPECT_EQ(calls[0].points[0].y, -120);
  EXPECT_EQ(calls[0].text, "Disbursement Report");
  EXPECT_EQ(calls[0].fontFace, "Helv");
  EXPECT_EQ(calls[0].fontHeight, -19);
  EXPECT_EQ(calls[0].fontWeight, FW_BOLD);
  EXPECT_EQ(calls[0].textColor, RGB(10, 20, 30));
  EXPECT_EQ(calls[0].flags, static_cast<UINT>(TA_CENTER));
  EXPECT_EQ(calls[0].mapMode, MM_LOENGLISH);
  GdiClearRecording(dc);
  EXPECT_TRUE(GdiRecordedCalls(dc).empty());
  DeleteDC(dc);
  DeleteObject(helv);
}

TEST(GdiDrawText, HorizontalAndVerticalAlignment) {
  RECT rect{100, 100, 300, 200};
  auto inkFor = [&](UINT format) {
    Canvas canvas;
    RECT r = rect;
    DrawText(canvas.dc, "Title", -1, &r, format);
    return InkBox(canvas.image);
  };
  QRect left = inkFor(DT_LEFT | DT_SINGLELINE), right = inkFor(DT_RIGHT | DT_SINGLELINE);
  QRect centre = inkFor(DT_CENTER | DT_SINGLELINE | DT_VCENTER),
        bottom = inkFor(DT_BOTTOM | DT_SINGLELINE);
  EXPECT_NEAR(left.left(), 100, 2);
  EXPECT_NEAR(right.right(), 299, 2);
  EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 200, 2);
  EXPECT_NEAR((centre.top() + centre.bottom()) / 2.0, 150, 4);
  EXPECT_LT(left.top(), 110);
  EXPECT_GT(bottom.bottom(), 190);
  EXPECT_LE(bottom.bottom(), 199);
}

TEST(GdiDrawText, CalcRectMeasuresWithoutDrawing) {
  Canvas canvas;
  RECT single{10, 10, 500, 500};
  int height = DrawText(canvas.dc, "Schedule A", -1, &single, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(height, 18);
  EXPECT_EQ(single.right - single.left, canvas.Extent("Schedule A").cx);
  EXPECT_EQ(single.bottom - single.top, 18);
  EXPECT_TRUE(InkBox(canvas.image).isEmpty());
  // Word breaking: the width stays within the rectangle and the lines stack.
  const char* names = "John Q Public and Mary R Public and Others";
  RECT narrow{0, 0, 120, 0};
  int wrapped = DrawText(canvas.dc, names, -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GE(wrapped, 3 * 18);
  EXPECT_EQ(wrapped % 18, 0);
  EXPECT_LE(narrow.right, 120);
  EXPECT_EQ(narrow.bottom, wrapped);
  // A word wider than the rectangle widens it.
  RECT tiny{0, 0, 5, 0};
  DrawText(canvas.dc, "Settlement", -1, &tiny, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(tiny.right, canvas.Extent("Settlement").cx);
  // Line ends break lines without DT_WORDBREAK.
  RECT lines{0, 0, 300, 0};
  EXPECT_EQ(DrawText(canvas.dc, "a\r\nb\nc", -1, &lines, DT_CALCRECT), 3 * 18);
}

// Stored multi-line text keeps each CR LF as the byte 0x0B: drawn, it breaks the line like
// the pair, and no character beside it is lost.
TEST(GdiDrawText, APackedLineBreakBreaksTheLine) {
  Canvas canvas;
  const char* packed =
      "lender.\x0B"
      "Book";
  RECT r1{0, 0, 300, 0}, r2{0, 0, 300, 0}, single{0, 0, 300, 0}, joined{0, 0, 300, 0};
  EXPECT_EQ(DrawText(canvas.dc, packed, -1, &r1, DT_CALCRECT), 2 * 18);
  EXPECT_EQ(DrawText(canvas.dc, "lender.\r\nBook", -1, &r2, DT_CALCRECT), 2 * 18);
  EXPECT_EQ(r1.right, r2.right);
  DrawText(canvas.dc, packed, -1, &single, DT_CALCRECT | DT_SINGLELINE);
  DrawText(canvas.dc, "lender.Book", -1, &joined, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(single.right, joined.right);
  // Painted: the same pixels as the text with CR LF.
  Canvas crlf;
  RECT box{0, 0, 300, 60};
  DrawText(canvas.dc, packed, -1, &box, 0);
  DrawText(crlf.dc, "lender.\r\nBook", -1, &box, 0);
  EXPECT_EQ(canvas.image, crlf.image);
  canvas.image.save("gdi_packed_line_break.png");
}

TEST(GdiDrawText, PrefixesTabsAndClipping) {
  Canvas canvas;
  RECT r1{0, 0, 400, 0}, r2 = r1, r3 = r1;
  DrawText(canvas.dc, "&File", -1, &r1, DT_SINGLELINE | DT_CALCRECT);
  DrawText(canvas.dc, "File", -1, &r2, DT_SINGLELINE | DT_CALCRECT);
  DrawText(canvas.dc, "&File", -1, &r3, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r1.right, r2.right);
  EXPECT_GT(r3.right, r2.right);
  RECT tab{0, 0, 400, 0};
  DrawText(canvas.dc, "a\tb", -1, &tab, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
  EXPECT_EQ(tab.right, 8 * 7 + canvas.Extent("b").cx);  // first stop at eight average widths
  RECT box{50, 50, 80, 70};
  DrawText(canvas.dc, "WWWWWWWWWW", -1, &box, DT_SINGLELINE);
  QRect ink = InkBox(canvas.image);
  EXPECT_LE(ink.right(), 79);
  EXPECT_LE(ink.bottom(), 69);
  RECT unclipped{50, 100, 80, 120};
  DrawText(canvas.dc, "WWWWWWWWWW", -1, &unclipped, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkBox(canvas.image).right(), 100);
}

TEST(GdiDrawText, APrefixUnderlinesTheNextCharacter) {
  auto inkFor = [](const char* text, UINT format) {
    Canvas canvas;
    RECT r{10, 10, 200, 40};
    DrawText(canvas.dc, text, -1, &r, DT_SINGLELINE | format);
    return InkBox(canvas.image);
  };
  QRect plain = inkFor("File", 0), marked = inkFor("&File", 0), later = inkFor("Fi&le", 0);
  EXPECT_EQ(plain.bottom(), 10 + 15 - 1);   // capitals end on the baseline (ascent 15)
  EXPECT_EQ(marked.bottom(), 10 + 15 + 1);  // the underline sits one pixel below it
  EXPECT_EQ(marked.left(), 10);             // the underline spans the character's whole cell
  EXPECT_EQ(later.bottom(), marked.bottom());
  EXPECT_EQ(inkFor("A && B", 0).width(), inkFor("A & B", DT_NOPREFIX).width());
  EXPECT_GT(inkFor("&File", DT_NOPREFIX).width(), plain.width());  // the '&' is shown
}

TEST(GdiDrawText, LoEnglishRectanglesRunDownward) {
  // The check printout's box items: top -y, bottom -y - h in hundredths of an inch.
  Canvas canvas(400, 400);
  SetMapMode(canvas.dc, MM_LOENGLISH);
  RECT box{100, -100, 300, -200};
  DrawText(canvas.dc, "Pay to the order of", -1, &box, DT_WORDBREAK);
  QRect ink = InkBox(canvas.image);
  EXPECT_NEAR(ink.left(), 96, 2);
  EXPECT_GE(ink.top(), 96);
  EXPECT_LT(ink.top(), 110);
  RECT measure{100, -100, 300, -200};
  int height = DrawText(canvas.dc, "Pay", -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(height, 0);
  EXPECT_EQ(measure.bottom, -100 - height);
}

/* Qt's own layout of one unwrapped line: its glyphs, their positions from the baseline at
   the line's start, and its advance. */
struct LaidOut {
  QList<quint32> glyphs;
  QList<QPointF> positions;
  double advance = 0;
};

LaidOut LayOut(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  LaidOut out;
  out.advance = line.horizontalAdvance();
  for (const QGlyphRun& run : layout.glyphRuns()) {
    out.glyphs += run.glyphIndexes();
    for (const QPointF& p : run.positions()) out.positions.append(p - QPointF(0, line.ascent()));
  }
  return out;
}

TEST(GdiTextShaping, DrawnTextHasTheGlyphsAndPlacesOfQtsOwnLayout) {
  // Every pair of printable characters, and words with spaces at either end, in each mapped
  // face on a printer and on a screen: what the text calls draw is what Qt lays out.
  QStringList texts = {QStringLiteral(" Buyer of F000123 "), QStringLiteral("1,234,567.89"),
                       QStringLiteral("  two  spaces  "), QStringLiteral("AVAWAT To Ty fi ff")};
  for (char16_t a = 0x20; a <= 0x7E; ++a)
    for (char16_t b = 0x20; b <= 0x7E; ++b) texts.append(QString(QChar(a)) + QChar(b));
  for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
    for (bool raster : {false, true}) {
      LOGFONT logFont{};
      logFont.lfHeight = -13;
      logFont.lfWeight = raster ? FW_BOLD : FW_NORMAL;
      std::strcpy(logFont.lfFaceName, face);
      const QFont font = zarne::gdi::RealizeFont(logFont, raster ? 1.0 : 6.0, raster);
      zarne::gdi::RealizedFont realized(font);
      for (const QString& text : texts) {
        SCOPED_TRACE(std::string(face) + (raster ? " screen '" : " printer '") +
                     text.toStdString() + "'");
        const LaidOut expected = LayOut(text, font);
        const double width = realized.drawnWidth(text);
        const zarne::gdi::ShapedText* shaped = realized.glyphs(text);
        ASSERT_NE(shaped, nullptr);
        QList<quint32> glyphs;
        QList<QPointF> positions;
        for (const zarne::gdi::ShapedRun& part : shaped->parts) {
          glyphs += part.glyphs;
          positions += part.positions;
        }
        EXPECT_EQ(glyphs, expected.glyphs);
        EXPECT_EQ(positions, expected.positions);
        EXPECT_EQ(width, expected.advance);
        QList<quint32> painted;
        for (const QGlyphRun& run : shaped->runs()) painted += run.glyphIndexes();
        EXPECT_EQ(painted, expected.glyphs);
      }
    }
  }
}

TEST(GdiText, BadHandlesAndArguments) {
  TEXTMETRIC tm;
  SIZE size;
  RECT rect{0, 0, 10, 10};
  EXPECT_EQ(TextOut(nullptr, 0, 0, "x", 1), FALSE);
  EXPECT_EQ(GetTextMetrics(nullptr, &tm), FALSE);
  EXPECT_EQ(GetTextExtentPoint32(nullptr, "x", 1, &size), FALSE);
  EXPECT_EQ(DrawText(nullptr, "x", 1, &rect, 0), 0);
  HDC dc = GdiCreateRecordingDC();
  EXPECT_EQ(TextOut(dc, 0, 0, nullptr, 3), FALSE);
  EXPECT_EQ(GetTextExtentPoint32(dc, "x", -1, &size), FALSE);
  EXPECT_EQ(DrawText(dc, "x", 1, nullptr, 0), 0);
  EXPECT_EQ(GetCharWidth(dc, 'b', 'a', nullptr), FALSE);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  DeleteDC(dc);
  EXPECT_EQ(TextOut(dc, 0, 0, "x", 1), FALSE);  // deleted DC
}
