// Title items seen by another station: every add, change, delete and load is in the table at
// once for another program; a lock another program holds makes a change fail with the
// engine's box and leaves row and record alone; an add whose key another program's item
// holds stores nothing and never overwrites that item.
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/testing/other_programs.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "platform/kernel/local_time.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>

namespace {

using Strings = std::vector<std::string>;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::string Probe(const std::string& arguments) {
  return Quote(TITLE_ITEM_PROBE) + " " + Quote(gDatabaseDir) + " " + arguments;
}

std::string Hex(const std::string& hex) {
  std::string text;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return text;
}

/* The file's items of a type as the other program reads them. */
std::vector<StoredItem> ProbeList(const std::string& file, const std::string& type) {
  std::vector<StoredItem> items;
  for (const std::string& text : ProgramLines(Probe("list " + Quote(file) + " " + Quote(type)))) {
    if (text.rfind("end", 0) == 0) break;
    size_t tab1 = text.find('\t'), tab2 = text.find('\t', tab1 + 1);
    StoredItem item;
    item.file = file;
    item.type = type;
    item.seq = std::strtod(text.substr(0, tab1).c_str(), nullptr);
    item.policy = text.substr(tab1 + 1, tab2 - tab1 - 1);
    item.text = Hex(text.substr(tab2 + 1));
    items.push_back(item);
  }
  return items;
}

std::string ProbeLine(const std::string& arguments) { return ProgramFirstLine(Probe(arguments)); }

/* Another program holding one item's record locked while the object lives. */
class ItemLockHolder {
 public:
  ItemLockHolder(const std::string& file, const std::string& type, double seq)
      : probe_(Probe("hold " + Quote(file) + " " + Quote(type) + " " + Key(seq)),
               std::string(gDatabaseDir) + "/.item_lock_answer") {}
  void Release() { probe_.Release(); }
  const std::string& Answer() const { return probe_.Answer(); }

 private:
  static std::string Key(double seq) {
    char key[40];
    std::snprintf(key, sizeof key, "%.17g", seq);
    return key;
  }
  HeldProgram probe_;
};

class TitleItemStationsTest : public TitleItemsTest {};

TEST_F(TitleItemStationsTest, AnotherProgramSeesEveryChangeAtOnce) {
  std::vector<std::vector<StoredItem>> seen;
  std::string path = WriteFile("set.B2", "loaded 1\r\n\r\n\r\nloaded 2");
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      PressDialogKey(item, VK_TAB);
      TypeIntoDialog(item, "added");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    seen.push_back(ProbeList(kFile, "2"));
    ClickRow(grid, 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      PressDialogKey(item, 'L', Qt::AltModifier);
      PressDialogKey(item, VK_TAB);
      PressDialogKey(item, VK_END, Qt::ControlModifier);
      TypeIntoDialog(item, " and changed");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    seen.push_back(ProbeList(kFile, "2"));
    files.ChooseFiles({path});
    PressDialogKey(dialog, 'X', Qt::AltModifier);
    seen.push_back(ProbeList(kFile, "2"));
    ClickRow(grid, 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) { PressDialogKey(item, VK_RETURN); });
    PressDialogKey(dialog, 'D', Qt::AltModifier);
    seen.push_back(ProbeList(kFile, "2"));
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(Texts(seen[0]), (Strings{"added"}));
  EXPECT_EQ(seen[0][0].policy, "B");
  EXPECT_EQ(Texts(seen[1]), (Strings{"added and changed"}));
  EXPECT_EQ(seen[1][0].policy, "L");
  EXPECT_EQ(Texts(seen[2]), (Strings{"added and changed", "loaded 1", "loaded 2"}));
  EXPECT_EQ(Texts(seen[3]), (Strings{"loaded 1", "loaded 2"}));
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(TitleItemStationsTest, ALockHeldElsewhereMakesModifyAndDeleteFailUntilItIsLetGo) {
  PutItem(kFile, "1A", 700000.5, "locked item", "O");
  ItemLockHolder holder(kFile, "1A", 700000.5);
  ASSERT_EQ(holder.Answer(), "held");
  Strings whileHeld, afterRelease;
  size_t boxesWhileHeld = 0;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    ClickRow(grid, 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      PressDialogKey(item, VK_TAB);
      TypeIntoDialog(item, " edited");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) { PressDialogKey(item, VK_RETURN); });
    PressDialogKey(dialog, 'E', Qt::AltModifier);
    whileHeld = RowTexts(grid);
    boxesWhileHeld = Boxes().Shown().size();
    EXPECT_EQ(Texts(ProbeList(kFile, "1A")), (Strings{"locked item"}));
    holder.Release();
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      PressDialogKey(item, VK_TAB);
      PressDialogKey(item, VK_END, Qt::ControlModifier);
      TypeIntoDialog(item, " edited");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    afterRelease = RowTexts(grid);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(whileHeld, (Strings{"locked item"}));
  // One engine box pair (the error and its context) for each refused lock.
  EXPECT_GE(boxesWhileHeld, 2u);
  for (size_t i = 0; i < boxesWhileHeld; ++i)
    EXPECT_NE(Boxes().Shown()[i].caption, "Zarne Message");
  EXPECT_EQ(afterRelease, (Strings{"locked item edited"}));
  EXPECT_EQ(Texts(Stored(kFile, "1A")), (Strings{"locked item edited"}));
  EXPECT_EQ(Stored(kFile, "1A")[0].policy, "O");
  // And now a delete goes through.
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) { PressDialogKey(item, VK_RETURN); });
    PressDialogKey(dialog, 'E', Qt::AltModifier);
    EXPECT_EQ(Send(FindControl(dialog, 101), TSM_GETROWCOUNT), 0);
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(Stored(kFile, "1A").empty());
}

