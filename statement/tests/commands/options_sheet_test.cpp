/*
** The statement options: [HUD1Options] read at start-up with its repairs, the "HUD-1 Options"
** sheet driven page by page with zarne.ini read back each time, and the print options asked
** before a printout.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/framework/mdi.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/screenshot.h"
#include "platform/user/button_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/message_queue.h"
#include "platform/user/winuser.h"
#include "statement/hud1_options.h"
#include "statement/hud1_options_sheet.h"
#include "platform/testing/screenshot.h"

namespace {

using Keys = std::vector<std::string>;

class OptionsSheetTest : public StatementCommandsTest {
 protected:
  /* Runs the sheet over the client with the script, as the client's command does. */
  void RunSheet(DialogDriver::Script script) {
    if (!client) MakeFrame();
    DialogDriver driver;
    driver.OnDialogCaption("HUD-1 Options", std::move(script));
    THUDOptSheet sheet(client);
    sheet.Execute();
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_TRUE(driver.Unanswered().empty());
  }
  void SaveWindowPicture(HWND window, const std::string& name) {
    EXPECT_TRUE(SaveWindowScreenshot(window, OutputDir() + "/" + name + ".png"));
  }
  static void Click(HWND page, int id) {
    SendMessage(FindControl(page, id), BM_CLICK, 0, 0);
    PumpDialogMessages(page);
  }
  static bool IsChecked(HWND page, int id) {
    return SendMessage(FindControl(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
};

bool SameOptions(const THud1Options& a, const THud1Options& b) {
  return a.AutoClose == b.AutoClose && a.Maximize == b.Maximize && a.MaxWindows == b.MaxWindows &&
         a.Privacy == b.Privacy && a.PrintOptions == b.PrintOptions && a.SigPage3 == b.SigPage3 &&
         a.GDILines == b.GDILines && a.DateSig == b.DateSig;
}

TEST_F(OptionsSheetTest, StartUpWithoutTheSectionWritesAllEightDefaults) {
  WriteIni("[System]\nDirDatabase=C:\\ZARNE\\DB\n");
  gHud1Options = {0, 0, 3, 2, 0, 1, 0, 0};
  ReadHud1Options();
  EXPECT_TRUE(SameOptions(gHud1Options, THud1Options{1, 1, 1, 0, 1, 0, 1, 1}));
  EXPECT_EQ(IniSection("HUD1Options"),
            (Keys{"AutoClose=1", "Maximize=1", "MaxWindows=1", "Privacy=0", "PrintOptions=1",
                  "SigPage3=0", "DateSig=1", "GDILines=1"}));
  EXPECT_EQ(IniSection("System"), (Keys{"DirDatabase=C:\\ZARNE\\DB"}));
}

TEST_F(OptionsSheetTest, DamagedValuesAreRepairedAndWrittenBackAndNothingElseIsLost) {
  WriteIni(
      "[System]\nDirDatabase=C:\\ZARNE\\DB\nDirPrivate=C:\\P\n"
      "[HUD1Options]\nAutoClose=2\nMaximize=0\nMaxWindows=4\nPrivacy=-1\nPrintOptions=x\n"
      "SigPage3=5\nDateSig=0\nGDILines=65537\n"
      "[DefaultValues]\nSANAME=Agent\nPA106DAYS=abc\n");
  ReadHud1Options();
  // 65537 is 1 as a 16-bit value; "x" reads as 0, a valid PrintOptions.
  EXPECT_TRUE(SameOptions(gHud1Options, THud1Options{1, 0, 1, 0, 0, 0, 1, 0}));
  EXPECT_EQ(IniSection("HUD1Options"),
            (Keys{"AutoClose=1", "Maximize=0", "MaxWindows=1", "Privacy=0", "PrintOptions=x",
                  "SigPage3=0", "DateSig=0", "GDILines=65537"}));
  EXPECT_EQ(IniSection("System"), (Keys{"DirDatabase=C:\\ZARNE\\DB", "DirPrivate=C:\\P"}));
  EXPECT_EQ(IniSection("DefaultValues"), (Keys{"SANAME=Agent", "PA106DAYS=abc"}));

  WriteIni("[HUD1Options]\nMaxWindows=0\nPrivacy=3\n");
  ReadHud1Options();
  EXPECT_EQ(gHud1Options.MaxWindows, 1);
  EXPECT_EQ(gHud1Options.Privacy, 0);
}

TEST_F(OptionsSheetTest, OnlyTheViewPageShownWritesItsThreeKeys) {
  WriteIni("[Other]\nKey=1\n");
  gHud1Options = {1, 1, 1, 0, 1, 0, 1, 1};
  bool checkedOnShow = false;
  RunSheet([&](HWND sheet) {
    HWND page = CurrentSheetPage(sheet);
    ASSERT_NE(page, nullptr);
    checkedOnShow = IsChecked(page, 102) && IsChecked(page, 103) &&
                    SendMessage(FindControl(page, 101), CB_GETCURSEL, 0, 0) == 0 &&
                    SendMessage(FindControl(page, 101), CB_GETCOUNT, 0, 0) == 3;
    EXPECT_EQ(ControlTextOf(page, 102), "Auto close exces windows");
    SaveWindowPicture(sheet, "hud1_options_view_page");
    Click(page, 102);
    SendMessage(FindControl(page, 101), CB_SETCURSEL, 2, 0);
    PressButton(sheet, IDOK);
  });
  EXPECT_TRUE(checkedOnShow);
  EXPECT_EQ(IniSection("HUD1Options"), (Keys{"AutoClose=0", "Maximize=1", "MaxWindows=3"}));
  EXPECT_EQ(IniSection("Other"), (Keys{"Key=1"}));
  EXPECT_TRUE(SameOptions(gHud1Options, THud1Options{0, 1, 3, 0, 1, 0, 1, 1}));
}

TEST_F(OptionsSheetTest, APrintPageChangeActsAtTheNextPrintout) {
  WriteIni("");
  RespaWindow* view = OpenFile("O-1");
  Type(view, 217, "1111");
  Type(view, 249, "2222");
  gHud1Options = {1, 1, 1, 0, 0, 0, 1, 1};
  RunSheet([&](HWND sheet) {
    SelectSheetTab(sheet, "Print");
    HWND page = CurrentSheetPage(sheet);
    ASSERT_NE(page, nullptr);
    // The label's "&&" shows as one "&" (the screenshot of the page shows it).
    EXPECT_EQ(ControlTextOf(page, 201), "Print both buyer && seller");
    SaveWindowPicture(sheet, "hud1_options_print_page");
    EXPECT_TRUE(IsChecked(page, 201));
    EXPECT_FALSE(IsChecked(page, 107));
    Click(page, 104);
    Click(page, 317);
    PressButton(sheet, IDOK);
  });
  // The View page showed first: both pages write, each in its own order.
  EXPECT_EQ(IniSection("HUD1Options"),
            (Keys{"AutoClose=1", "Maximize=1", "MaxWindows=1", "Privacy=2", "DateSig=1",
                  "GDILines=1", "PrintOptions=0", "SigPage3=1"}));
  EXPECT_EQ(gHud1Options.Privacy, 2);
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_FALSE(Holds(pages[0], "1,111.00"));
  EXPECT_TRUE(Holds(pages[0], "2,222.00"));
}

TEST_F(OptionsSheetTest, CancelLeavesTheFileAndTheRunningOptionsAsTheyWere) {
  WriteIni("[HUD1Options]\r\nAutoClose=1\r\nMaximize=1\r\nMaxWindows=2\r\n");
  std::string before = IniText();
  gHud1Options = {1, 1, 2, 0, 1, 0, 1, 1};
  THud1Options running = gHud1Options;
  RunSheet([&](HWND sheet) {
    HWND view = CurrentSheetPage(sheet);
    Click(view, 102);
    SendMessage(FindControl(view, 101), CB_SETCURSEL, 0, 0);
    SelectSheetTab(sheet, "Print");
    Click(CurrentSheetPage(sheet), 103);
    PressButton(sheet, IDCANCEL);
  });
  EXPECT_EQ(IniText(), before);
  EXPECT_TRUE(SameOptions(gHud1Options, running));
}

class PrintOptionsTest : public StatementCommandsTest {
 protected:
  void SetUp() override {
    StatementCommandsTest::SetUp();
    view = OpenFile("Q-1");
    Type(view, 102, "Bea Buyer");
    Type(view, 143, "Sam Seller");
    Type(view, 212, "3/15/24");
    Type(view, 217, "1111");
    Type(view, 249, "2222");
    gHud1Options.PrintOptions = 1;
    WriteIni("[HUD1Options]\nPrintOptions=1\n");
  }
  RespaWindow* view = nullptr;
};

TEST_F(PrintOptionsTest, UncheckingDateSignaturesPrintsNoDateAndNothingReachesTheFile) {
  std::string before = IniText();
  DialogDriver driver;
  HWND parent = nullptr;
  driver.OnDialog(20032, [&](HWND dialog) {
    parent = GetParent(dialog);
    EXPECT_EQ(SendMessage(FindControl(dialog, 423), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessage(FindControl(dialog, 201), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ControlTextOf(dialog, 239), "03/15/2024");
    EXPECT_TRUE(SaveWindowScreenshot(dialog, OutputDir() + "/hud1_print_options.png"));
    PressButton(dialog, 423);
    PressButton(dialog, IDOK);
  });
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(driver.Opened(), (std::vector<std::string>{"HUD-1 Print Options"}));
  // A modal dialog's parent is the top-level window of the one it was made for.
  HWND top = view->HWindow;
  while (GetWindowLong(top, GWL_STYLE) & WS_CHILD) top = GetParent(top);
  EXPECT_TRUE(parent == view->HWindow || parent == top);
  EXPECT_FALSE(Holds(pages[1], "03/15/2024"));
  EXPECT_TRUE(Holds(pages[1], "Bea Buyer"));
  EXPECT_EQ(IniText(), before);
  EXPECT_EQ(gHud1Options.DateSig, 1);
}

TEST_F(PrintOptionsTest, TheDialogsPrivacyAndSignaturePageServeOnePrintout) {
  DialogDriver driver;
  driver.OnDialog(20032, [&](HWND dialog) {
    PressButton(dialog, 103);
    PressButton(dialog, 317);
    SetControlText(dialog, 239, "4/1/24");
    PressButton(dialog, IDOK);
  });
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(Holds(pages[0], "1,111.00"));
  EXPECT_FALSE(Holds(pages[0], "2,222.00"));
  EXPECT_TRUE(Holds(pages[2], "4/1/24"));
  EXPECT_FALSE(Holds(pages[2], "Sam Seller"));
  EXPECT_EQ(gHud1Options.Privacy, 0);
  EXPECT_EQ(gHud1Options.SigPage3, 0);
}

TEST_F(PrintOptionsTest, CancelPrintsNothingAndWithoutRunTimeSelectNoDialogOpens) {
  DialogDriver driver;
  driver.OnDialog(20032, [&](HWND dialog) { PressButton(dialog, IDCANCEL); });
  CommonDialogAnswers answers;
  view->SendMessage(WM_COMMAND, 24337);
  Pump();
  EXPECT_TRUE(PdfFiles().empty());
  EXPECT_TRUE(answers.PrintRequests().empty());

  gHud1Options.PrintOptions = 0;
  DialogDriver none;
  std::vector<std::string> pages = Print(view);
  EXPECT_EQ(pages.size(), 2u);
  EXPECT_TRUE(none.Opened().empty());
}

TEST_F(PrintOptionsTest, ThePrintDialogIsShownOverTheWindowWithTheStatementPrinter) {
  gHud1Options.PrintOptions = 0;
  CommonDialogAnswers answers;
  answers.ChoosePrinter("PDF");
  view->SendMessage(WM_COMMAND, 24337);
  Pump();
  ASSERT_EQ(answers.PrintRequests().size(), 1u);
  EXPECT_EQ(answers.PrintRequests()[0].owner, view->HWindow);
  EXPECT_EQ(answers.PrintRequests()[0].device, "PDF");
  EXPECT_EQ(answers.PrintRequests()[0].maxPage, 2);
  EXPECT_EQ(PdfFiles().size(), 1u);
}

}  // namespace
