/*
** Dialogs over the statement that end and give the keys back: the prompt of a legal
** description's merge (Property, Legal Description, a file dialog, then the prompt) is on top,
** active and takes the typed answer into Property; after Calendar and after a message box the
** statement's field goes on with Tab as before.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr uint32_t kFieldGrey = 0xC0C0C0;  // a statement field's box that is not being edited
constexpr uint32_t kWhite = 0xFFFFFF;      // the edit line laid over the field being edited

/* Where the two pictures differ inside the area: the bounding box of the changed pixels. */
Box Changed(const Screenshot& a, const Screenshot& b, const Box& area) {
  Box box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (a.At(x, y) != b.At(x, y)) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x + 1);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

class DesktopPromptAndFocus : public ::testing::Test {
 protected:
  Desktop desktop{true};
  long frame = 0;
  WindowPlace place;

  void OpenNewFile(const std::string& number) {
    frame = desktop.StartProgram();
    ASSERT_NE(frame, 0) << desktop.ProgramLog();
    desktop.Key("alt+f");
    desktop.Key("n");
    ASSERT_NE(WaitForActive(desktop, "New File"), 0);
    desktop.Type(number);
    desktop.Key("Return");
    ASSERT_TRUE(Desktop::WaitUntil(
        [&] { return desktop.Title(frame).find(number) != std::string::npos; }, 20));
    // The caption names the file before the window's first paint ends.
    ASSERT_TRUE(Desktop::SettlesIdle(desktop.ProgramPid())) << desktop.ProgramLog();
    place = desktop.Place(frame);
  }

  /* The merge's prompt, captioned with the chosen file: active, its owner's transient, on top
     of the window manager's stacking, and nobody busy while it waits. */
  long WaitForPromptOver(long owner) {
    long prompt = WaitForActive(desktop, "C:\\\\ZARNE\\\\LOT\\.LEG");
    if (!prompt) return 0;
    ExpectDialogOverOwner(desktop, prompt, owner, "the prompt");
    ExpectOnTop(desktop, prompt, "the prompt");
    return prompt;
  }

  /* Another program pokes the settlement date: where it shows (the right half of the form)
     is the field's box. */
  Box FindSettlementDate() {
    Box right{place.x + place.width / 2, place.y + place.height / 4, place.x + place.width,
              place.y + place.height};
    Screenshot before = StableShot(right);
    std::string root = desktop.DataRoot();
    std::string runtime = root.substr(0, root.find_last_of('/')) + "/run";
    int status = -1;
    desktop.Run({"env", "XDG_RUNTIME_DIR=" + runtime, "ZARNE_ROOT=" + root, ZDDE_PROGRAM, "poke",
                 "Zarne", "Current", "CDATE", "05/20/2027"},
                &status);
    EXPECT_EQ(status, 0) << "the poke was refused";
    Desktop::WaitUntil([&] { return !Changed(before, desktop.Shoot(), right).Empty(); }, 10);
    Screenshot now = StableShot(right);
    Box text = FirstChangedBand(before, now, right);
    EXPECT_FALSE(text.Empty()) << "the poked date showed nowhere";
    if (text.Empty()) return text;
    // The box: the field's grey around the date's text.
    Box box = text;
    while (box.left > right.left && now.At(box.left - 1, box.top) == kFieldGrey) --box.left;
    while (box.right < right.right && now.At(box.right, box.top) == kFieldGrey) ++box.right;
    int middleX = (text.left + text.right) / 2;
    while (box.top > right.top && now.At(middleX, box.top - 1) == kFieldGrey) --box.top;
    while (box.bottom < right.bottom && now.At(middleX, box.bottom) == kFieldGrey) ++box.bottom;
    desktop.Shoot("focus-settlement-date");
    EXPECT_LT(box.bottom - box.top, 40) << "not one field's box: " << box.left << "," << box.top
                                        << " " << box.right << "," << box.bottom;
    return box;
  }

  /* The screen once the area stays the same between two looks: what was painting is done. */
  Screenshot StableShot(const Box& area) {
    Screenshot last = desktop.Shoot();
    Desktop::WaitUntil(
        [&] {
          Screenshot now = desktop.Shoot();
          bool same = now.CountChanged(last, area.left, area.top, area.right, area.bottom) == 0;
          last = now;
          return same;
        },
        10);
    return last;
  }

