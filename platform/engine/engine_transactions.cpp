/*
** Transactions: the writes a program makes to any of its tables between EngineBeginTran and
** EngineEndTran reach their files together or not at all, whatever happens to the program
** meanwhile. Each table file joins at its first write (its connection begins a write
** transaction there). A commit of several files works as SQLite's own commit across attached
** files does, with no limit on their number: a super-journal naming every file's journal is
** made first; each file is then committed with its journal kept, its lock held, and the
** super-journal's name written into the journal; deleting the super-journal is the moment
** the whole commit is made. A program that dies before it leaves hot journals that name an
** existing super-journal, so the next reader of each file rolls it back; after it, journals
** that name a missing super-journal, which readers throw away. Other programs meanwhile see
** each file as before, as with any write in progress.
*/
#include "platform/engine/engine_internal.h"
#include "platform/engine/engine_tablefile.h"

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

struct EngineTransaction__ {
  std::vector<std::shared_ptr<zarne::engine::TableFile>> files;
};

namespace zarne::engine {
namespace {

// Owner: platform/engine.
EngineTransaction__* gOpen = nullptr;

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

/* The file's full path as SQLite names it: its journal's name, the names a super-journal
   lists and the one a journal points to must read the same from any working directory. */
std::string FullPathOf(const TableFile& file) {
  const char* name = sqlite3_db_filename(file.db(), "main");
  return name && *name ? std::string(name) : file.hostPath();
}

std::string JournalOf(const TableFile& file) { return FullPathOf(file) + "-journal"; }

void PutBigEndian32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

/* Writes bytes at offset and syncs the file; false when either fails. */
bool WriteAndSync(const std::string& path, const std::string& bytes, off_t offset, int extraFlags) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | extraFlags, 0644);
  if (fd < 0) return false;
  CountFileWrite();
  bool ok = ::pwrite(fd, bytes.data(), bytes.size(), offset) == static_cast<ssize_t>(bytes.size());
  CountFileWrite();
  ok = ok && ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

/* Writes the super-journal's name at the end of a journal, where SQLite reads it: past the
   last sector in use, the locking page's number, the name, its length, the sum of its
   bytes and the journal's magic number. */
bool NameSuperJournalIn(const std::string& journal, const std::string& super) {
  static const unsigned char kMagic[8] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
  constexpr uint32_t kSectorSize = 4096;
  constexpr uint32_t kLockingPage = 0x40000000u / 4096u + 1u;
  struct stat info {};
  if (::stat(journal.c_str(), &info) != 0) return false;
  const off_t offset = (info.st_size + kSectorSize - 1) / kSectorSize * kSectorSize;
  std::string record;
  PutBigEndian32(record, kLockingPage);
  record += super;
  uint32_t sum = 0;
  for (char c : super) sum += static_cast<uint32_t>(static_cast<int>(c));  // as SQLite sums
  PutBigEndian32(record, static_cast<uint32_t>(super.size()));
  PutBigEndian32(record, sum);
  record.append(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
  return WriteAndSync(journal, record, offset, 0);
}

std::string NewSuperJournalName(const TableFile& first) {
  std::random_device random;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, "-mj%08X%08X", random(), random());
  return FullPathOf(first) + suffix;
}

/* Rolls every file back; the files in committed already have their journals kept. */
void RollBackTogether(const std::vector<std::shared_ptr<TableFile>>& files, size_t committed,
                      const std::string& super) {
  std::set<std::string> deleteNow;
  for (size_t i = committed; i < files.size(); ++i) {
    if (!sqlite3_get_autocommit(files[i]->db())) Exec(files[i]->db(), "ROLLBACK");
    deleteNow.insert(JournalOf(*files[i]));
  }
  ReleaseHeldCommits(deleteNow);
  // The kept journals are hot now: reading each file plays its journal back (SQLite
  // removes the super-journal with the last of them).
  bool allPlayedBack = true;
  for (size_t i = 0; i < committed; ++i) {
    Exec(files[i]->db(), "SELECT count(*) FROM sqlite_master");
    allPlayedBack = allPlayedBack && !FileExists(JournalOf(*files[i]));
  }
  // A journal that could not be played back now still needs the super-journal, so that
  // the next program to open its file rolls it back instead of keeping it as written.
  if (allPlayedBack) ::unlink(super.c_str());
}

EngineResult CommitTogether(const std::vector<std::shared_ptr<TableFile>>& files) {
  const std::string super = NewSuperJournalName(*files.front());
  std::string names;
  std::vector<std::string> paths;
  for (const auto& file : files) {
    names += JournalOf(*file);
    names.push_back('\0');
    paths.push_back(FullPathOf(*file));
  }
  if (!WriteAndSync(super, names, 0, O_CREAT | O_EXCL)) {
    int error = errno;
    for (const auto& file : files) Exec(file->db(), "ROLLBACK");
    ::unlink(super.c_str());
    return Fail(ENGINE_ERR_FILEIO, {"Transaction", super, std::strerror(error)});
  }
  CountFileWrite();
  SyncDirectoryOf(super);

  HoldBackCommits(paths);
  for (size_t i = 0; i < files.size(); ++i) {
    int rc = Exec(files[i]->db(), "COMMIT");
    if (rc != SQLITE_OK) {
      std::string message = sqlite3_errmsg(files[i]->db());
      RollBackTogether(files, i, super);
      return Fail(CodeForSqlite(rc), {"Table " + files[i]->hostPath(), "Commit", message});
    }
    const std::string journal = JournalOf(*files[i]);
    if (JournalDeletionHeld(journal) && !NameSuperJournalIn(journal, super)) {
      // Its journal, naming no super-journal, rolls this file back as well.
      RollBackTogether(files, i + 1, super);
      return Fail(ENGINE_ERR_FILEIO, {"Table " + files[i]->hostPath(), "Commit", journal});
    }
  }
  // The moment the whole commit is made.
  CountFileWrite();
  ::unlink(super.c_str());
  CountFileWrite();
  SyncDirectoryOf(super);
  std::set<std::string> journals;
  for (const auto& file : files) journals.insert(JournalOf(*file));
  ReleaseHeldCommits(journals);
  return ENGINE_OK;
}

}  // namespace

