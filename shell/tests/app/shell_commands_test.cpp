/*
** What the shell shows and keeps around the closing files: the bank lists filled at
** start-up from BANK and CHECKCTL, a cancelled printer set-up writing the same settings
** again, the About box from the version data, the help pages, and the greyed commands.
*/
#include "zarne_app_fixture.h"

#include "accounting/account_transfers.h"
#include "catalogue/tabgen32.h"
#include "platform/framework/frame.h"
#include "platform/kernel/modules.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/screenshot.h"
#include "platform/gdi/gdi.h"
#include "platform/user/menu_calls.h"
#include "platform/user/win_help.h"
#include "platform/user/window_manager.h"
#include "shell/about.h"
#include "shell/rc_version.h"
#include "shell/shell_ids.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <filesystem>
#include <fstream>
#include <tuple>
#include <sys/stat.h>
#include <utime.h>

namespace fs = std::filesystem;

namespace {

class ShellCommandsTest : public ZarneAppTest {
 protected:
  void Command(UINT id) {
    SendMessage(Frame()->HWindow, WM_COMMAND, id, 0);
    PumpUntilIdle();
  }
};

TEST_F(ShellCommandsTest, StartUpFillsTheBankListsWithTheDefaultAccountSelected) {
  // An office whose bank table lacks an account name and whose default account is 5.
  StartApp();
  ASSERT_TRUE(CloseApp());
  app_.reset();
  {
    PXInit();
    PXOpenDatabase();
    PXSetDirectory(ZarneDir().c_str());
    TPXTable bank("BANK", 0);
    TPXRecord record(&bank, false);
    ASSERT_TRUE(record.First());
    do {
      SHORT key = -1;
      record.Read(0);
      record.GetShort(1, key);
      std::string name = key == 3 ? "" : "Account " + std::to_string(key);
      record.SetString(2, name.c_str());
      EXPECT_TRUE(record.Modify());
    } while (record.Next());
    TPXTable control("CHECKCTL", 0);
    TPXRecord first(&control, false);
    ASSERT_TRUE(first.First());
    first.Read(0);
    first.SetShort(2, 5);
    EXPECT_TRUE(first.Modify());
  }
  PXExit();
  Boxes().Clear();
  StartApp();
  EXPECT_TRUE(Boxes().Shown().empty());
  EXPECT_EQ(gDefaultAccount, 5);
  for (const TComboBoxData* list : {&gAccountRangeXfer.Accounts, &gReportRangeXfer.Accounts,
                                    &gReconcileXfer.Accounts, &gEditAccountRecordXfer.Accounts}) {
    ASSERT_EQ(list->GetStrings().size(), 20u);
    EXPECT_EQ(list->GetStrings()[3], "<undefined>");
    EXPECT_EQ(list->GetStrings()[19], "Account 19");
    EXPECT_EQ(list->GetSelIndex(), 5);
  }
}

TEST_F(ShellCommandsTest, ACancelledPrinterSetUpWritesTheSameSettingsAgain) {
  StartApp();
  const std::pair<UINT, const char*> setUps[] = {{CM_PRINTSETUPHUD1, "stmtbg32.dat"},
                                                 {CM_PRINTSETUPCHECKS, "prnchk32.dat"},
                                                 {CM_PRINTSETUPREPORTS, "prnrpt32.dat"}};
  for (const auto& [command, file] : setUps) {
    std::string path = ZarneDir() + "/" + file;
    std::string before = ReadHostFile(path);
    ASSERT_FALSE(before.empty()) << file;
    struct utimbuf old {
      1000000000, 1000000000
    };
    ASSERT_EQ(utime(path.c_str(), &old), 0);
    CommonDialogAnswers answers;
    answers.CancelPrintDialog();
    Command(command);
    ASSERT_EQ(answers.PrintRequests().size(), 1u) << file;
    EXPECT_EQ(ReadHostFile(path), before) << file;
    struct stat after {};
    stat(path.c_str(), &after);
    EXPECT_NE(after.st_mtime, 1000000000) << file << " was not written";
  }
}

TEST_F(ShellCommandsTest, TheAboutBoxShowsTheProgramsVersionData) {
  StartApp();
  std::string version, copyright, company;
  QColor logoCentre;
  DialogDriver driver;
  driver.OnDialog(IDD_ABOUT, [&](HWND about) {
    version = ControlTextOf(about, 22001);
    copyright = ControlTextOf(about, 22002);
    company = ControlTextOf(about, 22004);
    HWND logo = GetDlgItem(about, IDB_LOGO);
    RECT r;
    GetClientRect(logo, &r);
    logoCentre = GrabWindow(logo).pixelColor(r.right / 2, r.bottom / 2);
    SaveWindowScreenshot(about, SHELL_OUTPUT_DIR "/about_box.png");
    PressButton(about, IDOK);
  });
  Command(CM_HELPABOUT);
  EXPECT_EQ(driver.Opened(), std::vector<std::string>{"About Zarne"});
  EXPECT_EQ(version, "Version 3.2");
  EXPECT_EQ(copyright, "Copyright \xA9 1996-1999 Zarne Settlement Systems");
  EXPECT_EQ(company, "Zarne Settlement Systems");
  // The picture button shows the centre of its face bitmap, not a plain button face.
  HBITMAP face = LoadBitmap(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDB_LOGO_FACE));
  ASSERT_NE(face, nullptr);
  BITMAP info{};
  GetObject(face, sizeof info, &info);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, face);
  COLORREF expected = GetPixel(memory, info.bmWidth / 2, info.bmHeight / 2);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(face);
  EXPECT_EQ(logoCentre, QColor(GetRValue(expected), GetGValue(expected), GetBValue(expected)));
}

