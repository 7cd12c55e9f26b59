/*
** A reconciliation on a real desktop: a bank account and a first deposit made through the
** program's own dialogs, then Accounting|Reconcile: Bank Statement Information, then Reconcile
** Account, each on top of the frame, active, stacked above it by the window manager, the
** program and the window manager idle while it waits; answered once by keys and once by the
** mouse. A click on the deposit's row marks it and the total of the marked deposits changes.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace {

constexpr uint32_t kDepositGreen = 0x008000;  // deposit rows: their text, and a marked row's ground

/* A point of a dialog given in its template's units (the template's whole size given too). */
void ClickAt(Desktop& desktop, const WindowPlace& place, int x, int y, int templateWidth,
             int templateHeight) {
  desktop.Click(place.x + place.width * x / templateWidth,
                place.y + place.height * y / templateHeight);
}

int CountColour(const Screenshot& shot, const WindowPlace& place, uint32_t colour) {
  int count = 0;
  for (int y = place.y; y < place.y + place.height; ++y)
    for (int x = place.x; x < place.x + place.width; ++x) count += shot.At(x, y) == colour;
  return count;
}

/* The first screen row inside the window that shows a deposit's text; -1 when none does. */
int FirstDepositRow(const Screenshot& shot, const WindowPlace& place) {
  for (int y = place.y; y < place.y + place.height; ++y)
    for (int x = place.x; x < place.x + place.width; ++x)
      if (shot.At(x, y) == kDepositGreen) return y;
  return -1;
}

/* A bank account "Trust" (key 0), a file R1 and a deposit of 500.00 on it, all by keys. */
void MakeAccountAndDeposit(Desktop& desktop, long frame) {
  desktop.Key("alt+a");
  desktop.Key("e");
  desktop.Key("b");
  long bank = WaitForActive(desktop, "Bank Editor");
  ASSERT_NE(bank, 0);
  desktop.Type("Trust");
  desktop.Key("Tab");
  desktop.Type("First Bank");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(bank));
  desktop.Key("alt+f");
  desktop.Key("n");
  long newFile = WaitForActive(desktop, "New File");
  ASSERT_NE(newFile, 0);
  desktop.Type("R1");
  desktop.Key("Return");
  ASSERT_TRUE(
      Desktop::WaitUntil([&] { return desktop.Title(frame).find("R1") != std::string::npos; }, 20));
  desktop.Key("alt+a");
  desktop.Key("d");
  long disbursing = WaitForActive(desktop, "Disbursing");
  ASSERT_NE(disbursing, 0);
  desktop.Key("alt+d");
  long deposit = WaitForActive(desktop, "Add Deposit");
  ASSERT_NE(deposit, 0);
  desktop.Type("Smith");
  desktop.Key("Tab Tab");
  desktop.Type("500");
  desktop.Key("Return");
  // The file's first deposit asks for its account: "Trust" is the first and chosen.
  long account = WaitForActive(desktop, "Select Bank Account");
  ASSERT_NE(account, 0);
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(account));
  ASSERT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == disbursing; }, 10));
  desktop.Key("Escape");
  ASSERT_TRUE(desktop.WaitForWindowGone(disbursing));
}

TEST(DesktopReconcile, StatementInformationThenReconcileOnTopAndAClickMarksADeposit) {
  Desktop desktop(true);
  long frame = desktop.StartProgram();
  ASSERT_NE(frame, 0);
  MakeAccountAndDeposit(desktop, frame);
  if (HasFatalFailure()) return;

  // Answered by keys: the balances and a close date far ahead, then Return.
  desktop.Key("alt+a");
  desktop.Key("r");
  long info = WaitForActive(desktop, "Bank Statement Information");
  ASSERT_NE(info, 0);
  ExpectDialogOverOwner(desktop, info, frame, "Bank Statement Information");
  ExpectOnTop(desktop, info, "Bank Statement Information");
  desktop.Key("Tab Tab");
  desktop.Type("500.00");
  desktop.Key("Tab");
  desktop.Type("12/31/2099");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(info));
  long reconcile = WaitForActive(desktop, "Reconcile Account");
  ASSERT_NE(reconcile, 0);
  ExpectDialogOverOwner(desktop, reconcile, frame, "Reconcile Account");
  ExpectOnTop(desktop, reconcile, "Reconcile Account");

  // Template 20930 is 432 x 222 units: the grid from 30 to 180, the deposits' total right-aligned
  // at 324..424 x 184..192, Done centred at 108, 207.
  WindowPlace place = desktop.Place(reconcile);
  Screenshot listed;
  int row = -1;
  bool shown = Desktop::WaitUntil(
      [&] { return (row = FirstDepositRow(listed = desktop.Shoot(), place)) >= 0; }, 10);
  desktop.Shoot("reconcile-listed");
  ASSERT_TRUE(shown) << "the deposit is not listed";
  int totalLeft = place.x + place.width * 324 / 432, totalRight = place.x + place.width;
  int totalTop = place.y + place.height * 182 / 222,
      totalBottom = place.y + place.height * 194 / 222;
  int greenBefore = CountColour(listed, place, kDepositGreen);
  desktop.Click(place.x + place.width / 2, row + 3);
  Screenshot marked;
  bool held = Desktop::WaitUntil(
      [&] {
        marked = desktop.Shoot();
        // The marked row takes the deposits' green as its ground, and the total is written anew.
        return CountColour(marked, place, kDepositGreen) > greenBefore + 2000 &&
               marked.CountChanged(listed, totalLeft, totalTop, totalRight, totalBottom) > 10;
      },
      10);
  desktop.Shoot("reconcile-marked");
  EXPECT_TRUE(held) << "the row was not marked or the total did not change";
  ClickAt(desktop, place, 108, 207, 432, 222);  // Done
  ASSERT_TRUE(desktop.WaitForWindowGone(reconcile)) << "Done did not close Reconcile Account";

  // Answered by the mouse: the open period's values stand; OK (template 20965, 220 x 104 units,
  // OK centred at 73, 91), then Reconcile Account ends by its key.
  desktop.Key("alt+a");
  desktop.Key("r");
  info = WaitForActive(desktop, "Bank Statement Information");
  ASSERT_NE(info, 0);
  ClickAt(desktop, desktop.Place(info), 73, 91, 220, 104);
  ASSERT_TRUE(desktop.WaitForWindowGone(info)) << "OK did not close Bank Statement Information";
  reconcile = WaitForActive(desktop, "Reconcile Account");
  ASSERT_NE(reconcile, 0);
  ExpectDialogOverOwner(desktop, reconcile, frame, "Reconcile Account");
  ExpectOnTop(desktop, reconcile, "Reconcile Account");
  desktop.Key("Escape");
  EXPECT_TRUE(desktop.WaitForWindowGone(reconcile)) << "Escape did not close Reconcile Account";
  EXPECT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == frame; }, 10));
}

}  // namespace
