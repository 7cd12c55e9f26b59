/*
** The statement window's life over real tables: a new file's thirteen records with the
** office's defaults, an existing file read as it is, saving only on Save, deactivation and
** close, a file another station holds, the options of [HUD1Options], and the front window.
*/
#include "statement/tests/window/statement_window_support.h"

#include "shell/tests/lock_probe_runner.h"

#include "platform/framework/mdi.h"
#include "platform/kernel/profile.h"
#include "platform/user/winuser.h"
#include "statement/active_window.h"
#include "statement/field_engine.h"
#include "statement/hud1_options.h"
#include "statement/one_controls.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>

namespace {

/* Today as the engine's day number (1 January of year 1 is day 1), worked out apart from
   the value forms: days since 1970-01-01 plus that day's number, 719163. */
LONG TodayDayNumber() {
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  using namespace std::chrono;
  sys_days day =
      year{local.tm_year + 1900} / month{unsigned(local.tm_mon + 1)} / unsigned(local.tm_mday);
  return static_cast<LONG>(day.time_since_epoch().count() + 719163);
}

int ThisYear() {
  std::time_t now = std::time(nullptr);
  return std::localtime(&now)->tm_year + 1900;
}

std::string IniValue(const char* section, const char* key) {
  char value[128] = "";
  GetPrivateProfileString(section, key, "<missing>", value, sizeof value, "zarne.ini");
  return value;
}

class RespaWindowTest : public StatementWindowTest {};

TEST_F(RespaWindowTest, NewFileGetsThirteenRecordsWithTheDefaultsWrittenBack) {
  RecordSeams();
  RespaWindow* view = OpenFile("2004-17");
  for (int table = 0; table < 13; ++table) EXPECT_TRUE(TableHas(table, "2004-17")) << table;
  EXPECT_FALSE(TableHas(13, "2004-17"));  // title items are not file records
  // The six day counts, the recording choices, tax year and the first tracking date.
  for (int field : {18, 23, 28}) EXPECT_EQ(TableLong(kSummary1Table, "2004-17", field), 365);
  for (int field : {31, 36, 41}) EXPECT_EQ(TableLong(kSummary2Table, "2004-17", field), 365);
  for (int field : {3, 5, 7, 11, 13, 17, 19})
    EXPECT_EQ(TableText(kExpense4Table, "2004-17", field), "B") << field;
  EXPECT_EQ(TableLong(kPropertyTable, "2004-17", 8), ThisYear());
  EXPECT_EQ(TableLong(kSagentTable, "2004-17", 17), TodayDayNumber());
  EXPECT_EQ(TableText(kSagentTable, "2004-17", 2), "");
  EXPECT_EQ(TableText(kBuyerTable, "2004-17", 2), "");
  // What was missing is now in zarne.ini.
  EXPECT_EQ(IniValue("DefaultValues", "PA106DAYS"), "365");
  EXPECT_EQ(IniValue("DefaultValues", "PA212DAYS"), "365");
  EXPECT_EQ(IniValue("DefaultValues", "P1201D"), "B");
  EXPECT_EQ(IniValue("DefaultValues", "P1203M"), "B");
  EXPECT_EQ(IniValue("DefaultValues", "SANAME"), "");
  EXPECT_EQ(IniValue("DefaultValues", "SATAXID"), "");
  EXPECT_EQ(IniValue("DefaultValues", "PTAXYEAR"), std::to_string(ThisYear()));
  // The twelve column sums ran once, and editing begins at the buyer's name.
  EXPECT_EQ(calls.columnSums, 12);
  ASSERT_NE(view->currentField, nullptr);
  EXPECT_EQ(view->currentField->fieldId, 102);
  EXPECT_TRUE(EditShown(view));
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(RespaWindowTest, DefaultValuesComeFromTheSettingsAndQuestionMarksCountAsMissing) {
  WritePrivateProfileString("DefaultValues", "SANAME", "Ann Agent", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "SACITY", "?unset", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "PA107DAYS", "0", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "PA210DAYS", "-4", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "P1202M", "X", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "P1201R", "?", "zarne.ini");
  WritePrivateProfileString("DefaultValues", "PTAXYEAR", "1999", "zarne.ini");
  OpenFile("D1");
  EXPECT_EQ(TableText(kSagentTable, "D1", 2), "Ann Agent");
  EXPECT_EQ(TableText(kSagentTable, "D1", 5), "");
  EXPECT_EQ(IniValue("DefaultValues", "SACITY"), "");
  EXPECT_EQ(TableLong(kSummary1Table, "D1", 23), 0);  // a count of 0 is used as it stands
  EXPECT_EQ(TableLong(kSummary2Table, "D1", 31), 365);
  EXPECT_EQ(IniValue("DefaultValues", "PA210DAYS"), "365");
  EXPECT_EQ(TableText(kExpense4Table, "D1", 13), "X");
  EXPECT_EQ(TableText(kExpense4Table, "D1", 7), "B");
  EXPECT_EQ(IniValue("DefaultValues", "P1201R"), "B");
  EXPECT_EQ(TableLong(kPropertyTable, "D1", 8), 1999);
}

TEST_F(RespaWindowTest, ExistingFileIsReadAndOnlyItsMissingRecordsAreCreated) {
  PutRecord(kBuyerTable, "OLD-1", {{2, "Jane Doe"}});
  PutRecord(kSagentTable, "OLD-1", {{2, "Kept Agent"}});
  RespaWindow* view = OpenFile("OLD-1");
  char name[81] = "";
  view->records[kBuyerTable]->GetString(2, name, sizeof name);
  EXPECT_STREQ(name, "Jane Doe");
  EXPECT_EQ(EditText(view), "Jane Doe");
  // The agent record existed: it gets no defaults; the missing ones were created.
  EXPECT_EQ(TableText(kSagentTable, "OLD-1", 2), "Kept Agent");
  EXPECT_EQ(TableLong(kSagentTable, "OLD-1", 17), static_cast<LONG>(0x80000000));
  EXPECT_EQ(TableLong(kSummary1Table, "OLD-1", 18), 365);
}

TEST_F(RespaWindowTest, EditsReachTheTablesOnlyOnSaveDeactivationAndClose) {
  RespaWindow* first = OpenFile("S-1");
  TypeAndTab(first, "Buyer One");
  EXPECT_EQ(TableText(kBuyerTable, "S-1", 2), "");  // only the buffer so far
  first->SendMessage(WM_COMMAND, 24333);            // File Save
  EXPECT_EQ(TableText(kBuyerTable, "S-1", 2), "Buyer One");

  // Typed but not committed: switching to another file's window saves it.
  EditField(first, 102);
  first->editLine->SetWindowText("Buyer Two");
  RespaWindow* second = OpenFile("S-2");
  EXPECT_EQ(TableText(kBuyerTable, "S-1", 2), "Buyer Two");
  EXPECT_EQ(GetActiveRespaWindow(client), second);

  // Closing saves without a question.
  EditField(second, 102);
  second->editLine->SetWindowText("Closing Buyer");
  CloseFile(second);
  EXPECT_EQ(TableText(kBuyerTable, "S-2", 2), "Closing Buyer");
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(RespaWindowTest, AnOpenFileIsLockedAgainstOtherProgramsUntilItCloses) {
  RespaWindow* view = OpenFile("LOCK-1");
  EXPECT_EQ(ProbeLock(Root(), "LOCK-1"), "refused");
  CloseFile(view);
  EXPECT_EQ(ProbeLock(Root(), "LOCK-1"), "locked");
}

TEST_F(RespaWindowTest, AFileHeldElsewhereGetsNoRecordsAndItsWindowCloses) {
  PutRecord(kBuyerTable, "HELD", {{2, "Held Buyer"}});
  LockHolder other(Root(), "HELD");
  ASSERT_EQ(other.Answer(), "held");
  RecordSeams();
  RespaWindow* view = OpenFile("HELD");
  // Only the engine's own report (its message and its context); nothing inserted over the
  // other station's file.
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Database Error");
  EXPECT_EQ(Boxes().Shown()[1].caption, "Error Context");
  for (int table = 1; table < 13; ++table) EXPECT_FALSE(TableHas(table, "HELD")) << table;
  EXPECT_EQ(TableText(kBuyerTable, "HELD", 2), "Held Buyer");
  EXPECT_EQ(calls.columnSums, 0);
  // The child closes through its posted close: no statement window is left.
  Pump();
  EXPECT_EQ(client->GetActiveMDIChild(), nullptr);
  EXPECT_EQ(GetActiveRespaWindow(client), nullptr);
  (void)view;
}

TEST_F(RespaWindowTest, ASaveWithoutAFileNumberWritesNothing) {
  RespaWindow* view = OpenFile("");
  EXPECT_EQ(calls.columnSums, 0);
  view->SendMessage(WM_COMMAND, 24333);
  TPXRecord buyers(gTables[kBuyerTable], true);
  EXPECT_FALSE(buyers.First());
  CloseFile(view);
  EXPECT_FALSE(buyers.First());
}

TEST_F(RespaWindowTest, OptionsAreReadRepairedAndWrittenBackInOrder) {
  WritePrivateProfileString("HUD1Options", "MaxWindows", "4", "zarne.ini");
  WritePrivateProfileString("HUD1Options", "Privacy", "-1", "zarne.ini");
  WritePrivateProfileString("HUD1Options", "AutoClose", "0", "zarne.ini");
  WritePrivateProfileString("HUD1Options", "SigPage3", "5", "zarne.ini");
  WritePrivateProfileString("HUD1Options", "GDILines", "0", "zarne.ini");
  ReadHud1Options();
  EXPECT_EQ(gHud1Options.AutoClose, 0);
  EXPECT_EQ(gHud1Options.Maximize, 1);
  EXPECT_EQ(gHud1Options.MaxWindows, 1);
  EXPECT_EQ(gHud1Options.Privacy, 0);
  EXPECT_EQ(gHud1Options.PrintOptions, 1);
  EXPECT_EQ(gHud1Options.SigPage3, 0);
  EXPECT_EQ(gHud1Options.GDILines, 0);
  EXPECT_EQ(gHud1Options.DateSig, 1);
  EXPECT_EQ(IniValue("HUD1Options", "AutoClose"), "0");  // valid values stay as they are
  EXPECT_EQ(IniValue("HUD1Options", "Maximize"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "MaxWindows"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "Privacy"), "0");
  EXPECT_EQ(IniValue("HUD1Options", "SigPage3"), "0");
  EXPECT_EQ(IniValue("HUD1Options", "DateSig"), "1");
  // A section written from nothing holds its keys in the order they are read.
  std::ifstream ini(Root() + "/windows/zarne.ini");
  std::stringstream text;
  text << ini.rdbuf();
  std::string all = text.str();
  EXPECT_LT(all.find("PrintOptions"), all.find("DateSig"));
}

TEST_F(RespaWindowTest, MissingOptionsGetEveryDefault) {
  ReadHud1Options();
  EXPECT_EQ(IniValue("HUD1Options", "AutoClose"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "Maximize"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "MaxWindows"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "Privacy"), "0");
  EXPECT_EQ(IniValue("HUD1Options", "PrintOptions"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "SigPage3"), "0");
  EXPECT_EQ(IniValue("HUD1Options", "DateSig"), "1");
  EXPECT_EQ(IniValue("HUD1Options", "GDILines"), "1");
}

}  // namespace