TEST_F(ShellCommandsTest, AModuleWithoutVersionDataKeepsTheTemplateTexts) {
  HMODULE layout = LoadLibrary("stmlay32.dll");
  ASSERT_NE(layout, nullptr);
  ProjectRCVersion none(reinterpret_cast<HINSTANCE>(layout));
  const char* text = nullptr;
  EXPECT_FALSE(none.GetCompanyName(&text));
  EXPECT_FALSE(none.GetProductName(&text));
  EXPECT_FALSE(none.GetProductVersion(&text));
  EXPECT_FALSE(none.GetLegalCopyright(&text));
  ProjectRCVersion program(nullptr);
  ASSERT_TRUE(program.GetProductName(&text));
  EXPECT_STREQ(text, "Zarne");

  std::string version, copyright;
  DialogDriver driver;
  driver.OnDialog(IDD_ABOUT, [&](HWND about) {
    version = ControlTextOf(about, 22001);
    copyright = ControlTextOf(about, 22002);
    PressButton(about, IDOK);
  });
  ZarneAboutDlg about(nullptr, IDD_ABOUT);
  about.versionModule = reinterpret_cast<HINSTANCE>(layout);
  about.Execute();
  EXPECT_EQ(version, "Version");
  EXPECT_EQ(copyright, "Copyright");
  FreeLibrary(layout);
}

TEST_F(ShellCommandsTest, EachHelpCommandOpensItsPageAndAMissingPageIsReported) {
  StartApp();
  std::vector<std::string> opened;
  HelpFileOpener previous = SetHelpFileOpener([&](const std::string& path) {
    opened.push_back(fs::path(path).filename().string());
    return true;
  });
  const std::pair<UINT, const char*> pages[] = {
      {CM_HELPUSING, "zarne.html"},         {CM_HELPWPTEMPLATES, "wptemplt.html"},
      {CM_HELPZBASIC, "zbasic.html"},       {CM_HELPDATAFIELDS, "dataflds.html"},
      {CM_HELPTITLESTANDARDS, "tstd.html"}, {CM_HELPHUDINSTRUCTIONS, "hudreg.html"}};
  for (const auto& [command, page] : pages) {
    app_->helpUsed = false;
    Command(command);
    ASSERT_FALSE(opened.empty()) << page;
    EXPECT_EQ(opened.back(), page);
    EXPECT_TRUE(app_->helpUsed) << page;
  }
  EXPECT_EQ(opened.size(), 6u);
  EXPECT_TRUE(Boxes().Shown().empty() ||
              Boxes().Shown().size() == 1u);  // the first start's question
  // A page that is not there: the help engine refuses with a box, and help counts as unused.
  fs::path tstd = fs::path(PROGRAM_DIR) / "tstd.html";
  fs::path aside = fs::path(Root()) / "tstd.html.aside";
  fs::copy_file(tstd, aside);
  fs::remove(tstd);
  Boxes().Clear();
  app_->helpUsed = false;
  Command(CM_HELPTITLESTANDARDS);
  fs::copy_file(aside, tstd);
  SetHelpFileOpener(previous);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Help");
  EXPECT_NE(Boxes().Shown()[0].text.find("tstd"), std::string::npos) << Boxes().Shown()[0].text;
  EXPECT_FALSE(app_->helpUsed);
}

TEST_F(ShellCommandsTest, TheDataFieldsPageNamesEveryField) {
  StartApp();
  std::string page = ReadHostFile(std::string(PROGRAM_DIR) + "/dataflds.html");
  ASSERT_FALSE(page.empty());
  int fields = 0;
  for (TFieldList* list : {&gRespaFieldList, &gOtherFieldList}) {
    for (TFieldNode* node = FirstField(list); node; node = node->next, ++fields)
      EXPECT_NE(page.find(std::string("<tr><td>") + node->name + "</td>"), std::string::npos)
          << node->name;
  }
  EXPECT_GT(fields, 500);
}

