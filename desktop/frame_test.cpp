/*
** The main frame on a real desktop: shown maximised, it lies inside the screen with its
** caption and menu bar, and a click on the menu bar's "File" opens the File menu.
*/
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

namespace {

// The menu bar's first title "File" starts at its left end; its row is one text line high.
constexpr int kFileX = 14;
constexpr int kMenuRowMiddle = 10;

void ExpectFrameOnScreenWithMenu(Desktop& desktop, long frame, const std::string& shot) {
  // The window manager may still be placing it under a busy machine.
  WindowPlace place;
  Desktop::WaitUntil(
      [&] {
        place = desktop.Place(frame);
        return place.height + place.frameTop + place.frameBottom >= Desktop::kHeight - 2 &&
               place.OuterTop() >= 0;
      },
      20);
  EXPECT_GE(place.OuterLeft(), 0);
  EXPECT_GE(place.OuterTop(), 0) << "caption above the screen";
  EXPECT_LE(place.x + place.width + place.frameRight, Desktop::kWidth);
  EXPECT_LE(place.y + place.height + place.frameBottom, Desktop::kHeight);
  // Maximised: it fills the screen but for what the window manager draws around it.
  EXPECT_GE(place.width + place.frameLeft + place.frameRight, Desktop::kWidth - 2);
  EXPECT_GE(place.height + place.frameTop + place.frameBottom, Desktop::kHeight - 2);

  Screenshot before = desktop.Shoot(shot);
  // The area where the File menu drops down, below the menu bar.
  int left = place.x, top = place.y + 2 * kMenuRowMiddle + 4, right = place.x + 120,
      bottom = top + 80;
  desktop.Click(place.x + kFileX, place.y + kMenuRowMiddle);
  bool opened = Desktop::WaitUntil(
      [&] {
        // Changed, and drawn: a window just mapped shows one flat colour until it paints.
        Screenshot now = desktop.Shoot();
        return now.CountChanged(before, left, top, right, bottom) > 400 &&
               now.CountNot(left, top, right, bottom, now.At(left + 40, top + 40)) > 200;
      },
      20);
  EXPECT_TRUE(opened) << "no File menu under the click";
  desktop.Shoot(shot + "-file-menu");
  desktop.Key("Escape");
}

TEST(DesktopFrame, MaximisedFrameShowsCaptionAndMenuBarUnderWindowManager) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  WindowPlace place = desktop.Place(frame);
  EXPECT_GT(place.frameTop, 0) << "the window manager draws the caption";
  ExpectFrameOnScreenWithMenu(desktop, frame, "frame-openbox");
}

TEST(DesktopFrame, MaximisedFrameShowsMenuBarWithoutWindowManager) {
  Desktop desktop(false);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  ExpectFrameOnScreenWithMenu(desktop, frame, "frame-bare");
}

}  // namespace
