/*
** The screen form repainted piece by piece, as scrolling does, comes out pixel for pixel
** the same as the form painted whole: skipping what lies outside each paint rectangle
** loses nothing that meets it.
*/
#include "hudform/form_description.h"
#include "hudform/form_painter.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"

#include <gtest/gtest.h>

#include <string>

using namespace hudform;

namespace {

/* A memory DC of the form's size, filled with a grey nothing in the form paints. */
class FormCanvas {
 public:
  FormCanvas()
      : dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateCompatibleBitmap(dc_, ScreenFormWidth(), ScreenFormHeight())),
        original_(SelectObject(dc_, bitmap_)) {
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    RECT all{0, 0, ScreenFormWidth(), ScreenFormHeight()};
    FillRect(dc_, &all, grey);
    DeleteObject(grey);
  }
  ~FormCanvas() {
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ original_;
};

/* "same", or how many pixels differ and where the first is. */
std::string Difference(HDC actual, HDC expected) {
  int count = 0;
  std::string first;
  for (int y = 0; y < ScreenFormHeight(); ++y)
    for (int x = 0; x < ScreenFormWidth(); ++x)
      if (GetPixel(actual, x, y) != GetPixel(expected, x, y) && count++ == 0)
        first = " first at " + std::to_string(x) + "," + std::to_string(y);
  return count == 0 ? "same" : std::to_string(count) + " pixels differ," + first;
}

}  // namespace

class ScreenRepaint : public GuiTest {};

TEST_F(ScreenRepaint, StripsAndTilesAddUpToTheWholeForm) {
  FormCanvas whole;
  PaintScreenForm(whole.dc(), RECT{0, 0, ScreenFormWidth(), ScreenFormHeight()});

  // One-line scrolls: 24-pixel strips the width of a window, down the whole form.
  FormCanvas strips;
  for (int x = 0; x < ScreenFormWidth(); x += 640)
    for (int y = 0; y < ScreenFormHeight(); y += 24)
      PaintScreenForm(strips.dc(), RECT{x, y, x + 640, y + 24});
  EXPECT_EQ(Difference(strips.dc(), whole.dc()), "same");

  // Windows of odd sizes, whose edges cut through captions and boxes.
  FormCanvas tiles;
  for (int y = 0; y < ScreenFormHeight(); y += 397)
    for (int x = 0; x < ScreenFormWidth(); x += 311)
      PaintScreenForm(tiles.dc(), RECT{x, y, x + 311, y + 397});
  EXPECT_EQ(Difference(tiles.dc(), whole.dc()), "same");
}
