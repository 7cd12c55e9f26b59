/*
** Table-level operations: opening a table as a cursor, cloning and closing cursors, what a
** cursor reports about its table, creating a table, and whole-table locks.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_locks.h"
#include "platform/engine/engine_record.h"
#include "platform/engine/engine_pagecheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

std::string Text(const char* text) { return text ? text : ""; }

void CopyText(char* target, size_t size, const std::string& text) {
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(target, text.data(), n);
  target[n] = '\0';
}

void FillIndexDesc(const TableSchema& schema, const IndexInfo& index, EngineIndexDesc* desc) {
  std::memset(desc, 0, sizeof *desc);
  CopyText(desc->name, sizeof desc->name, index.name);
  desc->indexId = WORD(index.id);
  desc->primary = index.primary;
  desc->unique = index.unique;
  desc->maintained = 1;
  desc->keyFieldCount = WORD(index.keyFields.size());
  int keyLength = 0;
  for (size_t i = 0; i < index.keyFields.size(); ++i) {
    desc->keyFields[i] = WORD(index.keyFields[i]);
    keyLength += schema.Field(index.keyFields[i]).length;
  }
  desc->keyLength = WORD(index.keyLength ? index.keyLength : keyLength);
  desc->caseInsensitive = index.caseInsensitive;
  desc->blockSize = WORD(index.blockSize);
}

}  // namespace

EngineResult BuildTableFile(const std::string& hostPath, const TableSchema& schema, bool overwrite,
                            bool durable, const std::string& shown) {
  const std::string table = "Table " + (shown.empty() ? hostPath : shown);
  if (!overwrite && FileExists(hostPath)) return Fail(ENGINE_ERR_TABLEEXISTS, {table});
  if (TableFile::FindOpen(hostPath)) {
    return Fail(ENGINE_ERR_TABLELOCKED, {table, "The table is open in this program"});
  }
  // Another program with the table open would keep working on the replaced file, and one
  // holding the table lock is rebuilding it.
  std::shared_ptr<LockFile> locks;
  if ((overwrite && FileExists(hostPath)) || FileExists(WithExtension(hostPath, ".LCK"))) {
    if (EngineResult r = ClaimForReplacing(hostPath, &locks)) return r;
  }
  // Built beside the target and renamed over it, so a crash never leaves half a table.
  std::string temporary = hostPath + ".new" + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  ::unlink((temporary + "-journal").c_str());
  sqlite3* db = nullptr;
  int rc = OpenConnection(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &db);
  if (rc == SQLITE_OK && !durable) {
    rc = sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF", nullptr, nullptr,
                      nullptr);
  }
  // Every page keeps room for its check value, by which a salvage knows a damaged page.
  int reserve = kPageCheckBytes;
  if (rc == SQLITE_OK) sqlite3_file_control(db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = WriteSchema(db, schema);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  EngineResult result = ENGINE_OK;
  if (rc != SQLITE_OK) {
    result = Fail(CodeForSqlite(rc), {table, OfficeWords(rc)});
    if (result == ENGINE_ERR_TABLENOTFOUND) {
      result = Fail(ENGINE_ERR_DIRNOTFOUND, {table, "The directory does not exist"});
    }
  }
  sqlite3_close_v2(db);
  if (result == ENGINE_OK) {
    // A journal left by an earlier table of this name must not touch the new one.
    ::unlink((hostPath + "-journal").c_str());
    if (::rename(temporary.c_str(), hostPath.c_str()) != 0) {
      result = Fail(ENGINE_ERR_FILEIO, {table, std::strerror(errno)});
    } else if (durable) {
      SyncDirectoryOf(hostPath);
    }
  }
  ::unlink(temporary.c_str());
  ::unlink((temporary + "-journal").c_str());
  if (locks) locks->ReleaseUnused();
  return result;
}

}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineOpenTable(EngineDatabase database, const char* name, const char* driver,
                             const char* indexName, const char* indexTagName, WORD indexId,
                             DWORD openMode, DWORD shareMode, DWORD translateMode,
                             BOOL uniDirectional, const void* params, EngineCursor* cursor) {
  if (EngineResult planned = PlannedFailureOf("EngineOpenTable")) return planned;
  if (!cursor) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineOpenTable: no result"});
  *cursor = nullptr;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (!name || !*name) return Fail(ENGINE_ERR_INVALIDPARAM, {"No table name"});
  std::string path = TableHostPath(DatabaseDirectory(database), name, ".DB");
  std::shared_ptr<TableFile> file;
  if (EngineResult r = TableFile::Open(path, &file)) return r;

  const TableSchema& schema = file->schema();
  const IndexInfo* index = nullptr;
  if (indexName && *indexName) {
    for (const IndexInfo& candidate : schema.indexes) {
      if (strcasecmp(candidate.name.c_str(), indexName) == 0) index = &candidate;
    }
    if (!index) return Fail(ENGINE_ERR_NOSUCHINDEX, {"Table " + path, "Index " + Text(indexName)});
  } else {
    index = schema.IndexById(indexId);
    if (!index && !(indexId == 0 && !schema.Primary())) {
      return Fail(ENGINE_ERR_NOSUCHINDEX, {"Table " + path, "Index id " + std::to_string(indexId)});
    }
  }
  bool exclusive = shareMode == ENGINE_SHARE_EXCLUSIVE;
  if (exclusive && !file->locks().TableLocked()) {
    if (EngineResult r = file->locks().LockTable()) return Fail(r, {"Table " + path});
  } else {
    exclusive = false;
  }
  EngineCursor opened = NewCursor(file, index);
  opened->readOnly = openMode == ENGINE_OPEN_READONLY;
  opened->holdsTableLock = exclusive;
  *cursor = opened;
  return ENGINE_OK;
}

EngineResult EngineCloseCursor(EngineCursor* cursor) {
  if (!cursor) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineCloseCursor: no handle"});
  if (EngineResult r = CheckCursor(*cursor)) return r;
  CloseCursor(*cursor);
  *cursor = nullptr;
  return ENGINE_OK;
}

EngineResult EngineCloneCursor(EngineCursor cursor, BOOL readOnly, BOOL uniDirectional,
                               EngineCursor* clone) {
  if (!clone) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineCloneCursor: no result"});
  *clone = nullptr;
  if (EngineResult r = CheckCursor(cursor)) return r;
  EngineCursor copy = NewCursor(cursor->file, cursor->index);
  copy->readOnly = cursor->readOnly || readOnly;
  copy->where = cursor->where;
  copy->key = cursor->key;
  copy->keyRowid = cursor->keyRowid;
  copy->crackPrefix = cursor->crackPrefix;
  copy->crackInclusive = cursor->crackInclusive;
  copy->keyStamp = cursor->keyStamp;
  copy->keyPartial = cursor->keyPartial;
  copy->keyLayout = 0;
  *clone = copy;
  return ENGINE_OK;
}

EngineResult EngineGetCursorProps(EngineCursor cursor, EngineCursorProps* props) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!props) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  const TableSchema& schema = cursor->file->schema();
  std::memset(props, 0, sizeof *props);
  CopyText(props->name, sizeof props->name, cursor->file->name());
  props->fieldCount = WORD(schema.FieldCount());
  props->recordSize = WORD(schema.recordSize);
  props->indexCount = WORD(schema.indexes.size());
  if (cursor->index) {
    props->indexId = WORD(cursor->index->id);
    props->keyFieldCount = WORD(cursor->index->keyFields.size());
    int keySize = 0;
    for (int number : cursor->index->keyFields) keySize += schema.Field(number).length;
    props->keySize = WORD(keySize);
  }
  return ENGINE_OK;
}

EngineResult EngineGetFieldDescs(EngineCursor cursor, EngineFieldDesc* descs) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!descs) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  for (const FieldInfo& field : cursor->file->schema().fields) {
    EngineFieldDesc& desc = descs[field.number - 1];
    std::memset(&desc, 0, sizeof desc);
    desc.fieldNumber = WORD(field.number);
    CopyText(desc.name, sizeof desc.name, field.name);
    desc.type = WORD(field.type);
    desc.subtype = WORD(field.subtype);
    desc.units1 = SHORT(field.units1);
    desc.units2 = SHORT(field.units2);
    desc.offset = WORD(field.offset);
    desc.length = WORD(field.length);
    desc.nullOffset = WORD(field.nullOffset);
  }
  return ENGINE_OK;
}

EngineResult EngineGetIndexForField(EngineCursor cursor, WORD field, BOOL producing,
                                    EngineIndexDesc* desc) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!desc) return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor)});
  const TableSchema& schema = cursor->file->schema();
  if (field < 1 || field > schema.FieldCount()) {
    return Fail(ENGINE_ERR_FLDOUTOFRANGE, {TableContext(cursor), "Field " + std::to_string(field)});
  }
  for (const IndexInfo& index : schema.indexes) {
    if (index.keyFields.front() == field) {
      FillIndexDesc(schema, index, desc);
      return ENGINE_OK;
    }
  }
  return Fail(ENGINE_ERR_NOSUCHINDEX,
              {TableContext(cursor), "No index on field " + schema.Field(field).name});
}

EngineResult EngineCreateTable(EngineDatabase database, BOOL overwrite,
                               const EngineTableCreateDesc* desc) {
  if (EngineResult planned = PlannedFailureOf("EngineCreateTable")) return planned;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (!desc) return Fail(ENGINE_ERR_INVALIDPARAM, {"No table descriptor"});
  std::string name(desc->name, strnlen(desc->name, sizeof desc->name));
  if (name.empty()) return Fail(ENGINE_ERR_INVALIDPARAM, {"No table name"});
  std::string path = TableHostPath(DatabaseDirectory(database), name, ".DB");
  const std::string shown = ShownTableName(DatabaseDirectory(database), name);
  TableSchema schema;
  std::string problem;
  if (EngineResult r = SchemaFromDesc(*desc, &schema, &problem)) {
    return Fail(r, {"Table " + shown, problem});
  }
  return BuildTableFile(path, schema, overwrite != 0, true, shown);
}

EngineResult EngineAcquireTableLock(EngineDatabase database, const char* name, const char* driver) {
  if (EngineResult planned = PlannedFailureOf("EngineAcquireTableLock")) return planned;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (!name || !*name) return Fail(ENGINE_ERR_INVALIDPARAM, {"No table name"});
  std::string path = TableHostPath(DatabaseDirectory(database), name, ".DB");
  std::shared_ptr<LockFile> locks;
  if (EngineResult r = LockFile::Get(WithExtension(path, ".LCK"), &locks)) return r;
  // Besides other programs' record locks, the lock keeps out every other program that
  // would open, replace or rebuild the table while its holder works on the file.
  if (EngineResult r = locks->LockTable(true)) {
    EngineErrorInfo info{};
    EngineGetErrorInfo(1, &info);
    return Fail(r, {"Table " + path, info.context[1]});
  }
  // The lock lives until released, with or without an open table.
  HoldTableLock(locks);
  return ENGINE_OK;
}

EngineResult EngineReleaseTableLock(EngineDatabase database, const char* name, const char* driver) {
  if (EngineResult planned = PlannedFailureOf("EngineReleaseTableLock")) return planned;
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (!name || !*name) return Fail(ENGINE_ERR_INVALIDPARAM, {"No table name"});
  std::string path = TableHostPath(DatabaseDirectory(database), name, ".DB");
  std::shared_ptr<LockFile> locks = HeldTableLock(WithExtension(path, ".LCK"));
  if (!locks) return Fail(ENGINE_ERR_NOTLOCKED, {"Table " + path});
  EngineResult result = locks->UnlockTable();
  DropTableLock(locks);
  return result == ENGINE_OK ? ENGINE_OK : Fail(result, {"Table " + path});
}
