/*
** Writing records through a cursor (insert, modify, delete, flush) and the record-lock
** operations. Each write is one statement that commits on its own, so it is durable when
** the call returns; a record another program has locked cannot be changed or deleted.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_partread.h"
#include "platform/engine/engine_record.h"

#include <cstring>

namespace zarne::engine {
namespace {

// Below the ids of the cursor's own read statements, which count up from 1.
enum WriteStatementId { kInsert = -1, kModify = -2, kDelete = -3, kModifyKeepingKeys = -4 };

std::string InsertSql(const TableSchema& schema) {
  std::string sql = "INSERT INTO records VALUES(";
  int parameter = 1;
  for (const FieldInfo& field : schema.fields) {
    if (field.number > 1) sql += ", ";
    if (field.type == ENGINE_FLD_BLOB) {
      // Mode 1: the bound content; mode 2: the content of the row the value names.
      std::string mode = "?" + std::to_string(parameter);
      std::string value = "?" + std::to_string(parameter + 1);
      sql += "CASE " + mode + " WHEN 2 THEN (SELECT " + ColumnName(field.number) +
             " FROM records WHERE rowid = " + value + ") ELSE " + value + " END";
      parameter += 2;
    } else {
      sql += "?" + std::to_string(parameter++);
    }
  }
  return sql + ")";
}

std::string ModifySql(const TableSchema& schema) {
  std::string sql = "UPDATE records SET ";
  int parameter = 1;
  for (const FieldInfo& field : schema.fields) {
    std::string column = ColumnName(field.number);
    if (field.number > 1) sql += ", ";
    if (field.type == ENGINE_FLD_BLOB) {
      // Mode 0 keeps what the row holds; 1 and 2 as for an insert.
      std::string mode = "?" + std::to_string(parameter);
      std::string value = "?" + std::to_string(parameter + 1);
      sql += column + " = CASE " + mode + " WHEN 0 THEN " + column + " WHEN 2 THEN " + "(SELECT " +
             column + " FROM records WHERE rowid = " + value + ") ELSE " + value + " END";
      parameter += 2;
    } else {
      sql += column + " = ?" + std::to_string(parameter++);
    }
  }
  return sql + " WHERE rowid = ?" + std::to_string(parameter);
}

/* True when the field is part of any index's key (a secondary's key ends with the primary's). */
bool IsKeyField(const TableSchema& schema, int number) {
  for (const IndexInfo& index : schema.indexes) {
    for (int key : index.keyFields)
      if (key == number) return true;
  }
  return false;
}

/* The overwrite of a record whose key fields keep their values: it sets only the other
   columns, so no index entry is rewritten (setting a key column to its own value still
   moves the row's index entries, a page more to journal and write per index). Parameters
   are numbered as in ModifySql; the key fields' parameters guard the row instead, so a row
   whose keys another program changed meanwhile is not touched (and is then written whole).
   Empty when every column is a key column or a blob is one. */
std::string ModifyKeepingKeysSql(const TableSchema& schema) {
  std::string set, guard;
  int parameter = 1;
  for (const FieldInfo& field : schema.fields) {
    std::string column = ColumnName(field.number);
    bool key = IsKeyField(schema, field.number);
    if (field.type == ENGINE_FLD_BLOB) {
      if (key) return std::string();
      std::string mode = "?" + std::to_string(parameter);
      std::string value = "?" + std::to_string(parameter + 1);
      set += (set.empty() ? "" : ", ") + column + " = CASE " + mode + " WHEN 0 THEN " + column +
             " WHEN 2 THEN " + "(SELECT " + column + " FROM records WHERE rowid = " + value +
             ") ELSE " + value + " END";
      parameter += 2;
    } else if (key) {
      guard += " AND " + column + " IS ?" + std::to_string(parameter++);
    } else {
      set += (set.empty() ? "" : ", ") + column + " = ?" + std::to_string(parameter++);
    }
  }
  if (set.empty()) return std::string();
  return "UPDATE records SET " + set + " WHERE rowid = ?" + std::to_string(parameter) + guard;
}

