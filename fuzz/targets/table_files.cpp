/*
** Fuzz target: a damaged file of any table but ACCOUNT (which table_rebuild has to itself),
** read and rebuilt as table_damage.cpp describes. The first byte chooses the table.
*/
#include "fuzz/table_damage.h"
#include "rebuild/rebuild_catalog.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::vector<std::string> tables;
  for (const RebuildEntry& entry : kRebuildCatalog)
    if (std::strcmp(entry.tableName, "ACCOUNT") != 0) tables.push_back(entry.tableName);
  TableDamageSetUp(tables);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TableDamageRun(data[0], data + 1, size - 1);
  return 0;
}
