/*
** The main frame on a real desktop: shown maximised, it lies inside the screen with its
** caption and menu bar, a click on the menu bar's "File" opens the File menu, and with a
** statement maximised a click on the Restore button at the bar's right end restores it.
*/
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

#include <vector>

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

/* The runs of columns, left to right, holding a pixel darker than the bar's face (an icon's
** outline) between rows top and bottom. */
std::vector<std::pair<int, int>> DarkColumnRuns(const Screenshot& shot, int left, int right,
                                                int top, int bottom) {
  std::vector<std::pair<int, int>> runs;
  for (int x = left; x < right; ++x) {
    bool dark = false;
    for (int y = top; y < bottom && !dark; ++y) dark = ((shot.At(x, y) >> 8) & 0xFF) < 0x90;
    if (!dark) continue;
    if (!runs.empty() && runs.back().second == x) runs.back().second = x + 1;
    else runs.push_back({x, x + 1});
  }
  return runs;
}

// The right end of the menu row, where the maximised child's three buttons sit.
constexpr int kCornerWidth = 120;
constexpr int kMenuRowHeight = 19;

TEST(DesktopFrame, TheMenuBarsRestoreButtonRestoresAMaximisedStatement) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  desktop.Key("alt+f");
  desktop.Key("n");
  ASSERT_NE(desktop.WaitForWindow("^New File$"), 0) << desktop.ProgramLog();
  desktop.Type("X1");
  desktop.Key("Return");
  ASSERT_NE(desktop.WaitForWindow("^Zarne - \\[X1\\]$"), 0) << desktop.ProgramLog();

  // Minimize, Restore and Close, found on the screen as a user finds them: three icons.
  WindowPlace place = desktop.Place(frame);
  int right = place.x + place.width, left = right - kCornerWidth;
  int top = place.y, bottom = place.y + kMenuRowHeight;
  std::vector<std::pair<int, int>> icons;
  Desktop::WaitUntil(
      [&] {
        return (icons = DarkColumnRuns(desktop.Shoot(), left, right, top, bottom)).size() == 3;
      },
      10);
  desktop.Shoot("maximised-statement");
  ASSERT_EQ(icons.size(), 3u) << "not three buttons at the menu bar's right end";

  desktop.Click((icons[1].first + icons[1].second) / 2, (top + bottom) / 2);
  bool restored = Desktop::WaitUntil([&] { return desktop.Title(frame) == "Zarne"; }, 10);
  desktop.Shoot("restored-statement");
  EXPECT_TRUE(restored) << "still titled " << desktop.Title(frame);
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] { return DarkColumnRuns(desktop.Shoot(), left, right, top, bottom).empty(); }, 10))
      << "the buttons stay after the child was restored";
}

}  // namespace
