/*
** The statement on a real desktop: a value typed into a field shows in the field's box once the
** edit line has moved on, over an old value too; a value another program pokes in shows at its
** field and at the partner field on the seller's side; the wheel scrolls the statement under
** the pointer. The test knows no field's place: it finds a field where the pixels changed.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

/* The screen once it stays the same between two looks: what was painting is done. */
Screenshot StableShot(const Desktop& desktop) {
  Screenshot last = desktop.Shoot();
  Desktop::WaitUntil(
      [&] {
        Screenshot now = desktop.Shoot();
        bool same = now.pixels == last.pixels;
        last = now;
        return same;
      },
      10);
  return last;
}

/* Polls the screen until the condition holds of it; answers the last picture (kept under the
   name when one is given) and whether the condition came true. */
Screenshot ShotWhen(const Desktop& desktop, const std::function<bool(const Screenshot&)>& condition,
                    bool* held = nullptr, const std::string& name = "") {
  Screenshot shot;
  bool ok = Desktop::WaitUntil([&] { return condition(shot = desktop.Shoot()); }, 10);
  if (held) *held = ok;
  if (!name.empty()) desktop.Shoot(name);
  return shot;
}

class DesktopStatement : public ::testing::Test {
 protected:
  Desktop desktop{true};
  long frame = 0;
  WindowPlace place;
  int middle = 0;  // between the borrower's and the seller's columns of the statement

  void OpenNewFile() {
    frame = desktop.StartProgram();
    ASSERT_NE(frame, 0) << desktop.ProgramLog();
    desktop.Key("alt+f");
    desktop.Key("n");
    ASSERT_NE(desktop.WaitForWindow("^New File$"), 0);
    desktop.Type("T1");
    desktop.Key("Return");
    ASSERT_TRUE(Desktop::WaitUntil(
        [&] { return desktop.Title(frame).find("T1") != std::string::npos; }, 20));
    // The caption changes before the window's first paint ends: pictures taken as "before"
    // must show the whole statement.
    ASSERT_TRUE(Desktop::SettlesIdle(desktop.ProgramPid())) << desktop.ProgramLog();
    place = desktop.Place(frame);
    middle = place.x + place.width / 2;
  }

  std::string Poke(const std::string& item, const std::string& value) {
    int status = -1;
    // The program's DDE lives in its runtime directory (beside its data root), under its root.
    std::string root = desktop.DataRoot();
    std::string runtime = root.substr(0, root.find_last_of('/')) + "/run";
    desktop.Run({"env", "XDG_RUNTIME_DIR=" + runtime, "ZARNE_ROOT=" + root, ZDDE_PROGRAM, "poke",
                 "Zarne", "Current", item, value},
                &status);
    return status == 0 ? "done" : "refused";
  }

  /* Pokes a value and answers where it showed on the borrower's side, looking below the
     given row (above it the edit line's caret blinks); expects the same rows of the seller's
     side to change with it. */
  Box PokeAndFindField(const std::string& item, const std::string& value, int below) {
    Screenshot before = desktop.Shoot();
    EXPECT_EQ(Poke(item, value), "done") << item;
    int bottom = place.y + place.height;
    Box borrower, seller;
    auto shown = [&](const Screenshot& now) {
      borrower = FirstChangedBand(before, now, Box{place.x, below, middle, bottom});
      if (borrower.Empty() || TextPixels(now, borrower) <= 20) return false;
      seller = Box{middle, borrower.top, place.x + place.width, borrower.bottom};
      return now.CountChanged(before, seller.left, seller.top, seller.right, seller.bottom) > 20;
    };
    bool held = false;
    ShotWhen(desktop, shown, &held, "statement-poked-" + item);
    EXPECT_TRUE(held) << item << " did not show at its field and at the seller's partner field";
    return borrower;
  }

