/*
** The statement form's background copied from its shared picture comes out pixel for pixel
** the same as the form drawn straight onto the window: through rectangles that cut across the
** picture's bands, and after the bound on the picture made it let bands go and draw them
** again.
*/
#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "hud_print_tables.inc"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "statement/form_background.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kWidth = kScreenFormPaperWidth;
constexpr int kHeight = kScreenFormPaperHeight;

/* A memory DC of the paper's size, filled with a grey nothing in the form paints. */
class Canvas {
 public:
  Canvas()
      : dc_(CreateCompatibleDC(nullptr)),
        bitmap_(CreateBitmap(kWidth, kHeight, 1, 32, nullptr)),
        original_(SelectObject(dc_, bitmap_)) {
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc_, &all, grey);
    DeleteObject(grey);
  }
  ~Canvas() {
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

std::string Difference(HDC actual, HDC expected) {
  int count = 0;
  std::string first;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (GetPixel(actual, x, y) != GetPixel(expected, x, y) && count++ == 0)
        first = " first at " + std::to_string(x) + "," + std::to_string(y);
  return count == 0 ? "same" : std::to_string(count) + " pixels differ," + first;
}

}  // namespace

class FormBackground : public GuiTest {
 protected:
  void TearDown() override {
    ReleaseFormBackground();
    GuiTest::TearDown();
  }
};

TEST_F(FormBackground, CopiesTheSamePixelsTheFormDraws) {
  Canvas drawn;
  RECT whole{0, 0, kWidth, kHeight};
  PaintRespaBackground(drawn.dc(), &whole);

  // Odd window-sized pieces down the whole form twice: more than the picture holds at once,
  // so the second pass copies bands drawn again after being let go.
  for (int pass = 0; pass < 2; ++pass) {
    Canvas copied;
    for (int y = 0; y < kHeight; y += 397)
      for (int x = 0; x < kWidth; x += 311)
        PaintFormBackground(copied.dc(), RECT{x, y, x + 310, y + 396});
    EXPECT_EQ(Difference(copied.dc(), drawn.dc()), "same") << "pass " << pass;
  }
}
