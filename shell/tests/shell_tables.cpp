/*
** The shell tests' tables, made fresh in each test's root.
*/
#include "shell_tables.h"

#include "tableaccess/tests/support/shared_tables.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>

void ShellTablesTest::SetUp() {
  GuiTest::SetUp();
  ASSERT_EQ("", OpenFreshSharedTables(Root().c_str()));
  OpenSharedRecords();
  gFileNumber[0] = '\0';
  ASSERT_TRUE(Boxes().Shown().empty());
}

void ShellTablesTest::TearDown() {
  CloseSharedTables();
  GuiTest::TearDown();
}

void ShellTablesTest::PutFile(int table, const std::string& number,
                              const std::vector<std::pair<int, std::string>>& texts) {
  TPXRecord record(gTables[table], true);
  record.Clear();
  record.SetString(1, number.c_str());
  for (const auto& [field, text] : texts) record.SetString(field, text.c_str());
  ASSERT_TRUE(record.Post());
}

bool ShellTablesTest::HasRecord(int table, const std::string& number) {
  TPXRecord record(gTables[table], true);
  record.SetString(1, number.c_str());
  return record.Seek(0, 0);
}

std::vector<std::string> ShellTablesTest::NumbersOf(int table) {
  std::vector<std::string> numbers;
  TPXRecord record(gTables[table], true);
  if (!record.First()) return numbers;
  do {
    char number[32] = "";
    record.Read(0);
    record.GetString(1, number, sizeof number);
    numbers.push_back(number);
  } while (record.Next());
  return numbers;
}
