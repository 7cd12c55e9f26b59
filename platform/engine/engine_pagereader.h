/*
** Reading the records of a table file straight from its pages, without SQLite, for the
** salvage of a damaged file. The record tree is walked from its root; a page that does not
** hold what was written (its check value fails, or it is cut short or not a page of the
** kind expected) costs only the records stored on it. When the tree above the leaves is
** lost (the header page, the schema or an inner page of the records), every leaf page of
** the file that belongs to no other tree is read as well, so an intact leaf is never lost.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PAGEREADER_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PAGEREADER_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zarne::engine {

/* One stored value as the file holds it. */
struct PageValue {
  int kind = 5;  // SQLITE_INTEGER 1, SQLITE_FLOAT 2, SQLITE_TEXT 3, SQLITE_BLOB 4, SQLITE_NULL 5
  long long integer = 0;
  double real = 0;
  std::string bytes;  // text or blob
};

struct PageRow {
  long long rowid = 0;
  std::vector<PageValue> values;
};

/* What a reading of the file found. */
struct PageReading {
  bool fileRead = false;        // the file could be read at all
  bool structureFound = false;  // header and schema read, the record tree's root known
  bool checked = false;         // the pages carry check values
  long long damagedPages = 0;   // pages of the records (or of the tree above) not trusted
  long long recordsRead = 0;    // rows handed on
  long long indexEntries = -1;  // records the primary index holds, when it reads whole
  bool otherDamage = false;     // a page of no record (an index, the header) is damaged
  bool Damaged() const { return !structureFound || damagedPages > 0; }
};

/* Reads every intact record of the records table of the file at path, in row id order
   along the tree and then from lost leaves, handing each row (columns as stored, at most
   `columns`) to take; take answers false to stop. A row whose id was handed on already is
   not handed on again. */
bool ReadRecordPages(const std::string& path, int columns,
                     const std::function<bool(const PageRow&)>& take, PageReading* reading,
                     std::string* problem);

/* True when the file at path is whole and each of its pages holds its check value (a file
   without check values counts as intact: only SQLite can judge it). */
bool PagesIntact(const std::string& path);

}  // namespace zarne::engine

#endif
