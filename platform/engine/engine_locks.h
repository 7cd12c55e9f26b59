/*
** Record and table locks that bind other programs: open-file-description locks on a side
** file <NAME>.LCK. Byte 0 stands for the whole table; each record lock is one byte at an
** offset made from a hash of its key. A program holding record locks also holds a shared
** lock on byte 0, so a table lock and other programs' record locks exclude each other.
** The kernel drops every lock when the program ends, however it ends.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_LOCKS_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_LOCKS_H

#include "platform/engine/engine_internal.h"

#include <cstdint>
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
       replacing the file (which strands those programs on the old one) can be refused. */
    bool MarkOpen();
    /* Takes the marker exclusively (no other program has the table open); false if not. */
    bool ClaimUnused();
    void ReleaseUnused();

    EngineResult LockTable();
    EngineResult UnlockTable();
    bool TableLocked() const { return tableLocked_; }
    const std::string& path() const { return path_; }

private:
    LockFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    bool SetLock(short type, uint64_t offset) const;
    void SettleTableByte();

    std::string path_;
    int fd_;
    std::map<uint64_t, const void*> held_;
    bool tableLocked_ = false;
};

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
