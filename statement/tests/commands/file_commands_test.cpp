/*
** Save As and Merge over real tables, with the file-number dialog driven and the tables read
** afterwards by a second program: both numbers' records, the window's number, caption and
** lock, the refusal of a number open in another window, the fields and title items a merge
** brings and the totals it works out again, and numbers that are empty or unknown.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/testing/dialog_driver.h"
#include "platform/testing/other_programs.h"
#include "platform/user/winuser.h"
#include "shell/tests/lock_probe_runner.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstdio>
#include <sstream>

namespace {

using Lines = std::vector<std::string>;

/* The file's records of a table as another program reads them: one line per record. */
Lines ReadByOtherStation(const std::string& directory, const char* table, const std::string& number) {
  std::string command = std::string("'") + STATEMENT_RECORD_READER + "' '" + directory + "' " +
                        table + " '" + number + "'";
  return ProgramLines(command);
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '|')) fields.push_back(field);
  return fields;
}

class FileCommandsTest : public StatementCommandsTest {
 protected:
  /* Field n (1-based) of the file's one record in a table, read by the second program. */
  std::string Stored(int table, const std::string& number, int field) {
    Lines lines = ReadByOtherStation(Root(), kSharedTableNames[table], number);
    if (lines.size() != 1) return "<" + std::to_string(lines.size()) + " records>";
    std::vector<std::string> fields = Fields(lines[0]);
    return field <= static_cast<int>(fields.size()) ? fields[field - 1] : "<no field>";
  }
  int RecordCount(int table, const std::string& number) {
    return static_cast<int>(ReadByOtherStation(Root(), kSharedTableNames[table], number).size());
  }
  /* Runs a command whose file-number dialog is answered with the number. */
  void RunWithNumber(RespaWindow* view, UINT command, const std::string& number) {
    DialogDriver driver;
    driver.OnDialog(20000, [&](HWND dialog) {
      SetControlText(dialog, 101, number);
      PressButton(dialog, IDOK);
    });
    view->SendMessage(WM_COMMAND, command);
    Pump();
    EXPECT_EQ(driver.Pending(), 0u);
  }
  void PutAmounts(int table, const std::string& number, const std::vector<std::pair<int, double>>& amounts) {
    TPXRecord record(gTables[table], true);
    record.Clear();
    record.SetString(1, number.c_str());
    for (const auto& [field, value] : amounts) record.SetDouble(field, value);
    ASSERT_TRUE(record.Post());
  }
  void PutTitleItem(const std::string& number, const char* type, double seq, const char* text) {
    TPXRecord record(gTables[kTitleBTable], true);
    record.Clear();
    record.SetString(1, number.c_str());
    record.SetString(2, type);
    record.SetDouble(3, seq);
    record.SetString(5, "B");
    ASSERT_TRUE(record.Insert());
    ASSERT_TRUE(record.SetString(4, text));  // a memo is written with its record
  }
  std::string Caption(RespaWindow* view) {
    char text[64] = "";
    GetWindowText(view->Parent->HWindow, text, sizeof text);
    return text;
  }
};

TEST_F(FileCommandsTest, SaveAsMovesTheWindowWithItsRecordsCaptionAndLockToTheNewNumber) {
  RespaWindow* view = OpenFile("S-1");
  Type(view, 102, "Buyer One");
  Type(view, 213, "1000");
  TypeOnly(view, 214, "55");  // typed, not committed
  RunWithNumber(view, 24334, "S-2");

  for (int table = 0; table < kFileRecordCount; ++table) {
    EXPECT_EQ(RecordCount(table, "S-1"), 1) << table;
    EXPECT_EQ(RecordCount(table, "S-2"), 1) << table;
  }
  EXPECT_EQ(Stored(kBuyerTable, "S-2", 2), "Buyer One");
  EXPECT_EQ(Stored(kSummary1Table, "S-2", 3), "1000.00");
  EXPECT_EQ(Stored(kSummary1Table, "S-2", 4), "55.00");
  EXPECT_STREQ(view->fileNumber, "S-2");
  EXPECT_EQ(Caption(view), "S-2");
  EXPECT_EQ(ProbeLock(Root(), "S-2"), "refused");
  EXPECT_EQ(ProbeLock(Root(), "S-1"), "locked");

  // Later edits are saved under the new number only.
  Type(view, 213, "2000");
  view->SendMessage(WM_COMMAND, 24333);
  Pump();
  EXPECT_EQ(Stored(kSummary1Table, "S-2", 3), "2000.00");
  EXPECT_NE(Stored(kSummary1Table, "S-1", 3), "2000.00");
  EXPECT_EQ(RecordCount(kBuyerTable, "S-1"), 1);

  CloseFile(view);
  EXPECT_EQ(ProbeLock(Root(), "S-2"), "locked");
}

