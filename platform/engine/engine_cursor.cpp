/*
** Cursors: their life, their statements and the walk over the records in index order.
** A position is a key (and row id), never a live statement, so nothing holds the file
** between calls and other programs may write at any time.
*/
#include "platform/engine/engine_cursor.h"

#include "platform/engine/engine_partread.h"
#include "platform/engine/engine_record.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace zarne::engine {
namespace {

enum StatementId {
  kFirst = 1,
  kLast = 2,
  kAfter = 3,
  kBefore = 4,
  kByRowid = 5,
  kFromPrefix = 100,
  kBeforePrefix = 200,
  kEqualPrefix = 300,
  kWalk = kFirstWalkStatement,  // added to the ids of the statements that select a walk's
                                // fields only
};

// Each fetch takes and drops the file's shared lock and looks for a journal: a long walk
// pays that once per thousand rows. The rows read ahead are used only while the file is
// unchanged, so a larger batch changes what a walk costs, never what it reads.
constexpr int kMaxBatch = 1024;

std::unordered_set<EngineCursor>& LiveCursors() {
  static std::unordered_set<EngineCursor> live;
  return live;
}

/* The row id and the fields given, all of them when none are. */
std::string SelectList(EngineCursor cursor, const std::vector<int>& fields = {}) {
  const TableSchema& schema = cursor->file->schema();
  std::string list = "rowid";
  if (fields.empty()) {
    for (const FieldInfo& field : schema.fields) list += ", " + SelectExpression(field);
  }
  for (int number : fields) list += ", " + SelectExpression(schema.Field(number));
  return list;
}

/* The order terms, count of them (the row id is one term when it ends the order). */
std::vector<std::string> OrderTerms(EngineCursor cursor) {
  const TableSchema& schema = cursor->file->schema();
  std::vector<std::string> terms;
  for (size_t i = 0; i < cursor->order.size(); ++i) {
    bool own = cursor->index && i < cursor->index->keyFields.size();
    terms.push_back(own ? KeyColumn(schema, *cursor->index, cursor->order[i])
                        : ColumnName(cursor->order[i]));
  }
  if (cursor->rowidTail) terms.push_back("rowid");
  return terms;
}

std::string RowValue(const std::vector<std::string>& terms, size_t count) {
  std::string text = "(";
  for (size_t i = 0; i < count; ++i) text += (i ? ", " : "") + terms[i];
  return text + ")";
}

std::string Placeholders(size_t count) {
  std::string text = "(";
  for (size_t i = 0; i < count; ++i) text += i ? ", ?" : "?";
  return text + ")";
}

size_t FullTermCount(EngineCursor cursor) {
  return cursor->order.size() + (cursor->rowidTail ? 1 : 0);
}

/* The statement for a step from the cursor's position, and how many key terms it binds;
   with walk, it selects only the walk's fields. */
sqlite3_stmt* StepStatement(EngineCursor cursor, bool forward, bool walk, size_t* boundTerms) {
  auto text = [cursor, forward, walk](const std::string& where) {
    return "SELECT " + SelectList(cursor, walk ? cursor->walkFields : std::vector<int>()) +
           " FROM records " + where + " ORDER BY " + OrderByClause(cursor, !forward) + " LIMIT ?";
  };
  int offset = walk ? kWalk : 0;
  using Where = EngineCursor__::Where;
  if (cursor->where == Where::kBegin || cursor->where == Where::kEnd) {
    *boundTerms = 0;
    return CursorStatement(cursor, offset + (forward ? kFirst : kLast), [&] { return text(""); });
  }
  if (cursor->where == Where::kCrack && cursor->crackInclusive) {
    size_t m = static_cast<size_t>(cursor->crackPrefix);
    *boundTerms = m;
    return CursorStatement(cursor, offset + (forward ? kFromPrefix : kBeforePrefix) + int(m), [&] {
      return text("WHERE " + RowValue(OrderTerms(cursor), m) + (forward ? " >= " : " < ") +
                  Placeholders(m));
    });
  }
  size_t all = FullTermCount(cursor);
  *boundTerms = all;
  return CursorStatement(cursor, offset + (forward ? kAfter : kBefore), [&] {
    return text("WHERE " + RowValue(OrderTerms(cursor), all) + (forward ? " > " : " < ") +
                Placeholders(all));
  });
}

/* Binds the first count order terms from the cursor's key (the row id last). */
void BindKey(EngineCursor cursor, sqlite3_stmt* stmt, size_t count) {
  const TableSchema& schema = cursor->file->schema();
  for (size_t i = 0; i < count; ++i) {
    if (i < cursor->order.size()) {
      BindStored(stmt, int(i) + 1, schema.Field(cursor->order[i]), cursor->key.data());
    } else {
      sqlite3_bind_int64(stmt, int(i) + 1, cursor->keyRowid);
    }
  }
}

/* The column of a field in a row selected with fields (all fields when empty). */
int ColumnOf(const std::vector<int>& fields, int number) {
  if (fields.empty()) return number;
  return int(std::lower_bound(fields.begin(), fields.end(), number) - fields.begin()) + 1;
}

/* True when the row's values of the fields the walk is ordered by read back exactly. A
   key the record cannot hold (text longer than its field, a NUL inside it, a number of
   another kind) would position the next step before the row, so the walk met it again
   and again. */
bool OrderKeyFits(EngineCursor cursor, sqlite3_stmt* stmt, const std::vector<int>& fields) {
  const TableSchema& schema = cursor->file->schema();
  for (int number : cursor->order) {
    sqlite3_value* value = sqlite3_column_value(stmt, ColumnOf(fields, number));
    if (!StoredValueFits(value, schema.Field(number))) return false;
  }
  return true;
}

/* Decodes the selected row into row: every field, or only fields (the rest marked unread). */
void DecodeRow(EngineCursor cursor, sqlite3_stmt* stmt, const std::vector<int>& fields,
               EngineCursor__::Row* row) {
  const TableSchema& schema = cursor->file->schema();
  row->rowid = sqlite3_column_int64(stmt, 0);
  size_t size = size_t(schema.recordSize);
  if (fields.empty()) {
    row->record.resize(size);
    row->partial = false;
    row->layout = 0;
    for (const FieldInfo& field : schema.fields) {
      DecodeColumn(stmt, field.number, field, row->record.data(), row->rowid);
    }
    return;
  }
  // A buffer decoded for the same fields before has its unread marks in place already.
  if (row->layout != cursor->walkLayout || row->record.size() != size) {
    if (cursor->unreadRecord.size() != size) {
      cursor->unreadRecord.assign(size, 0);
      for (const FieldInfo& field : schema.fields) {
        cursor->unreadRecord[size_t(field.nullOffset)] = kUnreadField;
      }
    }
    row->record = cursor->unreadRecord;
  }
  row->partial = true;
  row->layout = cursor->walkLayout;
  char* record = row->record.data();
  for (size_t i = 0; i < fields.size(); ++i) {
    DecodeColumn(stmt, int(i) + 1, schema.Field(fields[i]), record, row->rowid);
  }
}

/* Runs a bound row statement (limit already bound) into rows, reusing their buffers;
   count receives how many rows came. The statement selects fields (all when empty). The
   rows stop before one whose order key does not fit its fields; the table is damaged
   there, which is the answer when no row came. done, when given, receives whether the
   statement ran to its end (not stopped by a damaged row). */
EngineResult CollectRows(EngineCursor cursor, sqlite3_stmt* stmt,
                         std::vector<EngineCursor__::Row>* rows, size_t* count,
                         const std::vector<int>& fields = {}, bool* done = nullptr) {
  *count = 0;
  if (done) *done = false;
  int rc;
  long long unfit = 0;
  bool stopped = false;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    if (!OrderKeyFits(cursor, stmt, fields)) {
      unfit = sqlite3_column_int64(stmt, 0);
      stopped = true;
      break;
    }
    if (*count == rows->size()) rows->emplace_back();
    DecodeRow(cursor, stmt, fields, &(*rows)[(*count)++]);
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (stopped) {
    if (*count > 0) return ENGINE_OK;
    return Fail(ENGINE_ERR_TABLEDAMAGED,
                {TableContext(cursor),
                 "Record " + std::to_string(unfit) + " holds a key its fields cannot hold"});
  }
  if (rc != SQLITE_DONE) { return FailSqlite(rc, cursor->file->db(), {TableContext(cursor)}); }
  if (done) *done = true;
  return ENGINE_OK;
}

/* Brings the cursor's walk statements in line with the fields its caller now reads:
   statements for another choice of fields go back to the file. True when the walk reads
   fewer than all fields. */
bool ChooseWalkFields(EngineCursor cursor) {
  std::vector<int> fields = WalkFields(cursor);
  if (fields != cursor->walkFields) {
    for (auto it = cursor->statements.begin(); it != cursor->statements.end();) {
      if (it->first < kWalk) {
        ++it;
        continue;
      }
      cursor->file->GiveBackStatement(it->second);
      it = cursor->statements.erase(it);
    }
    cursor->walkFields = std::move(fields);
    ++cursor->walkLayout;
  }
  return !cursor->walkFields.empty();
}

/* Fetches up to limit rows from the position; walk: a walk that keeps stepping, which
   decodes only the fields its caller reads. atEnd, when given, receives whether no row
   follows the last one fetched. */
EngineResult FetchStep(EngineCursor cursor, bool forward, int limit, bool walk,
                       std::vector<EngineCursor__::Row>* rows, size_t* count,
                       bool* atEnd = nullptr) {
  walk = walk && ChooseWalkFields(cursor);
  size_t bound = 0;
  sqlite3_stmt* stmt = StepStatement(cursor, forward, walk, &bound);
  if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
  BindKey(cursor, stmt, bound);
  sqlite3_bind_int(stmt, int(bound) + 1, limit);
  bool done = false;
  EngineResult result =
      CollectRows(cursor, stmt, rows, count, walk ? cursor->walkFields : std::vector<int>(), &done);
  // A statement that stops at its limit also ends, with the table's next rows still unread.
  if (atEnd) *atEnd = done && *count < size_t(limit);
  return result;
}

void CopyOut(EngineCursor cursor, void* record) {
  if (!record) return;
  if (!RefillWalkFields(cursor, record)) {
    std::copy(cursor->key.begin(), cursor->key.end(), static_cast<char*>(record));
  }
  NoteRecordFilled(cursor, record);
}

/* Takes the lock the caller asked for on the record the cursor is now on. */
EngineResult AfterArrival(EngineCursor cursor, DWORD lockMode, void* record) {
  EngineResult result = ENGINE_OK;
  if (lockMode == ENGINE_WRITE_LOCK) result = LockCurrent(cursor);
  CopyOut(cursor, record);
  return result;
}

/* A walk starts from a new position: which fields it reads is learnt afresh from its
   first record (a cursor shared by several callers reads different fields for each). */
void StartWalk(EngineCursor cursor) {
  std::fill(cursor->fieldsRead.begin(), cursor->fieldsRead.end(), 0);
  cursor->wholeRecords = false;
  cursor->met.clear();
}

/* A walk over an unchanged file meets each record once in each direction. Meeting one
   again means the index leads back to records already passed (a damaged table): the
   walk ends with an error instead of going round for ever. A changed file, or a file
   whose change counter cannot be read, may rightly show a moved record again. */
EngineResult MeetRecord(EngineCursor cursor, bool forward, long long rowid, uint64_t stamp) {
  if (stamp == 0 || stamp != cursor->metStamp || forward != cursor->metForward) {
    cursor->met.clear();
    cursor->metStamp = stamp;
    cursor->metForward = forward;
  }
  if (cursor->met.insert(rowid)) return ENGINE_OK;
  cursor->met.clear();
  return Fail(ENGINE_ERR_TABLEDAMAGED,
              {TableContext(cursor),
               "Record " + std::to_string(rowid) + " comes again in the order of the index"});
}

/* The first m key fields of the cursor's index, null flags included, are alike in a and b. */
bool SameKeyFields(EngineCursor cursor, const char* a, const char* b, size_t m) {
  const TableSchema& schema = cursor->file->schema();
  for (size_t i = 0; i < m; ++i) {
    const FieldInfo& field = schema.Field(cursor->index->keyFields[i]);
    if (std::memcmp(a + field.offset, b + field.offset, size_t(field.length)) != 0 ||
        a[field.nullOffset] != b[field.nullOffset])
      return false;
  }
  return true;
}

/* True when a search for the first m key fields of record can only find the record the
   cursor stands on, as read while the file is still unchanged: the whole key of a unique
   index, byte for byte the current record's. Its answer is that record, with no statement
   and no lock on the file; a change committed since by any program makes the stamp differ. */
bool SeeksCurrentRecord(EngineCursor cursor, const char* record, size_t m, uint64_t stamp) {
  if (cursor->where != EngineCursor__::Where::kOnRecord || cursor->keyPartial || stamp == 0 ||
      stamp != cursor->keyStamp || !cursor->index->unique || m != cursor->index->keyFields.size())
    return false;
  return SameKeyFields(cursor, record, cursor->key.data(), m);
}

/* The seek by that statement from that key found nothing, and the file has not changed
   since: it would find nothing again. */
bool KnownMiss(EngineCursor cursor, int statement, const char* record, size_t m, uint64_t stamp) {
  if (stamp == 0) return false;
  for (const EngineCursor__::Miss& miss : cursor->misses)
    if (miss.statement == statement && miss.stamp == stamp &&
        SameKeyFields(cursor, record, miss.key.data(), m))
      return true;
  return false;
}

/* The answer to a seek that found nothing. A search from the key (>=) found no record at
   or after it, so while the file is unchanged a step on from there ends the walk without a
   query. */
EngineResult NotFound(EngineCursor cursor, DWORD condition, uint64_t stamp) {
  ForgetReadAhead(cursor);
  if (condition == ENGINE_KEY_GEQ && stamp != 0) {
    cursor->aheadStamp = stamp;
    cursor->aheadToEnd = true;
  }
  return Fail(ENGINE_ERR_RECNOTFOUND, {TableContext(cursor)});
}

void NoteMiss(EngineCursor cursor, int statement, const char* record, uint64_t stamp) {
  if (stamp == 0) return;
  EngineCursor__::Miss& miss = cursor->misses[cursor->nextMiss++ % cursor->misses.size()];
  miss.statement = statement;
  miss.stamp = stamp;
  miss.key.assign(record, record + cursor->file->schema().recordSize);
}

EngineResult CheckLockMode(DWORD lockMode) {
  if (lockMode != ENGINE_NO_LOCK && lockMode != ENGINE_WRITE_LOCK) {
    return Fail(ENGINE_ERR_NOTSUPPORTED, {"Lock mode " + std::to_string(lockMode)});
  }
  return ENGINE_OK;
}

}  // namespace

