/*
** Whole-table maintenance for the repair utility: copying a table, and restructuring it to
** a descriptor (every field kept, every index rebuilt). Records that cannot be read as
** their field types, or that clash on a unique key, are written to a problems table
** instead of being dropped.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_record.h"

#include <cstring>
#include <memory>
#include <unistd.h>

namespace zarne::engine {
namespace {

struct ValueRow {
    std::vector<sqlite3_value*> values;  // one per target field, owned
    ValueRow() = default;
    ValueRow(const ValueRow&) = delete;
    ValueRow(ValueRow&& other) noexcept : values(std::move(other.values)) {}
    ~ValueRow() {
        for (sqlite3_value* value : values) sqlite3_value_free(value);
    }
};

/* Copies every page of source into the file at destination through SQLite's backup, so
   programs that have destination open see the new content at once. */
int BackupInto(sqlite3* source, sqlite3* destination) {
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup) return sqlite3_errcode(destination);
    int rc = sqlite3_backup_step(backup, -1);
    int finish = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE) rc = finish;
    return rc;
}

/* Writes source's content to the file at path, replacing a damaged file outright. */
EngineResult InstallCopy(sqlite3* source, const std::string& path) {
    const std::string table = "Table " + path;
    sqlite3* destination = nullptr;
    std::shared_ptr<TableFile> open = TableFile::FindOpen(path);
    int rc;
    if (open) {
        rc = BackupInto(source, open->db());
        open->NoteOwnWrite();
        return rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, open->db(), {table});
    }
    rc = OpenConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &destination);
    if (rc == SQLITE_OK) rc = BackupInto(source, destination);
    std::shared_ptr<LockFile> locks;
    if (rc != SQLITE_OK && CodeForSqlite(rc) == ENGINE_ERR_TABLEDAMAGED &&
        LockFile::Get(WithExtension(path, ".LCK"), &locks) == ENGINE_OK &&
        locks->ClaimUnused()) {
        // What is there is not a table, and no program has it open: start it afresh.
        sqlite3_close_v2(destination);
        destination = nullptr;
        ::unlink(path.c_str());
        ::unlink((path + "-journal").c_str());
        rc = OpenConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &destination);
        if (rc == SQLITE_OK) rc = BackupInto(source, destination);
    }
    EngineResult result = rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, destination, {table});
    sqlite3_close_v2(destination);
    if (locks) locks->ReleaseUnused();
    return result;
}

bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

/* The stored value a missing or NULL column stands for in a key-able field. */
void BindBlankStored(sqlite3_stmt* stmt, int parameter, const FieldInfo& field) {
    switch (field.type) {
        case ENGINE_FLD_STRING: sqlite3_bind_text(stmt, parameter, "", 0, SQLITE_STATIC); break;
        case ENGINE_FLD_DATE: sqlite3_bind_int64(stmt, parameter, kBlankDate); break;
        case ENGINE_FLD_BLOB: sqlite3_bind_null(stmt, parameter); break;
        default: sqlite3_bind_int64(stmt, parameter, kBlankNumber); break;
    }
}

/* Field numbers that the old file has columns for. */
std::vector<bool> ExistingColumns(sqlite3* db, int fieldCount) {
    std::vector<bool> present(fieldCount + 1, false);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('records')", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const char* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            if (name && name[0] == 'f') {
                int number = std::atoi(name + 1);
                if (number >= 1 && number <= fieldCount) present[number] = true;
            }
        }
    }
    sqlite3_finalize(stmt);
    return present;
}

/* Writes rows with their values exactly as found to a table of the same fields. */
EngineResult WriteProblemTable(const std::string& path, const TableSchema& shape,
                               const std::vector<ValueRow>& rows) {
    TableSchema plain = shape;
    plain.indexes.clear();
    if (EngineResult r = BuildTableFile(path, plain, true)) return r;
    sqlite3* db = nullptr;
    int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &db);
    std::string sql = "INSERT INTO records VALUES(";
    for (int i = 1; i <= shape.FieldCount(); ++i) sql += i > 1 ? ", ?" : "?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
    for (size_t r = 0; rc == SQLITE_OK && r < rows.size(); ++r) {
        for (size_t i = 0; i < rows[r].values.size(); ++i) {
            sqlite3_bind_value(insert, int(i) + 1, rows[r].values[i]);
        }
        rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    EngineResult result = rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, db, {"Table " + path});
    sqlite3_close_v2(db);
    return result;
}

