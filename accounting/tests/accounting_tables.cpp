/*
** The accounting tests' tables: made in the fresh root with the creation library and opened
** into the program-wide table set.
*/
#include "accounting_tables.h"

#include "catalogue/tabgen32.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {
constexpr int kAccountTable = 14;
constexpr int kBankTable = 15;
}  // namespace

void AccountingTablesTest::SetUp() {
  GuiTest::SetUp();
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(Root().c_str());
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", Root().c_str());
  for (int i = 0; i < kSharedTableCount; ++i) {
    ASSERT_EQ(1, _CreateZarneTable(gDatabase, kSharedTableNames[i], Root().c_str()));
    gTables[i] = new TPXTable(kSharedTableNames[i], 0);
    ASSERT_TRUE(gTables[i]->IsOpen()) << kSharedTableNames[i];
  }
  gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  gBankRecord = new TPXRecord(gTables[kBankTable], false);
  gDefaultAccount = 0;
  ASSERT_EQ(0u, Shown().size()) << Shown()[0].text;
}

void AccountingTablesTest::TearDown() {
  delete gAccountRecord;
  delete gBankRecord;
  gAccountRecord = gBankRecord = nullptr;
  for (TPXTable*& table : gTables) {
    delete table;
    table = nullptr;
  }
  PXExit();
  GuiTest::TearDown();
}

void AccountingTablesTest::PutBank(SHORT key, const char* name) {
  TPXRecord bank(gTables[kBankTable], true);
  bank.Clear();
  bank.SetShort(1, key);
  bank.SetString(2, name);
  ASSERT_TRUE(bank.Post());
}

void AccountingTablesTest::PutTwentyBanks() {
  for (SHORT key = 0; key < 20; ++key) {
    char name[32];
    std::snprintf(name, sizeof name, "Account %d", key);
    PutBank(key, name);
  }
}
