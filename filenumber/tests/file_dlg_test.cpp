/*
** The file-number dialog over real tables: the list in key order, case-sensitive matching,
** the parties shown, a missing SELLER record made on selection, the checks of OK in every
** mode with their exact boxes, and the lock a mode takes, seen from another program.
*/
#include "filenumber/file_dlg.h"

#include "shell/tests/lock_probe_runner.h"
#include "shell/tests/shell_tables.h"
#include "platform/framework/list_controls.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/listbox_control.h"
#include "platform/user/window_manager.h"
#include "filenumber/file_number_ids.h"
#include "tableaccess/px_globals.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

namespace {

const char kCaption[] = "Zarne Message";

class FileDlgTest : public ShellTablesTest {
 protected:
  /* Runs the dialog in the mode with the script; answers its result. */
  int Run(int mode, DialogDriver::Script script) {
    DialogDriver driver;
    driver.OnDialog(IDD_FILEDLG, std::move(script));
    TFileDlg dialog(nullptr, IDD_FILEDLG);
    dialog.mode = mode;
    return dialog.Execute();
  }

  std::vector<std::string> ListOf(HWND dialog) {
    HWND list = FindControl(dialog, 102);
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[64] = "";
      SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }

  int SelectionOf(HWND dialog) {
    return static_cast<int>(SendMessage(FindControl(dialog, 102), LB_GETCURSEL, 0, 0));
  }

  /* Types a number into the emptied edit and presses OK. */
  void TypeAndOk(HWND dialog, const std::string& number) {
    SetControlText(dialog, 101, "");
    SetFocus(FindControl(dialog, 101));
    TypeIntoDialog(dialog, number);
    PressButton(dialog, IDOK);
  }

