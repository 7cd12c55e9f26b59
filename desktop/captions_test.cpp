/*
** Captions on a real desktop: a box the program gives no caption of its own shows the
** program's name, "Zarne", as the window manager's title.
*/
#include "desktop/desktop_session.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopCaptions, AnUncaptionedBoxShowsTheProgramsName) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  // Accounting, Reports, File Balance asks "Suppress zero balances?" in a box without a caption.
  // Reports is the menu's last item, reached by going up from the first. File Balance asks its
  // question after the range dialog's OK.
  desktop.Key("alt+a");
  desktop.Key("Up");
  desktop.Key("Right");
  desktop.Key("f");
  ASSERT_NE(desktop.WaitForWindow("^Report Range$", 20), 0);
  Desktop::WaitUntil([] { return false; }, 1);  // let the dialog take the keyboard
  desktop.Key("Return");
  auto titled = [&](const std::string& title) {
    int count = 0;
    for (long window : desktop.Stacking()) count += desktop.Title(window) == title;
    return count;
  };
  bool asked = Desktop::WaitUntil([&] { return titled("Zarne") == 2; }, 20);
  desktop.Shoot("file-balance-question");
  EXPECT_TRUE(asked) << titled("Zarne") << " windows titled Zarne, " << titled("zarne")
                     << " titled zarne";
  EXPECT_EQ(titled("zarne"), 0);
  desktop.Key("n");
}

}  // namespace
