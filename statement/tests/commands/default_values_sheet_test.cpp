/*
** The "Default Values" sheet driven page by page: what each page writes to zarne.ini and in
** what order, what a new closing file then holds, the pages never shown, the recording
** choices' display, and the refused day count.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/framework/mdi.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/screenshot.h"
#include "platform/user/combobox_control.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/winuser.h"
#include "statement/default_values_sheet.h"
#include "statement/hud1_options.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include "tableaccess/px_record.h"

namespace {

using Keys = std::vector<std::string>;

class DefaultValuesSheetTest : public StatementCommandsTest {
 protected:
  void RunSheet(DialogDriver::Script script) {
    if (!client) MakeFrame();
    DialogDriver driver;
    driver.OnDialogCaption("Default Values", std::move(script));
    TDefValSheet sheet(client);
    sheet.Execute();
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_TRUE(driver.Unanswered().empty());
  }
  static void Choose(HWND page, int comboId, int index) {
    SendMessage(FindControl(page, comboId), CB_SETCURSEL, index, 0);
    PumpDialogMessages(page);
  }
  static void Set(HWND page, int id, const std::string& text) { SetControlText(page, id, text); }
  void Picture(HWND sheet, const std::string& name) {
    EXPECT_TRUE(SaveWindowScreenshot(sheet, OutputDir() + "/" + name + ".png"));
  }
};

TEST_F(DefaultValuesSheetTest, EachPageEditedWritesItsKeysInOrderAndTheNextNewFileHoldsThem) {
  WriteIni("[System]\nDirPrivate=C:\\P\n");
  RunSheet([&](HWND sheet) {
    HWND agent = CurrentSheetPage(sheet);
    Set(agent, 101, "Ann Agent");
    Set(agent, 200, "Title & Escrow Co");
    Set(agent, 107, "1 Main St");
    Set(agent, 108, "Dover");
    Set(agent, 109, "DE");
    Set(agent, 110, "19901");
    Set(agent, 118, "51-0000001");
    Picture(sheet, "default_values_agent");
    SelectSheetTab(sheet, "Recording");
    HWND recording = CurrentSheetPage(sheet);
    Choose(recording, 101, 1);  // S
    Choose(recording, 104, 2);  // /
    Picture(sheet, "default_values_recording");
    SelectSheetTab(sheet, "Prorations");
    HWND days = CurrentSheetPage(sheet);
    for (int id = 101; id <= 106; ++id) Set(days, id, std::to_string(355 + id));
    Picture(sheet, "default_values_prorations");
    SelectSheetTab(sheet, "Property");
    HWND property = CurrentSheetPage(sheet);
    Set(property, 301, "2023");
    Set(property, 201, "Kent");
    Picture(sheet, "default_values_property");
    PressButton(sheet, IDOK);
  });
  EXPECT_EQ(IniSection("DefaultValues"), (Keys{"SANAME=Ann Agent",   "SACOMPANY=Title & Escrow Co",
                                               "SASTREET=1 Main St", "SACITY=Dover",
                                               "SASTATE=DE",         "SAZIP=19901",
                                               "SATAXID=51-0000001", "P1201D=S",
                                               "P1201M=B",           "P1201R=B",
                                               "P1202D=/",           "P1202M=B",
                                               "P1203D=B",           "P1203M=B",
                                               "PA106DAYS=456",      "PA107DAYS=457",
                                               "PA108DAYS=458",      "PA210DAYS=459",
                                               "PA211DAYS=460",      "PA212DAYS=461",
                                               "PTAXYEAR=2023",      "PCOUNTY=Kent"}));
  EXPECT_EQ(IniSection("System"), (Keys{"DirPrivate=C:\\P"}));

  RespaWindow* view = OpenFile("D-1");
  CloseFile(view);
  EXPECT_EQ(TableText(kSagentTable, "D-1", 2), "Ann Agent");
  EXPECT_EQ(TableText(kSagentTable, "D-1", 3), "Title & Escrow Co");
  EXPECT_EQ(TableText(kSagentTable, "D-1", 6), "DE");
  EXPECT_EQ(TableText(kSagentTable, "D-1", 16), "51-0000001");
  EXPECT_EQ(TableText(kExpense4Table, "D-1", 3), "S");
  EXPECT_EQ(TableText(kExpense4Table, "D-1", 5), "B");
  EXPECT_EQ(TableText(kExpense4Table, "D-1", 11), "/");
  EXPECT_EQ(TableLong(kSummary1Table, "D-1", 18), 456);
  EXPECT_EQ(TableLong(kSummary1Table, "D-1", 28), 458);
  EXPECT_EQ(TableLong(kSummary2Table, "D-1", 41), 461);
  EXPECT_EQ(TableLong(kPropertyTable, "D-1", 8), 2023);
  EXPECT_EQ(TableText(kPropertyTable, "D-1", 7), "Kent");
}

TEST_F(DefaultValuesSheetTest, OnlyTheShownPageWritesAndItShowsWhatTheFileHolds) {
  WriteIni("[DefaultValues]\nSANAME=Old Agent\nPCOUNTY=Sussex\n");
  std::string shownName;
  RunSheet([&](HWND sheet) {
    HWND agent = CurrentSheetPage(sheet);
    shownName = ControlTextOf(agent, 101);
    Set(agent, 200, "New Firm");
    PressButton(sheet, IDOK);
  });
  EXPECT_EQ(shownName, "Old Agent");
  // The three other pages were never shown: not one of their keys is written.
  EXPECT_EQ(IniSection("DefaultValues"),
            (Keys{"SANAME=Old Agent", "PCOUNTY=Sussex", "SACOMPANY=New Firm",
                  "SASTREET=", "SACITY=", "SASTATE=", "SAZIP=", "SATAXID="}));
}

TEST_F(DefaultValuesSheetTest, MissingRecordingKeysShowAndWriteBAndOtherValuesShowSlash) {
  WriteIni("[DefaultValues]\nP1201M=X\nP1202M=S\n");
  std::vector<std::string> shown;
  RunSheet([&](HWND sheet) {
    SelectSheetTab(sheet, "Recording");
    HWND recording = CurrentSheetPage(sheet);
    for (int id = 101; id <= 107; ++id) shown.push_back(ControlTextOf(recording, id));
    PressButton(sheet, IDOK);
  });
  EXPECT_EQ(shown, (Keys{"B", "/", "B", "B", "S", "B", "B"}));
  // Keys already in the file keep their place; the agent page showed first and its (empty)
  // keys come before the recording keys that were missing, which are written "B".
  EXPECT_EQ(
      IniSection("DefaultValues"),
      (Keys{"P1201M=/", "P1202M=S", "SANAME=", "SACOMPANY=", "SASTREET=", "SACITY=", "SASTATE=",
            "SAZIP=", "SATAXID=", "P1201D=B", "P1201R=B", "P1202D=B", "P1203D=B", "P1203M=B"}));

  // A new file takes "X" as it stands in the file (the page has not written it yet).
  WriteIni("[DefaultValues]\nP1201M=X\n");
  RespaWindow* view = OpenFile("D-2");
  CloseFile(view);
  EXPECT_EQ(TableText(kExpense4Table, "D-2", 5), "X");
  EXPECT_EQ(TableText(kExpense4Table, "D-2", 3), "B");
}

TEST_F(DefaultValuesSheetTest, AnEmptyOrZeroDayCountIsRefusedAndTheSheetStaysOnItsPage) {
  WriteIni("[DefaultValues]\nPA106DAYS=365\n");
  std::string before = IniText();
  std::vector<MessageBoxRequest> boxes;
  bool stayedOpen = false;
  std::string currentTab;
  RunSheet([&](HWND sheet) {
    SelectSheetTab(sheet, "Prorations");
    HWND days = CurrentSheetPage(sheet);
    Set(days, 103, "0");
    SelectSheetTab(sheet, "Property");
    PressButton(sheet, IDOK);
    stayedOpen = IsWindowVisible(sheet) != FALSE;
    stayedOpen = stayedOpen && CurrentSheetPage(sheet) == days;
    boxes = Boxes().Shown();
    Set(days, 103, "");
    PressButton(sheet, IDOK);
    EXPECT_EQ(Boxes().Shown().size(), 2u);
    PressButton(sheet, IDCANCEL);
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Enter a day count from 1 to 999.");
  EXPECT_EQ(boxes[0].caption, "Zarne Message");
  EXPECT_TRUE(boxes[0].type & MB_ICONEXCLAMATION);
  // Nothing was written by any page.
  EXPECT_EQ(IniText(), before);
}

TEST_F(DefaultValuesSheetTest, AnExistingZeroDayCountStillReachesANewFile) {
  WriteIni("[DefaultValues]\nPA107DAYS=0\nPA108DAYS=-4\n");
  RespaWindow* view = OpenFile("D-3");
  CloseFile(view);
  EXPECT_EQ(TableLong(kSummary1Table, "D-3", 23), 0);
  EXPECT_EQ(TableLong(kSummary1Table, "D-3", 28), 365);
}

TEST_F(DefaultValuesSheetTest, DamagedValuesInBothSectionsGiveDefaultsAndLoseNothingElse) {
  WriteIni(
      "[System]\nDirPrivate=C:\\P\n"
      "[HUD1Options]\nMaxWindows=9\nPrivacy=-3\nDateSig=0\n"
      "[DefaultValues]\nSANAME=?junk\nPTAXYEAR=-7\nPA106DAYS=-2\nP1201D=?\nPCOUNTY=Kent\n"
      "[Other]\nX=1\n");
  ReadHud1Options();
  EXPECT_EQ(gHud1Options.MaxWindows, 1);
  EXPECT_EQ(gHud1Options.Privacy, 0);
  EXPECT_EQ(gHud1Options.DateSig, 0);
  RespaWindow* view = OpenFile("D-4");
  CloseFile(view);
  EXPECT_EQ(TableText(kSagentTable, "D-4", 2), "");
  EXPECT_EQ(TableLong(kSummary1Table, "D-4", 18), 365);
  EXPECT_EQ(TableText(kExpense4Table, "D-4", 3), "B");
  EXPECT_EQ(TableText(kPropertyTable, "D-4", 7), "Kent");
  int month, day, year;
  DecodeDate(TodayDate(), month, day, year);
  EXPECT_EQ(TableLong(kPropertyTable, "D-4", 8), year);
  Keys defaults = IniSection("DefaultValues");
  auto has = [&](const std::string& key) {
    return std::find(defaults.begin(), defaults.end(), key) != defaults.end();
  };
  EXPECT_TRUE(has("SANAME="));
  EXPECT_TRUE(has("PTAXYEAR=" + std::to_string(year)));
  EXPECT_TRUE(has("PA106DAYS=365"));
  EXPECT_TRUE(has("P1201D=B"));
  EXPECT_TRUE(has("PCOUNTY=Kent"));
  EXPECT_EQ(IniSection("System"), (Keys{"DirPrivate=C:\\P"}));
  EXPECT_EQ(IniSection("Other"), (Keys{"X=1"}));
  EXPECT_EQ(IniSection("HUD1Options"),
            (Keys{"MaxWindows=1", "Privacy=0", "DateSig=0", "AutoClose=1", "Maximize=1",
                  "PrintOptions=1", "SigPage3=0", "GDILines=1"}));
}

}  // namespace
