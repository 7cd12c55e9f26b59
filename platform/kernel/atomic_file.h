/*
** Whole-file reads and crash-safe whole-file replacement on the host, for the kernel's
** own small files (profile files). A replacement is written to a temporary file in the
** same directory, flushed to disk and renamed over the old one, so a reader or a crash
** sees either the old content or the new, never a mixture.
*/
#ifndef ZARNE_PLATFORM_KERNEL_ATOMIC_FILE_H
#define ZARNE_PLATFORM_KERNEL_ATOMIC_FILE_H

#include <optional>
#include <string>
#include <sys/types.h>

/* The whole content of a host file; nullopt when it cannot be read, errno telling why
   (ENOENT when it is missing). */
std::optional<std::string> ReadWholeFile(const std::string& host_path);

/* Replaces (or creates) a host file with the bytes; keeps the old file's permissions.
   Answers false, leaving the old file untouched, when anything fails; errno tells why.
   `directory_fd`, when the caller holds the file's directory open (its DirectoryLock), is
   the descriptor through which the rename is made durable; else the directory is opened.
   `new_fd`, when given, receives the new file's descriptor (open for reading and writing,
   the caller's to close) after a replacement that succeeded. `mode`, when not 0, is the old
   file's permissions as the caller has just found them, so that they are not looked up again. */
bool ReplaceFileAtomically(const std::string& host_path, const std::string& bytes,
                           int directory_fd = -1, int* new_fd = nullptr, mode_t mode = 0);

/* Holds an exclusive advisory lock on a host directory while it lives, so that the
   read-modify-replace of a file in it by several processes loses no update. Without a
   directory to lock it holds nothing, and the caller goes on unserialised. */
class DirectoryLock {
 public:
  explicit DirectoryLock(const std::string& directory);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  /* The directory, open for reading; -1 when it could not be opened. */
  int Descriptor() const { return fd_; }

 private:
  int fd_;
};

/* Removes the temporary files that replacements of this file left behind when their
   writer died before the rename. Only while holding the DirectoryLock of its directory,
   which every writer holds until its temporary file is gone; the directory is listed
   through the lock's descriptor. */
void RemoveStaleReplacements(const DirectoryLock& lock, const std::string& host_path);

/* The directory part of a host path ("." when there is none). */
std::string HostDirectoryOf(const std::string& path);

#endif
