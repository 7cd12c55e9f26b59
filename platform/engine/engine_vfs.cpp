/*
** The file layer every engine connection goes through: the system's own SQLite file layer
** with each change to disk (write, truncation, sync, deletion) counted on the way. Tests use
** the count to end the program at a chosen change, as a power cut or SIGKILL would, and can
** make each sync slow, as on a network share.
*/
#include "platform/engine/engine_internal.h"
#include "platform/engine/engine_test_hooks.h"

#include <csignal>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

namespace zarne::engine {
namespace {

constexpr char kVfsName[] = "zarne-counted";

// Owner: platform/engine.
long gWrites = 0;
long gKillAt = 0;  // the write that ends the program; 0: none
int gSyncDelayMs = 0;

/* Called before each change reaches the disk. */
void CountWrite() {
  ++gWrites;
  if (gKillAt != 0 && gWrites >= gKillAt) ::kill(::getpid(), SIGKILL);
}

struct CountedFile {
  sqlite3_file base;
  sqlite3_file* real;           // follows this struct in the same allocation
  std::string* dbPath;          // a main database file's path, else null
  const unsigned char* header;  // the file's first page mapped by its table, else null
  sqlite3_int64 knownSize;      // the size SQLite last asked for (or cut it to); -1: not yet
  sqlite3_int64 mappedSize;     // the size the file had when first read by mapping; -1: none
};

/* The file header's size: SQLite reads the change counter and the header within it, pages
   beyond it. */
constexpr sqlite3_int64 kHeaderBytes = 100;

/* What SQLite's page cache holds by default (2000 KiB): files no larger are not mapped. */
constexpr sqlite3_int64 kPageCacheBytes = 2000 * 1024;

/* Table files whose commits are being held back (see HoldBackCommits). */
struct HeldBack {
  bool active = false;
  std::set<std::string> dbPaths;
  std::set<std::string> journalsToDelete;    // deletions SQLite asked for
  std::map<CountedFile*, int> unlockLevels;  // the lock level SQLite asked for
};
// Owner: platform/engine.
HeldBack gHeld;

bool IsHeldJournal(const char* name) {
  if (!gHeld.active || !name) return false;
  std::string path(name);
  const std::string suffix = "-journal";
  if (path.size() <= suffix.size() ||
      path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  return gHeld.dbPaths.count(path.substr(0, path.size() - suffix.size())) != 0;
}

sqlite3_vfs* Real() { return sqlite3_vfs_find(nullptr); }
sqlite3_file* RealOf(sqlite3_file* file) { return reinterpret_cast<CountedFile*>(file)->real; }

int Close(sqlite3_file* f) {
  auto* counted = reinterpret_cast<CountedFile*>(f);
  gHeld.unlockLevels.erase(counted);  // closing the file lets go of its lock
  delete counted->dbPath;
  counted->dbPath = nullptr;
  sqlite3_file* real = RealOf(f);
  return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int Read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
  // The change counter, read at every shared lock, comes from the mapped page: the same
  // bytes a read would bring, as the mapping shares the file's pages, without the call.
  const unsigned char* header = reinterpret_cast<CountedFile*>(f)->header;
  if (header && offset >= 0 && amount >= 0 && offset + amount <= kHeaderBytes) {
    std::memcpy(buffer, header + offset, size_t(amount));
    return SQLITE_OK;
  }
  return RealOf(f)->pMethods->xRead(RealOf(f), buffer, amount, offset);
}
int Write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
  CountWrite();
  return RealOf(f)->pMethods->xWrite(RealOf(f), buffer, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  CountWrite();
  auto* counted = reinterpret_cast<CountedFile*>(f);
  if (counted->knownSize > size) counted->knownSize = size;
  return RealOf(f)->pMethods->xTruncate(RealOf(f), size);
}
int Sync(sqlite3_file* f, int flags) {
  CountWrite();
  if (gSyncDelayMs > 0) ::usleep(static_cast<useconds_t>(gSyncDelayMs) * 1000);
  return RealOf(f)->pMethods->xSync(RealOf(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  auto* counted = reinterpret_cast<CountedFile*>(f);
  int rc = RealOf(f)->pMethods->xFileSize(RealOf(f), size);
  counted->knownSize = rc == SQLITE_OK ? *size : -1;
  return rc;
}
int Lock(sqlite3_file* f, int level) { return RealOf(f)->pMethods->xLock(RealOf(f), level); }
int Unlock(sqlite3_file* f, int level) {
  auto* counted = reinterpret_cast<CountedFile*>(f);
  if (gHeld.active && counted->dbPath && gHeld.dbPaths.count(*counted->dbPath)) {
    gHeld.unlockLevels[counted] = level;  // kept until the commit is whole
    return SQLITE_OK;
  }
  return RealOf(f)->pMethods->xUnlock(RealOf(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
  return RealOf(f)->pMethods->xCheckReservedLock(RealOf(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return RealOf(f)->pMethods->xFileControl(RealOf(f), op, arg);
}
int SectorSize(sqlite3_file* f) { return RealOf(f)->pMethods->xSectorSize(RealOf(f)); }
int DeviceCharacteristics(sqlite3_file* f) {
  return RealOf(f)->pMethods->xDeviceCharacteristics(RealOf(f));
}
int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
  return RealOf(f)->pMethods->xShmMap(RealOf(f), region, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return RealOf(f)->pMethods->xShmLock(RealOf(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) { RealOf(f)->pMethods->xShmBarrier(RealOf(f)); }
int ShmUnmap(sqlite3_file* f, int deleteFlag) {
  return RealOf(f)->pMethods->xShmUnmap(RealOf(f), deleteFlag);
}
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
  // SQLite asks the file's size as each read begins. A mapping made before another program
  // cut the file short still covers the bytes cut off, and touching them would end this
  // program (SIGBUS); so a page beyond that size is not handed out from the mapping but read
  // (a short read, which SQLite reports as a damaged file).
  // A file SQLite's page cache can hold is read as before: its pages stay cached after one
  // read each, and a mapping would cost a map and unmap per connection for nothing.
  auto* counted = reinterpret_cast<CountedFile*>(f);
  const sqlite3_int64 known = counted->knownSize;
  if (offset < 0 || amount < 0 || known < 0 || offset + amount > known ||
      (counted->mappedSize < 0 && known <= kPageCacheBytes)) {
    *out = nullptr;
    return SQLITE_OK;
  }
  if (counted->mappedSize < 0) counted->mappedSize = known;
  return RealOf(f)->pMethods->xFetch(RealOf(f), offset, amount, out);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* page) {
  // SQLite lets the whole mapping go (page null) when another program has changed the file,
  // lest a file cut short and grown again leave it invalid. Here a mapping shares the file's
  // pages, so it shows every change as a read would, and no page beyond the file's size is
  // touched (see Fetch): the mapping of a file at least the size it was mapped at is kept,
  // its pages already in place (pages added since are read, as the mapping ends before
  // them). Each page mapped afresh costs a fault, dearer than the read it saves.
  auto* counted = reinterpret_cast<CountedFile*>(f);
  if (page == nullptr) {
    sqlite3_int64 size = -1;
    if (counted->mappedSize >= 0 && RealOf(f)->pMethods->xFileSize(RealOf(f), &size) == SQLITE_OK &&
        size >= counted->mappedSize) {
      return SQLITE_OK;
    }
    counted->mappedSize = -1;
  }
  return RealOf(f)->pMethods->xUnfetch(RealOf(f), offset, page);
}

const sqlite3_io_methods kMethods = {
    3,
    Close,
    Read,
    Write,
    Truncate,
    Sync,
    FileSize,
    Lock,
    Unlock,
    CheckReservedLock,
    FileControl,
    SectorSize,
    DeviceCharacteristics,
    ShmMap,
    ShmLock,
    ShmBarrier,
    ShmUnmap,
    Fetch,
    Unfetch,
};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
  auto* counted = reinterpret_cast<CountedFile*>(f);
  counted->real = reinterpret_cast<sqlite3_file*>(counted + 1);
  counted->base.pMethods = nullptr;
  counted->dbPath = nullptr;
  counted->header = nullptr;
  counted->knownSize = -1;
  counted->mappedSize = -1;
  int rc = Real()->xOpen(Real(), name, counted->real, flags, outFlags);
  if (counted->real->pMethods) counted->base.pMethods = &kMethods;
  if (rc == SQLITE_OK && name && (flags & SQLITE_OPEN_MAIN_DB))
    counted->dbPath = new std::string(name);
  return rc;
}
int Delete(sqlite3_vfs*, const char* name, int syncDir) {
  if (IsHeldJournal(name)) {
    gHeld.journalsToDelete.insert(name);
    return SQLITE_OK;
  }
  CountWrite();
  return Real()->xDelete(Real(), name, syncDir);
}
bool EndsWith(const char* name, const char* suffix) {
  size_t length = std::strlen(name), suffixLength = std::strlen(suffix);
  return length > suffixLength && std::strcmp(name + length - suffixLength, suffix) == 0;
}

int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
  // SQLite looks for a write-ahead log each time it takes a file's shared lock. Every
  // connection here keeps its table in rollback-journal mode, so none ever makes one; and a
  // file another program did put in WAL mode says so in its header, from which SQLite opens
  // its log all the same. The look would cost a system call per read and find nothing.
  if (flags == SQLITE_ACCESS_EXISTS && name && EndsWith(name, "-wal")) {
    *out = 0;
    return SQLITE_OK;
  }
  return Real()->xAccess(Real(), name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return Real()->xFullPathname(Real(), name, size, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) { return Real()->xDlOpen(Real(), name); }
void DlError(sqlite3_vfs*, int size, char* out) { Real()->xDlError(Real(), size, out); }
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
  return Real()->xDlSym(Real(), handle, symbol);
}
void DlClose(sqlite3_vfs*, void* handle) { Real()->xDlClose(Real(), handle); }
int Randomness(sqlite3_vfs*, int size, char* out) { return Real()->xRandomness(Real(), size, out); }
int Sleep(sqlite3_vfs*, int microseconds) { return Real()->xSleep(Real(), microseconds); }
int CurrentTime(sqlite3_vfs*, double* out) { return Real()->xCurrentTime(Real(), out); }
int GetLastError(sqlite3_vfs*, int size, char* out) {
  return Real()->xGetLastError(Real(), size, out);
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
  return Real()->xCurrentTimeInt64(Real(), out);
}

}  // namespace

const char* CountedVfsName() {
  static sqlite3_vfs vfs = [] {
    sqlite3_vfs* real = Real();
    sqlite3_vfs counted{};
    counted.iVersion = 2;
    counted.szOsFile = static_cast<int>(sizeof(CountedFile)) + real->szOsFile;
    counted.mxPathname = real->mxPathname;
    counted.zName = kVfsName;
    counted.xOpen = Open;
    counted.xDelete = Delete;
    counted.xAccess = Access;
    counted.xFullPathname = FullPathname;
    counted.xDlOpen = DlOpen;
    counted.xDlError = DlError;
    counted.xDlSym = DlSym;
    counted.xDlClose = DlClose;
    counted.xRandomness = Randomness;
    counted.xSleep = Sleep;
    counted.xCurrentTime = CurrentTime;
    counted.xGetLastError = GetLastError;
    counted.xCurrentTimeInt64 = CurrentTimeInt64;
    return counted;
  }();
  static const bool registered = sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
  return registered ? kVfsName : nullptr;
}

void CountFileWrite() { CountWrite(); }

void ServeHeaderFrom(sqlite3_file* file, const unsigned char* header) {
  if (file && file->pMethods == &kMethods) reinterpret_cast<CountedFile*>(file)->header = header;
}

void HoldBackCommits(const std::vector<std::string>& dbPaths) {
  gHeld = HeldBack{};
  gHeld.active = true;
  gHeld.dbPaths.insert(dbPaths.begin(), dbPaths.end());
}

bool JournalDeletionHeld(const std::string& journal) {
  return gHeld.journalsToDelete.count(journal) != 0;
}

void ReleaseHeldCommits(const std::set<std::string>& journalsToDelete) {
  HeldBack held = std::move(gHeld);
  gHeld = HeldBack{};
  for (const std::string& journal : journalsToDelete) {
    if (!held.journalsToDelete.count(journal)) continue;
    CountWrite();
    Real()->xDelete(Real(), journal.c_str(), 0);
  }
  for (const auto& [file, level] : held.unlockLevels)
    file->real->pMethods->xUnlock(file->real, level);
}

}  // namespace zarne::engine

void EngineTestKillAtWrite(long n) {
  using namespace zarne::engine;
  gKillAt = n > 0 ? gWrites + n : 0;
}

long EngineTestWriteCount() { return zarne::engine::gWrites; }

void EngineTestSlowSyncs(int milliseconds) { zarne::engine::gSyncDelayMs = milliseconds; }
