/*
** One open table file in this program: its SQLite connection, its shape and its lock file,
** shared by every cursor on the table. Opening checks that the file really holds a table,
** so a damaged file is refused with an error naming it.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_TABLEFILE_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_TABLEFILE_H

#include "platform/engine/engine_locks.h"
#include "platform/engine/engine_schema.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace zarne::engine {

class TableFile {
 public:
  /* The open table for that host path, opened now when no cursor has it open. */
  static EngineResult Open(const std::string& hostPath, std::shared_ptr<TableFile>* out);
  /* The table when this program has it open, else null. */
  static std::shared_ptr<TableFile> FindOpen(const std::string& hostPath);
  ~TableFile();

  sqlite3* db() const { return db_; }
  const TableSchema& schema() const { return schema_; }
  const std::string& hostPath() const { return hostPath_; }
  const std::string& name() const { return name_; }
  LockFile& locks() { return *locks_; }

  /* Changes whenever any program commits a change to the file: cached rows are good
       while it stays the same; 0 when it cannot be read. Read from a mapping of the
       file's first page, it costs a memory load, not a system call. */
  uint64_t Stamp() const;
  void NoteOwnWrite() { ++generation_; }
  void DeleteWhenClosed() { deleteWhenClosed_ = true; }
  void SetName(const std::string& name) { name_ = name; }

  /* A prepared statement of that text left by a closed cursor (reset, unbound), or null:
       cursors of a file open and close often, and preparing costs more than the step. */
  sqlite3_stmt* TakeSpareStatement(const std::string& sql);
  /* Keeps a cursor's statement for the next cursor; finalizes it when enough are kept. */
  void GiveBackStatement(sqlite3_stmt* stmt);
  /* The text of a cursor's statement id on that index (null: the file's own order), empty
       until its first cursor made it: it depends on nothing else, and a window opens
       fresh cursors on every table, each of which would spell the same text out again. */
  std::string& StatementText(const void* index, int id) { return texts_[{index, id}]; }

 private:
  TableFile() = default;

  std::string hostPath_;
  std::string name_;
  sqlite3* db_ = nullptr;
  sqlite3_file* file_ = nullptr;
  /* The file's first page mapped shared (null when it could not be, or when it is not the
       file the connection has open): its change counter is what every committed write of any
       program changes. SQLite's own check of it at each shared lock reads it here too. */
  const unsigned char* header_ = nullptr;
  int headerFd_ = -1;
  TableSchema schema_;
  std::shared_ptr<LockFile> locks_;
  uint64_t generation_ = 1;
  bool deleteWhenClosed_ = false;
  bool marked_ = false;  // holds its share of the open marker
  std::multimap<std::string, sqlite3_stmt*> spare_;
  std::map<std::pair<const void*, int>, std::string> texts_;
};

/* Creates a table file of that shape (atomically, by rename); an existing one is replaced
   only with overwrite, and never while this program has it open. Messages name the table
   as shown (its host path when that is empty). */
EngineResult BuildTableFile(const std::string& hostPath, const TableSchema& schema, bool overwrite,
                            bool durable = true, const std::string& shown = "");

/* Opens a SQLite connection with the engine's durability settings (rollback journal,
   synchronous writes, busy timeout); firstSettings (pragmas) are made before them. Pages
   are read through a mapping of the file, except with SQLITE_OPEN_CREATE: a file being
   made is only written. With reading given, a file in rollback-journal mode is read under
   one shared lock from before the settings until the caller finalizes *reading (null when
   no read was begun): the settings and the caller's first reads then see one version of the
   file, and take and check the lock once. */
int OpenConnection(const std::string& hostPath, int flags, sqlite3** db,
                   const char* firstSettings = nullptr, sqlite3_stmt** reading = nullptr);

}  // namespace zarne::engine

#endif
