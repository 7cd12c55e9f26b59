// Reordering title items with Ctrl+Up and Ctrl+Down in the grid, and the keys OK stores:
// strictly rising in the grid's order, the first row's key kept, nothing stored on Escape,
// and no key met twice when an earlier renumbering's keys lie in the way.
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/value_forms.h"

namespace {

using Strings = std::vector<std::string>;

constexpr LONG kDay = 740000;
constexpr double kStep = 0.0000001;

double Key(int hundredth) { return TimeKeyOf(kDay, hundredth); }

class TitleItemOrderTest : public TitleItemsTest {
 protected:
  /* Ctrl+Up or Ctrl+Down at the grid, n times. */
  static void Move(HWND dialog, int key, int times = 1) {
    for (int i = 0; i < times; ++i) PressDialogKey(dialog, key, Qt::ControlModifier);
  }
  static long Current(HWND grid) { return Send(grid, TSM_GETSELROW); }
};

TEST_F(TitleItemOrderTest, CtrlArrowsMoveTheCurrentItemAndOkStoresTheGridsOrder) {
  for (auto [text, at] : {std::pair{"P", 10}, {"Q", 20}, {"R", 30}, {"S", 40}})
    PutItem(kFile, "1A", Key(at), text);
  Strings afterUps, atTop, afterDown;
  long currentAtTop = -1, currentAfterDown = -1, currentAtBottom = -1;
  Strings atBottom;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    ClickRow(grid, 3);
    ASSERT_EQ(GetFocus(), grid);
    Move(dialog, VK_UP, 3);  // the same item up three times in a row
    afterUps = RowTexts(grid);
    Move(dialog, VK_UP);  // at the top: nothing moves, the key is consumed
    atTop = RowTexts(grid);
    currentAtTop = Current(grid);
    PressDialogKey(dialog, VK_DOWN);  // without Control: only the current row moves
    afterDown = RowTexts(grid);
    currentAfterDown = Current(grid);
    ClickRow(grid, 3);
    Move(dialog, VK_DOWN);  // at the bottom
    atBottom = RowTexts(grid);
    currentAtBottom = Current(grid);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(afterUps, (Strings{"S", "P", "Q", "R"}));
  EXPECT_EQ(atTop, afterUps);
  EXPECT_EQ(currentAtTop, 0);
  EXPECT_EQ(afterDown, afterUps);
  EXPECT_EQ(currentAfterDown, 1);
  EXPECT_EQ(atBottom, afterUps);
  EXPECT_EQ(currentAtBottom, 3);
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  EXPECT_EQ(Texts(stored), (Strings{"S", "P", "Q", "R"}));
  EXPECT_TRUE(KeysRise(stored));
  EXPECT_EQ(stored[0].seq, Key(40));
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(TitleItemOrderTest, TheLastOfThreeMovedToTheTopTakesItsKeyAndTheOthersStepAbove) {
  PutItem(kFile, "2", Key(1), "first");
  PutItem(kFile, "2", Key(2), "second");
  PutItem(kFile, "2", Key(3), "third");
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 2);
    Move(dialog, VK_UP, 2);
    PressButton(dialog, IDOK);
  });
  std::vector<StoredItem> stored = Stored(kFile, "2");
  ASSERT_EQ(Texts(stored), (Strings{"third", "first", "second"}));
  double top = Key(3);
  EXPECT_EQ(stored[0].seq, top);
  EXPECT_EQ(stored[1].seq, top + kStep);
  EXPECT_EQ(stored[2].seq, top + kStep + kStep);
}

TEST_F(TitleItemOrderTest, EscapeStoresNoOrderAndEachListKeepsItsOwn) {
  PutItem(kFile, "1A", Key(1), "a1");
  PutItem(kFile, "1A", Key(2), "a2");
  PutItem(kFile, "1B", Key(1), "b1");
  PutItem(kFile, "1B", Key(2), "b2");
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 1);
    Move(dialog, VK_UP);
    ClickRow(FindControl(dialog, 301), 1);
    Move(dialog, VK_UP);
    PressDialogKey(dialog, VK_ESCAPE);
  });
  EXPECT_EQ(Texts(Stored(kFile, "1A")), (Strings{"a1", "a2"}));
  EXPECT_EQ(Texts(Stored(kFile, "1B")), (Strings{"b1", "b2"}));
  // Only the other list is moved now: the recording list's keys stay as they were.
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 301), 0);
    Move(dialog, VK_DOWN);
    PressButton(dialog, IDOK);
  });
  std::vector<StoredItem> recording = Stored(kFile, "1A");
  EXPECT_EQ(Texts(recording), (Strings{"a1", "a2"}));
  EXPECT_EQ(recording[0].seq, Key(1));
  EXPECT_EQ(recording[1].seq, Key(2));
  EXPECT_EQ(Texts(Stored(kFile, "1B")), (Strings{"b2", "b1"}));
}

TEST_F(TitleItemOrderTest, MovingDownPastTheWindowScrollsTheItemIntoView) {
  for (int i = 0; i < 30; ++i) PutItem(kFile, "1A", Key(i + 1), "item " + std::to_string(i));
  long visible = 0, topBefore = -1, topAfter = -1;
  Strings rows;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    visible = Send(grid, TSM_GETVISIBLEROWS);
    ASSERT_GT(visible, 2);
    ASSERT_LT(visible, 30);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(grid, GWL_STYLE)), 0x50A121C0u);
    ClickRow(grid, static_cast<int>(visible) - 2);
    topBefore = Send(grid, TSM_GETTOPROW);
    Move(dialog, VK_DOWN, 4);
    topAfter = Send(grid, TSM_GETTOPROW);
    rows = RowTexts(grid);
    // The moved item is the current row, and it shows.
    long current = Send(grid, TSM_GETSELROW);
    EXPECT_EQ(current, visible + 2);
    EXPECT_GE(current, topAfter);
    EXPECT_LT(current, topAfter + Send(grid, TSM_GETVISIBLEROWS));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(topBefore, 0);
  EXPECT_GT(topAfter, 0);
  EXPECT_EQ(rows[visible + 2], "item " + std::to_string(visible - 2));
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  EXPECT_EQ(Texts(stored), rows);
  EXPECT_TRUE(KeysRise(stored));
}

TEST_F(TitleItemOrderTest, ASecondRenumberingStepsOverTheKeysOfTheFirst) {
  // P, Q, R on the time key's steps. The first run moves R to the top (R, P = R + step,
  // Q = P + step); the second moves P above R, whose key R's new one (P + step) would equal.
  PutItem(kFile, "1A", Key(100), "P");
  PutItem(kFile, "1A", Key(101), "Q");
  PutItem(kFile, "1A", Key(102), "R");
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 2);
    Move(dialog, VK_UP, 2);
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(Texts(Stored(kFile, "1A")), (Strings{"R", "P", "Q"}));
  Strings grid;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 1);
    Move(dialog, VK_UP);
    grid = RowTexts(FindControl(dialog, 101));
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(Boxes().Shown().empty());
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  EXPECT_EQ(grid, (Strings{"P", "R", "Q"}));
  EXPECT_EQ(Texts(stored), grid);
  EXPECT_TRUE(KeysRise(stored));
}

}  // namespace
