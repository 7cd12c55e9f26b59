/*
** Open-file-description locks on the <NAME>.LCK side file of a table.
*/
#include "platform/engine/engine_locks.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

constexpr uint64_t kRecordSpace = 1ULL << 40;  // offsets a record lock may take
constexpr uint64_t kOpenMarker = 1ULL << 41;   // beyond every record lock

std::map<std::string, std::weak_ptr<LockFile>>& Registry() {
  static std::map<std::string, std::weak_ptr<LockFile>> registry;
  return registry;
}

uint64_t RecordOffset(uint64_t keyHash) { return 1 + keyHash % kRecordSpace; }

std::map<std::string, std::shared_ptr<LockFile>>& HeldTableLocks() {
  static std::map<std::string, std::shared_ptr<LockFile>> held;
  return held;
}

}  // namespace

EngineResult WaitForMarker(const std::function<bool()>& take, const LockFile& locks,
                           const std::string& table) {
  auto started = std::chrono::steady_clock::now();
  for (;;) {
    if (take()) return ENGINE_OK;
    switch (locks.WhoHoldsMarker()) {
      case LockFile::MarkerHolder::kOpenElsewhere:
        return Fail(ENGINE_ERR_TABLELOCKED, {table, "The table is open in another program"});
      case LockFile::MarkerHolder::kTableLockElsewhere:
        return Fail(ENGINE_ERR_TABLELOCKED, {table, "Another program holds the table lock"});
      case LockFile::MarkerHolder::kBriefClaim:
      case LockFile::MarkerHolder::kNobody:
        break;  // a file being replaced just now, or a claim that has just ended
    }
    if (std::chrono::steady_clock::now() - started > std::chrono::milliseconds(kBusyTimeoutMs)) {
      return Fail(ENGINE_ERR_BUSY, {table, "Another program kept the table busy"});
    }
    ::usleep(1000);
  }
}

void HoldTableLock(const std::shared_ptr<LockFile>& locks) {
  HeldTableLocks()[locks->path()] = locks;
}

std::shared_ptr<LockFile> HeldTableLock(const std::string& lockPath) {
  auto found = HeldTableLocks().find(lockPath);
  return found == HeldTableLocks().end() ? nullptr : found->second;
}

void DropTableLock(const std::shared_ptr<LockFile>& locks) {
  HeldTableLocks().erase(locks->path());
}

void ReleaseAllTableLocks() {
  std::map<std::string, std::shared_ptr<LockFile>> held;
  held.swap(HeldTableLocks());
  for (auto& entry : held) entry.second->UnlockTable();
}

uint64_t HashKey(const void* bytes, size_t size, uint64_t seed) {
  uint64_t hash = seed;
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) {
    hash ^= p[i];
    hash *= 1099511628211ULL;
  }
  return hash;
}

EngineResult LockFile::Get(const std::string& lockPath, std::shared_ptr<LockFile>* out) {
  auto found = Registry().find(lockPath);
  if (found != Registry().end()) {
    if (auto existing = found->second.lock()) {
      *out = existing;
      return ENGINE_OK;
    }
  }
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    return Fail(errno == ENOENT ? ENGINE_ERR_DIRNOTFOUND : ENGINE_ERR_FILEIO,
                {"Lock file " + lockPath, std::strerror(errno)});
  }
  std::shared_ptr<LockFile> file(new LockFile(lockPath, fd));
  Registry()[lockPath] = file;
  *out = file;
  return ENGINE_OK;
}

LockFile::~LockFile() {
  ::close(fd_);  // releases every lock of this description
  auto found = Registry().find(path_);
  if (found != Registry().end() && found->second.expired()) Registry().erase(found);
}

bool LockFile::SetLock(short type, uint64_t offset) const {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = 1;
  lock.l_pid = 0;
  return ::fcntl(fd_, F_OFD_SETLK, &lock) == 0;
}

void LockFile::SettleTableByte() {
  if (tableLocked_) return;
  SetLock(held_.empty() ? F_UNLCK : F_RDLCK, 0);
}

EngineResult LockFile::LockRecord(uint64_t keyHash, const void* owner) {
  if (held_.count(keyHash)) { return Fail(ENGINE_ERR_ALREADYLOCKED, {"Lock file " + path_}); }
  if (held_.empty() && !tableLocked_ && !SetLock(F_RDLCK, 0)) {
    return Fail(ENGINE_ERR_TABLELOCKED, {"Lock file " + path_});
  }
  if (!SetLock(F_WRLCK, RecordOffset(keyHash))) {
    int error = errno;
    SettleTableByte();
    if (error == EAGAIN || error == EACCES) {
      return Fail(ENGINE_ERR_RECLOCKED, {"Lock file " + path_});
    }
    return Fail(ENGINE_ERR_FILEIO, {"Lock file " + path_, std::strerror(error)});
  }
  held_[keyHash] = owner;
  return ENGINE_OK;
}

