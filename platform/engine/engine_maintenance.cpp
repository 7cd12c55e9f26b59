/*
** Copying a table for the repair utility. An intact table is copied through SQLite's
** backup; any other file (one with a damaged page, or not a readable table at all) is
** copied byte for byte (with its journal), so the backup of a damaged table keeps exactly
** what was there. Either way the
** copy is made beside the destination and renamed over it, and a destination that another
** program has open, or whose lock it holds, is refused.
*/
#include "platform/engine/engine_pagereader.h"
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
EngineResult CopyReadable(sqlite3* source, const std::string& path, const std::string& table) {
  if (std::shared_ptr<TableFile> open = TableFile::FindOpen(path)) {
    // This program's cursors on the destination see the new content at once.
    int rc = BackupInto(source, open->db());
    open->NoteOwnWrite();
    return rc == SQLITE_OK ? ENGINE_OK : Fail(CodeForSqlite(rc), {table, OfficeWords(rc)});
  }
  std::string work = CopyWorkPath(path);
  RemoveWithJournal(work);
  sqlite3* destination = nullptr;
  int rc = OpenConnection(work, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &destination);
  if (rc == SQLITE_OK) rc = BackupInto(source, destination);
  EngineResult result =
      rc == SQLITE_OK ? ENGINE_OK : Fail(CodeForSqlite(rc), {table, OfficeWords(rc)});
  sqlite3_close_v2(destination);
  std::string problem;
  if (result == ENGINE_OK) {
    // A journal of the old file would be rolled into the new one.
    ::unlink((path + "-journal").c_str());
    if (!PutInPlace(work, path, &problem)) {
      result = Fail(ENGINE_ERR_FILEIO, {table, "The copy could not be put in place"});
    }
  }
  RemoveWithJournal(work);
  return result;
}

/* The bytes of a file that is not a readable table, and its journal, into path. */
EngineResult CopyAsItIs(const std::string& from, const std::string* journal,
                        const std::string& path, const std::string& table) {
  if (TableFile::FindOpen(path)) {
    return Fail(ENGINE_ERR_TABLELOCKED, {table, "The table is open in this program"});
  }
  std::string work = CopyWorkPath(path);
  std::string problem;
  EngineResult result = ENGINE_OK;
  if (!CopyFileBytes(from, work, &problem)) {
    result = Fail(ENGINE_ERR_FILEIO, {table, "The file could not be copied: " +
                                                 problem.substr(problem.rfind(": ") + 2)});
  } else {
    ::unlink((path + "-journal").c_str());
    if (!PutInPlace(work, path, &problem)) {
      result = Fail(ENGINE_ERR_FILEIO, {table, "The copy could not be put in place"});
    }
  }
  // The journal goes in after the file it belongs to, never beside the old one.
  if (result == ENGINE_OK && journal) {
    if (!WriteWholeFile(work + "-journal", *journal, &problem) ||
        !PutInPlace(work + "-journal", path + "-journal", &problem)) {
      result = Fail(ENGINE_ERR_FILEIO, {table, "The journal could not be copied"});
    }
  }
  RemoveWithJournal(work);
  return result;
}

/* True when the directory the file goes to is marked read-only. */
bool DirectoryReadOnly(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(dir.c_str(), W_OK) != 0;
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
  const std::string shownFrom = "Table " + ShownTableName(dir, source);
  const std::string shownTo = "Table " + ShownTableName(dir, destination);
  if (from == to) return Fail(ENGINE_ERR_INVALIDPARAM, {shownFrom, "Copy onto itself"});
  if (!overwrite && FileExists(to)) return Fail(ENGINE_ERR_TABLEEXISTS, {shownTo});
  if (!FileExists(from))
    return Fail(ENGINE_ERR_TABLENOTFOUND, {shownFrom, "There is no such table"});
  if (DirectoryReadOnly(to)) {
    return Fail(ENGINE_ERR_READONLY,
                {shownTo, "Its directory is read-only", "Nothing was changed"});
  }
  // Opening a file lets SQLite act on the journal beside it; a damaged file's backup
  // keeps that journal as it was found.
  std::string journal;
  bool hadJournal = ReadWholeFile(from + "-journal", &journal);
  std::shared_ptr<TableFile> file;
  EngineResult opened = TableFile::Open(from, &file);
  if (opened != ENGINE_OK && opened != ENGINE_ERR_TABLEDAMAGED) return opened;
  std::shared_ptr<LockFile> claim;
  if (EngineResult r = ClaimForReplacing(to, &claim)) return r;
  // A damaged page copied through SQLite would come out with a check value that holds.
  EngineResult result = file && !EndsInPartOfAPage(file->db(), from) && PagesIntact(from)
                            ? CopyReadable(file->db(), to, shownTo)
                            : CopyAsItIs(from, hadJournal ? &journal : nullptr, to, shownTo);
  claim->ReleaseUnused();
  return result;
}
