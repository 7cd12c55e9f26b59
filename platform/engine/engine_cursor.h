/*
** A cursor: one walk over a table in the order of one of its indexes, positioned by key so
** that it stays valid while other programs write. Rows are fetched through statements
** cached per cursor and reset after each use; a few rows read ahead serve the next steps
** only while the file is unchanged, as does the knowledge that a seek found nothing.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_CURSOR_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_CURSOR_H

#include "platform/engine/engine_tablefile.h"
#include "platform/engine/rowid_set.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

struct EngineCursor__ {
  using TableFile = zarne::engine::TableFile;
  using IndexInfo = zarne::engine::IndexInfo;

  struct Row {
    long long rowid = 0;
    std::vector<char> record;
    bool partial = false;  // some fields were not decoded (a walk's row)
    unsigned layout = 0;   // the walk's choice of fields it was decoded for
  };
  enum class Where { kBegin, kEnd, kOnRecord, kCrack };

  std::shared_ptr<TableFile> file;
  const IndexInfo* index = nullptr;  // null: record order of the file
  std::vector<int> order;            // field numbers the walk is ordered by
  bool rowidTail = true;             // row id ends the order (no unique index)
  bool readOnly = false;
  bool holdsTableLock = false;  // opened exclusively

  Where where = Where::kBegin;
  std::vector<char> key;  // current record, or the key of a crack
  long long keyRowid = 0;
  int crackPrefix = 0;          // order fields of the key that count at a crack
  bool crackInclusive = false;  // a crack before the key (search) or after it (delete)
  uint64_t keyStamp = 0;        // file stamp when key was read as a record
  bool keyPartial = false;      // key holds only the fields a walk decodes
  unsigned keyLayout = 0;       // and which choice of fields (0: none)

  std::vector<char> fieldsRead;    // by field number: the caller read it through the cursor
  bool wholeRecords = false;       // the caller uses whole records (writes them back)
  std::vector<int> walkFields;     // the fields the walk's statements now select
  unsigned walkLayout = 1;         // numbers each choice of walkFields
  std::vector<char> unreadRecord;  // a record with every field marked unread

  std::vector<Row> ahead;  // rows read ahead; the first aheadCount are valid
  size_t aheadCount = 0;
  size_t aheadNext = 0;
  uint64_t aheadStamp = 0;
  bool aheadToEnd = false;  // no row follows those read ahead (while aheadStamp holds)
  int batch = 1;

  // Seeks that found nothing, by statement and key, while the file stays as it was then:
  // a client walking a file's title items asks again and again for types it has none of.
  struct Miss {
    int statement = -1;
    uint64_t stamp = 0;
    std::vector<char> key;
  };
  std::array<Miss, 4> misses;
  size_t nextMiss = 0;

  // Records this walk has met, in one direction, since the file last changed: a damaged
  // index can lead a walk back to them, and the walk must end rather than go round.
  zarne::engine::RowidSet met;
  uint64_t metStamp = 0;
  bool metForward = true;

  std::map<int, sqlite3_stmt*> statements;
  std::map<std::pair<const void*, int>, std::string> openBlobs;

  ~EngineCursor__();
};

namespace zarne::engine {

/* Makes a cursor over file in the order of index (null: record order). */
EngineCursor NewCursor(std::shared_ptr<TableFile> file, const IndexInfo* index);
bool IsOpenCursor(EngineCursor cursor);
EngineResult CloseCursor(EngineCursor cursor);

/* The ORDER BY terms of the cursor's walk. */
std::string OrderByClause(EngineCursor cursor, bool descending);

/* Fails (and records why) unless cursor is open. */
EngineResult CheckCursor(EngineCursor cursor);

/* "Table <path>": the first context text of a failure on the cursor's table. */
std::string TableContext(EngineCursor cursor);

/* Prepares sql as the cursor's statement id and keeps it; null on failure. */
sqlite3_stmt* PrepareCursorStatement(EngineCursor cursor, int id, const std::string& sql);

/* The first id of the statements of a walk: their texts name the fields its caller reads. */
constexpr int kFirstWalkStatement = 1000;

/* A statement of the cursor, prepared once and kept; id names its text, which makeSql
   builds only the first time on the file and index (a walk's, each time on the cursor). */
template <typename MakeSql>
sqlite3_stmt* CursorStatement(EngineCursor cursor, int id, MakeSql makeSql) {
  auto found = cursor->statements.find(id);
  if (found != cursor->statements.end()) return found->second;
  if (id >= kFirstWalkStatement) return PrepareCursorStatement(cursor, id, makeSql());
  std::string& text = cursor->file->StatementText(cursor->index, id);
  if (text.empty()) text = makeSql();
  return PrepareCursorStatement(cursor, id, text);
}

/* The record of that row id, read whole; exists false when there is none. */
EngineResult ReadRowById(EngineCursor cursor, long long rowid, EngineCursor__::Row* row,
                         bool* exists);

/* Drops the rows read ahead (after the cursor moved or wrote). */
void ForgetReadAhead(EngineCursor cursor);

/* Puts the cursor on row (now its current record, read at stamp). */
void SetOnRecord(EngineCursor cursor, const EngineCursor__::Row& row, uint64_t stamp);
/* Reads the current record again whole by its row id and puts the cursor on it (read at stamp):
   for a record another program may have changed since the cursor read it. */
EngineResult RereadCurrent(EngineCursor cursor, uint64_t stamp);
/* Puts the cursor on the record it has just written whole, as row rowid. */
void SetOnWritten(EngineCursor cursor, long long rowid, const char* record, uint64_t stamp);

/* The lock hash of the current record. */
uint64_t CurrentLockHash(EngineCursor cursor);

/* Takes the write lock of the current record for the cursor. */
EngineResult LockCurrent(EngineCursor cursor);

/* The blob content a record buffer's blob field stands for: the open blob, or the content
   stored in the row its slot names. mode 1: content in value; 2: copy from row value. */
void BlobForWrite(EngineCursor cursor, const void* record, const FieldInfo& field, int* mode,
                  const std::string** content, long long* sourceRowid);

}  // namespace zarne::engine

#endif
