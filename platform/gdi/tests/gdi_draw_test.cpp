/*
** Lines, shapes, raster operations, focus rectangles, clipping and block transfers, checked
** through pixels.
*/
#include "platform/gdi/gdi_recording.h"
#include "platform/gdi/tests/gdi_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>

namespace {

/* A memory DC with its own 32-bit bitmap, filled white. */
struct MemoryCanvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ original;
  MemoryCanvas(int width, int height, int bits = 32)
      : dc(CreateCompatibleDC(nullptr)),
        bitmap(CreateBitmap(width, height, 1, bits, nullptr)),
        original(SelectObject(dc, bitmap)) {
    PatBlt(dc, 0, 0, width, height, WHITENESS);
  }
  ~MemoryCanvas() {
    SelectObject(dc, original);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

}  // namespace

TEST(GdiDraw, LinesLeaveOutTheirLastPixelAndRectanglesTheirRightAndBottom) {
  QImage image = WhiteImage(40, 40);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  MoveToEx(dc, 5, 5, nullptr);
  LineTo(dc, 15, 5);
  EXPECT_EQ(PixelAt(image, 5, 5), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(image, 14, 5), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(image, 15, 5), RGB(255, 255, 255));
  POINT position{};
  GetCurrentPositionEx(dc, &position);
  EXPECT_EQ(position.x, 15);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, 10, 10, 20, 30);
  EXPECT_EQ(InkBox(image).united(QRect(5, 5, 10, 1)), QRect(5, 5, 15, 25));
  EXPECT_EQ(PixelAt(image, 19, 29), RGB(0, 0, 0));        // the outline's last pixel
  EXPECT_EQ(PixelAt(image, 15, 20), RGB(192, 192, 192));  // the interior
  GdiReleaseSurfaceDC(dc);
}

/* A field box scrolled partly out at the window's left edge keeps the outline a whole box
   has: its top, bottom and right edges with both right corners. */
TEST(GdiDraw, ARectangleCutByTheDevicesEdgeKeepsItsOutlineAndCorners) {
  QImage image = WhiteImage(40, 40);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, -10, 5, 20, 15);
  int wrong = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      // The outline covers x -10..19 and y 5..14; the interior lies inside it.
      const bool outline = (x <= 19 && (y == 5 || y == 14)) || (x == 19 && y >= 5 && y <= 14);
      const bool interior = x <= 18 && y >= 6 && y <= 13;
      const COLORREF expected = outline    ? RGB(0, 0, 0)
                                : interior ? RGB(192, 192, 192)
                                           : RGB(255, 255, 255);
      wrong += PixelAt(image, x, y) != expected;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(PixelAt(image, 19, 14), RGB(0, 0, 0));  // the corner a cut box lost
  GdiReleaseSurfaceDC(dc);
}

TEST(GdiDraw, WidePensStraddleTheEdgeUnlessInsideFrame) {
  for (int style : {PS_SOLID, PS_INSIDEFRAME}) {
    QImage image = WhiteImage(40, 40);
    HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
    HPEN wide = CreatePen(style, 5, RGB(0, 0, 0));
    SelectObject(dc, wide);
    Rectangle(dc, 10, 10, 30, 30);
    QRect ink = InkBox(image);
    if (style == PS_INSIDEFRAME) {
      EXPECT_EQ(ink, QRect(10, 10, 20, 20));
    } else {
      EXPECT_LT(ink.left(), 10);
      EXPECT_GT(ink.right(), 29);
    }
    EXPECT_EQ(PixelAt(image, 20, 20), RGB(255, 255, 255));  // the white brush inside
    GdiReleaseSurfaceDC(dc);
    DeleteObject(wide);
  }
}

TEST(GdiDraw, XorPenAndNotUndoThemselves) {
  QImage image = WhiteImage(40, 40);
  RECT band{0, 0, 40, 20};
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &band, blue);
  QImage before = image.copy();
  HPEN white = static_cast<HPEN>(GetStockObject(WHITE_PEN));
  SelectObject(dc, white);
  EXPECT_EQ(SetROP2(dc, R2_XORPEN), R2_COPYPEN);
  MoveToEx(dc, 0, 10, nullptr);
  LineTo(dc, 40, 30);
  EXPECT_EQ(PixelAt(image, 0, 10), RGB(255, 255, 0));  // blue XOR white
  EXPECT_NE(image, before);
  MoveToEx(dc, 0, 10, nullptr);
  LineTo(dc, 40, 30);
  EXPECT_EQ(image, before);
  SetROP2(dc, R2_NOT);
  Rectangle(dc, 5, 5, 30, 30);
  EXPECT_EQ(PixelAt(image, 5, 5), RGB(255, 255, 0));
  Rectangle(dc, 5, 5, 30, 30);
  EXPECT_EQ(image, before);
  GdiReleaseSurfaceDC(dc);
  DeleteObject(blue);
}

