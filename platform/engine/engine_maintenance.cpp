/*
** Copying a table for the repair utility. A readable table is copied through SQLite's
** backup; a file that exists but is not a readable table is copied byte for byte (with its
** journal), so the backup of a damaged table keeps exactly what was there. Either way the
** copy is made beside the destination and renamed over it, and a destination that another
** program has open, or whose lock it holds, is refused.
*/
#include "platform/engine/engine_tablefile.h"

#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

/* Copies every page of source into destination through SQLite's backup. */
int BackupInto(sqlite3* source, sqlite3* destination) {
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", source, "main");
    if (!backup) return sqlite3_errcode(destination);
    int rc = sqlite3_backup_step(backup, -1);
    int finish = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE) rc = finish;
    return rc;
}

std::string CopyWorkPath(const std::string& destination) {
    return destination + ".cpy" + std::to_string(::getpid());
}

void RemoveWithJournal(const std::string& path) {
    ::unlink(path.c_str());
    ::unlink((path + "-journal").c_str());
}

/* A readable table's content into the file at path. */
EngineResult CopyReadable(sqlite3* source, const std::string& path) {
    const std::string table = "Table " + path;
    if (std::shared_ptr<TableFile> open = TableFile::FindOpen(path)) {
        // This program's cursors on the destination see the new content at once.
        int rc = BackupInto(source, open->db());
        open->NoteOwnWrite();
        return rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, open->db(), {table});
    }
    std::string work = CopyWorkPath(path);
    RemoveWithJournal(work);
    sqlite3* destination = nullptr;
    int rc = OpenConnection(work, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &destination);
    if (rc == SQLITE_OK) rc = BackupInto(source, destination);
    EngineResult result = rc == SQLITE_OK ? ENGINE_OK : FailSqlite(rc, destination, {table});
    sqlite3_close_v2(destination);
    std::string problem;
    if (result == ENGINE_OK) {
        // A journal of the old file would be rolled into the new one.
        ::unlink((path + "-journal").c_str());
        if (!PutInPlace(work, path, &problem)) result = Fail(ENGINE_ERR_FILEIO, {table, problem});
    }
    RemoveWithJournal(work);
    return result;
}

/* The bytes of a file that is not a readable table, and its journal, into path. */
EngineResult CopyAsItIs(const std::string& from, const std::string* journal,
                        const std::string& path) {
    const std::string table = "Table " + path;
    if (TableFile::FindOpen(path)) {
        return Fail(ENGINE_ERR_TABLELOCKED, {table, "The table is open in this program"});
    }
    std::string work = CopyWorkPath(path);
    std::string problem;
    EngineResult result = ENGINE_OK;
    if (!CopyFileBytes(from, work, &problem)) {
        result = Fail(ENGINE_ERR_FILEIO, {table, problem});
    } else {
        ::unlink((path + "-journal").c_str());
        if (!PutInPlace(work, path, &problem)) result = Fail(ENGINE_ERR_FILEIO, {table, problem});
    }
    // The journal goes in after the file it belongs to, never beside the old one.
    if (result == ENGINE_OK && journal) {
        if (!WriteWholeFile(work + "-journal", *journal, &problem) ||
            !PutInPlace(work + "-journal", path + "-journal", &problem)) {
            result = Fail(ENGINE_ERR_FILEIO, {table, problem});
        }
    }
    RemoveWithJournal(work);
    return result;
}

/* True when the file ends in part of a page (a file cut short that SQLite still opens, its
   header's page count not trusted): a copy page by page would drop those bytes. */
bool EndsInPartOfAPage(sqlite3* db, const std::string& path) {
    sqlite3_stmt* stmt = nullptr;
    long long pageSize = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        pageSize = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    struct stat info {};
    if (pageSize <= 0 || ::stat(path.c_str(), &info) != 0) return false;
    return info.st_size % pageSize != 0;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineCopyTable(EngineDatabase database, BOOL overwrite, const char* source,
                             const char* driver, const char* destination) {
    if (EngineResult planned = PlannedFailureOf("EngineCopyTable")) return planned;
    if (!IsOpenDatabase(database)) return Fail(ENGINE_ERR_INVALIDHANDLE, {"Database"});
    if (!source || !*source || !destination || !*destination) {
        return Fail(ENGINE_ERR_INVALIDPARAM, {"Copy needs a source and a destination"});
    }
    std::string dir = DatabaseDirectory(database);
    std::string from = TableHostPath(dir, source, ".DB");
    std::string to = TableHostPath(dir, destination, ".DB");
    if (from == to) return Fail(ENGINE_ERR_INVALIDPARAM, {"Table " + from, "Copy onto itself"});
    if (!overwrite && FileExists(to)) return Fail(ENGINE_ERR_TABLEEXISTS, {"Table " + to});
    // Opening a file lets SQLite act on the journal beside it; a damaged file's backup
    // keeps that journal as it was found.
    std::string journal;
    bool hadJournal = ReadWholeFile(from + "-journal", &journal);
    std::shared_ptr<TableFile> file;
    EngineResult opened = TableFile::Open(from, &file);
    if (opened != ENGINE_OK && opened != ENGINE_ERR_TABLEDAMAGED) return opened;
    std::shared_ptr<LockFile> claim;
    if (EngineResult r = ClaimForReplacing(to, &claim)) return r;
    EngineResult result = file && !EndsInPartOfAPage(file->db(), from)
                              ? CopyReadable(file->db(), to)
                              : CopyAsItIs(from, hadJournal ? &journal : nullptr, to);
    claim->ReleaseUnused();
    return result;
}