  /* Clicks into a field, types over its value and leaves it with Tab: the box then shows new
     text, not what it showed before. */
  void TypeOver(const Box& field, const std::string& text) {
    Screenshot before = desktop.Shoot();
    desktop.Click(field.MiddleX(), field.MiddleY());
    desktop.Type(text);
    desktop.Key("Tab");
    bool held = false;
    ShotWhen(
        desktop,
        [&](const Screenshot& now) {
          return now.CountChanged(before, field.left, field.top, field.right, field.bottom) > 20 &&
                 TextPixels(now, field) > 20;
        },
        &held);
    EXPECT_TRUE(held) << text << " did not show in its field";
  }
};

TEST_F(DesktopStatement, TypedAndPokedValuesShowAtTheirFields) {
  OpenNewFile();
  if (HasFatalFailure()) return;
  // Borrower 1 has the edit line: where its text appears is the field's place.
  Screenshot empty = StableShot(desktop);
  desktop.Type("John Q. Smith");
  Box name;
  int typedText = 0;
  bool held = false;
  ShotWhen(
      desktop,
      [&](const Screenshot& now) {
        name = LastChangedBand(empty, now, Box{place.x, place.y, middle, place.y + place.height});
        typedText = name.Empty() ? 0 : TextPixels(now, name);
        return typedText > 40;
      },
      &held);
  ASSERT_TRUE(held) << "typing showed nothing";
  desktop.Key("Tab");
  // The edit line moves on to the suffix beside the name; the name stays painted in its box.
  Screenshot left = ShotWhen(
      desktop,
      [&](const Screenshot& now) {
        return TextPixels(now, name) > typedText / 2 &&
               now.CountChanged(empty, name.right, name.top, middle, name.bottom) > 0;
      },
      &held, "statement-typed");
  EXPECT_TRUE(held) << "the name left the screen with the edit line";

  // Over an old value: back with Shift+Tab (the whole text is selected), type, leave.
  desktop.Key("shift+Tab");
  desktop.Type("Zed Tester");
  desktop.Key("Tab");
  ShotWhen(
      desktop,
      [&](const Screenshot& now) {
        return now.CountChanged(left, name.left, name.top, name.right, name.bottom) > 20 &&
               TextPixels(now, name) > 20;
      },
      &held, "statement-overwritten");
  EXPECT_TRUE(held) << "the old name stayed on the screen";

  // Contract sales price (101, partner 401) and the first tax line's begin date (106, partner 406).
  // The edit line now stands on the name's row, the suffix beside it.
  Box price = PokeAndFindField("A101", "1,234.57", name.bottom + 4);
  Box date = PokeAndFindField("DB106", "01/05/2027", price.bottom + 1);
  if (!price.Empty()) TypeOver(price, "777.77");
  if (!date.Empty()) TypeOver(date, "2/7/27");
  desktop.Shoot("statement-after-typing");
}

TEST_F(DesktopStatement, TheWheelScrollsTheStatementUnderThePointer) {
  OpenNewFile();
  if (HasFatalFailure()) return;
  int x = place.x + place.width / 3, y = place.y + place.height / 2;
  desktop.MoveTo(x, y);
  // The file's title shows before its window's first paint is on the screen: on a busy
  // machine a shot taken at once may hold no statement yet.
  Screenshot before = StableShot(desktop);
  desktop.Click(x, y, 5);  // one notch towards the user: three lines of 24 pixels down
  // A band of the statement now shows 72 pixels higher up.
  const int shift = 72;
  int top = place.y + place.height / 4, bottom = place.y + place.height * 3 / 4;
  int left = place.x + 10, right = middle;
  long same = 0, all = 0;
  bool held = false;
  ShotWhen(
      desktop,
      [&](const Screenshot& now) {
        same = all = 0;
        for (int row = top; row < bottom; ++row)
          for (int column = left; column < right; ++column, ++all)
            same += now.At(column, row) == before.At(column, row + shift);
        return same > all * 97 / 100 && now.CountChanged(before, left, top, right, bottom) > 1000;
      },
      &held, "statement-wheel");
  EXPECT_TRUE(held) << same << " of " << all << " pixels moved up by " << shift;
}

}  // namespace