std::string OrderByClause(EngineCursor cursor, bool descending) {
  std::vector<std::string> terms = OrderTerms(cursor);
  std::string clause;
  for (size_t i = 0; i < terms.size(); ++i) {
    clause += (i ? ", " : "") + terms[i] + (descending ? " DESC" : "");
  }
  return clause;
}

EngineCursor NewCursor(std::shared_ptr<TableFile> file, const IndexInfo* index) {
  EngineCursor cursor = new EngineCursor__;
  cursor->file = std::move(file);
  cursor->index = index;
  const TableSchema& schema = cursor->file->schema();
  if (index) {
    cursor->order = index->keyFields;
    cursor->rowidTail = !index->unique;
    const IndexInfo* primary = schema.Primary();
    if (!index->unique && primary) {
      for (int number : primary->keyFields) {
        if (std::find(cursor->order.begin(), cursor->order.end(), number) == cursor->order.end()) {
          cursor->order.push_back(number);
        }
      }
      cursor->rowidTail = false;
    }
  }
  cursor->key.assign(schema.recordSize, 0);
  LiveCursors().insert(cursor);
  return cursor;
}

/* The cursor checked last: a walk asks about the same cursor at every step. */
// Owner: platform/engine.
static EngineCursor gLastLiveCursor = nullptr;