TEST_F(FileCommandsTest, SaveAsOverAClosedFileTakesItsLockFromTheDialogAndFreesItAtTheEnd) {
  PutRecord(kBuyerTable, "S-4", {{2, "Old Owner"}});
  RespaWindow* view = OpenFile("S-1");
  Type(view, 102, "New Owner");
  Boxes().QueueAnswer(IDYES);  // "Do you want to overwrite [S-4]?"
  RunWithNumber(view, 24334, "S-4");
  EXPECT_EQ(Stored(kBuyerTable, "S-4", 2), "New Owner");
  EXPECT_EQ(RecordCount(kBuyerTable, "S-4"), 1);
  EXPECT_EQ(ProbeLock(Root(), "S-4"), "refused");
  EXPECT_EQ(ProbeLock(Root(), "S-1"), "locked");
  // The dialog locked S-4 while it checked the number; no lock of it outlives the window.
  CloseFile(view);
  EXPECT_EQ(ProbeLock(Root(), "S-4"), "locked");
}

TEST_F(FileCommandsTest, ARecordThatFailsToPostKeepsTheWindowOnItsOwnFile) {
  for (int table = 0; table < kFileRecordCount; ++table) PutRecord(table, "S-6");
  // Another station holds the agent record of S-6: writing over it fails.
  HeldProgram station(CommandLine(STATEMENT_RECORD_READER, {Root(), "SAGENT", "S-6", "hold"}),
                      Root() + "/.record_holder_answer");
  ASSERT_EQ(station.Answer(), "held");
  RespaWindow* view = OpenFile("S-1");
  Type(view, 102, "Buyer One");
  Boxes().QueueAnswer(IDYES);  // "Do you want to overwrite [S-6]?"
  RunWithNumber(view, 24334, "S-6");
  // The overwrite question, then the table layer's report of the refused write.
  ASSERT_GE(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Do you want to overwrite [S-6]?");
  EXPECT_EQ(Boxes().Shown()[1].text, "Record locked by another user.");
  EXPECT_STREQ(view->fileNumber, "S-1");
  EXPECT_EQ(Caption(view), "S-1");
  EXPECT_EQ(ProbeLock(Root(), "S-1"), "refused");
  EXPECT_EQ(ProbeLock(Root(), "S-6"), "locked");
  station.Release();
  // The buffers are keyed back to the window's own number: a save writes there.
  view->SendMessage(WM_COMMAND, 24333);
  Pump();
  EXPECT_EQ(Stored(kBuyerTable, "S-1", 2), "Buyer One");
  EXPECT_EQ(RecordCount(kSagentTable, "S-1"), 1);
}

TEST_F(FileCommandsTest, SaveAsOntoANumberOpenInAnotherWindowIsRefused) {
  RespaWindow* first = OpenFile("S-1");
  RespaWindow* other = OpenFile("S-3");
  ASSERT_NE(other, nullptr);
  Type(first, 102, "Buyer One");
  Boxes().QueueAnswer(IDYES);  // "Do you want to overwrite [S-3]?"
  RunWithNumber(first, 24334, "S-3");
  std::vector<std::string> texts = BoxTexts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "File [S-3] is open in another window.");
  EXPECT_EQ(Boxes().Shown().back().caption, "Zarne Message");
  EXPECT_TRUE(Boxes().Shown().back().type & MB_ICONEXCLAMATION);
  EXPECT_EQ(Stored(kBuyerTable, "S-3", 2), "");
  EXPECT_STREQ(first->fileNumber, "S-1");
  EXPECT_EQ(Caption(first), "S-1");
  EXPECT_EQ(ProbeLock(Root(), "S-1"), "refused");
}