EngineResult JoinTransaction(const std::shared_ptr<TableFile>& file) {
  if (!gOpen) return ENGINE_OK;
  for (const auto& joined : gOpen->files)
    if (joined == file) return ENGINE_OK;
  int rc = Exec(file->db(), "BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return FailSqlite(rc, file->db(), {"Table " + file->hostPath(), "Begin"});
  gOpen->files.push_back(file);
  return ENGINE_OK;
}

}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineBeginTran(EngineDatabase database, EngineTransaction* transaction) {
  if (!IsOpenDatabase(database) || !transaction)
    return Fail(ENGINE_ERR_INVALIDHANDLE, {"Begin transaction"});
  if (gOpen)
    return Fail(ENGINE_ERR_NOTSUPPORTED, {"Begin transaction", "A transaction is open already"});
  gOpen = new EngineTransaction__;
  *transaction = gOpen;
  return ENGINE_OK;
}

EngineResult EngineEndTran(EngineDatabase database, EngineTransaction transaction, DWORD end) {
  if (!IsOpenDatabase(database) || !transaction || transaction != gOpen)
    return Fail(ENGINE_ERR_INVALIDHANDLE, {"End transaction"});
  std::unique_ptr<EngineTransaction__> open(gOpen);
  gOpen = nullptr;
  const auto& files = open->files;
  EngineResult result = end == ENGINE_XEND_COMMIT ? PlannedFailureOf("EngineEndTran") : ENGINE_OK;
  if (result != ENGINE_OK) {
    // A commit that fails stores nothing.
    for (const auto& file : files) Exec(file->db(), "ROLLBACK");
  } else if (end != ENGINE_XEND_COMMIT) {
    for (const auto& file : files) Exec(file->db(), "ROLLBACK");
  } else if (files.size() == 1) {
    int rc = Exec(files[0]->db(), "COMMIT");
    if (rc != SQLITE_OK) {
      result = FailSqlite(rc, files[0]->db(), {"Table " + files[0]->hostPath(), "Commit"});
      Exec(files[0]->db(), "ROLLBACK");
    }
  } else if (files.size() > 1) {
    result = CommitTogether(files);
  }
  // Rows read ahead or kept as current may be gone or changed.
  for (const auto& file : files) file->NoteOwnWrite();
  return result;
}
