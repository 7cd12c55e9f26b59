/*
** Field scripts from real .zbi files in the database directory, loaded as start-up loads
** them and run by the recalculation: which file wins a field, the write-back and the totals
** after it, scripts that write their own field or each other's, errors, empty and damaged
** files, an unreadable file and a read-only directory.
*/
#include "platform/kernel/paths.h"
#include "statement/recalc_dispatch.h"
#include "statement/recalc_field_scripts.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/px_globals.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class RecalcFieldScripts : public StatementTablesTest {
 protected:
  void SetUp() override {
    StatementTablesTest::SetUp();
    gFieldScripts.clear();
  }
  void TearDown() override {
    gFieldScripts.clear();
    StatementTablesTest::TearDown();
  }

  static std::string HostPath(const std::string& name) {
    return HostPathFromWindowsPath((std::string(gDatabaseDir) + "\\" + name).c_str());
  }
  static void WriteScript(const std::string& name, const std::string& text) {
    std::ofstream(HostPath(name), std::ios::binary) << text;
  }

  /* Commits an amount into a field by id, as the edit commit does. */
  void CommitAmount(int id, double amount) {
    SetById(id, amount);
    RecalcForField(view, Field(id));
  }

  /* A stale loan charge no rule has summed yet: only a full recalculation brings it to
     line 1400. */
  void LeaveAStaleCharge() { SetDouble(kExpense1Table, 16, 3.25); }
  bool StaleChargeSummed() { return Double(kExpense4Table, 49) == 3.25; }
};

/* When the tests run as root, file modes do not bind: such a test runs itself again as an
   ordinary user and passes when that run passes. Answers true when it did so. */
bool RanAsOrdinaryUser(int* status) {
  if (geteuid() != 0) return false;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string command = "/usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups " +
                        std::filesystem::read_symlink("/proc/self/exe").string() +
                        " --gtest_filter=" + test->test_suite_name() + "." + test->name() +
                        " > /dev/null 2>&1";
  *status = std::system(command.c_str());
  return true;
}

}  // namespace

TEST_F(RecalcFieldScripts, LowerCaseFileFindsItsFieldAndItsBuiltInRulesNeverRun) {
  WriteScript("pa700.zbi", "A700 = 500\n");
  WriteScript("a101.zbi", "A102 = A101 * 2\n");
  WriteScript("NOSUCHFIELD.zbi", "A102 = 9\n");
  LoadFieldScripts();
  EXPECT_TRUE(Shown().empty());
  ASSERT_EQ(gFieldScripts.size(), 2u);
  ASSERT_NE(FindFieldScript(Field(213)), nullptr);
  EXPECT_STREQ(FindFieldScript(Field(213))->Text(), "A102 = A101 * 2\n");

  SetDouble(kExpense1Table, 3, 6);
  CommitAmount(370, 100000);  // the built-in commission would give 6000
  EXPECT_EQ(Double(kExpense1Table, 4), 500.0);
  EXPECT_EQ(Double(kExpense1Table, 5), 250.0);  // A700's own write-back split it
  EXPECT_EQ(Double(kExpense4Table, 50), 500.0);

  CommitAmount(213, 1000.25);
  EXPECT_EQ(Double(kSummary1Table, 4), 2000.5);
  EXPECT_EQ(Double(kSummary1Table, 38), 3000.75);
  EXPECT_EQ(Double(kSummary2Table, 59), 3000.75);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecalcFieldScripts, AnOldCopyLosesToTheFileNamedAfterTheField) {
  WriteScript("A101.OLD.zbi", "A102 = 1\n");
  WriteScript("A101.zbi", "A102 = 2\n");
  WriteScript("a102.bak.zbi", "A104 = 1\n");
  WriteScript("a102.old.zbi", "A104 = 2\n");
  LoadFieldScripts();
  ASSERT_EQ(gFieldScripts.size(), 2u);
  CommitAmount(213, 5);
  EXPECT_EQ(Double(kSummary1Table, 4), 2.0);
  // Neither copy is named after the field: the first in name order wins.
  CommitAmount(214, 5);
  EXPECT_EQ(Double(kSummary1Table, 8), 1.0);
}

TEST_F(RecalcFieldScripts, AScriptWritingItsOwnFieldRunsOnceWithoutABox) {
  WriteScript("A101.zbi", "A101 = A101 + 1\n");
  LoadFieldScripts();
  LeaveAStaleCharge();
  CommitAmount(213, 10);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
  EXPECT_EQ(Double(kSummary1Table, 3), 11.0);
  EXPECT_EQ(Double(kSummary1Table, 38), 14.25);
  EXPECT_TRUE(StaleChargeSummed());
}