  std::string Describe(const Screenshot& shot, const Box& box) {
    std::ostringstream text;
    text << box.left << "," << box.top << ".." << box.right << "," << box.bottom << " grey "
         << CountOf(shot, box, kFieldGrey) << " white " << CountOf(shot, box, kWhite) << " text "
         << TextPixels(shot, box) << " of " << box.Pixels();
    return text.str();
  }

  /* The field shows committed text in its grey box: the edit line has left it. */
  bool Committed(const Screenshot& shot, const Box& box) {
    return CountOf(shot, box, kFieldGrey) > box.Pixels() / 2 &&
           CountOf(shot, box, kWhite) < box.Pixels() / 10 && TextPixels(shot, box) > 20;
  }

  /* Typed text lands in some field of the statement (the keys have a home): answers the box of
     the edit line it showed in, empty when it showed nowhere. */
  Box TypingShowsAt(const std::string& text, const std::string& what) {
    Box client{place.x, place.y, place.x + place.width, place.y + place.height};
    Screenshot before = StableShot(client);  // a box just gone may still be leaving the screen
    desktop.Type(text);
    Box changed;
    bool shown = Desktop::WaitUntil(
        [&] {
          Screenshot now = desktop.Shoot();
          // The last band: above the statement the tool bar's Cut and Copy follow the selection.
          changed = LastChangedBand(before, now, client);
          return !changed.Empty() && TextPixels(now, changed) > 20;
        },
        10);
    EXPECT_TRUE(shown) << "typing after " << what << " showed nowhere: the keys went nowhere";
    if (!shown) return Box{};
    // The field's box: the edit line's white around the typed text.
    Screenshot now = desktop.Shoot();
    Box box = changed;
    int middleX = (changed.left + changed.right) / 2, middleY = (changed.top + changed.bottom) / 2;
    while (box.left > client.left && now.At(box.left - 1, middleY) == kWhite) --box.left;
    while (box.right < client.right && now.At(box.right, middleY) == kWhite) ++box.right;
    while (box.top > client.top && now.At(middleX, box.top - 1) == kWhite) --box.top;
    while (box.bottom < client.bottom && now.At(middleX, box.bottom) == kWhite) ++box.bottom;
    return box;
  }
};

TEST_F(DesktopPromptAndFocus, TheLegalDescriptionsPromptTakesTheAnswerIntoProperty) {
  OpenNewFile("P1");
  if (HasFatalFailure()) return;
  // A legal description asking for the lot, where the file dialog opens (the data directory).
  std::ofstream(desktop.DataRoot() + "/drive_c/ZARNE/LOT.LEG") << "Lot |?Lot| of Block 7\r\n";
  desktop.Key("alt+t");
  desktop.Key("p");
  long property = WaitForActive(desktop, "Property");
  ASSERT_NE(property, 0);
  // Template 20500 is 300 x 206 units: Legal Description centred at 46, 115; the text box
  // below it at 6..294 x 126..200.
  WindowPlace sheet = desktop.Place(property);
  Box legal{sheet.x + sheet.width * 8 / 300, sheet.y + sheet.height * 128 / 206,
            sheet.x + sheet.width * 280 / 300, sheet.y + sheet.height * 198 / 206};
  Screenshot empty = desktop.Shoot();
  desktop.Click(sheet.x + sheet.width * 46 / 300, sheet.y + sheet.height * 115 / 206);
  long open = WaitForActive(desktop, "Open");
  ASSERT_NE(open, 0);
  desktop.Type("LOT.LEG");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(open));

  // Answered by keys: the answer typed into the prompt, then Return.
  long prompt = WaitForPromptOver(property);
  ASSERT_NE(prompt, 0);
  desktop.Type("42");
  desktop.Shoot("legal-description-prompt");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(prompt)) << "Return did not close the prompt";
  EXPECT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == property; }, 10));
  // The merged text, "Lot 42 of Block 7", fills the legal description's box.
  Screenshot merged;
  bool shown = Desktop::WaitUntil(
      [&] { return TextPixels(merged = desktop.Shoot(), legal) > TextPixels(empty, legal) + 60; },
      10);
  desktop.Shoot("legal-description-merged");
  EXPECT_TRUE(shown) << "the typed answer did not reach Property";

  // Answered by the mouse: another answer, then a click on OK (template 20904 is 240 x 70
  // units: OK centred at 149, 57). "Lot 9 of Block 7" replaces the first text.
  desktop.Click(sheet.x + sheet.width * 46 / 300, sheet.y + sheet.height * 115 / 206);
  open = WaitForActive(desktop, "Open");
  ASSERT_NE(open, 0);
  desktop.Type("LOT.LEG");
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(open));
  prompt = WaitForPromptOver(property);
  ASSERT_NE(prompt, 0);
  desktop.Type("9");
  WindowPlace asked = desktop.Place(prompt);
  desktop.Click(asked.x + asked.width * 149 / 240, asked.y + asked.height * 57 / 70);
  ASSERT_TRUE(desktop.WaitForWindowGone(prompt)) << "OK did not close the prompt";
  EXPECT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == property; }, 10));
  shown = Desktop::WaitUntil(
      [&] {
        Screenshot now = desktop.Shoot();
        return now.CountChanged(merged, legal.left, legal.top, legal.right, legal.bottom) > 10 &&
               TextPixels(now, legal) > TextPixels(empty, legal) + 60;
      },
      10);
  desktop.Shoot("legal-description-merged-again");
  EXPECT_TRUE(shown) << "the second answer did not replace the first";
  desktop.Key("Escape");
  EXPECT_TRUE(desktop.WaitForWindowGone(property));
}