TEST_F(FileCommandsTest, SaveAsOrMergeWithAnEmptyOrUnknownNumberWritesNothingElsewhere) {
  RespaWindow* view = OpenFile("B-1");
  Type(view, 102, "Kept Buyer");
  Boxes().QueueAnswer(IDYES);  // "No file number has been entered.  Do you wish to continue?"
  RunWithNumber(view, 24334, "");
  EXPECT_STREQ(view->fileNumber, "B-1");
  EXPECT_EQ(RecordCount(kBuyerTable, ""), 0);

  Boxes().QueueAnswer(IDYES);
  RunWithNumber(view, 1, "");
  RunWithNumber(view, 1, "NOPE");
  for (int table = 0; table < kFileRecordCount; ++table) EXPECT_EQ(RecordCount(table, "NOPE"), 0) << table;
  EXPECT_EQ(EditText(view), "");  // editing begins again after a merge
  view->SendMessage(WM_COMMAND, 24333);
  Pump();
  EXPECT_EQ(Stored(kBuyerTable, "B-1", 2), "Kept Buyer");
}

class MergeTest : public FileCommandsTest {
 protected:
  void SetUp() override {
    FileCommandsTest::SetUp();
    PutRecord(kBuyerTable, "M-2", {{2, "Other Buyer"}, {12, "Other Second"}});
    PutAmounts(kSummary1Table, "M-2", {{3, 1000.0}, {4, 50.0}});
    PutTitleItem("M-2", "1A", 1.5, "Recording one");
    PutTitleItem("M-2", "2", 2.5, "Exception two");
    PutTitleItem("M-3", "2", 3.5, "Another file's");
  }
};

TEST_F(MergeTest, MergeFillsBlankFieldsKeepsSetOnesAddsTitleItemsAndRecalculates) {
  RespaWindow* view = OpenFile("M-1");
  Type(view, 112, "Mine Second");
  Type(view, 214, "25");
  TypeOnly(view, 217, "7");  // typed, not committed
  RunWithNumber(view, 1, "M-2");

  EXPECT_EQ(Stored(kBuyerTable, "M-1", 2), "Other Buyer");
  EXPECT_EQ(Stored(kBuyerTable, "M-1", 12), "Mine Second");
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 3), "1000.00");
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 4), "25.00");
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 8), "7.00");
  // Line 120 = 101 + 102 + 104 on the borrower's side (1000 + 25 + 7); line 420 = 401 + 402
  // on the seller's (1000 + 25); lines 301 and 601 carry them, and with nothing paid or
  // reduced, 303 and 603 equal them.
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 38), "1032.00");
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 39), "1025.00");
  EXPECT_EQ(Stored(kSummary2Table, "M-1", 59), "1032.00");
  EXPECT_EQ(Stored(kSummary2Table, "M-1", 60), "1025.00");

  Lines items = ReadByOtherStation(Root(), "TITLEB", "M-1");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Fields(items[0]), (std::vector<std::string>{"M-1", "1A", "1.50", "Recording one", "B"}));
  EXPECT_EQ(Fields(items[1]), (std::vector<std::string>{"M-1", "2", "2.50", "Exception two", "B"}));
  EXPECT_EQ(ReadByOtherStation(Root(), "TITLEB", "M-2").size(), 2u);
}

TEST_F(MergeTest, ASecondMergeAddsAndOverwritesNothingAndMergingIntoItselfDoesNothing) {
  RespaWindow* view = OpenFile("M-1");
  RunWithNumber(view, 1, "M-2");
  // This file's own item changes; the next merge must leave it.
  TPXRecord item(gTables[kTitleBTable], true);
  item.SetString(1, "M-1");
  ASSERT_TRUE(item.Seek(1, ENGINE_KEY_EQ) && item.Read(ENGINE_NO_LOCK));
  item.SetString(4, "Edited here");
  ASSERT_TRUE(item.Post());
  Type(view, 102, "Renamed Buyer");

  RunWithNumber(view, 1, "M-2");
  Lines items = ReadByOtherStation(Root(), "TITLEB", "M-1");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(Fields(items[0])[3], "Edited here");
  EXPECT_EQ(Stored(kBuyerTable, "M-1", 2), "Renamed Buyer");

  RunWithNumber(view, 1, "M-1");
  EXPECT_EQ(ReadByOtherStation(Root(), "TITLEB", "M-1").size(), 2u);
  EXPECT_EQ(Stored(kSummary1Table, "M-1", 3), "1000.00");
}

}  // namespace