bool IsOpenCursor(EngineCursor cursor) {
  if (cursor && cursor == gLastLiveCursor) return true;
  if (LiveCursors().count(cursor) == 0) return false;
  gLastLiveCursor = cursor;
  return true;
}

EngineResult CheckCursor(EngineCursor cursor) {
  if (!IsOpenCursor(cursor)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Cursor is not open"});
  return ENGINE_OK;
}

std::string TableContext(EngineCursor cursor) { return "Table " + cursor->file->hostPath(); }

sqlite3_stmt* PrepareCursorStatement(EngineCursor cursor, int id, const std::string& sql) {
  sqlite3_stmt* stmt = cursor->file->TakeSpareStatement(sql);
  if (!stmt && sqlite3_prepare_v3(cursor->file->db(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT,
                                  &stmt, nullptr) != SQLITE_OK) {
    return nullptr;
  }
  cursor->statements[id] = stmt;
  return stmt;
}

void ForgetReadAhead(EngineCursor cursor) {
  cursor->aheadCount = 0;
  cursor->aheadNext = 0;
  cursor->aheadStamp = 0;
  cursor->aheadToEnd = false;
  cursor->batch = 1;
}

void SetOnRecord(EngineCursor cursor, const EngineCursor__::Row& row, uint64_t stamp) {
  cursor->where = EngineCursor__::Where::kOnRecord;
  cursor->key = row.record;
  cursor->keyRowid = row.rowid;
  cursor->keyStamp = stamp;
  cursor->keyPartial = row.partial;
  cursor->keyLayout = row.layout;
}

void SetOnWritten(EngineCursor cursor, long long rowid, const char* record, uint64_t stamp) {
  cursor->where = EngineCursor__::Where::kOnRecord;
  cursor->key.assign(record, record + cursor->file->schema().recordSize);
  cursor->keyRowid = rowid;
  cursor->keyStamp = stamp;
  cursor->keyPartial = false;
  cursor->keyLayout = 0;
}

EngineResult ReadRowById(EngineCursor cursor, long long rowid, EngineCursor__::Row* row,
                         bool* exists) {
  *exists = false;
  sqlite3_stmt* stmt = CursorStatement(cursor, kByRowid, [cursor] {
    return "SELECT " + SelectList(cursor) + " FROM records WHERE rowid = ? LIMIT ?";
  });
  if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
  sqlite3_bind_int64(stmt, 1, rowid);
  sqlite3_bind_int(stmt, 2, 1);
  std::vector<EngineCursor__::Row> rows;
  size_t count = 0;
  if (EngineResult r = CollectRows(cursor, stmt, &rows, &count)) return r;
  if (count == 0) return ENGINE_OK;
  *row = std::move(rows[0]);
  *exists = true;
  return ENGINE_OK;
}

EngineResult RereadCurrent(EngineCursor cursor, uint64_t stamp) {
  EngineCursor__::Row row;
  bool exists = false;
  if (EngineResult r = ReadRowById(cursor, cursor->keyRowid, &row, &exists)) return r;
  if (!exists) {
    return Fail(ENGINE_ERR_NOCURRREC,
                {TableContext(cursor), "The record was deleted by another program"});
  }
  SetOnRecord(cursor, row, stamp);
  return ENGINE_OK;
}

uint64_t CurrentLockHash(EngineCursor cursor) {
  return RecordLockHash(cursor->file->schema(), cursor->key.data(), cursor->keyRowid);
}

EngineResult LockCurrent(EngineCursor cursor) {
  return cursor->file->locks().LockRecord(CurrentLockHash(cursor), cursor);
}

EngineResult CloseCursor(EngineCursor cursor) {
  ForgetRecordsOf(cursor);
  LiveCursors().erase(cursor);
  if (gLastLiveCursor == cursor) gLastLiveCursor = nullptr;
  delete cursor;
  return ENGINE_OK;
}

void CloseAllCursors() {
  std::unordered_set<EngineCursor> live = LiveCursors();
  for (EngineCursor cursor : live) CloseCursor(cursor);
}

}  // namespace zarne::engine

EngineCursor__::~EngineCursor__() {
  for (auto& entry : statements) {
    if (file) file->GiveBackStatement(entry.second);
    else sqlite3_finalize(entry.second);
  }
  statements.clear();
  if (file) {
    file->locks().UnlockAllOf(this);
    if (holdsTableLock) file->locks().UnlockTable();
  }
}

using namespace zarne::engine;

EngineResult EngineSetToBegin(EngineCursor cursor) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  cursor->where = EngineCursor__::Where::kBegin;
  ForgetReadAhead(cursor);
  StartWalk(cursor);
  return ENGINE_OK;
}