TEST_F(DesktopPromptAndFocus, TabGoesOnAfterCalendarAndAfterAMessageBox) {
  OpenNewFile("F1");
  if (HasFatalFailure()) return;
  Box date = FindSettlementDate();
  ASSERT_FALSE(date.Empty());
  Screenshot poked = desktop.Shoot();
  int x = (date.left + date.right) / 2, y = (date.top + date.bottom) / 2;

  // Calendar from the field's pop-up menu (its first item); the 22nd of the month chosen by the
  // mouse: template 20911 is 150 x 146 units, its days 20 units apart from 15, 31 for the
  // week of the 1st; May 2027 begins on a Saturday, so the 22nd is the fourth week's Saturday.
  desktop.Click(x, y);
  Screenshot beforeMenu = desktop.Shoot();
  desktop.Click(x, y, 3);
  // The menu opens down and right of the pointer.
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] {
        return desktop.Shoot().CountChanged(beforeMenu, x + 2, y + 2, x + 120, y + 60) > 1000;
      },
      10))
      << "no pop-up menu";
  desktop.Click(x + 40, y + 10);
  long calendar = WaitForActive(desktop, "Date Selection");
  ASSERT_NE(calendar, 0);
  WindowPlace days = desktop.Place(calendar);
  desktop.Click(days.x + days.width * (15 + 6 * 20) / 150,
                days.y + days.height * (31 + 3 * 16) / 146);
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(calendar));
  desktop.Key("Tab");
  // The edit line left the field, and the field shows the chosen day, not the poked one.
  Screenshot shot;
  EXPECT_TRUE(Desktop::WaitUntil(
      [&] {
        return Committed(shot = desktop.Shoot(), date) &&
               shot.CountChanged(poked, date.left, date.top, date.right, date.bottom) > 5;
      },
      10))
      << "Tab after Calendar did not commit the chosen day and leave the field";
  desktop.Shoot("focus-after-calendar");
  // The keys go on into the next field, and Tab leaves that one too.
  Box next = TypingShowsAt("Acme Title", "Calendar");
  ASSERT_FALSE(next.Empty());
  desktop.Key("Tab");
  EXPECT_TRUE(Desktop::WaitUntil([&] { return Committed(desktop.Shoot(), next); }, 10))
      << "Tab did not leave the field after Calendar";

  // A date the field's check refuses: its box says so and Tab goes on to the next field, which
  // takes the keys and is left by Tab in turn.
  desktop.Click(x, y);
  desktop.Key("ctrl+a");
  desktop.Type("1/");
  desktop.Key("Tab");
  long box = WaitForActive(desktop, "Zarne Message");
  ASSERT_NE(box, 0);
  desktop.Key("Return");
  ASSERT_TRUE(desktop.WaitForWindowGone(box));
  next = TypingShowsAt("Bay Escrow", "the message box");
  ASSERT_FALSE(next.Empty());
  desktop.Key("Tab");
  Screenshot after;
  EXPECT_TRUE(Desktop::WaitUntil([&] { return Committed(after = desktop.Shoot(), next); }, 10))
      << "Tab did not leave the field after the message box " << Describe(after, next);
  desktop.Shoot("focus-after-message-box");
}

}  // namespace
