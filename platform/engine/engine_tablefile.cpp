/*
** Opening table files: the connection settings that make every write durable, the checks
** that refuse a damaged file, and the per-program registry of open tables.
*/
#include "platform/engine/engine_tablefile.h"

#include "platform/engine/engine_pagebytes.h"
#include "platform/engine/engine_pagecheck.h"

#include <cerrno>
#include <chrono>
#include <random>
#include <cstring>
#include <map>
#include <memory>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

/* The settings of a connection on a file in rollback-journal mode, then on any other. The
   mapping (up to 256 MB of a file) lies far above the office's largest table, and it is
   only address space until its pages are read; the file layer maps only files larger than
   SQLite's page cache. A file made afresh is written, closed and renamed into place, never
   read through its connection: mapped, it would be extended and mapped at each commit that
   grows it and unmapped at close, for nothing. */
constexpr char kRollbackSettings[] = "PRAGMA synchronous=FULL; PRAGMA mmap_size=268435456;";
constexpr char kSettings[] =
    "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA mmap_size=268435456;";
constexpr char kNewFileSettings[] = "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;";

/* One page of memory: the header of every table file lies within it. */
constexpr size_t kHeaderMapSize = 4096;

std::map<std::string, std::weak_ptr<TableFile>>& Registry() {
  static std::map<std::string, std::weak_ptr<TableFile>> registry;
  return registry;
}

/* Waits in short, uneven steps while another program holds the file, up to the timeout.
   Short steps matter: a program writing one record after another leaves only brief gaps,
   and long sleeps would miss them every time. */
int RetryWhileBusy(void*, int attempt) {
  static thread_local std::chrono::steady_clock::time_point started;
  static thread_local std::minstd_rand jitter(static_cast<unsigned>(::getpid()));
  auto now = std::chrono::steady_clock::now();
  if (attempt == 0) started = now;
  if (now - started > std::chrono::milliseconds(kBusyTimeoutMs)) return 0;
  ::usleep(200 + jitter() % 800);
  return 1;
}

/* After SQLite has read the file (and rolled back any interrupted write): the size the
   header claims must be there, else the file was cut short. */
bool HeaderMatchesSize(sqlite3_file* file, std::string* problem) {
  unsigned char header[100];
  if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK) {
    *problem = "the file header cannot be read";
    return false;
  }
  uint32_t pageSize = (uint32_t(header[16]) << 8) | header[17];
  if (pageSize == 1) pageSize = 65536;
  uint32_t changeCounter = PageBig32(header + 24);
  uint32_t pageCount = PageBig32(header + 28);
  uint32_t validFor = PageBig32(header + 92);
  sqlite3_int64 size = 0;
  if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
    *problem = "the file size cannot be read";
    return false;
  }
  if (validFor == changeCounter && sqlite3_int64(pageCount) * pageSize > size) {
    *problem = "the file is truncated";
    return false;
  }
  return true;
}

/* The first page of the file mapped shared, read-only, so that its change counter can be
   read without a system call; the descriptor stays open with the mapping and is closed only
   after the connection (closing a descriptor drops this program's locks on the file). */
const unsigned char* MapHeader(const std::string& hostPath, int* fd) {
  *fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (*fd < 0) return nullptr;
  void* page = ::mmap(nullptr, kHeaderMapSize, PROT_READ, MAP_SHARED, *fd, 0);
  if (page == MAP_FAILED) {
    ::close(*fd);
    *fd = -1;
    return nullptr;
  }
  return static_cast<const unsigned char*>(page);
}

/* True when the header of the connection's file gives the rollback journal for both its
   write and read versions; false for a new, short or unreadable file. */
bool HeaderSaysRollback(sqlite3* db) {
  constexpr int kVersionOffset = 18;
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
      !file->pMethods) {
    return false;
  }
  unsigned char versions[2] = {0, 0};
  return file->pMethods->xRead(file, versions, 2, kVersionOffset) == SQLITE_OK &&
         versions[0] == 1 && versions[1] == 1;
}

/* True when the descriptor of the mapping and the connection's file are the file at that path
   (another program may have put a new file in its place meanwhile): a mapping of another file
   would answer for the wrong one. */
