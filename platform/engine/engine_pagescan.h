/*
** The records whose key column holds a number below a bound, read straight from the pages of
** the records tree while a statement of the connection holds the file's shared lock: what a
** total over most of a large file needs, for a fraction of the cost of having SQLite step
** through every row and hand each value over one call at a time.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PAGESCAN_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PAGESCAN_H

#include "platform/engine/engine_record.h"

#include <cstdint>
#include <vector>

namespace zarne::engine {

/* A record read from a page, as the reading hands it on: its values are read when asked
   for, so that a taker reads only those it needs. Valid during the call it comes with. */
struct PageRecord {
  /* The stored form of the i-th column wanted. */
  StoredForm Form(size_t i) const;
  /* The stored bytes of the first wordColumns columns wanted (each value's kind, then its
     bytes) in one word, their count in its top byte: equal for two records only when those
     values are stored alike (the kinds fix each value's length). 0 when a kind takes more
     than one byte or they take more than seven in all. */
  uint64_t Word() const;

  const unsigned char* payload = nullptr;  // the record's bytes
  const uint64_t* serials = nullptr;       // each value's kind, by field number
  const uint64_t* offsets = nullptr;       // where each value lies in payload, by field number
  const int* columns = nullptr;            // the field numbers wanted
  size_t wordColumns = 0;
};

/* Hands `take` (with context) each record whose column keyField holds an integer below
   `below` (a record holding no number there comes after the bound, as SQLite orders values),
   its values wanted being those of `columns` (field numbers), in no particular order; take
   answers false to stop. Answers false when the file cannot be read this way: the connection is
   inside a transaction of its own, the file holds something this reading does not know (a
   record spilling onto further pages, a value of a reserved kind, a key holding a real
   number, another text encoding, a write-ahead log) or a page that does not parse. Records
   handed on before then do not count: the caller totals with SQLite instead, which reports
   any damage. The record's word (PageRecord::Word) covers its first `wordColumns` columns:
   records of a group met before are known by it without a look at their forms.
   Records go with the first of `contexts`; when the leaves are many, they are split among
   threads, one context each (so take touches only the context it is handed, and the caller
   merges what the contexts gathered). */
using RecordTaker = bool (*)(void* context, const PageRecord& record);
bool ScanRecordsBelow(sqlite3* db, int keyField, long long below, const std::vector<int>& columns,
                      size_t wordColumns, RecordTaker take, const std::vector<void*>& contexts);

}  // namespace zarne::engine

#endif