/* True when every key field of record holds what the current row held when read. */
bool KeysAsRead(EngineCursor cursor, const char* record) {
  const TableSchema& schema = cursor->file->schema();
  if (cursor->keyPartial || cursor->key.size() != static_cast<size_t>(schema.recordSize))
    return false;
  for (const FieldInfo& field : schema.fields) {
    if (IsKeyField(schema, field.number) && !SameStoredValue(field, cursor->key.data(), record))
      return false;
  }
  return true;
}

/* Binds every field of record; blobs as the cursor's open blob or their slot's row. Texts
   are read in place: the record stays as it is until RunWrite has cleared the bindings. */
int BindRecord(EngineCursor cursor, sqlite3_stmt* stmt, const char* record, bool modify) {
  const TableSchema& schema = cursor->file->schema();
  int parameter = 1;
  for (const FieldInfo& field : schema.fields) {
    if (field.type != ENGINE_FLD_BLOB) {
      BindStored(stmt, parameter++, field, record, BindText::kInPlace);
      continue;
    }
    int mode = 1;
    const std::string* content = nullptr;
    long long sourceRowid = 0;
    BlobForWrite(cursor, record, field, &mode, &content, &sourceRowid);
    if (modify && mode == 2 && sourceRowid == cursor->keyRowid) mode = 0;
    sqlite3_bind_int(stmt, parameter, mode);
    if (mode == 1 && content && !content->empty()) {
      sqlite3_bind_blob(stmt, parameter + 1, content->data(), int(content->size()),
                        SQLITE_TRANSIENT);
    } else if (mode == 2) {
      sqlite3_bind_int64(stmt, parameter + 1, sourceRowid);
    } else {
      sqlite3_bind_null(stmt, parameter + 1);
    }
    parameter += 2;
  }
  return parameter;
}

/* After a write: blob slots of the caller's buffer name the row now holding the content. */
void PointBlobsAt(EngineCursor cursor, char* record, long long rowid) {
  for (const FieldInfo& field : cursor->file->schema().fields) {
    if (field.type != ENGINE_FLD_BLOB) continue;
    auto open = cursor->openBlobs.find({record, field.number});
    bool hasContent =
        open != cursor->openBlobs.end() ? !open->second.empty() : !FieldIsBlank(field, record);
    record[field.nullOffset] = hasContent ? 0 : 1;
    SetBlobSlotRowid(field, record, hasContent ? rowid : 0);
  }
}

EngineResult RunWrite(EngineCursor cursor, sqlite3_stmt* stmt, const char* what) {
  int rc = sqlite3_step(stmt);
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  cursor->file->NoteOwnWrite();
  ForgetReadAhead(cursor);
  if (rc == SQLITE_DONE) return ENGINE_OK;
  if ((rc & 0xFF) == SQLITE_CONSTRAINT) {
    return Fail(ENGINE_ERR_KEYVIOL,
                {TableContext(cursor), std::string(what) + ": another record has that key"});
  }
  return FailSqlite(rc, cursor->file->db(), {TableContext(cursor), what});
}

EngineResult CheckWritable(EngineCursor cursor, const void* record) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (cursor->readOnly) {
    return Fail(ENGINE_ERR_NOTSUPPORTED, {TableContext(cursor), "The cursor is read-only"});
  }
  if (!record) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor), "No record buffer"});
  // A record a walk read in part is written whole.
  return CompleteRecord(cursor, record, 0);
}

/* True when writing record would store what the file holds: it has the current record's
   values, read when no program had written since (a window saves every record it shows,
   changed or not). Then there is nothing to make durable. A blob being written always
   writes. */
