/*
** Record and table locks that bind other programs: open-file-description locks on a side
** file <NAME>.LCK. Byte 0 stands for the whole table; each record lock is one byte at an
** offset made from a hash of its key. A program holding record locks also holds a shared
** lock on byte 0, so a table lock and other programs' record locks exclude each other.
** A further marker byte is held shared by every program with the table open; a program
** that replaces the file, or holds the table lock, holds it exclusively, which keeps every
** other program out of the table meanwhile.
** The kernel drops every lock when the program ends, however it ends.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_LOCKS_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_LOCKS_H

#include "platform/engine/engine_internal.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace zarne::engine {

class LockFile {
 public:
  /* The one lock file of this program for that host path, opened (and created) on need. */
  static EngineResult Get(const std::string& lockPath, std::shared_ptr<LockFile>* out);
  ~LockFile();

  /* ENGINE_ERR_ALREADYLOCKED when this program holds it already, ENGINE_ERR_RECLOCKED
       when another program does. */
  EngineResult LockRecord(uint64_t keyHash, const void* owner);
  EngineResult UnlockRecord(uint64_t keyHash, const void* owner);
  void UnlockAllOf(const void* owner);
  bool HeldBy(uint64_t keyHash, const void* owner) const;
  /* True when another program holds the record's lock. */
  bool LockedElsewhere(uint64_t keyHash) const;

  /* Every program with the table open holds a shared lock on a marker byte, so that
       replacing the file (which strands those programs on the old one) can be refused.
       False when another program holds the marker exclusively. While this program holds
       it exclusively, its own opens leave it so. */
  bool MarkOpen();
  void UnmarkOpen();
  /* Takes the marker exclusively (no other program has the table open); false if not.
       Each successful claim is undone by one ReleaseUnused. */
  bool ClaimUnused();
  void ReleaseUnused();

  /* Who keeps this program from the marker: nobody, a program that has the table open,
       a program holding the table lock, or one replacing the file just now. */
  enum class MarkerHolder { kNobody, kOpenElsewhere, kTableLockElsewhere, kBriefClaim };
  MarkerHolder WhoHoldsMarker() const;

  /* keepOthersOut: the marker is taken as well, so no other program can have the table
       open while the lock is held (the repair utility's lock). */
  EngineResult LockTable(bool keepOthersOut = false);
  EngineResult UnlockTable();
  bool TableLocked() const { return tableLocked_; }
  const std::string& path() const { return path_; }

 private:
  LockFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  bool SetLock(short type, uint64_t offset) const;
  short ConflictingLock(short type, uint64_t offset) const;
  void SettleTableByte();
  void SettleMarker();

  std::string path_;
  int fd_;
  std::map<uint64_t, const void*> held_;
  bool tableLocked_ = false;
  bool keepOthersOut_ = false;
  int opens_ = 0;   // tables of this program open on the file
  int claims_ = 0;  // exclusive claims of the marker in progress
};

/* Takes the marker of the table at hostPath's lock file exclusively for replacing or
   rebuilding the file, waiting out another program's brief claim within the busy timeout.
   ENGINE_ERR_TABLELOCKED when another program has the table open or holds its lock. */
EngineResult ClaimForReplacing(const std::string& hostPath, std::shared_ptr<LockFile>* locks);

/* Calls take until it succeeds, as long as only a brief claim stands in its way. */
EngineResult WaitForMarker(const std::function<bool()>& take, const LockFile& locks,
                           const std::string& table);

/* Marks the table open, waiting out another program's brief claim; ENGINE_ERR_TABLELOCKED
   while another program holds the table lock. */
EngineResult MarkTableOpen(LockFile& locks, const std::string& table);

/* Table locks taken by EngineAcquireTableLock keep their lock file open until released. */
void HoldTableLock(const std::shared_ptr<LockFile>& locks);
std::shared_ptr<LockFile> HeldTableLock(const std::string& lockPath);
void DropTableLock(const std::shared_ptr<LockFile>& locks);
/* Releases every table lock still held (engine shutdown). */
void ReleaseAllTableLocks();

/* FNV-1a over the key bytes. */
uint64_t HashKey(const void* bytes, size_t size, uint64_t seed = 1469598103934665603ULL);

}  // namespace zarne::engine

#endif
