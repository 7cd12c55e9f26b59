/*
** Modal dialogs nested on a real desktop: Disbursing, then Add Deposit, then Select Bank
** Account over Disbursing, then boxes over that. Each dialog is its owner's transient dialog,
** stacked above it and active; the program and the window manager idle while it waits; it
** answers keys and a mouse click on its OK, and its owner works again afterwards.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

void AddDeposit(Desktop& desktop) {
  desktop.Key("alt+d");
  WaitForActive(desktop, "Add Deposit");
  desktop.Type("Smith");
  desktop.Key("Tab Tab");
  desktop.Type("100");
  desktop.Key("Return");
}

TEST(DesktopNestedDialogs, SelectBankAccountOverDisbursingAnswersKeysAndTheMouse) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  desktop.Key("alt+f");
  desktop.Key("n");
  long newFile = WaitForActive(desktop, "New File");
  ExpectDialogOverOwner(desktop, newFile, frame, "New File");
  desktop.Type("D1");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(newFile));

  desktop.Key("alt+a");
  desktop.Key("d");
  long disbursing = WaitForActive(desktop, "Disbursing");
  ASSERT_NE(disbursing, 0);

  // No account chosen yet: the first deposit asks for one. Escape refuses it; the two boxes
  // that follow are answered by Return.
  AddDeposit(desktop);
  long select = WaitForActive(desktop, "Select Bank Account");
  ASSERT_NE(select, 0);
  ExpectDialogOverOwner(desktop, select, disbursing, "Select Bank Account");
  desktop.Shoot("select-bank-account-over-disbursing");
  desktop.Key("Escape");
  ASSERT_TRUE(desktop.WaitForWindowGone(select));
  for (int box = 0; box < 2; ++box) {
    long message = WaitForActive(desktop, "Zarne Message");
    ASSERT_NE(message, 0);
    ExpectDialogOverOwner(desktop, message, disbursing, "the box over Disbursing");
    desktop.Key("Return");
    ASSERT_TRUE(desktop.WaitForWindowGone(message));
  }

  // Asked again, answered by the mouse (template 180 x 170: OK centred at 55,157, Cancel at
  // 125,157). A fresh office has only undefined accounts, so OK puts a box over the dialog:
  // a box over a dialog over a dialog.
  AddDeposit(desktop);
  select = WaitForActive(desktop, "Select Bank Account");
  ASSERT_NE(select, 0);
  WindowPlace place = desktop.Place(select);
  desktop.Click(place.x + place.width * 55 / 180, place.y + place.height * 157 / 170);
  long undefinedBox = 0;
  ASSERT_TRUE(Desktop::WaitUntil(
      [&] {
        undefinedBox = desktop.ActiveWindow();
        return undefinedBox != 0 && undefinedBox != select;
      },
      10))
      << "OK answered nothing";
  ExpectDialogOverOwner(desktop, undefinedBox, select, "the box over Select Bank Account");
  desktop.Shoot("box-over-select-bank-account");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(undefinedBox));
  ASSERT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == select; }, 10));
  desktop.Click(place.x + place.width * 125 / 180, place.y + place.height * 157 / 170);
  EXPECT_TRUE(desktop.WaitForWindowGone(select)) << "Cancel did not close Select Bank Account";
  for (int box = 0; box < 2; ++box) {
    long message = WaitForActive(desktop, "Zarne Message");
    ASSERT_NE(message, 0);
    desktop.Key("Return");
    ASSERT_TRUE(desktop.WaitForWindowGone(message));
  }

  // Disbursing hears the user again: its Close button ends it.
  EXPECT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == disbursing; }, 10));
  desktop.Key("alt+c");
  EXPECT_TRUE(desktop.WaitForWindowGone(disbursing)) << "Disbursing deaf after its nested dialog";
}

}  // namespace