bool IsStoredAlready(EngineCursor cursor, const void* record) {
  if (cursor->keyStamp == 0 || cursor->keyPartial) return false;
  for (const auto& open : cursor->openBlobs)
    if (open.first.first == record) return false;
  const std::vector<char>& current = cursor->key;
  const TableSchema& schema = cursor->file->schema();
  if (current.size() != static_cast<size_t>(schema.recordSize) ||
      !SameStoredValues(schema, current.data(), static_cast<const char*>(record))) {
    return false;
  }
  return cursor->file->Stamp() == cursor->keyStamp;
}

EngineResult CheckNotLockedElsewhere(EngineCursor cursor) {
  if (cursor->file->locks().LockedElsewhere(CurrentLockHash(cursor))) {
    return Fail(ENGINE_ERR_RECLOCKED, {TableContext(cursor)});
  }
  return ENGINE_OK;
}

}  // namespace

void BlobForWrite(EngineCursor cursor, const void* record, const FieldInfo& field, int* mode,
                  const std::string** content, long long* sourceRowid) {
  auto open = cursor->openBlobs.find({record, field.number});
  if (open != cursor->openBlobs.end()) {
    *mode = 1;
    *content = &open->second;
    return;
  }
  const char* bytes = static_cast<const char*>(record);
  long long rowid = BlobSlotRowid(field, bytes);
  if (!FieldIsBlank(field, bytes) && rowid != 0) {
    *mode = 2;
    *sourceRowid = rowid;
    return;
  }
  *mode = 1;
  *content = nullptr;
}

}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineInsertRecord(EngineCursor cursor, DWORD lockMode, void* record) {
  if (EngineResult r = CheckWritable(cursor, record)) return r;
  const TableSchema& schema = cursor->file->schema();
  if (EngineResult r = JoinTransaction(cursor->file)) return r;
  sqlite3_stmt* stmt = CursorStatement(cursor, kInsert, [&] { return InsertSql(schema); });
  if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
  BindRecord(cursor, stmt, static_cast<const char*>(record), false);
  if (EngineResult r = RunWrite(cursor, stmt, "Insert")) return r;
  long long rowid = sqlite3_last_insert_rowid(cursor->file->db());
  char* bytes = static_cast<char*>(record);
  PointBlobsAt(cursor, bytes, rowid);
  SetOnWritten(cursor, rowid, bytes, cursor->file->Stamp());
  if (lockMode == ENGINE_WRITE_LOCK) return LockCurrent(cursor);
  return ENGINE_OK;
}

EngineResult EngineModifyRecord(EngineCursor cursor, void* record, BOOL freeLock) {
  if (EngineResult r = CheckWritable(cursor, record)) return r;
  if (cursor->where != EngineCursor__::Where::kOnRecord) {
    return Fail(ENGINE_ERR_NOCURRREC, {TableContext(cursor)});
  }
  if (EngineResult r = CheckNotLockedElsewhere(cursor)) return r;
  const TableSchema& schema = cursor->file->schema();
  if (IsStoredAlready(cursor, record)) {
    if (freeLock && cursor->file->locks().HeldBy(CurrentLockHash(cursor), cursor)) {
      cursor->file->locks().UnlockRecord(CurrentLockHash(cursor), cursor);
    }
    ForgetReadAhead(cursor);
    return ENGINE_OK;
  }
  if (EngineResult r = JoinTransaction(cursor->file)) return r;
  const char* values = static_cast<const char*>(record);
  bool written = false;
  if (KeysAsRead(cursor, values)) {
    // Null when the table has no such statement (every column a key): written whole.
    sqlite3_stmt* stmt =
        CursorStatement(cursor, kModifyKeepingKeys, [&] { return ModifyKeepingKeysSql(schema); });
    if (stmt) {
      int next = BindRecord(cursor, stmt, values, true);
      sqlite3_bind_int64(stmt, next, cursor->keyRowid);
      if (EngineResult r = RunWrite(cursor, stmt, "Modify")) return r;
      written = sqlite3_changes(cursor->file->db()) != 0;
    }
  }
  if (!written) {
    sqlite3_stmt* stmt = CursorStatement(cursor, kModify, [&] { return ModifySql(schema); });
    if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
    int next = BindRecord(cursor, stmt, values, true);
    sqlite3_bind_int64(stmt, next, cursor->keyRowid);
    if (EngineResult r = RunWrite(cursor, stmt, "Modify")) return r;
    written = sqlite3_changes(cursor->file->db()) != 0;
  }
  if (!written) {
    return Fail(ENGINE_ERR_NOCURRREC,
                {TableContext(cursor), "The record was deleted by another program"});
  }
  uint64_t oldHash = CurrentLockHash(cursor);
  if (freeLock && cursor->file->locks().HeldBy(oldHash, cursor)) {
    cursor->file->locks().UnlockRecord(oldHash, cursor);
  }
  char* bytes = static_cast<char*>(record);
  PointBlobsAt(cursor, bytes, cursor->keyRowid);
  SetOnWritten(cursor, cursor->keyRowid, bytes, cursor->file->Stamp());
  return ENGINE_OK;
}