TEST_F(RecalcFieldScripts, AChainBackToTheFirstFieldStopsWithoutABox) {
  WriteScript("A101.zbi", "A102 = A102 + 1\n");
  WriteScript("A102.zbi", "A101 = A101 + 1\n");
  LoadFieldScripts();
  CommitAmount(213, 10);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
  EXPECT_EQ(Double(kSummary1Table, 3), 11.0);
  EXPECT_EQ(Double(kSummary1Table, 4), 1.0);
  EXPECT_EQ(Double(kSummary1Table, 38), 12.0);
  // Once the runs are over, the scripts run again on the next change: A102's raises A101,
  // whose own script raises A102 once more.
  CommitAmount(214, 5);
  EXPECT_EQ(Double(kSummary1Table, 3), 12.0);
  EXPECT_EQ(Double(kSummary1Table, 4), 6.0);
  EXPECT_EQ(Double(kSummary1Table, 38), 18.0);
}

TEST_F(RecalcFieldScripts, AScriptErrorStillEndsInTheFullRecalculation) {
  WriteScript("A101.zbi", "A102 = 7\nx = 1 / 0\nA102 = 8\n");
  LoadFieldScripts();
  LeaveAStaleCharge();
  CommitAmount(213, 1);
  ASSERT_EQ(Shown().size(), 1u);  // the interpreter's own box
  EXPECT_EQ(Double(kSummary1Table, 4), 7.0);
  EXPECT_TRUE(StaleChargeSummed());
  EXPECT_EQ(Double(kSummary1Table, 38), 11.25);
}

TEST_F(RecalcFieldScripts, EmptyAndDamagedFilesLoadAndOnlyRecalculate) {
  WriteScript("A101.zbi", "");
  WriteScript("A102.zbi", std::string("\x01\xff\x80 \x00\x7f=\xfe\n", 9) + "A104 = 3\n");
  LoadFieldScripts();
  ASSERT_EQ(gFieldScripts.size(), 2u);
  EXPECT_STREQ(FindFieldScript(Field(213))->Text(), "");
  LeaveAStaleCharge();
  CommitAmount(213, 1);
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(StaleChargeSummed());
  CommitAmount(214, 2);  // whatever the damaged text does, the file stays coherent
  EXPECT_EQ(Double(kSummary1Table, 8), 0.0);  // the text after the NUL is not the script
  EXPECT_EQ(Double(kSummary1Table, 38), 6.25);
}

TEST_F(RecalcFieldScripts, AnUnreadableFileGivesItsBoxAndTheOthersLoad) {
  int status = 0;
  if (RanAsOrdinaryUser(&status)) {
    EXPECT_EQ(status, 0);
    return;
  }
  WriteScript("A101.zbi", "A102 = 1\n");
  WriteScript("A102.zbi", "A104 = 1\n");
  ASSERT_EQ(chmod(HostPath("A101.zbi").c_str(), 0), 0);
  LoadFieldScripts();
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Could not open file.");
  EXPECT_EQ(gFieldScripts.size(), 1u);
  EXPECT_EQ(FindFieldScript(Field(213)), nullptr);
  EXPECT_NE(FindFieldScript(Field(214)), nullptr);
}

TEST_F(RecalcFieldScripts, AReadOnlyDirectoryLoadsWithoutABox) {
  int status = 0;
  if (RanAsOrdinaryUser(&status)) {
    EXPECT_EQ(status, 0);
    return;
  }
  WriteScript("A101.zbi", "A102 = 1\n");
  ASSERT_EQ(chmod(HostPath("A101.zbi").c_str(), 0444), 0);
  std::string directory = HostPathFromWindowsPath(gDatabaseDir);
  ASSERT_EQ(chmod(directory.c_str(), 0555), 0);
  LoadFieldScripts();
  chmod(directory.c_str(), 0755);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
  ASSERT_NE(FindFieldScript(Field(213)), nullptr);
  EXPECT_STREQ(FindFieldScript(Field(213))->Text(), "A102 = 1\n");
}

TEST_F(RecalcFieldScripts, AnEndlessScriptStopsWithItsBoxAndTheStatementGoesOn) {
  WriteScript("A101.zbi", "A102 = 7\n:again\ngoto again\nA102 = 8\n");
  LoadFieldScripts();
  LeaveAStaleCharge();
  CommitAmount(213, 1);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Line 3\nScript ran too long (endless loop?).");
  EXPECT_EQ(Double(kSummary1Table, 4), 7.0);  // stored before the loop, kept
  EXPECT_TRUE(StaleChargeSummed());
  EXPECT_EQ(Double(kSummary1Table, 38), 11.25);  // 1 + 7 + the charge of 3.25
  // The next edit recalculates as ever: 1 + 2 + 3.25.
  CommitAmount(214, 2);
  EXPECT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Double(kSummary1Table, 38), 6.25);
}