TEST(GdiDraw, FocusRectangleIsADottedXorThatUndoesItself) {
  QImage image = WhiteImage(30, 30);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  QImage before = image.copy();
  RECT rect{5, 5, 25, 15};
  EXPECT_EQ(DrawFocusRect(dc, &rect), TRUE);
  // Black text colour on white: every other border pixel turns black, the inside is untouched.
  int inked = InkCount(image, QRect(0, 0, 30, 30));
  int border = 2 * 20 + 2 * 8;
  EXPECT_EQ(inked, border / 2);
  EXPECT_NE(PixelAt(image, 5, 5), PixelAt(image, 6, 5));
  EXPECT_EQ(InkCount(image, QRect(6, 6, 18, 8)), 0);
  EXPECT_EQ(InkBox(image), QRect(5, 5, 20, 10));
  DrawFocusRect(dc, &rect);
  EXPECT_EQ(image, before);
  GdiReleaseSurfaceDC(dc);
}

TEST(GdiDraw, FocusRectangleOfAChildDcHonoursItsOriginClipAndColours) {
  // A child window's DC on its parent's image: device (0,0) is image pixel (3,2), the
  // surface admits only image columns 0..19, and the DC excludes device rows 4..5.
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(qRgb(10, 20, 30));
  QImage before = image.copy();
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(3, 2), QRegion(0, 0, 20, 20));
  ExcludeClipRect(dc, 0, 4, 30, 6);
  SetBkColor(dc, RGB(255, 0, 0));
  SetTextColor(dc, RGB(0, 0, 255));
  RECT rect{1, 1, 21, 9};  // device columns 1..20, rows 1..8
  DrawFocusRect(dc, &rect);
  // Even squares (device x + y) take the background colour, odd ones the text colour.
  EXPECT_EQ(PixelAt(image, 4, 3), RGB(245, 20, 30));         // device (1,1): even, red XORed in
  EXPECT_EQ(PixelAt(image, 5, 3), RGB(10, 20, 225));         // device (2,1): odd, blue XORed in
  EXPECT_EQ(PixelAt(image, 4, 4), RGB(10, 20, 225));         // device (1,2): left edge, odd
  EXPECT_EQ(PixelAt(image, 4, 6), PixelAt(before, 4, 6));    // device row 4 is excluded
  EXPECT_EQ(PixelAt(image, 5, 5), PixelAt(before, 5, 5));    // inside the border
  EXPECT_EQ(PixelAt(image, 20, 3), PixelAt(before, 20, 3));  // image column 20: outside the surface
  EXPECT_EQ(PixelAt(image, 19, 3), RGB(10, 20, 225));        // device (16,1): odd
  // Changed pixels: top and bottom rows over image columns 4..19 (16 each) and the left edge
  // over device rows 2..7 less the two excluded ones (4); the right edge lies outside.
  int changed = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) changed += image.pixel(x, y) != before.pixel(x, y);
  EXPECT_EQ(changed, 16 + 16 + 4);
  DrawFocusRect(dc, &rect);
  EXPECT_EQ(image, before);
  GdiReleaseSurfaceDC(dc);
}

/* A paint's update region after a scroll with fields pending is a band and scattered
   rectangles: what lies in the gap between them is outside, though inside the clip box. */
/* Under a clip of many rectangles (a scroll's band and scattered fields) a box, a wide
   frame and clipped texts show inside the clip exactly what they show unclipped, and
   nothing outside it, whichever of the clip's rectangles they meet. */
