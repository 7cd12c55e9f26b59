/*
** Shared internals of the database engine: error recording, path resolution and the
** session state that the operation files consult. Nothing here is seen outside
** platform/engine.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_INTERNAL_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_INTERNAL_H

#include "platform/engine/engine.h"

#include <sqlite3.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zarne::engine {

class TableFile;

/* How long a call waits for a file another program keeps busy. */
constexpr int kBusyTimeoutMs = 15000;

/* Records a failure for EngineGetErrorInfo and answers its code. Context texts beyond
   four are dropped; each is cut to fit its 127 characters. */
EngineResult Fail(EngineResult code, const std::vector<std::string>& context = {});

/* Fail() keeping each context text in its own slot, empty ones included. */
EngineResult FailInSlots(EngineResult code, const std::vector<std::string>& slots);

/* The failure a test planned for this call of operation, recorded as the last failure;
   ENGINE_OK when none is due. */
EngineResult PlannedFailureOf(const char* operation);

/* The engine code a SQLite result stands for (a busy file, a damaged file, a key clash). */
EngineResult CodeForSqlite(int sqliteResult);

/* Fail() with the code for a SQLite result and its message as the last context text. */
EngineResult FailSqlite(int sqliteResult, sqlite3* db, std::vector<std::string> context);

/* The fixed message of a code, or null when the engine does not answer that code. */
const char* MessageForCode(EngineResult code);

/* A Windows path ("C:\ZARNE\BUYER.DB") or host path as a host path. */
std::string MapToHostPath(const std::string& path);

/* The host path of a table file: name resolved against directory when it has no
   directory of its own, extension added when it has none. */
std::string TableHostPath(const std::string& directory, const std::string& name,
                          const char* extension);

/* The same path with its extension replaced ("/d/BUYER.DB" -> "/d/BUYER.LCK"). */
std::string WithExtension(const std::string& hostPath, const char* extension);

/* A table as the system names it, for messages: the name as given when it has a
   directory, else the directory as set, a separator and the name ("C:\ZARNE\BUYER"). */
std::string ShownTableName(const std::string& directory, const std::string& name);

/* What a failed SQLite result means, in words an office understands. */
std::string OfficeWords(int sqliteResult);

/* The upper-case file name without directory and extension ("/d/buyer.db" -> "BUYER"). */
std::string BareName(const std::string& path);

/* The private directory as a host path (created when missing); empty on failure. */
std::string PrivateHostDirectory();

/* True for a database handle that is open now. */
bool IsOpenDatabase(EngineDatabase database);

/* The directory in which the database resolves bare table names (a Windows or host path,
   as it was set; the working directory when none was set). */
std::string DatabaseDirectory(EngineDatabase database);

/* Files: existence, syncing a file or its directory, copying bytes into a synced new file,
   and renaming a finished file over its target (synced first, then the directory). */
bool FileExists(const std::string& path);
bool SyncFile(const std::string& path);
void SyncDirectoryOf(const std::string& path);
bool CopyFileBytes(const std::string& from, const std::string& to, std::string* problem);
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* problem);
bool PutInPlace(const std::string& finished, const std::string& target, std::string* problem);

/* The name of the file layer engine connections open through (it counts each change to
   disk for the tests' planned kills); null when it could not be set up. */
const char* CountedVfsName();

/* Counts a change to disk the engine makes outside SQLite, as the file layer counts its own. */
void CountFileWrite();

/* Reads within the header of file (a main database file of an engine connection) come from
   header, the file's first page mapped shared, not from a system call: SQLite reads the
   change counter there each time it takes the file's shared lock. Null ends it; it must end
   before the mapping goes. */
void ServeHeaderFrom(sqlite3_file* file, const unsigned char* header);

/* Commits of the table files at those paths are held back: SQLite's deletion of each one's
   journal and its letting go of the file's lock wait, so that a commit of several files
   becomes final only when all of them are written. */
void HoldBackCommits(const std::vector<std::string>& dbPaths);
/* Whether SQLite has asked to delete that journal since the hold began. */
bool JournalDeletionHeld(const std::string& journal);
/* Ends the hold: deletes those of the given journals SQLite asked to delete (the others stay,
   to be rolled back), then lets go of each file's lock as SQLite asked. */
void ReleaseHeldCommits(const std::set<std::string>& journalsToDelete);

/* Joins the table file to the transaction that is open, if one is (a write is about to be
   made to it). */
EngineResult JoinTransaction(const std::shared_ptr<TableFile>& file);

/* Closes every cursor still open (engine shutdown). */
void CloseAllCursors();

}  // namespace zarne::engine

#endif
