/*
** Restructuring a table to a descriptor for the repair utility: every field kept, every
** index rebuilt. The old file is read row by row and damage is stepped past, so a lost page
** costs only the records stored below it. Records that cannot be read as their field types,
** or that clash on a unique key, are appended to a problems table instead of being dropped.
** The rebuilt table is made in a work file of its own and renamed over the old file.
*/
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
#include <unistd.h>

namespace zarne::engine {
namespace {

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
    DWORD skipped = 0;                    // damaged places stepped past
};

int Exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

/* SQLite results that mean the file could not be read there, as opposed to a busy file. */
bool IsDamage(int rc) {
    int primary = rc & 0xFF;
    return primary != SQLITE_BUSY && primary != SQLITE_LOCKED && primary != SQLITE_NOMEM;
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

/* Field numbers that the old file has columns for; empty when its structure is unreadable. */
std::vector<bool> ExistingColumns(sqlite3* db, int fieldCount) {
    std::vector<bool> present;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('records')", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        present.assign(fieldCount + 1, false);
        bool any = false;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            any = true;
            const char* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            if (name && name[0] == 'f') {
                int number = std::atoi(name + 1);
                if (number >= 1 && number <= fieldCount) present[number] = true;
            }
        }
        if (!any) present.clear();
    }
    sqlite3_finalize(stmt);
    return present;
}

ValueRow CopyOfRow(sqlite3_stmt* read, int fieldCount) {
    ValueRow row;
    for (int n = 1; n <= fieldCount; ++n) {
        row.values.push_back(sqlite3_value_dup(sqlite3_column_value(read, n)));
    }
    return row;
}

/* Finds where reading can go on after a failure past rowid `after` (not negative): the
   first readable row id of a probe "rowid >= x", stepping over the damaged range. Probes step evenly at
   first (so no narrow stretch of good rows between two damaged ones is jumped over) and
   then ever wider, to get past a file cut short. False when nothing readable follows. */
class DamageStepper {
public:
    explicit DamageStepper(sqlite3* db) {
        sqlite3_prepare_v2(db, "SELECT rowid FROM records WHERE rowid >= ?1 ORDER BY rowid LIMIT 1",
                           -1, &probe_, nullptr);
    }
    ~DamageStepper() { sqlite3_finalize(probe_); }

    bool NextReadable(long long after, long long* next) {
        if (!probe_) return false;
        long long failed = after;
        long long found = 0;
        bool readable = false;
        for (long long step = 1;;) {
            if (failed > kLastRowid - step) return false;
            long long x = failed + step;
            int outcome = Probe(x, &found);
            if (outcome != kFailed) {
                readable = outcome == kRow;
                long long low = failed, high = x;  // probe fails at low, works at high
                while (high - low > 1) {
                    long long middle = low + (high - low) / 2;
                    long long at = 0;
                    int o = Probe(middle, &at);
                    if (o == kFailed) {
                        low = middle;
                    } else {
                        high = middle;
                        readable = o == kRow;
                        found = at;
                    }
                }
                *next = found;
                return readable;
            }
            failed = x;
            step = failed - after < kEvenStretch ? kEvenStep : step * 2;
        }
    }

private:
    static constexpr long long kLastRowid = 0x7FFFFFFFFFFFFFFFLL;
    static constexpr long long kEvenStep = 8;
    static constexpr long long kEvenStretch = 1LL << 16;
    enum { kFailed, kRow, kNoMore };

    int Probe(long long x, long long* rowid) {
        sqlite3_reset(probe_);
        sqlite3_bind_int64(probe_, 1, x);
        int rc = sqlite3_step(probe_);
        if (rc == SQLITE_ROW) {
            *rowid = sqlite3_column_int64(probe_, 0);
            return kRow;
        }
        return rc == SQLITE_DONE ? kNoMore : kFailed;
    }

    sqlite3_stmt* probe_ = nullptr;
};

/* One row of the old file into the new one, or into the salvage's problem rows. */
EngineResult PlaceRow(sqlite3_stmt* read, sqlite3_stmt* insert, sqlite3* to,
                      const TableSchema& target, const std::string& table, Salvage* salvage) {
    const int fieldCount = target.FieldCount();
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
        return FailSqlite(step, to, {table, "Writing the rebuilt table"});
    } else {
        ++salvage->kept;
    }
    return ENGINE_OK;
}