EngineResult EngineSetToEnd(EngineCursor cursor) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  cursor->where = EngineCursor__::Where::kEnd;
  ForgetReadAhead(cursor);
  StartWalk(cursor);
  return ENGINE_OK;
}

EngineResult EngineGetNextRecord(EngineCursor cursor, DWORD lockMode, void* record,
                                 void* recordProps) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (EngineResult r = CheckLockMode(lockMode)) return r;
  if (cursor->where == EngineCursor__::Where::kEnd) return ENGINE_ERR_EOF;
  uint64_t stamp = cursor->file->Stamp();
  bool aheadGood =
      stamp != 0 && stamp == cursor->aheadStamp && cursor->aheadNext < cursor->aheadCount;
  if (!aheadGood) {
    // The rows read ahead ran to the end of the table: while the file is unchanged, the
    // walk ends there too, without another statement and shared lock to find nothing.
    bool atEnd = cursor->aheadToEnd && stamp != 0 && stamp == cursor->aheadStamp;
    size_t count = 0;
    // The first step reads whole records; a walk that goes on reads what its caller reads.
    bool walk = cursor->batch > 1;
    EngineResult result =
        atEnd ? ENGINE_OK
              : FetchStep(cursor, true, cursor->batch, walk, &cursor->ahead, &count, &atEnd);
    cursor->aheadCount = count;
    cursor->aheadNext = 0;
    if (result != ENGINE_OK) {
      ForgetReadAhead(cursor);
      return result;
    }
    if (count == 0) {
      cursor->where = EngineCursor__::Where::kEnd;
      ForgetReadAhead(cursor);
      return ENGINE_ERR_EOF;
    }
    cursor->aheadStamp = stamp;
    cursor->aheadToEnd = atEnd;
    // A walk that keeps stepping reads ahead in larger runs.
    cursor->batch = std::min(cursor->batch * 4, kMaxBatch);
  }
  // The row read ahead is used once: its buffer and the key's trade places, not bytes.
  EngineCursor__::Row& row = cursor->ahead[cursor->aheadNext++];
  if (EngineResult r = MeetRecord(cursor, true, row.rowid, stamp)) {
    ForgetReadAhead(cursor);
    return r;
  }
  std::swap(cursor->key, row.record);
  std::swap(cursor->keyLayout, row.layout);
  cursor->where = EngineCursor__::Where::kOnRecord;
  cursor->keyRowid = row.rowid;
  cursor->keyStamp = stamp;
  cursor->keyPartial = row.partial;
  return AfterArrival(cursor, lockMode, record);
}

