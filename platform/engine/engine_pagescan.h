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
#include <cstring>
#include <vector>

namespace zarne::engine {

// How a record's values are stored, for reading them from a page. In this header so that
// a reader's taker, which reads a few values of every record, reads them without a call.

/* The bytes a value of that serial type takes; -1 for the kinds reserved for later use. */
inline long long SerialLength(uint64_t type) {
  static const signed char kLengths[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, -1, -1};
  if (type < 12) return kLengths[type];
  return static_cast<long long>((type - 12) / 2);
}

/* SerialLength of each serial type below 0x80, looked up. */
struct OneByteLengths {
  signed char bytes[0x80];
  constexpr OneByteLengths() : bytes() {
    for (int type = 0; type < 0x80; ++type) {
      bytes[type] = static_cast<signed char>(type < 12 ? (type == 10 || type == 11 ? -1 : 0)
                                                       : (type - 12) / 2);
    }
    const signed char kNumbers[] = {0, 1, 2, 3, 4, 6, 8, 8};
    for (int type = 0; type < 8; ++type) bytes[type] = kNumbers[type];
  }
};
inline constexpr OneByteLengths kOneByteLengths;

/* The stored form of a value of that serial type at data (SerialLength(type) bytes). */
inline StoredForm FormOf(uint64_t type, const unsigned char* data) {
  StoredForm form;
  if (type >= 12) {
    form.kind = type % 2 ? SQLITE_TEXT : SQLITE_BLOB;
    form.bytes = data;
    form.size = static_cast<int>((type - 12) / 2);
    return form;
  }
  uint64_t bits = 0;
  switch (type) {
    case 0: return form;
    case 7: {
      std::memcpy(&bits, data, 8);
      bits = __builtin_bswap64(bits);
      form.kind = SQLITE_FLOAT;
      std::memcpy(&form.real, &bits, sizeof bits);
      return form;
    }
    case 8:
    case 9:
      form.kind = SQLITE_INTEGER;
      form.integer = type == 9;
      return form;
    case 6:
      std::memcpy(&bits, data, 8);
      bits = __builtin_bswap64(bits);
      break;
    default:
      for (int i = 0; i < kOneByteLengths.bytes[type]; ++i) bits = (bits << 8) | data[i];
      break;
  }
  // A big-endian two's complement number of that many bytes, widened with its sign.
  const int unused = 64 - kOneByteLengths.bytes[type] * 8;
  form.kind = SQLITE_INTEGER;
  form.integer = static_cast<long long>(bits << unused) >> unused;
  return form;
}

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

inline StoredForm PageRecord::Form(size_t i) const {
  const int column = columns[i];
  return FormOf(serials[column], payload + offsets[column]);
}

inline uint64_t PageRecord::Word() const {
  uint64_t word = 0;
  uint64_t used = 0;
  for (size_t i = 0; i < wordColumns; ++i) {
    const int column = columns[i];
    const uint64_t serial = serials[column];
    if (serial >= 0x80) return 0;
    const int length = kOneByteLengths.bytes[serial];  // never a reserved kind: refused before
    used += 1 + uint64_t(length);
    if (used > 7) return 0;
    word = (word << 8) | serial;
    const unsigned char* data = payload + offsets[column];
    for (int b = 0; b < length; ++b) word = (word << 8) | data[b];
  }
  return used == 0 ? 0 : word | (used << 56);
}

}  // namespace zarne::engine

#endif
