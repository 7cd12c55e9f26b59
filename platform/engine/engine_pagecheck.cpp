/*
** The checking file layer: a SQLite VFS over the default one that fills in the check value
** of every page written to a main database file whose header reserves kPageCheckBytes per
** page. Every other file and write passes through untouched.
*/
#include "platform/engine/engine_pagecheck.h"

#include <sqlite3.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace zarne::engine {
namespace {

// Owner: platform/engine.
sqlite3_vfs gCheckingVfs;
sqlite3_vfs* gBase = nullptr;
sqlite3_io_methods gMethods;

// Owner: platform/engine.
std::mutex gFullDiskMutex;
std::string gFullDiskName;
long long gFullDiskBytesLeft = 0;

struct CheckedFile {
  sqlite3_file base;   // must come first: SQLite sees this
  sqlite3_file* real;  // the base VFS's file, allocated right after this record
  int reserve;         // the file's reserved bytes per page, from its header
  bool mainDatabase;
  bool diskCanFill;  // named by the full-disk seam
};

CheckedFile* Checked(sqlite3_file* file) { return reinterpret_cast<CheckedFile*>(file); }

uint64_t CheckValue(const unsigned char* page, int pageSize, uint32_t pageNumber) {
  // FNV-1a over the page number and the page without its check bytes, then mixed so
  // that a zeroed page never matches.
  // Eight bytes at a time (page sizes are powers of two from 512).
  uint64_t value = 0xcbf29ce484222325ULL ^ (uint64_t(pageNumber) * 0x9E3779B97F4A7C15ULL);
  const int length = pageSize - kPageCheckBytes;
  for (int i = 0; i < length; i += 8) {
    uint64_t word;
    std::memcpy(&word, page + i, sizeof word);
    value = (value ^ word) * 0x100000001b3ULL;
    value ^= value >> 29;
  }
  value ^= value >> 31;
  value *= 0xD6E8FEB86659FD93ULL;
  return value ^ (value >> 32) ^ 0x5A;
}

bool IsPageWrite(int amount, sqlite3_int64 offset) {
  return amount >= 512 && amount <= 65536 && (amount & (amount - 1)) == 0 && offset % amount == 0;
}

bool FullDiskReached(CheckedFile* file, int amount) {
  if (!file->diskCanFill) return false;
  std::lock_guard<std::mutex> hold(gFullDiskMutex);
  if (gFullDiskName.empty()) return false;
  if (gFullDiskBytesLeft < amount) return true;
  gFullDiskBytesLeft -= amount;
  return false;
}

int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
  CheckedFile* checked = Checked(file);
  if (FullDiskReached(checked, amount)) return SQLITE_FULL;
  if (checked->mainDatabase && IsPageWrite(amount, offset)) {
    const unsigned char* page = static_cast<const unsigned char*>(data);
    if (offset == 0) checked->reserve = page[20];
    if (checked->reserve == kPageCheckBytes) {
      thread_local std::vector<unsigned char> copy;
      copy.assign(page, page + amount);
      uint64_t value = CheckValue(copy.data(), amount, uint32_t(offset / amount + 1));
      for (int i = 0; i < kPageCheckBytes; ++i) {
        copy[size_t(amount - kPageCheckBytes + i)] =
            static_cast<unsigned char>(value >> (56 - 8 * i));
      }
      return checked->real->pMethods->xWrite(checked->real, copy.data(), amount, offset);
    }
  }
  return checked->real->pMethods->xWrite(checked->real, data, amount, offset);
}

int Close(sqlite3_file* file) {
  CheckedFile* checked = Checked(file);
  int rc = checked->real->pMethods ? checked->real->pMethods->xClose(checked->real) : SQLITE_OK;
  checked->real->pMethods = nullptr;
  return rc;
}

// Everything else is the base file's own.
#define ZARNE_PASS(name, signature, call)     \
  int name signature {                        \
    sqlite3_file* real = Checked(file)->real; \
    return real->pMethods->call;              \
  }
ZARNE_PASS(Read, (sqlite3_file * file, void* data, int amount, sqlite3_int64 offset),
           xRead(real, data, amount, offset))