struct RestructureOutcome {
    std::vector<ValueRow> unreadable;
    std::vector<ValueRow> keyViolations;
};

/* Reads every row of the old file into the new one, sorting out the problem rows. */
EngineResult CopyRows(sqlite3* from, sqlite3* to, const TableSchema& target,
                      const std::string& table, RestructureOutcome* outcome) {
    std::vector<bool> present = ExistingColumns(from, target.FieldCount());
    std::string select = "SELECT ";
    for (int n = 1; n <= target.FieldCount(); ++n) {
        select += (n > 1 ? ", " : "") + (present[n] ? ColumnName(n) : std::string("NULL"));
    }
    select += " FROM records ORDER BY rowid";
    std::string insertSql = "INSERT INTO records VALUES(";
    for (int n = 1; n <= target.FieldCount(); ++n) insertSql += n > 1 ? ", ?" : "?";
    insertSql += ")";

    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* insert = nullptr;
    int rc = sqlite3_prepare_v2(from, select.c_str(), -1, &read, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(read);
        return Fail(ENGINE_ERR_TABLEDAMAGED, {table, "No records can be read",
                                              sqlite3_errmsg(from)});
    }
    rc = sqlite3_prepare_v2(to, insertSql.c_str(), -1, &insert, nullptr);
    EngineResult result = ENGINE_OK;
    while (rc == SQLITE_OK && (rc = sqlite3_step(read)) == SQLITE_ROW) {
        ValueRow row;
        bool readable = true;
        for (int n = 1; n <= target.FieldCount(); ++n) {
            sqlite3_value* value = sqlite3_value_dup(sqlite3_column_value(read, n - 1));
            row.values.push_back(value);
            if (!value || !StoredValueFits(value, target.Field(n))) readable = false;
        }
        if (!readable) {
            outcome->unreadable.push_back(std::move(row));
            rc = SQLITE_OK;
            continue;
        }
        for (int n = 1; n <= target.FieldCount(); ++n) {
            sqlite3_value* value = row.values[n - 1];
            if (sqlite3_value_type(value) == SQLITE_NULL) {
                BindBlankStored(insert, n, target.Field(n));
            } else {
                sqlite3_bind_value(insert, n, value);
            }
        }
        int step = sqlite3_step(insert);
        sqlite3_reset(insert);
        if ((step & 0xFF) == SQLITE_CONSTRAINT) {
            outcome->keyViolations.push_back(std::move(row));
        } else if (step != SQLITE_DONE) {
            result = FailSqlite(step, to, {table, "Writing the rebuilt table"});
            break;
        }
        rc = SQLITE_OK;
    }
    if (result == ENGINE_OK && rc != SQLITE_DONE) {
        result = Fail(ENGINE_ERR_TABLEDAMAGED, {table, "Reading the records failed",
                                                sqlite3_errmsg(from)});
    }
    sqlite3_finalize(read);
    sqlite3_finalize(insert);
    return result;
}

/* Builds the rebuilt table in work from the records of the file at path; to is left
   open on work for the caller. */
EngineResult RebuildInto(const std::string& path, const std::string& work,
                         const TableSchema& target, const std::string& table, sqlite3** to,
                         RestructureOutcome* outcome) {
    sqlite3* from = nullptr;
    int rc = OpenConnection(path, SQLITE_OPEN_READWRITE, &from);
    EngineResult result = rc == SQLITE_OK ? BuildTableFile(work, target, true, false)
                                          : FailSqlite(rc, from, {table});
    if (result == ENGINE_OK) {
        rc = OpenConnection(work, SQLITE_OPEN_READWRITE, to);
        if (rc == SQLITE_OK) rc = sqlite3_exec(*to, "BEGIN", nullptr, nullptr, nullptr);
        result = rc == SQLITE_OK ? CopyRows(from, *to, target, table, outcome)
                                 : FailSqlite(rc, *to, {table});
        if (result == ENGINE_OK) {
            rc = sqlite3_exec(*to, "COMMIT", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK) result = FailSqlite(rc, *to, {table});
        }
    }
    sqlite3_close_v2(from);
    return result;
}

