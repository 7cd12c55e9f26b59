/*
** Object selection and deletion rules, SaveDC/RestoreDC, GetObject, and bad handles.
*/
#include "platform/gdi/gdi_recording.h"
#include "platform/gdi/tests/gdi_test_support.h"

#include <gtest/gtest.h>

TEST(GdiObjects, SelectObjectAnswersThePreviousObject) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  EXPECT_EQ(SelectObject(dc, red), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, blue), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), red);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), blue);
  EXPECT_EQ(GetObjectType(GetCurrentObject(dc, OBJ_FONT)), OBJ_FONT);
  EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
  EXPECT_EQ(GetObjectType(red), OBJ_PEN);
  DeleteDC(dc);
  EXPECT_EQ(DeleteObject(red), TRUE);
  EXPECT_EQ(DeleteObject(blue), TRUE);  // freed with the DC's selection
  EXPECT_EQ(GetObjectType(blue), 0);
}

TEST(GdiObjects, ASelectedObjectLivesUntilDeselected) {
  QImage image = WhiteImage(20, 20);
  HDC dc = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(dc, green);
  EXPECT_EQ(DeleteObject(green), TRUE);
  EXPECT_EQ(DeleteObject(green), FALSE);       // already deleted
  EXPECT_EQ(GetObject(green, 0, nullptr), 0);  // gone as far as callers are concerned
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, green), nullptr);  // cannot be selected anew
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, 0, 0, 10, 10);  // but the DC still paints with it
  EXPECT_EQ(PixelAt(image, 5, 5), RGB(0, 255, 0));
  EXPECT_EQ(SelectObject(dc, old), green);
  EXPECT_EQ(GetObjectType(green), 0);  // freed on deselection
  DeleteDC(other);
  GdiReleaseSurfaceDC(dc);
}

TEST(GdiObjects, StockObjectsSurviveDeletion) {
  HGDIOBJ brush = GetStockObject(GRAY_BRUSH);
  EXPECT_EQ(DeleteObject(brush), TRUE);
  EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
  LOGBRUSH logBrush{};
  EXPECT_EQ(GetObject(brush, sizeof logBrush, &logBrush), static_cast<int>(sizeof logBrush));
  EXPECT_EQ(logBrush.lbColor, RGB(128, 128, 128));
}

TEST(GdiObjects, GetObjectDescribesEachKind) {
  HPEN pen = CreatePen(PS_DOT, 3, RGB(1, 2, 3));
  LOGPEN logPen{};
  EXPECT_EQ(GetObject(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
  EXPECT_EQ(GetObject(pen, sizeof logPen, &logPen), static_cast<int>(sizeof logPen));
  EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_DOT));
  EXPECT_EQ(logPen.lopnWidth.x, 3);
  EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
  LOGBRUSH logBrush{};
  GetObject(hatch, sizeof logBrush, &logBrush);
  EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
  HFONT font = CreateFont(-138, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Helv");
  LOGFONT logFont{};
  EXPECT_EQ(GetObject(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  EXPECT_EQ(logFont.lfHeight, -138);
  EXPECT_EQ(logFont.lfWeight, FW_BOLD);
  EXPECT_STREQ(logFont.lfFaceName, "Helv");
  HBITMAP bitmap = CreateBitmap(17, 5, 1, 1, nullptr);
  BITMAP info{};
  GetObject(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 17);
  EXPECT_EQ(info.bmHeight, 5);
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmWidthBytes, 4);  // rows padded to 16 bits
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(hatch),
                         static_cast<HGDIOBJ>(font), static_cast<HGDIOBJ>(bitmap)})
    EXPECT_EQ(DeleteObject(object), TRUE);
}

TEST(GdiObjects, ABitmapLivesInOneMemoryDcAtATime) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
  HGDIOBJ original = SelectObject(first, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  QImage image = WhiteImage(4, 4);
  HDC surface = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  EXPECT_EQ(SelectObject(surface, bitmap), nullptr);  // only memory DCs take bitmaps
  SelectObject(first, original);
  EXPECT_NE(SelectObject(second, bitmap), nullptr);
  DeleteDC(first);
  DeleteDC(second);
  GdiReleaseSurfaceDC(surface);
  EXPECT_EQ(DeleteObject(bitmap), TRUE);
}

TEST(GdiObjects, SaveAndRestoreDc) {
  HDC dc = GdiCreateRecordingDC();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  EXPECT_EQ(SaveDC(dc), 1);
  SelectObject(dc, pen);
  SetMapMode(dc, MM_LOENGLISH);
  SetTextColor(dc, RGB(1, 1, 1));
  EXPECT_EQ(SaveDC(dc), 2);
  SetMapMode(dc, MM_HIENGLISH);
  EXPECT_EQ(RestoreDC(dc, -1), TRUE);
  EXPECT_EQ(GetMapMode(dc), MM_LOENGLISH);
  // The pen is deleted while held by the live state; restoring level 1 lets it go.
  EXPECT_EQ(DeleteObject(pen), TRUE);
  EXPECT_EQ(GetObjectType(pen), 0);
  EXPECT_EQ(RestoreDC(dc, 1), TRUE);
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(RestoreDC(dc, 1), FALSE);  // nothing saved any more
  EXPECT_EQ(RestoreDC(dc, -1), FALSE);
  EXPECT_EQ(SaveDC(nullptr), 0);
  DeleteDC(dc);
}

TEST(GdiObjects, BadHandlesGiveThePlatformsFailureValues) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(CreatePen(9, 1, 0), nullptr);
  EXPECT_EQ(CreateHatchBrush(9, 0), nullptr);
  EXPECT_EQ(CreatePatternBrush(nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);  // refused, not attempted
  EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(0x1234)), nullptr);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);
  EXPECT_EQ(SelectObject(dc, dc), nullptr);
  EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(DeleteObject(nullptr), FALSE);
  EXPECT_EQ(GetObject(nullptr, 0, nullptr), 0);
  EXPECT_EQ(GetObjectType(nullptr), 0);
  EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(SetROP2(dc, 0), 0);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
  EXPECT_EQ(DeleteDC(dc), TRUE);
  EXPECT_EQ(DeleteDC(dc), FALSE);
  EXPECT_EQ(GdiReleaseSurfaceDC(dc), FALSE);
  RECT rect{0, 0, 1, 1};
  EXPECT_EQ(Rectangle(dc, 0, 0, 1, 1), FALSE);
  EXPECT_EQ(FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY), FALSE);
}

TEST(GdiObjects, ScreenDeviceCapsAreFixed) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASDISPLAY);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1280);
  EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 339);
  EXPECT_NE(GetDeviceCaps(dc, RASTERCAPS) & RC_BITBLT, 0);
  DeleteDC(dc);
}