bool SameFile(sqlite3* db, int fd, const std::string& hostPath) {
  struct stat mapped = {};
  struct stat named = {};
  int moved = 1;
  return ::fstat(fd, &mapped) == 0 && ::stat(hostPath.c_str(), &named) == 0 &&
         mapped.st_dev == named.st_dev && mapped.st_ino == named.st_ino &&
         sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
         moved == 0;
}

/* Begins a read of the connection's file kept open by the statement answered: a header
   value needs no schema, so the schema is then read within this read, not in one of its own. */
int BeginRead(sqlite3* db, sqlite3_stmt** reading) {
  int rc = sqlite3_prepare_v2(db, "PRAGMA main.schema_version", -1, reading, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_step(*reading);
  if (rc == SQLITE_ROW) return SQLITE_OK;
  sqlite3_finalize(*reading);
  *reading = nullptr;
  return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
}

}  // namespace

int OpenConnection(const std::string& hostPath, int flags, sqlite3** db, const char* firstSettings,
                   sqlite3_stmt** reading) {
  if (reading) *reading = nullptr;
  // The checking layer becomes SQLite's default first: the counting layer sits on it.
  InstallPageChecks();
  int rc = sqlite3_open_v2(hostPath.c_str(), db, flags | SQLITE_OPEN_NOMUTEX, CountedVfsName());
  if (rc != SQLITE_OK) return rc;
  sqlite3_busy_handler(*db, RetryWhileBusy, nullptr);
  sqlite3_extended_result_codes(*db, 0);
  if (firstSettings) {
    rc = sqlite3_exec(*db, firstSettings, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  // A shared directory rules out WAL; a full sync makes each call durable on return. A
  // file whose header names the rollback journal is in that mode already, and opens with
  // one statement fewer. (Either pragma reads the schema, so a damaged file fails here.)
  // Pages are read through a mapping of the file, a memory load each instead of a system
  // call; writes still go through write(), and the file layer keeps the mapping within the
  // size the file had when each read began.
  const bool rollback = !(flags & SQLITE_OPEN_CREATE) && HeaderSaysRollback(*db);
  const char* settings = (flags & SQLITE_OPEN_CREATE) ? kNewFileSettings
                         : rollback                   ? kRollbackSettings
                                                      : kSettings;
  // (Only a file in rollback mode: a change of journal mode is refused within a read.)
  if (rollback && reading) {
    rc = BeginRead(*db, reading);
    if (rc != SQLITE_OK) return rc;
  }
  return sqlite3_exec(*db, settings, nullptr, nullptr, nullptr);
}

std::shared_ptr<TableFile> TableFile::FindOpen(const std::string& hostPath) {
  auto found = Registry().find(hostPath);
  return found == Registry().end() ? nullptr : found->second.lock();
}

EngineResult TableFile::Open(const std::string& hostPath, std::shared_ptr<TableFile>* out) {
  if (auto open = FindOpen(hostPath)) {
    *out = open;
    return ENGINE_OK;
  }
  const std::string table = "Table " + hostPath;
  struct stat info {};
  bool exists = ::stat(hostPath.c_str(), &info) == 0;
  int statError = errno;
  std::string lockPath = WithExtension(hostPath, ".LCK");
  std::shared_ptr<TableFile> file(new TableFile);
  file->hostPath_ = hostPath;
  file->name_ = BareName(hostPath);
  // The lock comes first: a table another program is rebuilding reads as locked, whatever
  // state its file is in meanwhile.
  if (exists || ::access(lockPath.c_str(), F_OK) == 0) {
    if (EngineResult r = LockFile::Get(lockPath, &file->locks_)) return r;
    if (EngineResult r = MarkTableOpen(*file->locks_, table)) {
      file->locks_.reset();
      return r;
    }
    file->marked_ = true;
  }
  if (!exists) {
    return Fail(statError == ENOENT ? ENGINE_ERR_TABLENOTFOUND : ENGINE_ERR_FILEIO,
                {table, std::strerror(statError)});
  }
  if (!S_ISREG(info.st_mode)) return Fail(ENGINE_ERR_TABLEDAMAGED, {table, "not a file"});
  // The schema and the header's size are read under the connection's first shared lock,
  // released when reading goes (before the connection, declared after file).
  sqlite3_stmt* first = nullptr;
  int rc = OpenConnection(hostPath, SQLITE_OPEN_READWRITE, &file->db_, nullptr, &first);
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> reading(first, sqlite3_finalize);
  if (rc != SQLITE_OK) {
    EngineResult code = CodeForSqlite(rc);
    if (code == ENGINE_ERR_FILEIO) code = ENGINE_ERR_TABLEDAMAGED;
    return Fail(code, {table, file->db_ ? sqlite3_errmsg(file->db_) : "cannot open"});
  }
  std::string problem;
  if (!ReadSchema(file->db_, &file->schema_, &problem)) {
    EngineResult code =
        sqlite3_errcode(file->db_) == SQLITE_BUSY ? ENGINE_ERR_BUSY : ENGINE_ERR_TABLEDAMAGED;
    return Fail(code, {table, problem});
  }
  sqlite3_file_control(file->db_, "main", SQLITE_FCNTL_FILE_POINTER, &file->file_);
  if (!file->file_ || !HeaderMatchesSize(file->file_, &problem)) {
    return Fail(ENGINE_ERR_TABLEDAMAGED, {table, problem});
  }
  reading.reset();
  file->header_ = MapHeader(hostPath, &file->headerFd_);
  if (file->header_ && !SameFile(file->db_, file->headerFd_, hostPath)) {
    ::munmap(const_cast<unsigned char*>(file->header_), kHeaderMapSize);
    file->header_ = nullptr;
  }
  // SQLite's check for another program's change then costs no system call either.
  ServeHeaderFrom(file->file_, file->header_);
  Registry()[hostPath] = file;
  *out = file;
  return ENGINE_OK;
}

TableFile::~TableFile() {
  for (auto& entry : spare_) sqlite3_finalize(entry.second);
  spare_.clear();
  ServeHeaderFrom(file_, nullptr);  // before the mapping and the file go
  if (db_) sqlite3_close_v2(db_);
  if (header_) ::munmap(const_cast<unsigned char*>(header_), kHeaderMapSize);
  if (headerFd_ >= 0) ::close(headerFd_);
  if (marked_) locks_->UnmarkOpen();
  auto found = Registry().find(hostPath_);
  if (found != Registry().end() && found->second.expired()) Registry().erase(found);
  if (deleteWhenClosed_) {
    ::unlink(hostPath_.c_str());
    ::unlink((hostPath_ + "-journal").c_str());
    locks_.reset();
    ::unlink(WithExtension(hostPath_, ".LCK").c_str());
  }
}

sqlite3_stmt* TableFile::TakeSpareStatement(const std::string& sql) {
  auto found = spare_.find(sql);
  if (found == spare_.end()) return nullptr;
  sqlite3_stmt* stmt = found->second;
  spare_.erase(found);
  return stmt;
}

void TableFile::GiveBackStatement(sqlite3_stmt* stmt) {
  // A few of each text cover the cursors a window keeps open on one table at once.
  constexpr size_t kSparePerText = 4;
  const char* text = sqlite3_sql(stmt);
  if (!text || spare_.count(text) >= kSparePerText) {
    sqlite3_finalize(stmt);
    return;
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  spare_.emplace(text, stmt);
}

uint64_t TableFile::Stamp() const {
  constexpr int kChangeCounterOffset = 24;
  if (header_) {
    // The mapping shares the file's pages: a write another program commits shows here at
    // once. The counter is read with one load, so no write is seen half done.
    uint32_t stored = __atomic_load_n(
        reinterpret_cast<const uint32_t*>(header_ + kChangeCounterOffset), __ATOMIC_ACQUIRE);
    return (generation_ << 32) | PageBig32(reinterpret_cast<const unsigned char*>(&stored));
  }
  unsigned char counter[4] = {0, 0, 0, 0};
  if (!file_ || file_->pMethods->xRead(file_, counter, 4, kChangeCounterOffset) != SQLITE_OK) {
    return 0;  // unreadable: callers treat 0 as never current
  }
  return (generation_ << 32) | PageBig32(counter);
}

}  // namespace zarne::engine
