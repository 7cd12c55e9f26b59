/*
** Surface DCs: painting through an origin and a clip, release rules, stock objects and the
** Qt forms of brushes and fonts.
*/
#include "platform/gdi/tests/gdi_test_support.h"

#include <gtest/gtest.h>

TEST(GdiSurface, FillRectLandsAtTheOriginAndStaysInsideTheClip) {
  QImage image = WhiteImage(100, 100);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(10, 20), QRegion(0, 0, 50, 50));
  ASSERT_NE(dc, nullptr);
  RECT rect{0, 0, 60, 60};
  EXPECT_NE(FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(GdiReleaseSurfaceDC(dc), TRUE);
  EXPECT_EQ(PixelAt(image, 10, 20), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(image, 49, 49), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(image, 9, 20), RGB(255, 255, 255));   // left of the origin
  EXPECT_EQ(PixelAt(image, 50, 30), RGB(255, 255, 255));  // outside the clip
  EXPECT_EQ(InkBox(image), QRect(10, 20, 40, 30));
}

TEST(GdiSurface, ReleasingTwiceOrANullHandleFails) {
  QImage image = WhiteImage(10, 10);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  EXPECT_EQ(GdiReleaseSurfaceDC(dc), TRUE);
  EXPECT_EQ(GdiReleaseSurfaceDC(dc), FALSE);
  EXPECT_EQ(GdiReleaseSurfaceDC(nullptr), FALSE);
  EXPECT_EQ(GdiCreateSurfaceDC(nullptr, QPoint(), QRegion()), nullptr);
  RECT rect{0, 0, 5, 5};
  EXPECT_EQ(FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
}

TEST(GdiSurface, StockObjectsAndTheirQtForms) {
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(-1), nullptr);
  EXPECT_EQ(GdiBrushToQBrush(static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))).color(),
            QColor(192, 192, 192));
  EXPECT_EQ(GdiBrushToQBrush(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))).style(), Qt::NoBrush);
  EXPECT_EQ(GdiBrushToQBrush(nullptr).style(), Qt::NoBrush);
  EXPECT_EQ(GdiBrushToQBrush(static_cast<HBRUSH>(GetStockObject(BLACK_PEN))).style(), Qt::NoBrush);
  QFont font = GdiFontToQFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  EXPECT_EQ(font.family(), "Liberation Sans");
  EXPECT_EQ(font.pixelSize(), 11);
  EXPECT_EQ(GdiFontToQFont(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT))).family(),
            "Liberation Mono");
  EXPECT_EQ(GdiColorToQColor(PALETTEINDEX(3)), QColor(128, 128, 0));
}

TEST(GdiSurface, SystemColourBrushesFillWithTheProvidedColour) {
  QImage image = WhiteImage(4, 4);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  GdiSetSystemColorProvider([](int index) { return index == 5 ? RGB(1, 2, 3) : RGB(9, 9, 9); });
  RECT rect{0, 0, 4, 4};
  EXPECT_NE(FillRect(dc, &rect, reinterpret_cast<HBRUSH>(5 + 1)), 0);
  EXPECT_EQ(PixelAt(image, 2, 2), RGB(1, 2, 3));
  GdiSetSystemColorProvider(nullptr);
  EXPECT_EQ(FillRect(dc, &rect, nullptr), 0);
  GdiReleaseSurfaceDC(dc);
}
