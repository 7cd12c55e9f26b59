/*
** Restructuring a table to a descriptor for the repair utility: every field kept, every
** index rebuilt. The old file is read page by page (see engine_pagereader), so a damaged
** page costs only the records stored on it, wherever it lies. Rows that cannot be records
** of the table (a value a field cannot hold, a blank key) or that clash on a unique key
** are appended to a problems table instead of being dropped. The rebuilt table is made in
** a work file of its own and renamed over the old file, keeping its mode and owner.
*/
#include "platform/engine/engine_pagecheck.h"
#include "platform/engine/engine_pagereader.h"
#include "platform/engine/engine_record.h"
#include "platform/engine/engine_tablefile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

// Owner: platform/engine.
EngineRestructureCounts gLastCounts{};

struct ValueRow {
  std::vector<sqlite3_value*> values;  // one per target field, owned
  ValueRow() = default;
  ValueRow(const ValueRow&) = delete;
  ValueRow(ValueRow&& other) noexcept : values(std::move(other.values)) {}
  ~ValueRow() {
    for (sqlite3_value* value : values) sqlite3_value_free(value);
  }
};

struct Salvage {
  std::vector<ValueRow> unreadable;     // rows whose values do not fit their fields
  std::vector<ValueRow> keyViolations;  // rows clashing on a unique key
  DWORD kept = 0;
  DWORD blankRows = 0;  // rows with every field blank: not records
  PageReading reading;
};

int Exec(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

/* The stored value a missing or NULL column stands for in a key-able field. */
void BindBlankStored(sqlite3_stmt* stmt, int parameter, const FieldInfo& field) {
  switch (field.type) {
    case ENGINE_FLD_STRING: sqlite3_bind_text(stmt, parameter, "", 0, SQLITE_STATIC); break;
    case ENGINE_FLD_DATE: sqlite3_bind_int64(stmt, parameter, kBlankDate); break;
    case ENGINE_FLD_BLOB: sqlite3_bind_null(stmt, parameter); break;
    default: sqlite3_bind_int64(stmt, parameter, kBlankNumber); break;
  }
}

ValueRow CopyOfRow(sqlite3_stmt* read, int fieldCount) {
  ValueRow row;
  for (int n = 1; n <= fieldCount; ++n) {
    row.values.push_back(sqlite3_value_dup(sqlite3_column_value(read, n)));
  }
  return row;
}

/* True for a stored value that stands for a blank field. */
bool IsBlankStored(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL: return true;
    case SQLITE_TEXT:
    case SQLITE_BLOB: return sqlite3_value_bytes(value) == 0;
    case SQLITE_INTEGER: {
      long long number = sqlite3_value_int64(value);
      return number == kBlankNumber || number == kBlankDate;
    }
    default: return false;
  }
}

/* A row is a record only when some field holds something; a record whose primary key is
   blank cannot be found by it and is set aside. */
enum class RowShape { kRecord, kBlankKey, kBlank };

RowShape ShapeOf(sqlite3_stmt* read, const TableSchema& target) {
  bool any = false;
  for (int n = 1; n <= target.FieldCount() && !any; ++n) {
    any = !IsBlankStored(sqlite3_column_value(read, n));
  }
  if (!any) return RowShape::kBlank;
  const IndexInfo* primary = target.Primary();
  if (!primary) return RowShape::kRecord;
  for (int number : primary->keyFields) {
    if (!IsBlankStored(sqlite3_column_value(read, number))) return RowShape::kRecord;
  }
  return RowShape::kBlankKey;
}

