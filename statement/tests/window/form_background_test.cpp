/*
** The form's tiles against the form painter itself: what a paint copies from the tiles is
** what drawing the form straight onto the window leaves, across the tiles' edges and with
** the window scrolled, for a whole paint and a small one.
*/
#include "statement/form_background.h"

#include "hudform/hudform_exports.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);

/* A colour canvas whose logical origin is the form pixel (left, top), all grey. */
struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  Canvas(int left, int top, int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(width, height, 1, 32, nullptr);
    previous = SelectObject(dc, bitmap);
    HBRUSH grey = CreateSolidBrush(kGrey);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    SetWindowOrgEx(dc, left, top, nullptr);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

/* The first pixel where the two canvases differ, as "x,y", or "" when none does. */
std::string FirstDifference(const Canvas& a, const Canvas& b, const RECT& area) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (GetPixel(a.dc, x, y) != GetPixel(b.dc, x, y))
        return std::to_string(x) + "," + std::to_string(y);
  return "";
}

TEST(FormBackgroundTest, TilesLeaveThePixelsTheFormPainterDraws) {
  EnsureTestApplication();
  DeleteFormBackgroundTiles();
  // Form pixels 100 to 399 across and 900 to 1459 down: two tile edges each way.
  const int left = 100, top = 900, width = 300, height = 560;
  RECT whole{left, top, left + width - 1, top + height - 1};
  {
    Canvas direct(left, top, width, height), tiled(left, top, width, height);
    PaintRespaBackground(direct.dc, &whole);
    PaintFormBackground(tiled.dc, whole);
    EXPECT_EQ(FirstDifference(direct, tiled, RECT{left, top, left + width, top + height}), "");
    // Something of the form was drawn there: not all of it is paper or grey.
    int inked = 0;
    for (int y = top; y < top + height; y += 3)
      for (int x = left; x < left + width; x += 3)
        inked +=
            GetPixel(tiled.dc, x, y) != RGB(255, 255, 255) && GetPixel(tiled.dc, x, y) != kGrey;
    EXPECT_GT(inked, 100);
  }
  // A small paint over a tile corner, clipped as a window's paint is, from tiles drawn now.
  RECT small{240, 1010, 270, 1030};
  Canvas direct(left, top, width, height), tiled(left, top, width, height);
  for (const Canvas* canvas : {&direct, &tiled})
    IntersectClipRect(canvas->dc, small.left, small.top, small.right + 1, small.bottom + 1);
  PaintRespaBackground(direct.dc, &small);
  PaintFormBackground(tiled.dc, small);
  EXPECT_EQ(FirstDifference(direct, tiled,
                            RECT{small.left - 3, small.top - 3, small.right + 4, small.bottom + 4}),
            "");
  DeleteFormBackgroundTiles();
}

}  // namespace
