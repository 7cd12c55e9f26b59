// Add, Modify and Delete on the title-item lists, driven as a user drives them: Alt+mnemonics,
// typed text, Ctrl+Enter for a line break, Enter for OK, clicks on grid rows. Records are read
// back by a record of the test's own.
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/framework/mdi.h"
#include "platform/user/button_control.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/clipboard.h"
#include "platform/user/winuser.h"
#include "statement/one_controls.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {

std::string Caption(HWND window) {
  char text[128] = "";
  GetWindowText(window, text, sizeof text);
  return text;
}

bool Checked(HWND dialog, int id) {
  return SendMessage(FindControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string ItemText(HWND dialog) {
  std::vector<char> text(40000, '\0');
  SendMessage(FindControl(dialog, kTitleTextEdit), WM_GETTEXT, text.size(),
              reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

/* Tab from the policy buttons to the text, as a user reaches it. */
void TabToText(HWND item) {
  PressDialogKey(item, VK_TAB);
  ASSERT_EQ(GetFocus(), FindControl(item, kTitleTextEdit));
}

class TitleItemEditTest : public TitleItemsTest {};

TEST_F(TitleItemEditTest, AddStoresThePackedTextWithAFreshKeyAndAppendsTheRow) {
  PutItem(kFile, "1A", 700000.25, "older item");
  double earlier = MakeTimeKey();
  std::string caption;
  bool bothProposed = false;
  std::vector<TTitleItemRow> rows;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      caption = Caption(item);
      bothProposed =
          Checked(item, kBothRadio) && !Checked(item, kOwnerRadio) && !Checked(item, kLoanRadio);
      // The template's "&Text" button stays hidden: its mnemonic reaches nothing.
      EXPECT_FALSE(IsWindowVisible(FindControl(item, 301)));
      PressDialogKey(item, 'T', Qt::AltModifier);
      EXPECT_TRUE(IsWindowVisible(item));
      TabToText(item);
      TypeIntoDialog(item, "Record the deed");
      PressDialogKey(item, VK_RETURN, Qt::ControlModifier);
      TypeIntoDialog(item, "in Book 4");
      PressDialogKey(item, 'O', Qt::AltModifier);
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    rows = Rows(FindControl(dialog, 101));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(caption, "Add Recording Requirement");
  EXPECT_TRUE(bothProposed);
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  ASSERT_EQ(stored.size(), 2u);
  const StoredItem& added = stored[1];
  EXPECT_EQ(added.text, "Record the deed\x0Bin Book 4");
  EXPECT_EQ(added.policy, "O");
  EXPECT_EQ(added.file, kFile);
  EXPECT_GT(added.seq, earlier);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_STREQ(rows[1].Text, "Record the deed\x0Bin Book 4");
  EXPECT_EQ(rows[1].Seq, added.seq);
  EXPECT_STREQ(rows[1].Policy, "O");
  EXPECT_TRUE(Stored(kFile, "1B").empty());
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(TitleItemEditTest, AddOnTheOtherListAndTheExceptionsStoresTheirTypes) {
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      EXPECT_EQ(Caption(item), "Add Other Requirement");
      TabToText(item);
      TypeIntoDialog(item, "Pay the taxes");
      PressDialogKey(item, 'L', Qt::AltModifier);
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'D', Qt::AltModifier);  // A&dd of the other list
    PressButton(dialog, IDOK);
  });
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      EXPECT_EQ(Caption(item), "Add Exception");
      TabToText(item);
      TypeIntoDialog(item, "Easements of record");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(Stored(kFile, "1B").size(), 1u);
  EXPECT_EQ(Stored(kFile, "1B")[0].policy, "L");
  ASSERT_EQ(Stored(kFile, "2").size(), 1u);
  EXPECT_EQ(Stored(kFile, "2")[0].text, "Easements of record");
  EXPECT_EQ(Stored(kFile, "2")[0].policy, "B");
  EXPECT_TRUE(Stored(kFile, "1A").empty());
}

TEST_F(TitleItemEditTest, AnEmptyAddOrACancelStoresNothingAndAPasteIsCutToTheLimit) {
  std::vector<std::string> rowsAfter;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) { PressDialogKey(item, VK_RETURN); });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      TabToText(item);
      TypeIntoDialog(item, "typed then cancelled");
      PressDialogKey(item, VK_ESCAPE);
    });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    EXPECT_EQ(Send(FindControl(dialog, 101), TSM_GETROWCOUNT), 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      TabToText(item);
      std::string pasted(20000, 'p');
      ASSERT_TRUE(OpenClipboard(item));
      EmptyClipboard();
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, pasted.size() + 1);
      std::memcpy(GlobalLock(block), pasted.c_str(), pasted.size() + 1);
      GlobalUnlock(block);
      SetClipboardData(CF_TEXT, block);
      CloseClipboard();
      PressDialogKey(item, 'V', Qt::ControlModifier);
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'A', Qt::AltModifier);
    rowsAfter = RowTexts(FindControl(dialog, 101));
    PressButton(dialog, IDOK);
  });
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].text, std::string(16382, 'p'));
  ASSERT_EQ(rowsAfter.size(), 1u);
  EXPECT_EQ(rowsAfter[0], std::string(80, 'p'));
}

