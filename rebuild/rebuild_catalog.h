/*
** The rebuild catalogue: for each of the system's seventeen tables, the names of its backup,
** key-violation and problems tables, and its creation descriptor from the table catalogue.
*/
#ifndef ZARNE_REBUILD_REBUILD_CATALOG_H
#define ZARNE_REBUILD_REBUILD_CATALOG_H

#include "platform/engine/engine.h"

constexpr int kRebuildTableCount = 17;

/* One row. The key-violation name is listed but not used: the rebuild hands the engine no
   key-violation table, so clashes go to the problems table. */
struct RebuildEntry {
  char tableName[9];
  char backupName[9];
  char keyViolationName[9];
  char problemsName[9];
  const EngineTableCreateDesc* desc;
};

/* The rows in their fixed order, BUYER first (EXTRA stands before TITLEA). */
// Owner: rebuild.
extern const RebuildEntry kRebuildCatalog[kRebuildTableCount];

/* The first row whose table name equals name exactly (case-sensitive); null for none. */
const RebuildEntry* FindRebuildEntry(const char* name);

#endif
