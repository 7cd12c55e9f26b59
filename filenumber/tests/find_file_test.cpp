/*
** The lookup through the file-number dialog's Find button: each kind searches its own
** table and fields, case folded the Windows-1252 way; listing all numbers needs no text;
** an empty text is refused with 1044; the number edit hides after a lookup, and a number
** typed then is sought in the list the lookup left.
*/
#include "filenumber/find_file.h"

#include "catalogue/shared_tables.h"

#include "shell/tests/shell_tables.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/combobox_control.h"
#include "platform/user/button_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/window_manager.h"
#include "filenumber/file_dlg.h"
#include "filenumber/file_number_ids.h"

#include <string>
#include <vector>

namespace {

class FindFileTest : public ShellTablesTest {
 protected:
  void SetUp() override {
    ShellTablesTest::SetUp();
    PutFile(kBuyerTable, "F1", {{2, "JOHN SMITH"}, {12, "MARY"}});
    PutFile(kBuyerTable, "F2", {{2, "Ann Smithers"}});
    PutFile(kBuyerTable, "F3", {{2, "Zo\xC9 Brown"}});  // an E acute, stored in capitals
    PutFile(kSellerTable, "F2", {{2, "Peter Jones"}});
    PutFile(kLenderTable, "F3", {{5, "First Bank"}});
    PutFile(kPropertyTable, "F1", {{6, "Lot 4, Block 7, Green Acres"}});
  }

  /* Runs a lookup from the file dialog; answers the numbers listed afterwards, and whether
     the number edit was still shown. */
  std::vector<std::string> Lookup(int kind, const std::string& text, bool listAll,
                                  bool* editShown = nullptr) {
    std::vector<std::string> listed;
    DialogDriver driver;
    driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
      PressButton(dialog, 378);
      HWND list = FindControl(dialog, 102);
      int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        char item[32] = "";
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        listed.push_back(item);
      }
      if (editShown) *editShown = IsWindowVisible(FindControl(dialog, 101)) != FALSE;
      PressButton(dialog, IDCANCEL);
    });
    driver.OnDialog(IDD_FINDFILE, [&](HWND find) {
      SendMessage(FindControl(find, 102), CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
      if (listAll) PressButton(find, 719);
      SetControlText(find, 189, text);
      PressButton(find, IDOK);
      if (IsWindowVisible(find)) PressButton(find, IDCANCEL);
    });
    TFileDlg dialog(nullptr, IDD_FILEDLG);
    dialog.mode = kFileDlgOpen;
    dialog.Execute();
    return listed;
  }
};

using Numbers = std::vector<std::string>;

TEST_F(FindFileTest, EachKindSearchesItsOwnTableIgnoringCase) {
  bool editShown = true;
  EXPECT_EQ(Lookup(0, "smith", false, &editShown), (Numbers{"F1", "F2"}));
  EXPECT_FALSE(editShown);
  EXPECT_EQ(Lookup(1, "JONES", false), (Numbers{"F2"}));
  EXPECT_EQ(Lookup(2, "bank", false), (Numbers{"F3"}));
  EXPECT_EQ(Lookup(3, "green acres", false), (Numbers{"F1"}));
  EXPECT_EQ(Lookup(0, "nobody", false), Numbers{});
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(FindFileTest, BuyerNamesAreJoinedWithoutSeparator) {
  // "JOHN SMITH" then "MARY": the end of one and the start of the next.
  EXPECT_EQ(Lookup(0, "thmar", false), (Numbers{"F1"}));
}

TEST_F(FindFileTest, SmallAccentedLettersFindTheirCapitals) {
  EXPECT_EQ(Lookup(0, "zo\xE9", false), (Numbers{"F3"}));
}

TEST_F(FindFileTest, ListingAllTakesEveryNumberOfTheKindsTableWithoutText) {
  bool editShown = false;
  EXPECT_EQ(Lookup(0, "", true, &editShown), (Numbers{"F1", "F2", "F3"}));
  EXPECT_TRUE(editShown);
  EXPECT_EQ(Lookup(2, "", true), (Numbers{"F3"}));
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(FindFileTest, AnEmptyFindTextIsRefused) {
  Lookup(0, "", false);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "You must specify text to find.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "Zarne Message");
  EXPECT_EQ(Boxes().Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

// A number typed after a lookup is sought in the list the lookup left, at its place there.
TEST_F(FindFileTest, ATypedNumberIsSoughtInTheListTheLookupLeft) {
  int afterLookup = -2, notListed = -2;
  DialogDriver driver;
  driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
    PressButton(dialog, 378);
    SetControlText(dialog, 101, "F2");
    afterLookup = static_cast<int>(SendMessage(FindControl(dialog, 102), LB_GETCURSEL, 0, 0));
    SetControlText(dialog, 101, "F1");  // a closing file, but not among those found
    notListed = static_cast<int>(SendMessage(FindControl(dialog, 102), LB_GETCURSEL, 0, 0));
    PressButton(dialog, IDCANCEL);
  });
  driver.OnDialog(IDD_FINDFILE, [&](HWND find) {
    SendMessage(FindControl(find, 102), CB_SETCURSEL, 1, 0);
    SetControlText(find, 189, "jones");
    PressButton(find, IDOK);
  });
  TFileDlg dialog(nullptr, IDD_FILEDLG);
  dialog.mode = kFileDlgOpen;
  dialog.Execute();
  EXPECT_EQ(afterLookup, 0);
  EXPECT_EQ(notListed, -1);
}

TEST_F(FindFileTest, ListAllHidesTheLookupControls) {
  DialogDriver driver;
  driver.OnDialog(IDD_FINDFILE, [&](HWND find) {
    EXPECT_EQ(ControlTextOf(find, 901), "Lookup by:");
    EXPECT_TRUE(SaveWindowScreenshot(find, FILENUMBER_OUTPUT_DIR "/find_file_dialog.png"));
    PressButton(find, 719);
    EXPECT_EQ(ControlTextOf(find, 901), "No lookup");
    EXPECT_FALSE(IsWindowVisible(FindControl(find, 102)));
    EXPECT_FALSE(IsWindowVisible(FindControl(find, 189)));
    EXPECT_FALSE(IsWindowVisible(FindControl(find, 1001)));
    PressButton(find, 719);
    EXPECT_EQ(ControlTextOf(find, 901), "Lookup by:");
    EXPECT_TRUE(IsWindowVisible(FindControl(find, 189)));
    PressButton(find, IDCANCEL);
  });
  TFindFile find(nullptr, IDD_FINDFILE);
  EXPECT_EQ(find.Execute(), IDCANCEL);
}

}  // namespace