TEST_F(TitleItemEditTest, ModifyAndDeleteWithoutASelectedRowSayWhatIsMissing) {
  PutItem(kFile, "1A", 700000.5, "kept");
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    PressDialogKey(dialog, 'E', Qt::AltModifier);  // D&elete
    PressButton(dialog, IDOK);
  });
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(Boxes().Shown().size(), 3u);
  for (const MessageBoxRequest& box : Boxes().Shown()) {
    EXPECT_EQ(box.text, "You must first select a title insurance item.");
    EXPECT_EQ(box.caption, "Zarne Message");
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  }
  EXPECT_TRUE(driver.Opened().size() == 2u);  // only the two list dialogs opened
  ASSERT_EQ(Stored(kFile, "1A").size(), 1u);
  EXPECT_EQ(Stored(kFile, "1A")[0].text, "kept");
}

TEST_F(TitleItemEditTest, ModifyShowsTheStoredItemAndWritesBackWhatChanged) {
  PutItem(kFile, "1A", 700000.5, "first");
  PutItem(kFile, "1A", 700000.75, "Line one\x0BLine two", "L");
  bool loanShown = false, othersOff = false;
  std::string shownText, caption;
  TTitleItemRow row{};
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    ClickRow(grid, 1);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      caption = Caption(item);
      loanShown = Checked(item, kLoanRadio);
      othersOff = !Checked(item, kBothRadio) && !Checked(item, kOwnerRadio);
      shownText = ItemText(item);
      TabToText(item);
      PressDialogKey(item, VK_END, Qt::ControlModifier);
      TypeIntoDialog(item, " more");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    row = Rows(grid)[1];
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(caption, "Modify Recording Requirement");
  EXPECT_TRUE(loanShown);
  EXPECT_TRUE(othersOff);
  EXPECT_EQ(shownText, "Line one\r\nLine two");
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[1].text, "Line one\x0BLine two more");
  EXPECT_EQ(stored[1].policy, "L");
  EXPECT_EQ(stored[1].seq, 700000.75);
  EXPECT_STREQ(row.Text, "Line one\x0BLine two more");
  EXPECT_EQ(row.Seq, 700000.75);
  EXPECT_EQ(stored[0].text, "first");
}

TEST_F(TitleItemEditTest, AnUnknownPolicyShowsNoButtonAndSavesBoth) {
  PutItem(kFile, "2", 700000.5, "odd letter", "X");
  bool noneOn = false;
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      noneOn =
          !Checked(item, kBothRadio) && !Checked(item, kOwnerRadio) && !Checked(item, kLoanRadio);
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(noneOn);
  ASSERT_EQ(Stored(kFile, "2").size(), 1u);
  EXPECT_EQ(Stored(kFile, "2")[0].policy, "B");
  EXPECT_EQ(Stored(kFile, "2")[0].text, "odd letter");
}

