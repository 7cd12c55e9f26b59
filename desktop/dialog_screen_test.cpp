/*
** Dialogs as the screen shows them under a window manager: a dialog's pixels are on the X
** server's screen, a nested dialog covers its owner where it lies and the owner's pixels
** stay around it, and a dialog without a sizing border is offered neither resizing nor
** maximising, while the frame keeps both.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t kButtonFace = 0xC0C0C0;  // the 3-D face of dialogs and buttons
constexpr uint32_t kWhite = 0xFFFFFF;       // list boxes and edits
constexpr uint32_t kBlack = 0x000000;       // a window the server shows but nobody painted

Box ClientArea(const WindowPlace& place) {
  return {place.x, place.y, place.x + place.width, place.y + place.height};
}

/* A dialog painted: its face with white controls on it, black only for text and lines (an
   unpainted window shows all black). */
bool ShowsDialogContent(const Screenshot& shot, const Box& area, int whiteAtLeast) {
  return CountOf(shot, area, kButtonFace) > area.Pixels() / 8 &&
         CountOf(shot, area, kWhite) >= whiteAtLeast &&
         CountOf(shot, area, kBlack) < area.Pixels() / 4;
}

bool Offers(Desktop& desktop, long window, const std::string& action) {
  return desktop.Property(window, "_NET_WM_ALLOWED_ACTIONS").find(action) != std::string::npos;
}

TEST(DesktopDialogScreen, ANestedDialogShowsItsPixelsOverItsOwnerAndOnlyItsFrameButtons) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  // The frame has a sizing border and a maximise box.
  EXPECT_TRUE(Offers(desktop, frame, "_NET_WM_ACTION_RESIZE"));
  EXPECT_TRUE(Offers(desktop, frame, "_NET_WM_ACTION_MAXIMIZE_HORZ"));

  desktop.Key("alt+f");
  desktop.Key("n");
  long newFile = WaitForActive(desktop, "New File");
  ASSERT_NE(newFile, 0);
  // Its file-number edit and file list are white: at least a list's worth of white pixels.
  Box newFileArea = ClientArea(desktop.Place(newFile));
  Screenshot shot;
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] { return ShowsDialogContent(shot = desktop.Shoot(), newFileArea, 5000); }, 10))
      << "New File is not on the screen";
  desktop.Shoot("new-file-dialog");
  // A dialog frame without a sizing border: moved and closed, never resized or maximised.
  EXPECT_FALSE(Offers(desktop, newFile, "_NET_WM_ACTION_RESIZE"));
  EXPECT_FALSE(Offers(desktop, newFile, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
  EXPECT_FALSE(Offers(desktop, newFile, "_NET_WM_ACTION_MAXIMIZE_VERT"));
  EXPECT_TRUE(Offers(desktop, newFile, "_NET_WM_ACTION_CLOSE"));
  EXPECT_TRUE(Offers(desktop, newFile, "_NET_WM_ACTION_MOVE"));
  desktop.Type("S1");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(newFile));

  desktop.Key("alt+a");
  desktop.Key("d");
  long disbursing = WaitForActive(desktop, "Disbursing");
  ASSERT_NE(disbursing, 0);
  Box owner = ClientArea(desktop.Place(disbursing));
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] { return ShowsDialogContent(shot = desktop.Shoot(), owner, 20000); }, 10))
      << "Disbursing is not on the screen";
  desktop.Key("alt+d");
  long deposit = WaitForActive(desktop, "Add Deposit");
  ASSERT_NE(deposit, 0);
  desktop.Type("Smith");
  desktop.Key("Tab Tab");
  desktop.Type("100");
  desktop.Key("Return");
  long select = WaitForActive(desktop, "Select Bank Account");
  ASSERT_NE(select, 0);
  WindowPlace selectPlace = desktop.Place(select);
  Box nested = ClientArea(selectPlace);
  Box nestedOuter{selectPlace.OuterLeft(), selectPlace.OuterTop(),
                  nested.right + selectPlace.frameRight, nested.bottom + selectPlace.frameBottom};
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] { return ShowsDialogContent(shot = desktop.Shoot(), nested, 15000); }, 10))
      << "Select Bank Account is not on the screen";
  desktop.Shoot("nested-dialog-over-owner");
  // Where the nested dialog does not lie, Disbursing still shows: its face and its white lists.
  int ownerFace = 0, ownerWhite = 0, ownerBlack = 0;
  for (int y = owner.top; y < owner.bottom; ++y)
    for (int x = owner.left; x < owner.right; ++x) {
      if (x >= nestedOuter.left && x < nestedOuter.right && y >= nestedOuter.top &&
          y < nestedOuter.bottom)
        continue;
      uint32_t pixel = shot.At(x, y);
      ownerFace += pixel == kButtonFace;
      ownerWhite += pixel == kWhite;
      ownerBlack += pixel == kBlack;
    }
  EXPECT_GT(ownerFace, owner.Pixels() / 4) << "Disbursing lost its pixels around the nested dialog";
  EXPECT_GT(ownerWhite, 20000);
  EXPECT_LT(ownerBlack, owner.Pixels() / 4);
  EXPECT_FALSE(Offers(desktop, select, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
  EXPECT_FALSE(Offers(desktop, select, "_NET_WM_ACTION_RESIZE"));
}

}  // namespace
