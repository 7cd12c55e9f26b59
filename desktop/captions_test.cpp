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
  // "p" is the mnemonic of Post deposits and of Reports: the second press reaches Reports.
  desktop.Key("alt+a");
  desktop.Key("p");
  desktop.Key("p");
  desktop.Key("Right");
  desktop.Key("f");
  bool asked = Desktop::WaitUntil([&] { return desktop.Windows("^Zarne$").size() == 2; }, 20);
  desktop.Shoot("file-balance-question");
  EXPECT_TRUE(asked) << "no second window titled Zarne; lower-case titles: " << desktop.Windows("^zarne$").size();
  EXPECT_TRUE(desktop.Windows("^zarne$").empty());
  desktop.Key("Return");
  long range = desktop.WaitForWindow("^Report Range$", 20);
  if (range) desktop.Key("Escape");
}

}  // namespace