/* One row of the old file into the new one, or into the salvage's problem rows. */
EngineResult PlaceRow(sqlite3_stmt* read, sqlite3_stmt* insert, sqlite3* to,
                      const TableSchema& target, const std::string& table, Salvage* salvage) {
  const int fieldCount = target.FieldCount();
  RowShape shape = ShapeOf(read, target);
  if (shape == RowShape::kBlank) {
    ++salvage->blankRows;
    return ENGINE_OK;
  }
  if (shape == RowShape::kBlankKey) {
    salvage->unreadable.push_back(CopyOfRow(read, fieldCount));
    return ENGINE_OK;
  }
  for (int n = 1; n <= fieldCount; ++n) {
    if (!StoredValueFits(sqlite3_column_value(read, n), target.Field(n))) {
      salvage->unreadable.push_back(CopyOfRow(read, fieldCount));
      return ENGINE_OK;
    }
  }
  for (int n = 1; n <= fieldCount; ++n) {
    if (sqlite3_column_type(read, n) == SQLITE_NULL) {
      BindBlankStored(insert, n, target.Field(n));
    } else {
      sqlite3_bind_value(insert, n, sqlite3_column_value(read, n));
    }
  }
  int step = sqlite3_step(insert);
  sqlite3_reset(insert);
  if ((step & 0xFF) == SQLITE_CONSTRAINT) {
    salvage->keyViolations.push_back(CopyOfRow(read, fieldCount));
  } else if (step != SQLITE_DONE) {
    return Fail(CodeForSqlite(step), {table, OfficeWords(step), "Nothing was changed"});
  } else {
    ++salvage->kept;
  }
  return ENGINE_OK;
}

/* Binds a value as the old file held it. */
void BindPageValue(sqlite3_stmt* stmt, int parameter, const PageValue& value) {
  switch (value.kind) {
    case SQLITE_INTEGER: sqlite3_bind_int64(stmt, parameter, value.integer); break;
    case SQLITE_FLOAT: sqlite3_bind_double(stmt, parameter, value.real); break;
    case SQLITE_TEXT:
      sqlite3_bind_text(stmt, parameter, value.bytes.data(), int(value.bytes.size()),
                        SQLITE_STATIC);
      break;
    case SQLITE_BLOB:
      sqlite3_bind_blob(stmt, parameter, value.bytes.data(), int(value.bytes.size()),
                        SQLITE_STATIC);
      break;
    default: sqlite3_bind_null(stmt, parameter); break;
  }
}

/* Reads every intact record of the old file into the new one (into nothing, when to is
   null: an analysis). Each row goes through a statement that hands back what is bound to
   it, so that it is judged and placed like any row SQLite reads. */
EngineResult SalvageRows(const std::string& path, sqlite3* to, const TableSchema& target,
                         const std::string& table, Salvage* salvage) {
  sqlite3* scratch = to;
  if (!scratch &&
      sqlite3_open_v2(":memory:", &scratch, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(scratch);
    return Fail(ENGINE_ERR_NOMEMORY, {table});
  }
  const int fieldCount = target.FieldCount();
  std::string select = "SELECT ?1";
  std::string insertSql = "INSERT INTO records VALUES(";
  for (int n = 1; n <= fieldCount; ++n) {
    select += ", ?" + std::to_string(n + 1);
    insertSql += n > 1 ? ", ?" : "?";
  }
  insertSql += ")";
  sqlite3_stmt* read = nullptr;
  sqlite3_stmt* insert = nullptr;
  int rc = sqlite3_prepare_v2(scratch, select.c_str(), -1, &read, nullptr);
  if (rc == SQLITE_OK && to) rc = sqlite3_prepare_v2(to, insertSql.c_str(), -1, &insert, nullptr);
  EngineResult result =
      rc == SQLITE_OK ? ENGINE_OK : Fail(CodeForSqlite(rc), {table, OfficeWords(rc)});
  std::string problem;
  auto take = [&](const PageRow& row) {
    sqlite3_bind_int64(read, 1, row.rowid);
    for (int n = 1; n <= fieldCount; ++n) {
      if (n <= int(row.values.size())) BindPageValue(read, n + 1, row.values[size_t(n - 1)]);
      else sqlite3_bind_null(read, n + 1);
    }
    if (sqlite3_step(read) != SQLITE_ROW) {
      result = Fail(ENGINE_ERR_NOMEMORY, {table});
    } else if (insert) {
      result = PlaceRow(read, insert, to, target, table, salvage);
    } else {
      ++salvage->kept;
    }
    sqlite3_reset(read);
    return result == ENGINE_OK;
  };
  if (result == ENGINE_OK &&
      !ReadRecordPages(path, fieldCount, take, &salvage->reading, &problem)) {
    result = Fail(ENGINE_ERR_FILEIO,
                  {table, "The table file cannot be read: " + problem, "Nothing was changed"});
  }
  sqlite3_finalize(read);
  sqlite3_finalize(insert);
  if (!to) sqlite3_close_v2(scratch);
  return result;
}

/* The SQL of the table's indexes that need not be there while rows go in: the non-unique
   ones, made once afterwards from all the rows at once. */
std::vector<std::string> DeferredIndexes(sqlite3* db) {
  std::vector<std::string> sql;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT sql FROM sqlite_master WHERE type = 'index' AND "
                         "sql NOT LIKE 'CREATE UNIQUE%'",
                         -1, &stmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      sql.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    }
  }
  sqlite3_finalize(stmt);
  return sql;
}

