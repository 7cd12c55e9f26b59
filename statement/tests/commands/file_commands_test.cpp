/*
** Save As and Merge over real tables, with the file-number dialog driven and the tables read
** afterwards by a second program: both numbers' records, the window's number, caption and
** lock, the refusal of a number open in another window, the fields and title items a merge
** brings and the totals it works out again, and numbers that are empty or unknown; a save,
** killed at a change to disk stores all its tables or none.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/engine/engine_test_hooks.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/other_programs.h"
#include "platform/user/winuser.h"
#include "shell/tests/lock_probe_runner.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

/* The file's records of a table as another program reads them: one line per record. */
Lines ReadByOtherStation(const std::string& directory, const char* table,
                         const std::string& number) {
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
  void PutAmounts(int table, const std::string& number,
                  const std::vector<std::pair<int, double>>& amounts) {
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
  for (int table = 0; table < kFileRecordCount; ++table)
    EXPECT_EQ(RecordCount(table, "NOPE"), 0) << table;
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
  EXPECT_EQ(Fields(items[0]),
            (std::vector<std::string>{"M-1", "1A", "1.50", "Recording one", "B"}));
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

namespace {

/* The first text field after the file number of each file table long enough for the test's
   texts, where it writes. */
std::vector<int> TextFieldOfEachTable() {
  std::vector<int> fields;
  for (int table = 0; table < kFileRecordCount; ++table) {
    int found = 0;
    for (int field = 2; field <= gTables[table]->FieldCount() && found == 0; ++field)
      if (gTables[table]->FieldDesc(field)->type == ENGINE_FLD_STRING &&
          gTables[table]->FieldDesc(field)->units1 >= 12)
        found = field;
    fields.push_back(found);
  }
  return fields;
}

BOOL CALLBACK HideWindow(HWND window, LPARAM) {
  ShowWindow(window, SW_HIDE);
  return TRUE;
}

/* Runs the command in a child process killed at its killAt-th change to disk (0: not
   killed); answers the changes the command made when it ran whole (-1 when killed), or
   kStuck when it neither ended nor was killed within a minute. */
constexpr long kStuck = -2;

long RunKilledAt(long killAt, const std::function<void()>& command) {
  int counts[2];
  if (pipe(counts) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    close(counts[0]);
    // The copy paints nothing: the painter's helper threads were not copied with it. Only
    // its own windows: another program's would be asked over a socket that the parent,
    // waiting here, never answers.
    EnumChildWindows(nullptr, HideWindow, 0);
    const long before = EngineTestWriteCount();
    EngineTestKillAtWrite(killAt);
    command();
    long writes = EngineTestWriteCount() - before;
    if (write(counts[1], &writes, sizeof writes) != sizeof writes) _exit(1);
    _exit(0);
  }
  close(counts[1]);
  long writes = -1;
  pollfd answer{counts[0], POLLIN, 0};
  if (poll(&answer, 1, 60000) != 1) writes = kStuck;
  else if (read(counts[0], &writes, sizeof writes) != sizeof writes) writes = -1;
  close(counts[0]);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return writes;
}

/* Every change (ZARNE_KILL_STEP=n tries every n-th only, and the last). */
std::vector<long> KillPoints(long writes) {
  const char* text = std::getenv("ZARNE_KILL_STEP");
  const long step = text ? std::max(1L, std::atol(text)) : 1;
  std::vector<long> points;
  for (long at = 1; at < writes; at += step) points.push_back(at);
  points.push_back(writes);
  return points;
}

/* A file's records in each of the fourteen tables, in table order. */
using StoredFile = std::vector<Lines>;

class KilledSaveTest : public FileCommandsTest {
 protected:
  /* The file as a station that starts afresh reads it, table after table: the first table
     it opens settles what a killed writer left in that file's journal before the others
     are looked at. */
  StoredFile Read(const std::string& number) {
    std::string tables;
    for (int table = 0; table <= kTitleBTable; ++table)
      tables += std::string(table ? "," : "") + kSharedTableNames[table];
    StoredFile stored;
    for (const std::string& line : ReadByOtherStation(Root(), tables.c_str(), number)) {
      if (!line.empty() && line[0] == '=') stored.emplace_back();
      else if (!stored.empty()) stored.back().push_back(line);
    }
    return stored;
  }
  /* Field n (1-based) of the only record of a table, or a note of what is there instead. */
  static std::string FieldOf(const StoredFile& stored, int table, int field) {
    if (static_cast<int>(stored.size()) <= table) return "<no table>";
    if (stored[table].size() != 1) return "<" + std::to_string(stored[table].size()) + " records>";
    std::vector<std::string> fields = Fields(stored[table][0]);
    return field <= static_cast<int>(fields.size()) ? fields[field - 1] : "<no field>";
  }
  /* The tables (of the thirteen) whose text field holds text. */
  static std::string Holding(const StoredFile& stored, const std::vector<int>& fields,
                             const std::string& text) {
    std::string holding;
    for (int table = 0; table < kFileRecordCount; ++table)
      holding += FieldOf(stored, table, fields[table]) == text ? '+' : '-';
    return holding;
  }

  /* Runs command killed at every change to disk it makes. Before each run, prepare(n) sets
     up what run n writes; after it, the file must read entirely as before the run, or
     entirely as written, which written(n, stored) tells (empty) or says why not. */
  void KillAtEveryChange(const std::string& what, const std::string& number,
                         const std::function<void(long)>& prepare,
                         const std::function<void()>& command,
                         const std::function<std::string(long, const StoredFile&)>& written) {
    prepare(0);
    const long writes = RunKilledAt(0, command);
    ASSERT_GT(writes, kFileRecordCount);
    StoredFile before = Read(number);
    ASSERT_EQ(written(0, before), "") << what << " not killed";
    int asBefore = 0, asWritten = 0;
    for (long at : KillPoints(writes)) {
      prepare(at);
      ASSERT_NE(RunKilledAt(at, command), kStuck) << what << " killed at change " << at;
      StoredFile now = Read(number);
      if (now == before) {
        ++asBefore;
        continue;
      }
      const std::string why = written(at, now);
      ASSERT_EQ(why, "") << what << " killed at change " << at << " of " << writes
                         << ": the file is neither as before nor as written";
      ++asWritten;
      before = now;
    }
    std::printf("%s: %ld changes, each one killed: %d left the file as before, %d as written\n",
                what.c_str(), writes, asBefore, asWritten);
    EXPECT_GT(asBefore, 0);
    EXPECT_GT(asWritten, 0);
  }
};

TEST_F(KilledSaveTest, ASaveKilledAtAnyChangeStoresAllItsTablesOrNone) {
  const std::vector<int> fields = TextFieldOfEachTable();
  for (int field : fields) ASSERT_GT(field, 0);
  RespaWindow* view = OpenFile("K-1");
  auto text = [](long run) { return "save " + std::to_string(run); };
  KillAtEveryChange(
      "File Save", "K-1",
      [&](long run) {
        for (int table = 0; table < kFileRecordCount; ++table)
          view->records[table]->SetString(fields[table], text(run).c_str());
      },
      [&] { view->SendMessage(WM_COMMAND, 24333); },
      [&](long run, const StoredFile& stored) {
        const std::string holding = Holding(stored, fields, text(run));
        return holding == std::string(kFileRecordCount, '+')
                   ? ""
                   : "tables holding the save: " + holding;
      });
}

TEST_F(KilledSaveTest, ASaveAsOverAnotherFileKilledAtAnyChangeLeavesItAsItWasOrAsWritten) {
  const std::vector<int> fields = TextFieldOfEachTable();
  for (int table = 0; table < kFileRecordCount; ++table)
    PutRecord(table, "T-9", {{fields[table], "T-9's own"}});
  RespaWindow* view = OpenFile("K-1");
  auto text = [](long run) { return "save as " + std::to_string(run); };
  KillAtEveryChange(
      "Save As over T-9", "T-9",
      [&](long run) {
        for (int table = 0; table < kFileRecordCount; ++table)
          view->records[table]->SetString(fields[table], text(run).c_str());
      },
      [&] {
        Boxes().QueueAnswer(IDYES);  // "Do you want to overwrite [T-9]?"
        RunWithNumber(view, 24334, "T-9");
      },
      [&](long run, const StoredFile& stored) {
        const std::string holding = Holding(stored, fields, text(run));
        return holding == std::string(kFileRecordCount, '+')
                   ? ""
                   : "tables holding the Save As: " + holding;
      });
  // The window's own file took none of it.
  const StoredFile own = Read("K-1");
  for (int table = 0; table < kFileRecordCount; ++table)
    EXPECT_EQ(FieldOf(own, table, fields[table]).rfind("save as", 0), std::string::npos)
        << kSharedTableNames[table];
}

TEST_F(KilledSaveTest, AMergeKilledAtAnyChangeLeavesTheFileAsItWasOrMergedWhole) {
  const std::vector<int> fields = TextFieldOfEachTable();
  RespaWindow* view = OpenFile("M-1");
  Type(view, 214, "25");  // line 102, the window's own
  auto text = [](long run) { return "merge " + std::to_string(run); };
  KillAtEveryChange(
      "Merge of M-2 into M-1", "M-1",
      [&](long run) {
        // Each run merges other texts, another 101 and another title item from M-2, M-2's
        // only one, so that every run makes as many changes as the first.
        for (int table = 0; table < kFileRecordCount; ++table)
          if (table != kSummary1Table) PutRecord(table, "M-2", {{fields[table], text(run)}});
        PutAmounts(kSummary1Table, "M-2", {{3, 1000.0 + run}});
        TPXRecord item(gTables[kTitleBTable], true);
        item.SetString(1, "M-2");
        while (item.Seek(1, ENGINE_KEY_EQ)) ASSERT_TRUE(item.Delete());
        PutTitleItem("M-2", "2", static_cast<double>(run), text(run).c_str());
      },
      [&] { RunWithNumber(view, 1, "M-2"); },
      [&](long run, const StoredFile& stored) -> std::string {
        std::string holding = Holding(stored, fields, text(run));
        holding[kSummary1Table] =
            FieldOf(stored, kSummary1Table, 3) == std::to_string(1000 + run) + ".00" ? '+' : '-';
        if (holding != std::string(kFileRecordCount, '+')) return "tables merged: " + holding;
        // 120 = 101 + 102 on the borrower's side, carried to 301 on the second page.
        const std::string total = std::to_string(1025 + run) + ".00";
        if (FieldOf(stored, kSummary1Table, 38) != total ||
            FieldOf(stored, kSummary2Table, 59) != total)
          return "totals " + FieldOf(stored, kSummary1Table, 38) + " and " +
                 FieldOf(stored, kSummary2Table, 59) + ", not " + total;
        const std::string item = "M-1|2|" + std::to_string(run) + ".00|" + text(run) + "|B";
        const Lines& items = stored[kTitleBTable];
        if (std::find(items.begin(), items.end(), item) == items.end())
          return "no title item " + item;
        return "";
      });
}

}  // namespace
