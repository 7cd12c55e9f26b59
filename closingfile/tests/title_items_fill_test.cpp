// Filling the title-item lists: each grid is made as its template says, defined with the
// three columns, and lists exactly its file's items of its type in key order; a text too long
// to read shows as an empty row that Modify will not save over.
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"

#include <cstring>

namespace {

using Strings = std::vector<std::string>;

class TitleItemFillTest : public TitleItemsTest {};

TEST_F(TitleItemFillTest, GridsAreDefinedAsTheTemplatesAndColumnTableSay) {
  struct Seen {
    std::string className, text;
    DWORD style = 0;
    long columns = 0, types[3] = {}, lengths[3] = {}, styles[3] = {};
    std::string names[3];
  };
  std::vector<Seen> seen;
  auto look = [&](HWND dialog, std::vector<int> ids) {
    for (int id : ids) {
      HWND grid = FindControl(dialog, id);
      Seen s;
      char text[64] = "";
      GetClassName(grid, text, sizeof text);
      s.className = text;
      GetWindowText(grid, text, sizeof text);
      s.text = text;
      s.style = static_cast<DWORD>(GetWindowLong(grid, GWL_STYLE));
      s.columns = Send(grid, TSM_GETCOLCOUNT);
      for (int c = 0; c < 3; ++c) {
        s.types[c] = Send(grid, TSM_GETCOLTYPE, c);
        s.lengths[c] = Send(grid, TSM_GETCOLLEN, c);
        s.styles[c] = Send(grid, TSM_GETCOLSTYLE, c);
        char name[32] = "";
        Send(grid, TSM_GETCOLNAME, c, reinterpret_cast<LPARAM>(name));
        s.names[c] = name;
      }
      seen.push_back(s);
    }
    PressButton(dialog, IDOK);
  };
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) { look(dialog, {101, 301}); });
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) { look(dialog, {101}); });
  ASSERT_EQ(seen.size(), 3u);
  Strings texts = {"RequirementsRec", "RequirementsOth", "Exceptions"};
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].className, "Tessel");
    EXPECT_EQ(seen[i].text, texts[i]);
    // The template's 0x50A121C0; the grid shows its scroll bar only while rows overflow.
    EXPECT_EQ(seen[i].style | WS_VSCROLL, 0x50A121C0u);
    EXPECT_EQ(seen[i].columns, 3);
    EXPECT_EQ(seen[i].types[0], TST_ZSTRING);
    EXPECT_EQ(seen[i].types[1], TST_REAL8);
    EXPECT_EQ(seen[i].types[2], TST_ZSTRING);
    EXPECT_EQ(seen[i].lengths[0], 81);
    EXPECT_EQ(seen[i].lengths[1], 8);
    EXPECT_EQ(seen[i].lengths[2], 2);
    EXPECT_EQ(seen[i].styles[0] & (TSCS_FIXED | TSCS_PROTECT), TSCS_FIXED | TSCS_PROTECT);
    EXPECT_TRUE(seen[i].styles[1] & TSCS_HIDDEN);
    EXPECT_TRUE(seen[i].styles[2] & TSCS_HIDDEN);
    EXPECT_EQ(seen[i].names[0], "Text");
    EXPECT_EQ(seen[i].names[1], "Seq");
    EXPECT_EQ(seen[i].names[2], "Policy");
  }
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(TitleItemFillTest, EachListShowsItsFilesItemsOfItsTypeInKeyOrder) {
  // Inserted out of key order, beside items of a longer number that begins with this one's
  // and of another file.
  PutItem(kFile, "1A", 700000.30, "rec c", "L");
  PutItem(kFile, "1A", 700000.10, "rec a");
  PutItem(kFile, "1B", 700000.20, "oth b");
  PutItem(kFile, "2", 700000.05, "exc a", "O");
  PutItem(kFile, "1A", 700000.20, "rec b");
  PutItem(kFile, "1B", 700000.10, "oth a");
  PutItem(std::string(kFile) + "0", "1A", 700000.15, "longer number");
  PutItem(std::string(kFile) + "0", "2", 700000.01, "longer number exc");
  PutItem("TI-099", "1B", 700000.01, "another file");
  PutItem("TI-099", "2", 700000.01, "another file exc");
  Strings recording, other, exceptions;
  std::vector<TTitleItemRow> rows;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    recording = RowTexts(FindControl(dialog, 101));
    rows = Rows(FindControl(dialog, 101));
    other = RowTexts(FindControl(dialog, 301));
    PressButton(dialog, IDOK);
  });
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    exceptions = RowTexts(FindControl(dialog, 101));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(recording, (Strings{"rec a", "rec b", "rec c"}));
  EXPECT_EQ(other, (Strings{"oth a", "oth b"}));
  EXPECT_EQ(exceptions, (Strings{"exc a"}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].Seq, 700000.30);
  EXPECT_STREQ(rows[2].Policy, "L");
  // The row is the whole 96 bytes the grid gives: text and policy terminated in place.
  EXPECT_EQ(std::memchr(rows[2].Text, '\0', sizeof rows[2].Text), rows[2].Text + 5);
}

TEST_F(TitleItemFillTest, AFileWithRequirementsOnlyOpensAnEmptyExceptionsList) {
  PutItem(kFile, "1A", 700000.1, "a requirement");
  PutItem(kFile, "1B", 700000.1, "another");
  long rows = -1;
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    rows = Send(FindControl(dialog, 101), TSM_GETROWCOUNT);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(rows, 0);
}

TEST_F(TitleItemFillTest, ATextTooLongToReadShowsEmptyAndModifyLeavesIt) {
  std::string huge(20000, 'h');
  PutItem(kFile, "1A", 700000.1, "before it");
  PutItem(kFile, "1A", 700000.2, huge);
  Strings rows;
  size_t dialogsBefore = 0, dialogsAfter = 0;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    rows = RowTexts(grid);
    ClickRow(grid, 1);
    dialogsBefore = driver.Opened().size();
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    dialogsAfter = driver.Opened().size();
    PressButton(dialog, IDOK);
  });
  // Not the text of the item before it: nothing at all.
  EXPECT_EQ(rows, (Strings{"before it", ""}));
  EXPECT_EQ(dialogsAfter, dialogsBefore);  // no item dialog: saving would cut the text
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].text, huge);
  bool told = false;
  for (const MessageBoxRequest& box : Boxes().Shown())
    told = told || box.text == "Target buffer too small";
  EXPECT_TRUE(told);
}

TEST_F(TitleItemFillTest, ATextTooLongToReadCanStillBeDeleted) {
  PutItem(kFile, "2", 700000.2, std::string(20000, 'h'));
  std::string shown = "unset";
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      shown = ControlTextOf(item, kTitleTextEdit);
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'D', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(shown, "");
  EXPECT_TRUE(Stored(kFile, "2").empty());
}

}  // namespace