EngineResult EngineGetPriorRecord(EngineCursor cursor, DWORD lockMode, void* record,
                                  void* recordProps) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (EngineResult r = CheckLockMode(lockMode)) return r;
  if (cursor->where == EngineCursor__::Where::kBegin) return ENGINE_ERR_BOF;
  uint64_t stamp = cursor->file->Stamp();
  std::vector<EngineCursor__::Row> rows;
  size_t count = 0;
  EngineResult result = FetchStep(cursor, false, 1, false, &rows, &count);
  ForgetReadAhead(cursor);
  if (result != ENGINE_OK) return result;
  if (count == 0) {
    cursor->where = EngineCursor__::Where::kBegin;
    return ENGINE_ERR_BOF;
  }
  if (EngineResult r = MeetRecord(cursor, false, rows[0].rowid, stamp)) return r;
  SetOnRecord(cursor, rows[0], stamp);
  return AfterArrival(cursor, lockMode, record);
}

EngineResult EngineGetRecord(EngineCursor cursor, DWORD lockMode, void* record, void* recordProps) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (EngineResult r = CheckLockMode(lockMode)) return r;
  if (cursor->where != EngineCursor__::Where::kOnRecord) {
    return Fail(ENGINE_ERR_NOCURRREC, {TableContext(cursor)});
  }
  EngineResult lockResult = ENGINE_OK;
  if (lockMode == ENGINE_WRITE_LOCK) {
    lockResult = LockCurrent(cursor);
    if (lockResult != ENGINE_OK && lockResult != ENGINE_ERR_ALREADYLOCKED) return lockResult;
  }
  uint64_t stamp = cursor->file->Stamp();
  if (stamp == 0 || stamp != cursor->keyStamp) {
    // The file changed since the record was read: read it again by its row id.
    if (EngineResult r = RereadCurrent(cursor, stamp)) return r;
  }
  CopyOut(cursor, record);
  return lockResult;
}