EngineResult LockFile::UnlockRecord(uint64_t keyHash, const void* owner) {
  auto found = held_.find(keyHash);
  if (found == held_.end() || found->second != owner) {
    return Fail(ENGINE_ERR_NOTLOCKED, {"Lock file " + path_});
  }
  held_.erase(found);
  SetLock(F_UNLCK, RecordOffset(keyHash));
  SettleTableByte();
  return ENGINE_OK;
}

void LockFile::UnlockAllOf(const void* owner) {
  for (auto it = held_.begin(); it != held_.end();) {
    if (it->second == owner) {
      SetLock(F_UNLCK, RecordOffset(it->first));
      it = held_.erase(it);
    } else {
      ++it;
    }
  }
  SettleTableByte();
}

bool LockFile::HeldBy(uint64_t keyHash, const void* owner) const {
  auto found = held_.find(keyHash);
  return found != held_.end() && found->second == owner;
}

bool LockFile::LockedElsewhere(uint64_t keyHash) const {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = static_cast<off_t>(RecordOffset(keyHash));
  probe.l_len = 1;
  if (::fcntl(fd_, F_OFD_GETLK, &probe) != 0) return false;
  return probe.l_type != F_UNLCK;
}

short LockFile::ConflictingLock(short type, uint64_t offset) const {
  struct flock probe {};
  probe.l_type = type;
  probe.l_whence = SEEK_SET;
  probe.l_start = static_cast<off_t>(offset);
  probe.l_len = 1;
  if (::fcntl(fd_, F_OFD_GETLK, &probe) != 0) return F_UNLCK;
  return probe.l_type;
}

/* An OFD lock set again through the same description replaces the old one in place, so
   the marker is always set to what every use of it in this program needs together. */
void LockFile::SettleMarker() {
  short type = keepOthersOut_ || claims_ > 0 ? F_WRLCK : opens_ > 0 ? F_RDLCK : F_UNLCK;
  SetLock(type, kOpenMarker);
}

bool LockFile::MarkOpen() {
  if (!keepOthersOut_ && claims_ == 0 && !SetLock(F_RDLCK, kOpenMarker)) return false;
  ++opens_;
  return true;
}

void LockFile::UnmarkOpen() {
  if (opens_ > 0) --opens_;
  SettleMarker();
}

bool LockFile::ClaimUnused() {
  if (!SetLock(F_WRLCK, kOpenMarker)) return false;
  ++claims_;
  return true;
}

void LockFile::ReleaseUnused() {
  if (claims_ > 0) --claims_;
  SettleMarker();
}

LockFile::MarkerHolder LockFile::WhoHoldsMarker() const {
  short marker = ConflictingLock(F_WRLCK, kOpenMarker);
  if (marker == F_UNLCK) return MarkerHolder::kNobody;
  if (marker == F_RDLCK) return MarkerHolder::kOpenElsewhere;
  // Only a table lock holder keeps byte 0 exclusively as well.
  return ConflictingLock(F_RDLCK, 0) == F_WRLCK ? MarkerHolder::kTableLockElsewhere
                                                : MarkerHolder::kBriefClaim;
}

EngineResult LockFile::LockTable(bool keepOthersOut) {
  if (tableLocked_) return Fail(ENGINE_ERR_ALREADYLOCKED, {"Lock file " + path_});
  if (!SetLock(F_WRLCK, 0)) {
    int error = errno;
    if (error == EAGAIN || error == EACCES) {
      return Fail(ENGINE_ERR_TABLELOCKED, {"Lock file " + path_});
    }
    return Fail(ENGINE_ERR_FILEIO, {"Lock file " + path_, std::strerror(error)});
  }
  tableLocked_ = true;
  if (keepOthersOut) {
    EngineResult claimed =
        WaitForMarker([this] { return ClaimUnused(); }, *this, "Lock file " + path_);
    if (claimed != ENGINE_OK) {
      tableLocked_ = false;
      SettleTableByte();
      return claimed;
    }
    keepOthersOut_ = true;
    --claims_;  // the lock itself keeps the marker now
  }
  return ENGINE_OK;
}

EngineResult LockFile::UnlockTable() {
  if (!tableLocked_) return Fail(ENGINE_ERR_NOTLOCKED, {"Lock file " + path_});
  tableLocked_ = false;
  keepOthersOut_ = false;
  SetLock(held_.empty() ? F_UNLCK : F_RDLCK, 0);
  SettleMarker();
  return ENGINE_OK;
}

EngineResult ClaimForReplacing(const std::string& hostPath, std::shared_ptr<LockFile>* locks) {
  const std::string table = "Table " + hostPath;
  if (EngineResult r = LockFile::Get(WithExtension(hostPath, ".LCK"), locks)) return r;
  LockFile& file = **locks;
  EngineResult result = WaitForMarker([&file] { return file.ClaimUnused(); }, file, table);
  if (result != ENGINE_OK) locks->reset();
  return result;
}

EngineResult MarkTableOpen(LockFile& locks, const std::string& table) {
  return WaitForMarker([&locks] { return locks.MarkOpen(); }, locks, table);
}

}  // namespace zarne::engine