  std::string Last() { return Boxes().Shown().empty() ? "" : Boxes().Shown().back().text; }
  size_t BoxCount() { return Boxes().Shown().size(); }
};

TEST_F(FileDlgTest, ListsNumbersInKeyOrderAndMatchesTheTypedNumberWithCase) {
  PutFile(kBuyerTable, "B2");
  PutFile(kBuyerTable, "A1", {{2, "Ann"}, {12, "Bob"}, {32, "Dan"}});
  PutFile(kSellerTable, "A1", {{2, "Sue"}});
  PutFile(kBuyerTable, "a1", {{2, "Lower"}});
  std::vector<std::string> inKeyOrder = NumbersOf(kBuyerTable);
  Run(kFileDlgOpen, [&](HWND dialog) {
    EXPECT_EQ(ListOf(dialog), inKeyOrder);
    SetFocus(FindControl(dialog, 101));
    TypeIntoDialog(dialog, "A1");
    int a1 = static_cast<int>(std::find(inKeyOrder.begin(), inKeyOrder.end(), "A1") -
                              inKeyOrder.begin());
    EXPECT_EQ(SelectionOf(dialog), a1);
    // The third buyer's name is empty, so it is left out with its separator.
    EXPECT_EQ(ControlTextOf(dialog, 103), "Ann; Bob; Dan");
    EXPECT_EQ(ControlTextOf(dialog, 104), "Sue");
    EXPECT_TRUE(SaveWindowScreenshot(dialog, FILENUMBER_OUTPUT_DIR "/file_dialog.png"));
    SetControlText(dialog, 101, "a1");
    int lower = static_cast<int>(std::find(inKeyOrder.begin(), inKeyOrder.end(), "a1") -
                                 inKeyOrder.begin());
    EXPECT_EQ(SelectionOf(dialog), lower);
    EXPECT_EQ(ControlTextOf(dialog, 103), "Lower");
    EXPECT_EQ(ControlTextOf(dialog, 104), "");
    SetControlText(dialog, 101, "b2x");
    EXPECT_EQ(SelectionOf(dialog), -1);
    EXPECT_EQ(ControlTextOf(dialog, 103), "");
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(FileDlgTest, ModesSetTheirCaptions) {
  const std::pair<int, const char*> captions[] = {
      {kFileDlgNew, "New File"},          {kFileDlgOpen, "Open File"},
      {kFileDlgSaveAs, "Save File As"},   {kFileDlgMerge, "Merge File"},
      {kFileDlgDelete, "Delete File"},    {kFileDlgDisburse, "Open File"},
      {kFileDlgPostDeposits, "Open File"}};  // mode 0 keeps the template's caption
  for (const auto& [mode, caption] : captions) {
    Run(mode, [&](HWND dialog) {
      char text[64] = "";
      GetWindowText(dialog, text, sizeof text);
      EXPECT_STREQ(text, caption) << "mode " << mode;
      // The lookup is offered in every mode but New.
      EXPECT_EQ(IsWindowVisible(FindControl(dialog, 378)) != FALSE, mode != kFileDlgNew) << mode;
      PressButton(dialog, IDCANCEL);
    });
  }
}

TEST_F(FileDlgTest, PickingAListedNumberMakesItsMissingSellerRecordAndFillsTheEdit) {
  PutFile(kBuyerTable, "F9", {{2, "Only Buyer"}});
  ASSERT_FALSE(HasRecord(kSellerTable, "F9"));
  Run(kFileDlgOpen, [&](HWND dialog) {
    HWND list = FindControl(dialog, 102);
    int itemHeight = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    Click(list, 5, itemHeight / 2);
    PumpDialogMessages(dialog);
    EXPECT_EQ(ControlTextOf(dialog, 101), "F9");
    EXPECT_EQ(ControlTextOf(dialog, 103), "Only Buyer");
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_TRUE(HasRecord(kSellerTable, "F9"));
  EXPECT_EQ(NumbersOf(kSellerTable), std::vector<std::string>{"F9"});
}

TEST_F(FileDlgTest, PickingTheNumberTheEditHoldsReadsItsPartiesAgain) {
  PutFile(kBuyerTable, "F8", {{2, "Eight"}});
  PutFile(kBuyerTable, "F9", {{2, "Nine"}});
  PutFile(kSellerTable, "F8");
  PutFile(kSellerTable, "F9");
  Run(kFileDlgOpen, [&](HWND dialog) {
    SetFocus(FindControl(dialog, 101));
    TypeIntoDialog(dialog, "F9");
    EXPECT_EQ(ControlTextOf(dialog, 103), "Nine");
    // Renamed by another window meanwhile: the edit's text does not change with the pick,
    // so no change notice reads the names; the pick itself must.
    PutFile(kBuyerTable, "F9", {{2, "Nine Renamed"}});
    HWND list = FindControl(dialog, 102);
    int itemHeight = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    Click(list, 5, itemHeight + itemHeight / 2);
    PumpDialogMessages(dialog);
    EXPECT_EQ(SelectionOf(dialog), 1);
    EXPECT_EQ(ControlTextOf(dialog, 101), "F9");
    EXPECT_EQ(ControlTextOf(dialog, 103), "Nine Renamed");
    PressButton(dialog, IDCANCEL);
  });
}

TEST_F(FileDlgTest, OpenRefusesAnUnlistedNumberAndStaysOpen) {
  PutFile(kBuyerTable, "AB1");
  int result = Run(kFileDlgOpen, [&](HWND dialog) {
    TypeAndOk(dialog, "ab1");  // listing is case-sensitive
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(BoxCount(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text,
            "File [ab1] does not exist.  To create a new file, select the File|New menu option.");
  EXPECT_EQ(Boxes().Shown()[0].caption, kCaption);
  EXPECT_EQ(Boxes().Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(FileDlgTest, TheReservedNumberIsRefusedInEveryModeAfterTheOtherChecks) {
  PutFile(kBuyerTable, "0");
  for (int mode = kFileDlgPostDeposits; mode <= kFileDlgDisburse; ++mode) {
    Boxes().Clear();
    if (mode == kFileDlgSaveAs) Boxes().QueueAnswer(IDYES);  // overwrite [0]? first
    int result = Run(mode, [&](HWND dialog) {
      TypeAndOk(dialog, "0");
      EXPECT_TRUE(IsWindowVisible(dialog)) << mode;
      PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL) << mode;
    ASSERT_EQ(BoxCount(), mode == kFileDlgSaveAs ? 2u : 1u) << mode;
    if (mode == kFileDlgSaveAs) {
      EXPECT_EQ(Boxes().Shown()[0].text, "Do you want to overwrite [0]?");
    }
    EXPECT_EQ(Last(), "This is a reserved file number.  Please select another.") << mode;
    EXPECT_EQ(Boxes().Shown().back().type, static_cast<UINT>(MB_OK)) << mode;
  }
}

TEST_F(FileDlgTest, AnEmptyNumberAsksFirstAndGoesOnOnlyOnYes) {
  Boxes().QueueAnswer(IDNO);
  Boxes().QueueAnswer(IDYES);
  int result = Run(kFileDlgNew, [&](HWND dialog) {
    PressButton(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_STREQ(gFileNumber, "");
  ASSERT_EQ(BoxCount(), 2u);
  EXPECT_EQ(Boxes().Shown()[1].text, "No file number has been entered.  Do you wish to continue?");
  EXPECT_EQ(Boxes().Shown()[1].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
}

TEST_F(FileDlgTest, DisbursingAsksAboutANumberThatIsNoClosingFileAndPostingAsksNothing) {
  Boxes().QueueAnswer(IDNO);
  Boxes().QueueAnswer(IDYES);
  int result = Run(kFileDlgDisburse, [&](HWND dialog) {
    TypeAndOk(dialog, "Q7");
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressButton(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_STREQ(gFileNumber, "Q7");
  ASSERT_EQ(BoxCount(), 2u);
  EXPECT_EQ(Last(),
            "File [Q7] has not been opened as a closing file.  Are you sure you want to "
            "enter account items for this file?");
  Boxes().Clear();
  result = Run(kFileDlgPostDeposits, [&](HWND dialog) { TypeAndOk(dialog, "NEW5"); });
  EXPECT_EQ(result, IDOK);
  EXPECT_STREQ(gFileNumber, "NEW5");
  EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(FileDlgTest, TheNumberIsCutAtFifteenCharacters) {
  Run(kFileDlgNew, [&](HWND dialog) { TypeAndOk(dialog, "ABCDEFGHIJKLMNOPQR"); });
  EXPECT_STREQ(gFileNumber, "ABCDEFGHIJKLMNO");
}

TEST_F(FileDlgTest, OpenLocksTheAcceptedFileUntilTheDialogIsDeleted) {
  PutFile(kBuyerTable, "L1");
  PutFile(kBuyerTable, "L2");
  ASSERT_EQ(ProbeLock(Root(), "L1"), "locked");
  {
    DialogDriver driver;
    // Showing L2 last moves the shared cursor away; the lock must still be L1's.
    driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
      SetControlText(dialog, 101, "L2");
      TypeAndOk(dialog, "L1");
    });
    auto dialog = std::make_unique<TFileDlg>(nullptr, IDD_FILEDLG);
    dialog->mode = kFileDlgOpen;
    ASSERT_EQ(dialog->Execute(), IDOK);
    EXPECT_EQ(ProbeLock(Root(), "L1"), "refused");
    EXPECT_EQ(ProbeLock(Root(), "L2"), "locked");
    dialog.reset();
  }
  EXPECT_EQ(ProbeLock(Root(), "L1"), "locked");
  EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(FileDlgTest, AFileAnotherProgramHoldsCannotBeOpenedOrDeleted) {
  PutFile(kBuyerTable, "H1");
  LockHolder holder(Root(), "H1");
  ASSERT_EQ(holder.Answer(), "held");
  for (int mode : {kFileDlgOpen, kFileDlgDelete}) {
    Boxes().Clear();
    int result = Run(mode, [&](HWND dialog) {
      TypeAndOk(dialog, "H1");
      EXPECT_TRUE(IsWindowVisible(dialog)) << mode;
      PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL) << mode;
    ASSERT_FALSE(Boxes().Shown().empty()) << mode;
    EXPECT_EQ(Boxes().Shown()[0].caption, "Database Error") << mode;
  }
}

TEST_F(FileDlgTest, ANewNumberTakesNoLockOnTheNumberShownBefore) {
  PutFile(kBuyerTable, "N1");
  DialogDriver driver;
  driver.OnDialog(IDD_FILEDLG, [&](HWND dialog) {
    SetControlText(dialog, 101, "N1");
    TypeAndOk(dialog, "N2");
  });
  TFileDlg dialog(nullptr, IDD_FILEDLG);
  dialog.mode = kFileDlgSaveAs;
  ASSERT_EQ(dialog.Execute(), IDOK);
  EXPECT_STREQ(gFileNumber, "N2");
  EXPECT_EQ(ProbeLock(Root(), "N1"), "locked");
}

}  // namespace