/* This program's clock held at a moment while the object lives (see HoldLocalTimeForTest). */
class HeldLocalTime {
 public:
  void Hold(const SYSTEMTIME& start) { HoldLocalTimeForTest(&start); }
  ~HeldLocalTime() { HoldLocalTimeForTest(nullptr); }
};

TEST_F(TitleItemStationsTest, AnAddMeetingAnotherProgramsKeyStoresNothingAndOverwritesNothing) {
  // The add's time key is made known ahead by holding this program's clock at noon of a fixed
  // day as the add is confirmed (one hundredth more per reading); the other program has taken
  // every key of the stretch from there first. No race with the wall clock is left.
  SYSTEMTIME noon{};
  noon.wYear = 2026;
  noon.wMonth = 3;
  noon.wDay = 2;
  noon.wDayOfWeek = 1;
  noon.wHour = 12;
  LONG day = 0;
  EncodeDate(day, noon.wMonth, noon.wDay, noon.wYear);
  const long first = 12L * 60 * 60 * 100, span = 200;
  ASSERT_EQ(ProbeLine("fill " + Quote(kFile) + " 1A " + std::to_string(day) + " " +
                      std::to_string(first) + " " + std::to_string(span)),
            "filled " + std::to_string(span));
  HeldLocalTime clock;
  long rowsBefore = -1, rowsAfter = -1;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      PressDialogKey(item, VK_TAB);
      TypeIntoDialog(item, "mine");
      clock.Hold(noon);
      PressDialogKey(item, VK_RETURN);
    });
    rowsBefore = Send(grid, TSM_GETROWCOUNT);
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    rowsAfter = Send(grid, TSM_GETROWCOUNT);
    PressButton(dialog, IDOK);
  });
  // The key the add tried lies in the other program's stretch.
  EXPECT_GE(gLastTimeKey, TimeKeyOf(day, first));
  EXPECT_LT(gLastTimeKey, TimeKeyOf(day, first + span));
  EXPECT_EQ(rowsBefore, span);
  EXPECT_EQ(rowsAfter, rowsBefore);
  bool violation = false;
  for (const MessageBoxRequest& box : Boxes().Shown())
    violation = violation || box.text.find("Key violation") != std::string::npos;
  EXPECT_TRUE(violation);
  // Every stored item is the other program's, with its own text and policy at its own key.
  std::vector<StoredItem> stored = ProbeList(kFile, "1A");
  ASSERT_EQ(stored.size(), static_cast<size_t>(span));
  for (const StoredItem& item : stored) {
    ASSERT_EQ(item.text.rfind("other ", 0), 0u) << item.text;
    EXPECT_EQ(item.seq, TimeKeyOf(day, std::stod(item.text.substr(6))));
    EXPECT_EQ(item.policy, "L");
  }
}

}  // namespace
