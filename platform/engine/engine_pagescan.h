/*
** The records whose key column holds a number below a bound, read straight from the pages of
** the records tree while a statement of the connection holds the file's shared lock: what a
** total over most of a large file needs, for a fraction of the cost of having SQLite step
** through every row and hand each value over one call at a time.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PAGESCAN_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PAGESCAN_H

#include "platform/engine/engine_record.h"

#include <vector>

namespace zarne::engine {

/* Hands `take` (with context) the stored forms of `columns` (field numbers) of each record
   whose column keyField holds an integer below `below` (a record holding no number there
   comes after the bound, as SQLite orders values), in no particular order; take answers
   false to stop. Answers false when the file cannot be read this way: the connection is
   inside a transaction of its own, the file holds something this reading does not know (a
   record spilling onto further pages, a value of a reserved kind, a key holding a real
   number, another text encoding, a write-ahead log) or a page that does not parse. Records
   handed on before then do not count: the caller totals with SQLite instead, which reports
   any damage. */
using RecordTaker = bool (*)(void* context, const StoredForm* forms);
bool ScanRecordsBelow(sqlite3* db, int keyField, long long below, const std::vector<int>& columns,
                      RecordTaker take, void* context);

}  // namespace zarne::engine

#endif