/* Writes unreadable records to the problems table and key clashes to the key-violation
   table (to the problems table when none is named). */
EngineResult SaveProblems(const std::string& dir, const char* problemsTable,
                          const char* keyViolationTable, const TableSchema& target,
                          const std::string& table, RestructureOutcome* outcome) {
    std::string problems = problemsTable && *problemsTable
                               ? TableHostPath(dir, problemsTable, ".DB") : std::string();
    std::string violations = keyViolationTable && *keyViolationTable
                                 ? TableHostPath(dir, keyViolationTable, ".DB") : problems;
    std::vector<ValueRow> toProblems = std::move(outcome->unreadable);
    std::vector<ValueRow> toViolations;
    for (ValueRow& row : outcome->keyViolations) {
        (violations == problems ? toProblems : toViolations).push_back(std::move(row));
    }
    if ((!toProblems.empty() && problems.empty()) || (!toViolations.empty() && violations.empty())) {
        return Fail(ENGINE_ERR_RESTRUCTURE,
                    {table, std::to_string(toProblems.size() + toViolations.size()) +
                                " records are unreadable or clash on a key, and no table "
                                "was named to keep them"});
    }
    if (!toProblems.empty()) {
        if (EngineResult r = WriteProblemTable(problems, target, toProblems)) return r;
    }
    if (!toViolations.empty()) return WriteProblemTable(violations, target, toViolations);
    return ENGINE_OK;
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

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineCopyTable(EngineDatabase database, BOOL overwrite, const char* source,
                             const char* driver, const char* destination) {
    if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
    if (!source || !*source || !destination || !*destination) {
        return Fail(ENGINE_ERR_INVALIDPARAM, {"Copy needs a source and a destination"});
    }
    std::string dir = DatabaseDirectory(database);
    std::string from = TableHostPath(dir, source, ".DB");
    std::string to = TableHostPath(dir, destination, ".DB");
    if (from == to) return Fail(ENGINE_ERR_INVALIDPARAM, {"Table " + from, "Copy onto itself"});
    if (!overwrite && FileExists(to)) return Fail(ENGINE_ERR_TABLEEXISTS, {"Table " + to});
    std::shared_ptr<TableFile> file;
    if (EngineResult r = TableFile::Open(from, &file)) return r;
    return InstallCopy(file->db(), to);
}

EngineResult EngineRestructureTable(EngineDatabase database, WORD descCount,
                                    EngineTableCreateDesc* desc, const char* saveAs,
                                    const char* keyViolationTable, const char* problemsTable,
                                    BOOL analyzeOnly) {
    if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
    if (descCount != 1 || !desc) {
        return Fail(ENGINE_ERR_INVALIDPARAM, {"Restructure takes exactly one descriptor"});
    }
    std::string dir = DatabaseDirectory(database);
    std::string name(desc->name, strnlen(desc->name, sizeof desc->name));
    std::string path = TableHostPath(dir, name, ".DB");
    const std::string table = "Table " + path;
    if ((saveAs && *saveAs) || analyzeOnly) {
        return Fail(ENGINE_ERR_NOTSUPPORTED, {table, "Save-as and analysis are not available"});
    }
    if (EngineResult r = CheckOperations(*desc, table)) return r;
    if (TableFile::FindOpen(path)) {
        return Fail(ENGINE_ERR_TABLELOCKED, {table, "Close the table before restructuring it"});
    }
    if (!FileExists(path)) return Fail(ENGINE_ERR_TABLENOTFOUND, {table});
    TableSchema target;
    std::string problem;
    if (EngineResult r = SchemaFromDesc(*desc, &target, &problem)) return Fail(r, {table, problem});

    // The rebuilt table is made in a file of its own and copied over the old one at the end.
    std::string work = path + ".rst" + std::to_string(::getpid());
    sqlite3* to = nullptr;
    RestructureOutcome outcome;
    EngineResult result = RebuildInto(path, work, target, table, &to, &outcome);
    if (result == ENGINE_OK) {
        // Problem records are saved before the table changes, so none can be lost.
        result = SaveProblems(dir, problemsTable, keyViolationTable, target, table, &outcome);
    }
    if (result == ENGINE_OK) result = InstallCopy(to, path);
    sqlite3_close_v2(to);
    ::unlink(work.c_str());
    ::unlink((work + "-journal").c_str());
    return result;
}