EngineResult EngineSetToKey(EngineCursor cursor, DWORD condition, BOOL directKey,
                            WORD keyFieldCount, WORD partialLength, const void* record) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!record) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor), "No key buffer"});
  if (!cursor->index) {
    return Fail(ENGINE_ERR_NOSUCHINDEX, {TableContext(cursor), "The table has no index"});
  }
  if (condition != ENGINE_KEY_EQ && condition != ENGINE_KEY_GEQ) {
    return Fail(ENGINE_ERR_NOTSUPPORTED,
                {TableContext(cursor), "Search condition " + std::to_string(condition)});
  }
  size_t keyFields = cursor->index->keyFields.size();
  size_t m = keyFieldCount == 0 ? keyFields : keyFieldCount;
  if (m > keyFields) {
    return Fail(ENGINE_ERR_INVALIDPARAM,
                {TableContext(cursor), "The index has " + std::to_string(keyFields) +
                                           " key fields, not " + std::to_string(m)});
  }
  // The key fields may be among those a walk left unread in the caller's buffer.
  if (EngineResult r = CompleteRecord(cursor, record, 0)) return r;
  const char* bytes = static_cast<const char*>(record);
  uint64_t stamp = cursor->file->Stamp();
  std::optional<EngineCursor__::Row> current;
  if (SeeksCurrentRecord(cursor, bytes, m, stamp))
    current = EngineCursor__::Row{cursor->keyRowid, cursor->key, false, 0};
  cursor->key.assign(bytes, bytes + cursor->file->schema().recordSize);
  cursor->keyPartial = false;
  cursor->keyLayout = 0;
  cursor->keyRowid = 0;
  cursor->where = EngineCursor__::Where::kCrack;
  cursor->crackPrefix = int(m);
  cursor->crackInclusive = true;
  ForgetReadAhead(cursor);
  StartWalk(cursor);
  if (current) {
    if (cursor->ahead.empty()) cursor->ahead.emplace_back();
    cursor->ahead[0] = std::move(*current);
    cursor->aheadCount = 1;
    cursor->aheadStamp = stamp;
    return ENGINE_OK;
  }

  const char* test = condition == ENGINE_KEY_EQ ? " = " : " >= ";
  int id = (condition == ENGINE_KEY_EQ ? kEqualPrefix : kFromPrefix) + int(m);
  if (KnownMiss(cursor, id, bytes, m, stamp)) return NotFound(cursor, condition, stamp);
  sqlite3_stmt* stmt = CursorStatement(cursor, id, [&] {
    return "SELECT " + SelectList(cursor) + " FROM records WHERE " +
           RowValue(OrderTerms(cursor), m) + test + Placeholders(m) + " ORDER BY " +
           OrderByClause(cursor, false) + " LIMIT ?";
  });
  if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
  BindKey(cursor, stmt, m);
  sqlite3_bind_int(stmt, int(m) + 1, 1);
  size_t count = 0;
  EngineResult result = CollectRows(cursor, stmt, &cursor->ahead, &count);
  if (result != ENGINE_OK || count == 0) {
    if (result != ENGINE_OK) {
      ForgetReadAhead(cursor);
      return result;
    }
    NoteMiss(cursor, id, bytes, stamp);
    return NotFound(cursor, condition, stamp);
  }
  // The match is what the next step reaches; keep it while the file is unchanged.
  cursor->aheadCount = count;
  cursor->aheadNext = 0;
  cursor->aheadStamp = stamp;
  return ENGINE_OK;
}