std::string IndexNameOf(const std::string& createSql) {
  size_t at = createSql.find("INDEX ") + 6;
  return createSql.substr(at, createSql.find(' ', at) - at);
}

/* Lets SQLite roll back a write a killed program left in the old file's journal, so the
   pages read are those of the last finished write. A file SQLite cannot open is read as
   it lies. */
void SettleJournal(const std::string& path) {
  if (!FileExists(path + "-journal")) return;
  sqlite3* db = nullptr;
  if (OpenConnection(path, SQLITE_OPEN_READWRITE, &db) == SQLITE_OK) {
    Exec(db, "SELECT count(*) FROM sqlite_master");
  }
  sqlite3_close_v2(db);
}

/* Starts the work file: made afresh with the target's shape, in a transaction left open for
   the rows, on the connection that writes them. The work file is thrown away unless
   finished, and synced before it is put in place, so it has no journal and no syncs, and
   it is its own temporary file (no second file renamed onto it, no second connection). */
int StartWorkFile(const std::string& work, const TableSchema& target, sqlite3** to) {
  ::unlink(work.c_str());
  ::unlink((work + "-journal").c_str());
  int rc = OpenConnection(work, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, to);
  if (rc == SQLITE_OK) rc = Exec(*to, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
  // Every page keeps room for its check value, by which a salvage knows a damaged page.
  int reserve = kPageCheckBytes;
  if (rc == SQLITE_OK) sqlite3_file_control(*to, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
  if (rc == SQLITE_OK) rc = Exec(*to, "BEGIN");
  if (rc == SQLITE_OK) rc = WriteSchema(*to, target);
  return rc;
}

/* Builds the rebuilt table in the file work from the records of the file at path. */
EngineResult RebuildInto(const std::string& path, const std::string& work,
                         const TableSchema& target, const std::string& table, Salvage* salvage) {
  sqlite3* to = nullptr;
  SettleJournal(path);
  int rc = StartWorkFile(work, target, &to);
  if (rc != SQLITE_OK) {
    EngineResult code = CodeForSqlite(rc);
    sqlite3_close_v2(to);
    if (code == ENGINE_ERR_TABLENOTFOUND) {
      return Fail(ENGINE_ERR_DIRNOTFOUND,
                  {table, "The directory does not exist", "Nothing was changed"});
    }
    return Fail(code, {table, OfficeWords(rc), "Nothing was changed"});
  }
  std::vector<std::string> deferred = DeferredIndexes(to);
  for (const std::string& index : deferred) {
    if (rc == SQLITE_OK) rc = Exec(to, "DROP INDEX " + IndexNameOf(index));
  }
  EngineResult result =
      rc == SQLITE_OK ? SalvageRows(path, to, target, table, salvage)
                      : Fail(CodeForSqlite(rc), {table, OfficeWords(rc), "Nothing was changed"});
  for (const std::string& index : deferred) {
    if (result == ENGINE_OK && (rc = Exec(to, index)) != SQLITE_OK) {
      result = Fail(CodeForSqlite(rc), {table, OfficeWords(rc), "Nothing was changed"});
    }
  }
  if (result == ENGINE_OK && (rc = Exec(to, "COMMIT")) != SQLITE_OK) {
    result = Fail(CodeForSqlite(rc), {table, OfficeWords(rc), "Nothing was changed"});
  }
  sqlite3_close_v2(to);
  return result;
}

bool SameFields(const TableSchema& a, const TableSchema& b) {
  if (a.FieldCount() != b.FieldCount()) return false;
  for (int n = 1; n <= a.FieldCount(); ++n) {
    const FieldInfo& x = a.Field(n);
    const FieldInfo& y = b.Field(n);
    if (strcasecmp(x.name.c_str(), y.name.c_str()) != 0 || x.type != y.type ||
        x.subtype != y.subtype || (x.type == ENGINE_FLD_STRING && x.units1 != y.units1)) {
      return false;
    }
  }
  return true;
}

/* Checks that the problems table at path can take rows of the target's fields: missing, or
   a readable table with the same fields. */
EngineResult CheckProblemTable(const std::string& path, const std::string& shown,
                               const TableSchema& target, const std::string& table) {
  if (!FileExists(path)) return ENGINE_OK;
  const std::string named = "Problems table " + shown;
  sqlite3* db = nullptr;
  int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &db);
  TableSchema found;
  std::string problem;
  EngineResult result = ENGINE_OK;
  if (rc != SQLITE_OK || !ReadSchema(db, &found, &problem)) {
    result = Fail(ENGINE_ERR_TABLEDAMAGED,
                  {named, "It is not a readable table", table, "Nothing was changed"});
  } else if (!SameFields(found, target)) {
    result = Fail(ENGINE_ERR_RESTRUCTURE,
                  {named, "It has other fields than the table", table, "Nothing was changed"});
  }
  sqlite3_close_v2(db);
  return result;
}

/* Appends rows, with their values exactly as found, to the problems table at path (made
   when missing). */
EngineResult AppendProblems(const std::string& path, const std::string& shown,
                            const TableSchema& target, const std::vector<ValueRow>& rows) {
  if (rows.empty()) return ENGINE_OK;
  const std::string named = "Problems table " + shown;
  if (!FileExists(path)) {
    TableSchema plain = target;
    plain.indexes.clear();
    if (EngineResult r = BuildTableFile(path, plain, false, true, shown)) return r;
  }
  sqlite3* db = nullptr;
  int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &db);
  std::string sql = "INSERT INTO records VALUES(";
  for (int i = 1; i <= target.FieldCount(); ++i) sql += i > 1 ? ", ?" : "?";
  sql += ")";
  sqlite3_stmt* insert = nullptr;
  if (rc == SQLITE_OK) rc = Exec(db, "BEGIN");
  if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
  for (size_t r = 0; rc == SQLITE_OK && r < rows.size(); ++r) {
    for (size_t i = 0; i < rows[r].values.size(); ++i) {
      sqlite3_bind_value(insert, int(i) + 1, rows[r].values[i]);
    }
    rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
  EngineResult result =
      rc == SQLITE_OK ? ENGINE_OK
                      : Fail(CodeForSqlite(rc), {named, OfficeWords(rc), "Nothing was changed"});
  sqlite3_close_v2(db);
  return result;
}

/* Where the problem rows go: unreadable ones to the problems table, key clashes to the
   key-violation table (the problems table when none is named). Every target is checked
   before any is written, and all before the table changes, so none can be lost. */
EngineResult SaveProblems(const std::string& dir, const char* problemsTable,
                          const char* keyViolationTable, const TableSchema& target,
                          const std::string& table, Salvage* salvage) {
  std::string problems =
      problemsTable && *problemsTable ? TableHostPath(dir, problemsTable, ".DB") : std::string();
  std::string violations = keyViolationTable && *keyViolationTable
                               ? TableHostPath(dir, keyViolationTable, ".DB")
                               : problems;
  std::string shownProblems = problems.empty() ? "" : ShownTableName(dir, problemsTable);
  std::string shownViolations =
      violations == problems ? shownProblems : ShownTableName(dir, keyViolationTable);
  std::vector<ValueRow> toProblems = std::move(salvage->unreadable);
  std::vector<ValueRow> toViolations;
  for (ValueRow& row : salvage->keyViolations) {
    (violations == problems ? toProblems : toViolations).push_back(std::move(row));
  }
  salvage->keyViolations.clear();
  if ((!toProblems.empty() && problems.empty()) || (!toViolations.empty() && violations.empty())) {
    return Fail(ENGINE_ERR_RESTRUCTURE,
                {table, std::to_string(toProblems.size() + toViolations.size()) +
                            " records are unreadable or clash on a key, and no table "
                            "was named to keep them"});
  }
  if (!toProblems.empty()) {
    if (EngineResult r = CheckProblemTable(problems, shownProblems, target, table)) return r;
  }
  if (!toViolations.empty()) {
    if (EngineResult r = CheckProblemTable(violations, shownViolations, target, table)) return r;
  }
  if (EngineResult r = AppendProblems(problems, shownProblems, target, toProblems)) return r;
  return AppendProblems(violations, shownViolations, target, toViolations);
}

EngineResult CheckOperations(const EngineTableCreateDesc& desc, const std::string& table) {
  for (int i = 0; desc.fieldOps && i < desc.fieldCount; ++i) {
    if (desc.fieldOps[i] != ENGINE_OP_KEEP && desc.fieldOps[i] != 0) {
      return Fail(ENGINE_ERR_NOTSUPPORTED,
                  {table, "Field operation " + std::to_string(desc.fieldOps[i])});
    }
  }
  for (int i = 0; desc.indexOps && i < desc.indexCount; ++i) {
    if (desc.indexOps[i] != ENGINE_OP_REBUILD && desc.indexOps[i] != 0) {
      return Fail(ENGINE_ERR_NOTSUPPORTED,
                  {table, "Index operation " + std::to_string(desc.indexOps[i])});
    }
  }
  return ENGINE_OK;
}

std::string WorkPrefix(const std::string& path) { return path + ".rst"; }

/* Removes the work files (and their journals) that restructures of this table killed in
   their course left behind; each names its process, which must no longer run. */
void RemoveStaleWorkFiles(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string prefix = WorkPrefix(path).substr(slash == std::string::npos ? 0 : slash + 1);
  DIR* listing = ::opendir(dir.c_str());
  if (!listing) return;
  while (dirent* entry = ::readdir(listing)) {
    std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    char* end = nullptr;
    long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
    if (end == name.c_str() + prefix.size() || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlink((dir + "/" + name).c_str());
  }
  ::closedir(listing);
}

/* The counts of a salvage as the caller reads them. */
EngineRestructureCounts CountsOf(const Salvage& salvage, DWORD setAside) {
  const PageReading& reading = salvage.reading;
  EngineRestructureCounts counts{};
  counts.kept = salvage.kept;
  counts.setAside = setAside;
  counts.skipped = DWORD(reading.damagedPages);
  counts.damaged = reading.Damaged() || reading.otherDamage || salvage.blankRows > 0;
  counts.madeEmpty = counts.damaged && reading.recordsRead == 0;
  long long read = reading.recordsRead - salvage.blankRows;
  counts.lostCounted = reading.indexEntries >= 0;
  counts.lost = counts.lostCounted ? DWORD(std::max(0LL, reading.indexEntries - read)) : 0;
  return counts;
}

/* A table file or directory the office marked read-only is not replaced (the check is on
   the mode too, so it holds for a program that could write anyway). */
bool ReadOnly(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

EngineResult Analyze(const std::string& path, const TableSchema& target, const std::string& table) {
  Salvage salvage;
  if (EngineResult r = SalvageRows(path, nullptr, target, table, &salvage)) return r;
  gLastCounts = CountsOf(salvage, 0);
  return ENGINE_OK;
}

EngineResult Restructure(EngineDatabase database, EngineTableCreateDesc* desc,
                         const char* keyViolationTable, const char* problemsTable,
                         bool analyzeOnly) {
  gLastCounts = EngineRestructureCounts{};
  std::string dir = DatabaseDirectory(database);
  std::string name(desc->name, strnlen(desc->name, sizeof desc->name));
  std::string path = TableHostPath(dir, name, ".DB");
  const std::string table = "Table " + ShownTableName(dir, name);
  if (EngineResult r = CheckOperations(*desc, table)) return r;
  if (TableFile::FindOpen(path)) {
    return Fail(ENGINE_ERR_TABLELOCKED, {table, "Close the table before restructuring it"});
  }
  TableSchema target;
  std::string problem;
  if (EngineResult r = SchemaFromDesc(*desc, &target, &problem)) return Fail(r, {table, problem});
  if (analyzeOnly) {
    if (!FileExists(path)) return Fail(ENGINE_ERR_TABLENOTFOUND, {table});
    return Analyze(path, target, table);
  }
  std::shared_ptr<LockFile> claim;
  if (EngineResult r = ClaimForReplacing(path, &claim)) return r;
  if (!FileExists(path)) {
    claim->ReleaseUnused();
    return Fail(ENGINE_ERR_TABLENOTFOUND, {table});
  }
  if (ReadOnly(path) || ReadOnly(DirectoryOf(path))) {
    claim->ReleaseUnused();
    return Fail(ENGINE_ERR_READONLY, {table,
                                      ReadOnly(path) ? "The table file is marked read-only"
                                                     : "Its directory is read-only",
                                      "Nothing was changed"});
  }
  RemoveStaleWorkFiles(path);

  std::string work = WorkPrefix(path) + std::to_string(::getpid());
  Salvage salvage;
  EngineResult result = RebuildInto(path, work, target, table, &salvage);
  DWORD setAside = DWORD(salvage.unreadable.size() + salvage.keyViolations.size());
  if (result == ENGINE_OK) {
    result = SaveProblems(dir, problemsTable, keyViolationTable, target, table, &salvage);
  }
  bool replaced = false;
  if (result == ENGINE_OK) {
    // A journal of the old file would be rolled into the rebuilt one.
    ::unlink((path + "-journal").c_str());
    if (!PutInPlace(work, path, &problem)) {
      result = Fail(ENGINE_ERR_FILEIO, {table,
                                        "The rebuilt table could not be put in place: " +
                                            problem.substr(problem.rfind(": ") + 2),
                                        "Nothing was changed"});
    } else {
      replaced = true;
    }
  }
  ::unlink(work.c_str());
  ::unlink((work + "-journal").c_str());
  claim->ReleaseUnused();
  if (result == ENGINE_OK) gLastCounts = CountsOf(salvage, setAside);
  gLastCounts.replaced = replaced;
  return result;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineRestructureTable(EngineDatabase database, WORD descCount,
                                    EngineTableCreateDesc* desc, const char* saveAs,
                                    const char* keyViolationTable, const char* problemsTable,
                                    BOOL analyzeOnly) {
  gLastCounts = EngineRestructureCounts{};
  // A test's planned failure strikes a restructure, not an analysis.
  if (!analyzeOnly) {
    if (EngineResult planned = PlannedFailureOf("EngineRestructureTable")) return planned;
  }
  if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
  if (descCount != 1 || !desc) {
    return Fail(ENGINE_ERR_INVALIDPARAM, {"Restructure takes exactly one descriptor"});
  }
  if (saveAs && *saveAs) return Fail(ENGINE_ERR_NOTSUPPORTED, {"Save-as is not available"});
  return Restructure(database, desc, keyViolationTable, problemsTable, analyzeOnly != 0);
}

EngineResult EngineGetRestructureCounts(EngineRestructureCounts* counts) {
  if (!counts) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineGetRestructureCounts: no result"});
  *counts = gLastCounts;
  return ENGINE_OK;
}