TEST(GdiDraw, ShapesAndClippedTextsUnderAClipOfManyRectanglesShowWhatTheyShowUnclipped) {
  const QRegion clip = QRegion(0, 0, 30, 120) | QRegion(50, 10, 70, 8) | QRegion(60, 40, 60, 50) |
                       QRegion(0, 100, 120, 20);
  auto draw = [](const QRegion& region) {
    QImage image = WhiteImage(120, 120);
    HDC dc = GdiCreateSurfaceDC(&image, QPoint(2, 1), region);
    SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    Rectangle(dc, 10, 5, 70, 25);  // meets three of the clip's rectangles
    HPEN wide = CreatePen(PS_SOLID, 5, RGB(0, 0, 160));
    HGDIOBJ old = SelectObject(dc, wide);
    Rectangle(dc, 20, 60, 100, 104);  // its pen reaches 2 pixels outside the box
    SelectObject(dc, old);
    DeleteObject(wide);
    RECT field{55, 44, 110, 62};
    ExtTextOutA(dc, 57, 46, ETO_CLIPPED | ETO_OPAQUE, &field, "1,234,567.89", 12, nullptr);
    RECT caption{-5, 95, 90, 118};
    DrawTextA(dc, "Settlement charges to borrower", -1, &caption, DT_WORDBREAK);
    GdiReleaseSurfaceDC(dc);
    return image;
  };
  const QImage whole = draw(QRegion()), clipped = draw(clip);
  int unlike = 0, inked = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inside = clip.contains(QPoint(x, y));
      unlike += clipped.pixel(x, y) != (inside ? whole.pixel(x, y) : qRgb(255, 255, 255));
      inked += inside && (whole.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    }
  EXPECT_EQ(unlike, 0);
  EXPECT_GT(inked, 500);
}

TEST(GdiDraw, RectVisibleFollowsTheRegionNotItsBoundingBox) {
  QImage image = WhiteImage(100, 60);
  QRegion update = QRegion(0, 0, 20, 20) | QRegion(70, 40, 30, 20);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), update);
  SetWindowOrgEx(dc, 500, 300, nullptr);  // logical 500,300 is device 0,0
  RECT box{};
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 500);
  EXPECT_EQ(box.right, 600);
  RECT gap{530, 320, 560, 330}, first{510, 310, 530, 330}, second{560, 330, 580, 350};
  RECT touching{520, 300, 540, 320}, nothing{510, 310, 510, 330};
  EXPECT_FALSE(RectVisible(dc, &gap));
  EXPECT_TRUE(RectVisible(dc, &first));
  EXPECT_TRUE(RectVisible(dc, &second));
  EXPECT_FALSE(RectVisible(dc, &touching));  // right and bottom edges are exclusive
  EXPECT_FALSE(RectVisible(dc, &nothing));
  EXPECT_FALSE(RectVisible(dc, nullptr));
  IntersectClipRect(dc, 500, 300, 505, 305);
  EXPECT_FALSE(RectVisible(dc, &second));
  GdiReleaseSurfaceDC(dc);
}

TEST(GdiDraw, ClippingRegionsAndTheClipBox) {
  QImage image = WhiteImage(50, 50);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 50);
  EXPECT_EQ(IntersectClipRect(dc, 10, 10, 40, 40), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(dc, 20, 20, 30, 30), COMPLEXREGION);
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.bottom, 40);
  EXPECT_FALSE(PtVisible(dc, 25, 25));
  EXPECT_TRUE(PtVisible(dc, 15, 15));
  RECT all{0, 0, 50, 50};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(InkCount(image, QRect(0, 0, 50, 50)), 30 * 30 - 10 * 10);
  EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 0);
  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15),
       result = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(result, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(result, 7, 7));
  EXPECT_FALSE(PtInRegion(result, 2, 2));
  EXPECT_EQ(CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(result, a, nullptr, RGN_OR), ERROR);
  EXPECT_EQ(SelectClipRgn(dc, a), SIMPLEREGION);
  DeleteObject(a);  // the DC keeps its own copy
  GetClipBox(dc, &box);
  EXPECT_EQ(box.right, 10);
  for (HRGN region : {b, result}) DeleteObject(region);
  GdiReleaseSurfaceDC(dc);
}

/* A scroll's paint: its clip is the band it uncovered and a few fields elsewhere, and the
   band is far taller than the rows one fill hands Qt. The pattern tiles from the DC's
   origin however the fill is cut up, and nothing outside the clip is touched. */