TEST_F(TitleItemEditTest, DeleteShowsTheItemDisabledAndRemovesItOnlyOnOk) {
  PutItem(kFile, "1B", 700000.5, "stays");
  PutItem(kFile, "1B", 700000.75, "goes\x0Bsoon", "O");
  bool disabled = false;
  std::string shownText, caption;
  std::vector<std::string> afterCancel, afterOk;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 301);
    ClickRow(grid, 1);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) { PressDialogKey(item, VK_ESCAPE); });
    PressDialogKey(dialog, 'L', Qt::AltModifier);  // De&lete of the other list
    afterCancel = RowTexts(grid);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      caption = Caption(item);
      disabled = true;
      for (int id : {kBothRadio, kOwnerRadio, kLoanRadio, kTitleTextEdit})
        disabled = disabled && !IsWindowEnabled(FindControl(item, id));
      shownText = ItemText(item);
      PressDialogKey(item, VK_RETURN);
    });
    ClickRow(grid, 1);
    PressDialogKey(dialog, 'L', Qt::AltModifier);
    afterOk = RowTexts(grid);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(caption, "Delete Other Requirement");
  EXPECT_TRUE(disabled);
  EXPECT_EQ(shownText, "goes\x0Bsoon");
  EXPECT_EQ(afterCancel, (std::vector<std::string>{"stays", "goes\x0Bsoon"}));
  EXPECT_EQ(afterOk, (std::vector<std::string>{"stays"}));
  EXPECT_EQ(Texts(Stored(kFile, "1B")), (std::vector<std::string>{"stays"}));
}

TEST_F(TitleItemEditTest, ATextLongerThanTheEditOnceUnpackedIsCutAsShown) {
  // 16000 stored bytes with 1600 packed line breaks: 17600 characters with CR LF.
  std::string packed;
  for (int i = 0; i < 1600; ++i) packed += "abcdefghi\x0B";
  PutItem(kFile, "1A", 700000.5, packed);
  size_t shown = 0;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 0);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      shown = ItemText(item).size();
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(shown, 16383u);
  // What OK stores: the first 16382 characters as shown, each CR LF packed again. Worked by
  // hand: 16382 = 1489 * 11 + 3, so 1489 whole lines ("abcdefghi" CR LF) and "abc".
  std::string expected;
  for (int i = 0; i < 1489; ++i) expected += "abcdefghi\x0B";
  expected += "abc";
  ASSERT_EQ(Stored(kFile, "1A").size(), 1u);
  EXPECT_EQ(Stored(kFile, "1A")[0].text, expected);
}

TEST_F(TitleItemEditTest, TheCommandsCommitTheFieldBeingTypedFirst) {
  // The buyer's name typed into the statement but not yet committed reaches the loaded
  // item's merge, and stays in the window's record.
  EditField(view, 102);
  view->editLine->SetSelection(0, static_cast<UINT>(-1));
  TypeText("Typed Buyer");
  Pump();
  std::string path = WriteFile("buyer.B2", "Vesting in |B1NAME|");
  files.ChooseFiles({path});
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    PressButton(dialog, 100);
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(Texts(Stored(kFile, "2")), (std::vector<std::string>{"Vesting in Typed Buyer"}));
  char name[64] = "";
  view->records[kBuyerTable]->GetString(2, name, sizeof name);
  EXPECT_STREQ(name, "Typed Buyer");
  EXPECT_EQ(EditText(view), "Typed Buyer");
}

TEST_F(TitleItemEditTest, TheFramesMenuCommandsReachTheFrontFile) {
  // As the menu sends them: to the frame, which hands them down the focus chain.
  driver.OnDialog(20700, [&](HWND dialog) { PressButton(dialog, IDOK); });
  driver.OnDialog(20800, [&](HWND dialog) { PressButton(dialog, IDOK); });
  SetFocus(view->HWindow);
  frame->SendMessage(WM_COMMAND, kRequirementsCommand);
  frame->SendMessage(WM_COMMAND, kExceptionsCommand);
  Pump();
  EXPECT_EQ(driver.Opened(), (std::vector<std::string>{"Requirements", "Exceptions"}));
  EXPECT_EQ(driver.Pending(), 0u);
}

}  // namespace