/* Reads every row that can be read from the old file into the new one. */
EngineResult SalvageRows(sqlite3* from, sqlite3* to, const TableSchema& target,
                         const std::string& table, Salvage* salvage) {
    std::vector<bool> present = ExistingColumns(from, target.FieldCount());
    if (present.empty()) {
        return Fail(ENGINE_ERR_TABLEDAMAGED, {table, "The table structure cannot be read",
                                              sqlite3_errmsg(from)});
    }
    std::string select = "SELECT rowid";
    for (int n = 1; n <= target.FieldCount(); ++n) {
        select += ", " + (present[n] ? ColumnName(n) : std::string("NULL"));
    }
    select += " FROM records WHERE rowid >= ?1 ORDER BY rowid";
    std::string insertSql = "INSERT INTO records VALUES(";
    for (int n = 1; n <= target.FieldCount(); ++n) insertSql += n > 1 ? ", ?" : "?";
    insertSql += ")";

    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* insert = nullptr;
    int rc = sqlite3_prepare_v2(from, select.c_str(), -1, &read, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(read);
        return Fail(ENGINE_ERR_TABLEDAMAGED, {table, "The table structure cannot be read",
                                              sqlite3_errmsg(from)});
    }
    rc = sqlite3_prepare_v2(to, insertSql.c_str(), -1, &insert, nullptr);
    EngineResult result = rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, to, {table});
    DamageStepper stepper(from);
    long long start = LLONG_MIN, lastRead = LLONG_MIN, highestRead = LLONG_MIN;
    bool readSinceStart = false;
    size_t rowsSeen = 0;
    sqlite3_bind_int64(read, 1, start);
    while (result == ENGINE_OK) {
        rc = sqlite3_step(read);
        if (rc == SQLITE_ROW) {
            lastRead = sqlite3_column_int64(read, 0);
            highestRead = std::max(highestRead, lastRead);
            readSinceStart = true;
            ++rowsSeen;
            result = PlaceRow(read, insert, to, target, table, salvage);
            continue;
        }
        if (rc == SQLITE_DONE) break;
        if (!IsDamage(rc)) {
            result = FailSqlite(rc, from, {table, "Reading the records"});
            break;
        }
        // The row at start itself cannot be read (its overflow pages are lost): pass it.
        long long after = !readSinceStart && start != LLONG_MIN ? start : lastRead;
        // A damaged page can hold a row id below those before it: going on from there would
        // read the same rows up to the same damage again, for ever. Reading goes on only
        // past every row id read so far and past where this stretch began.
        after = std::max({after, highestRead, start});
        ++salvage->skipped;
        long long next = 0;
        // Row ids of the engine's tables start at 1.
        if (!stepper.NextReadable(after < 0 ? 0 : after, &next)) break;
        start = next;
        readSinceStart = false;
        sqlite3_reset(read);
        sqlite3_bind_int64(read, 1, start);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(insert);
    if (result == ENGINE_OK && salvage->skipped > 0 && rowsSeen == 0) {
        return Fail(ENGINE_ERR_TABLEDAMAGED, {table, "No record of the table can be read"});
    }
    return result;
}

/* The SQL of the table's indexes that need not be there while rows go in: the non-unique
   ones, made once afterwards from all the rows at once. */