TEST_F(ShellCommandsTest, OptionsMenuOpensTheTwoSheetsOverTheClient) {
  StartApp();
  for (const auto& [command, caption] :
       {std::pair<UINT, const char*>{CM_HUD1OPTIONS, "HUD-1 Options"},
        {CM_DEFAULTVALUES, "Default Values"}}) {
    DialogDriver driver;
    HWND owner = nullptr;
    driver.OnDialogCaption(caption, [&](HWND sheet) {
      owner = GetParent(sheet);
      PressButton(sheet, IDCANCEL);
    });
    Command(command);
    EXPECT_EQ(driver.Opened(), (std::vector<std::string>{caption}));
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_TRUE(owner == Frame()->GetClientWindow()->HWindow || owner == Frame()->HWindow)
        << caption;
  }
}

TEST_F(ShellCommandsTest, ToolsAmortizationRunsTheAmortizerOverTheClient) {
  StartApp();
  HWND parent = nullptr;
  DialogDriver driver;
  driver.OnDialog(21002, [&](HWND amortizer) {
    parent = GetParent(amortizer);
    EndDialog(amortizer, IDCANCEL);  // its template closes by the system menu
  });
  Command(CM_AMORTIZATION);
  EXPECT_EQ(driver.Opened().size(), 1u);
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(parent == Frame()->GetClientWindow()->HWindow || parent == Frame()->HWindow)
      << parent;
}

TEST_F(ShellCommandsTest, CommandsWithoutAHandlerAreGreyedAndTheWorkingOnesAreNot) {
  StartApp();
  HMENU menu = GetMenu(Frame()->HWindow);
  ASSERT_NE(menu, nullptr);
  // Ask each popup to update its items, as opening it does.
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    SendMessage(Frame()->HWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, i)),
                i);
  auto greyed = [&](UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
  for (UINT id : std::initializer_list<UINT>{CM_FILENEW,
                                             CM_FILEOPEN,
                                             CM_FILEDELETE,
                                             CM_PRINTSETUPHUD1,
                                             CM_PRINTSETUPCHECKS,
                                             CM_PRINTSETUPREPORTS,
                                             static_cast<UINT>(CM_EXIT),
                                             CM_HELPUSING,
                                             CM_HELPABOUT,
                                             CM_AMORTIZATION,
                                             CM_CHECKREGISTER,
                                             CM_LEDGER,
                                             CM_FILEBALANCE,
                                             CM_EXPORT1099,
                                             CM_BANKEDITOR,
                                             CM_HUD1OPTIONS,
                                             CM_DEFAULTVALUES,
                                             CM_DISBURSE,
                                             CM_POSTDEPOSITS,
                                             CM_DEFAULTACCOUNT,
                                             CM_ADJUSTMENTS,
                                             CM_ACCOUNTEDITOR,
                                             CM_RECONCILE})
    EXPECT_FALSE(greyed(id)) << id;
}

TEST_F(ShellCommandsTest, AccountingReportCommandsAreEnabledAndOpenTheirDialogs) {
  StartApp();
  HMENU menu = GetMenu(Frame()->HWindow);
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    SendMessage(Frame()->HWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, i)),
                i);
  const std::pair<UINT, int> commands[] = {{CM_CHECKREGISTER, 20950},
                                           {CM_LEDGER, 20950},
                                           {CM_FILEBALANCE, 20950},
                                           {CM_EXPORT1099, 20990}};
  for (const auto& [command, dialogId] : commands) {
    EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED, 0u) << command;
    DialogDriver driver;
    bool opened = false;
    driver.OnDialog(dialogId, [&](HWND dialog) {
      opened = true;
      PressButton(dialog, IDCANCEL);
    });
    Command(command);
    EXPECT_TRUE(opened) << command;
  }
}

TEST_F(ShellCommandsTest, LedgerEditorCommandsOpenTheirDialogsOverTheClient) {
  StartApp();
  HMENU menu = GetMenu(Frame()->HWindow);
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    SendMessage(Frame()->HWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, i)),
                i);
  // The two lists close by their Close and Done buttons (IDOK), the bank editor and the
  // bank statement information by Cancel.
  const std::tuple<UINT, int, int> commands[] = {{CM_ADJUSTMENTS, 20920, IDOK},
                                                 {CM_ACCOUNTEDITOR, 20940, IDOK},
                                                 {CM_BANKEDITOR, 20980, IDCANCEL},
                                                 {CM_RECONCILE, 20965, IDCANCEL}};
  for (const auto& [command, dialogId, closer] : commands) {
    EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED, 0u) << command;
    DialogDriver driver;
    HWND parent = nullptr;
    driver.OnDialog(dialogId, [&](HWND dialog) {
      parent = GetParent(dialog);
      PressButton(dialog, closer);
    });
    Command(command);
    EXPECT_EQ(1u, driver.Opened().size()) << command;
    // A dialog's owner is the top-level window of the parent it was made over.
    EXPECT_TRUE(parent == Frame()->GetClientWindow()->HWindow || parent == Frame()->HWindow)
        << command;
  }
}

}  // namespace
