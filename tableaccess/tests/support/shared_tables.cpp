/*
** Making, opening and closing the tests' shared tables.
*/
#include "tableaccess/tests/support/shared_tables.h"

#include "catalogue/tabgen32.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>

namespace {}  // namespace

std::string OpenFreshSharedTables(const char* directory, const char* privateDirectory) {
  PXInit();
  if (privateDirectory != nullptr) PXSetPrivateDir(privateDirectory);
  PXOpenDatabase();
  PXSetDirectory(directory);
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", directory);
  for (int i = 0; i < kSharedTableCount; ++i) {
    if (_CreateZarneTable(gDatabase, kSharedTableNames[i], directory) != 1)
      return std::string("could not make ") + kSharedTableNames[i];
    gTables[i] = new TPXTable(kSharedTableNames[i], 0);
    if (!gTables[i]->IsOpen()) return std::string("could not open ") + kSharedTableNames[i];
  }
  return "";
}

void OpenSharedRecords() {
  gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  gBankRecord = new TPXRecord(gTables[kBankTable], false);
}

void CloseSharedTables() {
  delete gAccountRecord;
  delete gBankRecord;
  gAccountRecord = gBankRecord = nullptr;
  for (TPXTable*& table : gTables) {
    delete table;
    table = nullptr;
  }
  PXExit();
}