std::vector<std::string> DeferredIndexes(sqlite3* db) {
    std::vector<std::string> sql;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND "
                               "sql NOT LIKE 'CREATE UNIQUE%'", -1, &stmt, nullptr) == SQLITE_OK) {
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

/* Builds the rebuilt table in the file work from the records of the file at path. */
EngineResult RebuildInto(const std::string& path, const std::string& work,
                         const TableSchema& target, const std::string& table, Salvage* salvage) {
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    // A file cut short is read as far as it goes (SQLite refuses one whose header claims
    // more pages unless the schema is writable; nothing is written to it). One read
    // transaction for the whole salvage, so the many probes share one file lock.
    int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &from,
                            "PRAGMA writable_schema=ON; PRAGMA cell_size_check=ON");
    if (rc == SQLITE_OK) rc = Exec(from, "BEGIN");
    EngineResult result = rc == SQLITE_OK ? BuildTableFile(work, target, true, false)
                                          : Fail(ENGINE_ERR_TABLEDAMAGED,
                                                 {table, sqlite3_errmsg(from)});
    if (result == ENGINE_OK) {
        rc = OpenConnection(work, SQLITE_OPEN_READWRITE, &to);
        // The work file is thrown away unless finished, and synced before it is put in place.
        if (rc == SQLITE_OK) rc = Exec(to, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        std::vector<std::string> deferred = DeferredIndexes(to);
        if (rc == SQLITE_OK) rc = Exec(to, "BEGIN");
        for (const std::string& index : deferred) {
            if (rc == SQLITE_OK) rc = Exec(to, "DROP INDEX " + IndexNameOf(index));
        }
        result = rc == SQLITE_OK ? SalvageRows(from, to, target, table, salvage)
                                 : FailSqlite(rc, to, {table});
        for (const std::string& index : deferred) {
            if (result == ENGINE_OK && (rc = Exec(to, index)) != SQLITE_OK) {
                result = FailSqlite(rc, to, {table, "Building an index"});
            }
        }
        if (result == ENGINE_OK && (rc = Exec(to, "COMMIT")) != SQLITE_OK) {
            result = FailSqlite(rc, to, {table});
        }
    }
    sqlite3_close_v2(to);
    sqlite3_close_v2(from);
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
EngineResult CheckProblemTable(const std::string& path, const TableSchema& target,
                               const std::string& table) {
    if (!FileExists(path)) return ENGINE_OK;
    const std::string named = "Problems table " + path;
    sqlite3* db = nullptr;
    int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &db);
    TableSchema found;
    std::string problem;
    EngineResult result = ENGINE_OK;
    if (rc != SQLITE_OK || !ReadSchema(db, &found, &problem)) {
        if (problem.empty()) problem = sqlite3_errmsg(db);
        result = Fail(ENGINE_ERR_TABLEDAMAGED, {named, "It is not a readable table: " + problem, table});
    } else if (!SameFields(found, target)) {
        result = Fail(ENGINE_ERR_RESTRUCTURE, {named, "It has other fields than the table", table});
    }
    sqlite3_close_v2(db);
    return result;
}

/* Appends rows, with their values exactly as found, to the problems table at path (made
   when missing). */
EngineResult AppendProblems(const std::string& path, const TableSchema& target,
                            const std::vector<ValueRow>& rows) {
    if (rows.empty()) return ENGINE_OK;
    const std::string named = "Problems table " + path;
    if (!FileExists(path)) {
        TableSchema plain = target;
        plain.indexes.clear();
        if (EngineResult r = BuildTableFile(path, plain, false)) return r;
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
    EngineResult result = rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, db, {named});
    sqlite3_close_v2(db);
    return result;
}

/* Where the problem rows go: unreadable ones to the problems table, key clashes to the
   key-violation table (the problems table when none is named). Every target is checked
   before any is written, and all before the table changes, so none can be lost. */
EngineResult SaveProblems(const std::string& dir, const char* problemsTable,
                          const char* keyViolationTable, const TableSchema& target,
                          const std::string& table, Salvage* salvage) {
    std::string problems = problemsTable && *problemsTable
                               ? TableHostPath(dir, problemsTable, ".DB") : std::string();
    std::string violations = keyViolationTable && *keyViolationTable
                                 ? TableHostPath(dir, keyViolationTable, ".DB") : problems;
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
        if (EngineResult r = CheckProblemTable(problems, target, table)) return r;
    }
    if (!toViolations.empty()) {
        if (EngineResult r = CheckProblemTable(violations, target, table)) return r;
    }
    if (EngineResult r = AppendProblems(problems, target, toProblems)) return r;
    return AppendProblems(violations, target, toViolations);
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

EngineResult Restructure(EngineDatabase database, EngineTableCreateDesc* desc,
                         const char* keyViolationTable, const char* problemsTable) {
    std::string dir = DatabaseDirectory(database);
    std::string name(desc->name, strnlen(desc->name, sizeof desc->name));
    std::string path = TableHostPath(dir, name, ".DB");
    const std::string table = "Table " + path;
    if (EngineResult r = CheckOperations(*desc, table)) return r;
    if (TableFile::FindOpen(path)) {
        return Fail(ENGINE_ERR_TABLELOCKED, {table, "Close the table before restructuring it"});
    }
    TableSchema target;
    std::string problem;
    if (EngineResult r = SchemaFromDesc(*desc, &target, &problem)) return Fail(r, {table, problem});
    std::shared_ptr<LockFile> claim;
    if (EngineResult r = ClaimForReplacing(path, &claim)) return r;
    if (!FileExists(path)) {
        claim->ReleaseUnused();
        return Fail(ENGINE_ERR_TABLENOTFOUND, {table});
    }
    RemoveStaleWorkFiles(path);

    std::string work = WorkPrefix(path) + std::to_string(::getpid());
    Salvage salvage;
    EngineResult result = RebuildInto(path, work, target, table, &salvage);
    DWORD setAside = DWORD(salvage.unreadable.size() + salvage.keyViolations.size());
    if (result == ENGINE_OK) {
        result = SaveProblems(dir, problemsTable, keyViolationTable, target, table, &salvage);
    }
    if (result == ENGINE_OK) {
        // A journal of the old file would be rolled into the rebuilt one.
        ::unlink((path + "-journal").c_str());
        if (!PutInPlace(work, path, &problem)) result = Fail(ENGINE_ERR_FILEIO, {table, problem});
    }
    ::unlink(work.c_str());
    ::unlink((work + "-journal").c_str());
    claim->ReleaseUnused();
    if (result == ENGINE_OK) gLastCounts = EngineRestructureCounts{salvage.kept, setAside, salvage.skipped};
    return result;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineRestructureTable(EngineDatabase database, WORD descCount,
                                    EngineTableCreateDesc* desc, const char* saveAs,
                                    const char* keyViolationTable, const char* problemsTable,
                                    BOOL analyzeOnly) {
    if (EngineResult planned = PlannedFailureOf("EngineRestructureTable")) return planned;
    if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
    if (descCount != 1 || !desc) {
        return Fail(ENGINE_ERR_INVALIDPARAM, {"Restructure takes exactly one descriptor"});
    }
    if ((saveAs && *saveAs) || analyzeOnly) {
        return Fail(ENGINE_ERR_NOTSUPPORTED, {"Save-as and analysis are not available"});
    }
    return Restructure(database, desc, keyViolationTable, problemsTable);
}

EngineResult EngineGetRestructureCounts(EngineRestructureCounts* counts) {
    if (!counts) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineGetRestructureCounts: no result"});
    *counts = gLastCounts;
    return ENGINE_OK;
}