ZARNE_PASS(Truncate, (sqlite3_file * file, sqlite3_int64 size), xTruncate(real, size))
ZARNE_PASS(Sync, (sqlite3_file * file, int flags), xSync(real, flags))
ZARNE_PASS(FileSize, (sqlite3_file * file, sqlite3_int64* size), xFileSize(real, size))
ZARNE_PASS(Lock, (sqlite3_file * file, int level), xLock(real, level))
ZARNE_PASS(Unlock, (sqlite3_file * file, int level), xUnlock(real, level))
ZARNE_PASS(CheckReservedLock, (sqlite3_file * file, int* out), xCheckReservedLock(real, out))
ZARNE_PASS(FileControl, (sqlite3_file * file, int op, void* arg), xFileControl(real, op, arg))
ZARNE_PASS(SectorSize, (sqlite3_file * file), xSectorSize(real))
ZARNE_PASS(DeviceCharacteristics, (sqlite3_file * file), xDeviceCharacteristics(real))
ZARNE_PASS(ShmMap, (sqlite3_file * file, int region, int size, int extend, void volatile** out),
           xShmMap(real, region, size, extend, out))
ZARNE_PASS(ShmLock, (sqlite3_file * file, int offset, int n, int flags),
           xShmLock(real, offset, n, flags))
ZARNE_PASS(ShmUnmap, (sqlite3_file * file, int deleteFlag), xShmUnmap(real, deleteFlag))
ZARNE_PASS(Fetch, (sqlite3_file * file, sqlite3_int64 offset, int amount, void** out),
           xFetch(real, offset, amount, out))
ZARNE_PASS(Unfetch, (sqlite3_file * file, sqlite3_int64 offset, void* page),
           xUnfetch(real, offset, page))
#undef ZARNE_PASS

void ShmBarrier(sqlite3_file* file) {
  sqlite3_file* real = Checked(file)->real;
  real->pMethods->xShmBarrier(real);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  CheckedFile* checked = Checked(file);
  checked->real = reinterpret_cast<sqlite3_file*>(checked + 1);
  checked->reserve = 0;
  checked->mainDatabase = (flags & SQLITE_OPEN_MAIN_DB) != 0;
  {
    std::lock_guard<std::mutex> hold(gFullDiskMutex);
    checked->diskCanFill =
        !gFullDiskName.empty() && name && std::strstr(name, gFullDiskName.c_str());
  }
  file->pMethods = nullptr;
  int rc = gBase->xOpen(gBase, name, checked->real, flags, outFlags);
  if (!checked->real->pMethods) return rc;
  file->pMethods = &gMethods;
  if (rc == SQLITE_OK && checked->mainDatabase) {
    unsigned char reserve = 0;
    sqlite3_int64 size = 0;
    if (checked->real->pMethods->xFileSize(checked->real, &size) == SQLITE_OK && size >= 100 &&
        checked->real->pMethods->xRead(checked->real, &reserve, 1, 20) == SQLITE_OK) {
      checked->reserve = reserve;
    }
  }
  return rc;
}

}  // namespace

void InstallPageChecks() {
  static std::once_flag once;
  std::call_once(once, [] {
    gBase = sqlite3_vfs_find(nullptr);
    gCheckingVfs = *gBase;
    gCheckingVfs.zName = "zarne-checked";
    gCheckingVfs.szOsFile = int(sizeof(CheckedFile)) + gBase->szOsFile;
    gCheckingVfs.pNext = nullptr;
    gCheckingVfs.xOpen = Open;
    gMethods = sqlite3_io_methods{3,
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
                                  Unfetch};
    sqlite3_vfs_register(&gCheckingVfs, 1);
  });
}

bool PageCheckHolds(const unsigned char* page, int pageSize, uint32_t pageNumber) {
  uint64_t value = CheckValue(page, pageSize, pageNumber);
  for (int i = 0; i < kPageCheckBytes; ++i) {
    if (page[pageSize - kPageCheckBytes + i] != static_cast<unsigned char>(value >> (56 - 8 * i))) {
      return false;
    }
  }
  return true;
}

void SimulateFullDisk(const std::string& nameHas, long long bytes) {
  std::lock_guard<std::mutex> hold(gFullDiskMutex);
  gFullDiskName = nameHas;
  gFullDiskBytesLeft = bytes;
}

}  // namespace zarne::engine