TEST(GdiDraw, PatternFillsUnderAClipOfManyRectanglesTileFromTheOrigin) {
  QImage image = WhiteImage(48, 300);
  const QRegion clip = QRegion(0, 0, 20, 200) | QRegion(30, 40, 18, 260) | QRegion(22, 250, 4, 4);
  const QPoint origin(5, 3);
  HDC dc = GdiCreateSurfaceDC(&image, origin, clip);
  std::uint32_t bits[64];
  std::fill(std::begin(bits), std::end(bits), 0x00FFFFFFu);
  bits[0] = 0;          // a black dot at (0, 0) of the tile
  bits[4 * 8 + 4] = 0;  // and at (4, 4)
  HBITMAP tile = CreateBitmap(8, 8, 1, 32, bits);
  HBRUSH pattern = CreatePatternBrush(tile);
  DeleteObject(tile);
  RECT all{-origin.x(), -origin.y(), 48 - origin.x(), 300 - origin.y()};
  FillRect(dc, &all, pattern);
  int wrong = 0, dots = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int tileX = ((x - origin.x()) % 8 + 8) % 8, tileY = ((y - origin.y()) % 8 + 8) % 8;
      const bool dot = clip.contains(QPoint(x, y)) && tileX == tileY && (tileX == 0 || tileX == 4);
      dots += dot;
      wrong += PixelAt(image, x, y) != (dot ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(dots, 200);
  GdiReleaseSurfaceDC(dc);
  DeleteObject(pattern);
}

TEST(GdiBlit, RasterOperationsBetweenMemoryDcs) {
  MemoryCanvas source(4, 1), target(4, 1);
  SetPixel(source.dc, 0, 0, RGB(255, 0, 0));
  SetPixel(source.dc, 1, 0, RGB(0, 255, 0));
  SetPixel(source.dc, 2, 0, RGB(0, 0, 0));
  SetPixel(target.dc, 0, 0, RGB(0, 0, 255));
  SetPixel(target.dc, 1, 0, RGB(0, 255, 255));
  SetPixel(target.dc, 2, 0, RGB(10, 10, 10));
  MemoryCanvas copy(4, 1);
  ASSERT_EQ(BitBlt(copy.dc, 0, 0, 4, 1, source.dc, 0, 0, SRCCOPY), TRUE);
  EXPECT_EQ(GetPixel(copy.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(copy.dc, 3, 0), RGB(255, 255, 255));
  BitBlt(target.dc, 0, 0, 3, 1, source.dc, 0, 0, SRCAND);
  EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(0, 255, 0));
  BitBlt(target.dc, 0, 0, 3, 1, source.dc, 0, 0, SRCPAINT);
  EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(255, 0, 0));
  BitBlt(target.dc, 0, 0, 1, 1, source.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 0, 0));
  BitBlt(target.dc, 3, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
  EXPECT_EQ(GetPixel(target.dc, 3, 0), RGB(0, 0, 0));
  PatBlt(target.dc, 0, 0, 4, 1, BLACKNESS);
  EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(0, 0, 0));
  SelectObject(target.dc, GetStockObject(GRAY_BRUSH));
  PatBlt(target.dc, 0, 0, 2, 1, PATCOPY);
  EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(128, 128, 128));
  EXPECT_EQ(BitBlt(target.dc, 0, 0, 1, 1, source.dc, 0, 0, 0x12345678), FALSE);
}

TEST(GdiBlit, MonochromeBitmapsTakeTheDestinationsColours) {
  // 1 bit per pixel, rows of 16 bits: pixels 0 and 2 set (white), 1 and 3 clear (black).
  const BYTE bits[2] = {0xA0, 0x00};
  HBITMAP mono = CreateBitmap(4, 1, 1, 1, bits);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ original = SelectObject(source, mono);
  MemoryCanvas target(4, 1);
  SetTextColor(target.dc, RGB(200, 0, 0));
  SetBkColor(target.dc, RGB(0, 0, 200));
  BitBlt(target.dc, 0, 0, 4, 1, source, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 0, 200));
  EXPECT_EQ(GetPixel(target.dc, 1, 0), RGB(200, 0, 0));
  // A fresh memory DC holds a monochrome bitmap, so its compatible bitmaps are monochrome.
  HDC fresh = CreateCompatibleDC(nullptr);
  HBITMAP compatible = CreateCompatibleBitmap(fresh, 8, 8);
  BITMAP info{};
  GetObject(compatible, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 1);
  DeleteObject(compatible);
  DeleteDC(fresh);
  SelectObject(source, original);
  DeleteDC(source);
  DeleteObject(mono);
}

