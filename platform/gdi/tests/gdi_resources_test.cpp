/*
** Bitmaps and icons from the test program's own resources and from the system.
*/
#include "platform/gdi/tests/gdi_test_support.h"
#include "platform/kernel/module_identity.h"

#include <gtest/gtest.h>

namespace {

HINSTANCE ThisProgram() { return MainProgramModule(); }

}  // namespace

TEST(GdiResources, LoadBitmapReadsAColourBitmap) {
  HBITMAP strip = LoadBitmap(ThisProgram(), MAKEINTRESOURCE(101));
  ASSERT_NE(strip, nullptr);
  BITMAP info{};
  GetObject(strip, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 2);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));  // rows stored bottom-up come out top-down
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(255, 255, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(strip);
}

TEST(GdiResources, MonochromeResourceBitmapsStayMonochrome) {
  HBITMAP mono = LoadBitmap(ThisProgram(), MAKEINTRESOURCE(102));
  ASSERT_NE(mono, nullptr);
  BITMAP info{};
  GetObject(mono, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 1);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, mono);
  QImage image = WhiteImage(8, 1);
  HDC target = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  SetTextColor(target, RGB(0, 0, 128));
  BitBlt(target, 0, 0, 8, 1, source, 0, 0, SRCCOPY);
  EXPECT_EQ(PixelAt(image, 0, 0), RGB(255, 255, 255));  // set bits take the background colour
  EXPECT_EQ(PixelAt(image, 1, 0), RGB(0, 0, 128));      // clear bits the text colour
  EXPECT_EQ(PixelAt(image, 3, 0), RGB(255, 255, 255));
  GdiReleaseSurfaceDC(target);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(mono);
}

TEST(GdiResources, SystemComboArrowAndMissingBitmaps) {
  HBITMAP arrow = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_COMBO));
  ASSERT_NE(arrow, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, arrow);
  BITMAP info{};
  GetObject(arrow, sizeof info, &info);
  EXPECT_EQ(GetPixel(dc, info.bmWidth / 2, info.bmHeight / 2), RGB(0, 0, 0));  // the arrow's middle
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(192, 192, 192));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(arrow);
  EXPECT_EQ(LoadBitmap(ThisProgram(), MAKEINTRESOURCE(999)), nullptr);
  EXPECT_EQ(LoadBitmap(ThisProgram(), "NoSuchBitmap"), nullptr);
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadBitmap(ThisProgram(), nullptr), nullptr);
}

TEST(GdiResources, IconsLoadAtTheirScreenSizeAndDrawWithTransparency) {
  HICON icon = LoadIcon(ThisProgram(), "HalfIcon");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(GdiIconImage(icon).size(), QSize(32, 32));  // the 32x32 image of the group
  QImage image = WhiteImage(40, 40);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  EXPECT_EQ(DrawIcon(dc, 4, 4, icon), TRUE);
  EXPECT_EQ(PixelAt(image, 10, 10), RGB(255, 255, 255));  // transparent left half
  EXPECT_EQ(PixelAt(image, 30, 10), RGB(255, 0, 0));
  // Each load is an icon of its own: the one destroyed leaves the other's picture whole.
  HICON again = LoadIcon(ThisProgram(), "HalfIcon");
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, icon);
  EXPECT_EQ(GdiDestroyIcon(icon), TRUE);
  EXPECT_EQ(DrawIcon(dc, 4, 4, icon), FALSE);
  EXPECT_EQ(GdiDestroyIcon(icon), FALSE);
  QImage other = WhiteImage(40, 40);
  HDC otherDc = GdiCreateSurfaceDC(&other, QPoint(), QRegion());
  EXPECT_EQ(DrawIcon(otherDc, 4, 4, again), TRUE);
  EXPECT_EQ(PixelAt(other, 10, 10), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(other, 30, 10), RGB(255, 0, 0));
  GdiReleaseSurfaceDC(otherDc);
  EXPECT_EQ(GdiDestroyIcon(again), TRUE);
  HICON stop = LoadIcon(nullptr, MAKEINTRESOURCE(32513));
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(32513)), stop);  // shared
  EXPECT_EQ(GdiDestroyIcon(stop), TRUE);
  EXPECT_EQ(DrawIcon(dc, 0, 0, stop), TRUE);  // still there
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);
  EXPECT_EQ(LoadIcon(ThisProgram(), "NoSuchIcon"), nullptr);
  GdiReleaseSurfaceDC(dc);
}