EngineResult EngineDeleteRecord(EngineCursor cursor, void* record) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (cursor->readOnly) {
    return Fail(ENGINE_ERR_NOTSUPPORTED, {TableContext(cursor), "The cursor is read-only"});
  }
  if (cursor->where != EngineCursor__::Where::kOnRecord) {
    return Fail(ENGINE_ERR_NOCURRREC, {TableContext(cursor)});
  }
  if (EngineResult r = CheckNotLockedElsewhere(cursor)) return r;
  if (record && cursor->keyPartial) {
    // The caller gets the deleted record whole, so it is read whole while it exists.
    EngineCursor__::Row row;
    bool exists = false;
    if (EngineResult r = ReadRowById(cursor, cursor->keyRowid, &row, &exists)) return r;
    if (exists) SetOnRecord(cursor, row, cursor->keyStamp);
  }
  if (EngineResult r = JoinTransaction(cursor->file)) return r;
  sqlite3_stmt* stmt = CursorStatement(
      cursor, kDelete, [] { return std::string("DELETE FROM records WHERE rowid = ?"); });
  if (!stmt) return FailSqlite(SQLITE_ERROR, cursor->file->db(), {TableContext(cursor)});
  sqlite3_bind_int64(stmt, 1, cursor->keyRowid);
  if (EngineResult r = RunWrite(cursor, stmt, "Delete")) return r;
  uint64_t hash = CurrentLockHash(cursor);
  if (cursor->file->locks().HeldBy(hash, cursor)) cursor->file->locks().UnlockRecord(hash, cursor);
  if (record) {
    const char* bytes = cursor->key.data();
    std::copy(bytes, bytes + cursor->key.size(), static_cast<char*>(record));
    ForgetRecord(record);
  }
  // The position is now the gap the record left: the next step reaches its follower.
  cursor->where = EngineCursor__::Where::kCrack;
  cursor->crackInclusive = false;
  return ENGINE_OK;
}

EngineResult EngineFlushCursor(EngineCursor cursor) {
  // Every write is committed and synced when its call returns.
  return CheckCursor(cursor);
}

EngineResult EngineIsRecordLocked(EngineCursor cursor, DWORD* locked) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!locked) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  *locked = cursor->where == EngineCursor__::Where::kOnRecord &&
            cursor->file->locks().HeldBy(CurrentLockHash(cursor), cursor);
  return ENGINE_OK;
}

EngineResult EngineReleaseRecordLock(EngineCursor cursor, BOOL all) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (all) {
    cursor->file->locks().UnlockAllOf(cursor);
    return ENGINE_OK;
  }
  if (cursor->where != EngineCursor__::Where::kOnRecord) {
    return Fail(ENGINE_ERR_NOCURRREC, {TableContext(cursor)});
  }
  EngineResult result = cursor->file->locks().UnlockRecord(CurrentLockHash(cursor), cursor);
  if (result != ENGINE_OK) Fail(result, {TableContext(cursor)});
  return result;
}