TEST(GdiBlit, StretchAndCopyFromASurface) {
  QImage image = WhiteImage(10, 10);
  HDC screen = GdiCreateSurfaceDC(&image, QPoint(2, 2), QRegion());
  RECT cell{0, 0, 2, 2};
  FillRect(screen, &cell, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  MemoryCanvas target(8, 8);
  ASSERT_EQ(StretchBlt(target.dc, 0, 0, 8, 8, screen, 0, 0, 4, 4, SRCCOPY), TRUE);
  EXPECT_EQ(GetPixel(target.dc, 3, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(target.dc, 4, 4), RGB(255, 255, 255));
  GdiReleaseSurfaceDC(screen);
}

TEST(GdiDraw, HatchAndPatternBrushes) {
  QImage image = WhiteImage(16, 16);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(0, 0, 0));
  SetBkColor(dc, RGB(0, 255, 0));
  RECT all{0, 0, 16, 16};
  FillRect(dc, &all, hatch);
  // An opaque hatch fills the gaps with the background colour; the lines are black.
  int black = 0, green = 0;
  for (int y = 0; y < 16; ++y) {
    COLORREF pixel = PixelAt(image, 0, y);
    black += pixel == RGB(0, 0, 0);
    green += pixel == RGB(0, 255, 0);
  }
  EXPECT_GT(black, 0);
  EXPECT_EQ(black + green, 16);
  const BYTE checker[4] = {0x55, 0x00, 0xAA, 0x00};  // 2x2 rows of 16 bits: white/black alternate
  HBITMAP tile = CreateBitmap(2, 2, 1, 1, checker);
  HBRUSH pattern = CreatePatternBrush(tile);
  DeleteObject(tile);  // the brush keeps its own copy
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, RGB(0, 0, 255));
  FillRect(dc, &all, pattern);
  // A monochrome pattern paints in the DC's text (clear bits) and background (set bits) colours.
  EXPECT_TRUE(PixelAt(image, 0, 0) == RGB(255, 0, 0) || PixelAt(image, 0, 0) == RGB(0, 0, 255));
  EXPECT_NE(PixelAt(image, 0, 0), PixelAt(image, 1, 0));
  EXPECT_EQ(PixelAt(image, 0, 0), PixelAt(image, 1, 1));
  EXPECT_EQ(PixelAt(image, 0, 0), PixelAt(image, 2, 0));
  GdiReleaseSurfaceDC(dc);
  DeleteObject(hatch);
  DeleteObject(pattern);
}

TEST(GdiDraw, RecordingDcListsShapes) {
  HDC dc = GdiCreateRecordingDC();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
  SelectObject(dc, pen);
  MoveToEx(dc, 1, 2, nullptr);
  LineTo(dc, 3, 4);
  Rectangle(dc, 10, 20, 30, 40);
  RECT rect{5, 6, 7, 8};
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].call, "LineTo");
  EXPECT_EQ(calls[0].points[0].x, 1);
  EXPECT_EQ(calls[0].points[1].y, 4);
  EXPECT_EQ(calls[0].penColor, RGB(0, 0, 128));
  EXPECT_EQ(calls[1].call, "Rectangle");
  EXPECT_EQ(calls[1].rect.bottom, 40);
  EXPECT_EQ(calls[2].call, "FillRect");
  EXPECT_EQ(calls[2].brushColor, RGB(192, 192, 192));
  DeleteDC(dc);
  DeleteObject(pen);
}

/* The colours along a row of pixels. */
static std::set<COLORREF> RowColours(const QImage& image, int y, int from, int to) {
  std::set<COLORREF> colours;
  for (int x = from; x < to; ++x) colours.insert(PixelAt(image, x, y));
  return colours;
}

TEST(GdiDraw, DottedPensFillTheirGapsWithTheBackgroundInOpaqueMode) {
  QImage image = WhiteImage(60, 60);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  HPEN dotted = CreatePen(PS_DOT, 1, RGB(128, 128, 128));
  HGDIOBJ previous = SelectObject(dc, dotted);
  SetBkColor(dc, RGB(192, 192, 192));
  SetBkMode(dc, TRANSPARENT);
  MoveToEx(dc, 0, 5, nullptr);
  LineTo(dc, 40, 5);
  // Transparent: the gaps keep what was there.
  EXPECT_EQ(RowColours(image, 5, 0, 40),
            (std::set<COLORREF>{RGB(128, 128, 128), RGB(255, 255, 255)}));
  SetBkMode(dc, OPAQUE);
  MoveToEx(dc, 0, 10, nullptr);
  LineTo(dc, 40, 10);
  EXPECT_EQ(RowColours(image, 10, 0, 40),
            (std::set<COLORREF>{RGB(128, 128, 128), RGB(192, 192, 192)}));
  EXPECT_EQ(PixelAt(image, 40, 10), RGB(255, 255, 255));  // the last pixel stays out
  // A field frame: the light grey stock brush inside a dotted outline, opaque.
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, 10, 20, 50, 44);
  for (int y : {20, 43})
    EXPECT_EQ(RowColours(image, y, 10, 50),
              (std::set<COLORREF>{RGB(128, 128, 128), RGB(192, 192, 192)}))
        << y;
  std::set<COLORREF> leftEdge;
  for (int y = 20; y < 44; ++y) leftEdge.insert(PixelAt(image, 10, y));
  EXPECT_EQ(leftEdge, (std::set<COLORREF>{RGB(128, 128, 128), RGB(192, 192, 192)}));
  SelectObject(dc, previous);
  DeleteObject(dotted);
  GdiReleaseSurfaceDC(dc);
}
