/*
** A host file kept open between whole reads of it, for the profile calls, which read their
** file at every call so that another program's change is seen at once. A reread looks up the
** path (stat) and, while it still names the file kept open (same device and inode), reads its
** bytes through the descriptor: a look and one read, where opening the file each time took an
** open, two reads and a close. Every reread still reads every byte, so any change is seen,
** even one that keeps the size and the time stamps; a file replaced by a rename, or removed,
** has another inode or none, and the path is opened again.
*/
#ifndef ZARNE_PLATFORM_KERNEL_KEPT_OPEN_FILE_H
#define ZARNE_PLATFORM_KERNEL_KEPT_OPEN_FILE_H

#include <string>
#include <sys/types.h>

struct stat;

class KeptOpenFile {
 public:
  KeptOpenFile() = default;
  ~KeptOpenFile();
  KeptOpenFile(const KeptOpenFile&) = delete;
  KeptOpenFile& operator=(const KeptOpenFile&) = delete;

  /* Replaces `bytes` with the whole content of the file at host_path, reusing their storage.
     False when it cannot be read, errno telling why (ENOENT when it is missing); the file is
     then no longer kept open. `seen`, when the caller looked at the path (lstat) a moment
     ago, is that look: it stands for this call's own when it shows a plain file. */
  bool Read(const std::string& host_path, std::string& bytes, const struct stat* seen = nullptr);
  /* Keeps `fd` open in place of the file kept so far: the caller has just made it the file
     at the path (a replacement renamed over it). */
  void Adopt(int fd);
  /* The permissions of the file kept open, as the last Read or Adopt found them; 0 when no
     file is kept. */
  mode_t Mode() const { return mode_; }

 private:
  bool Open(const std::string& host_path);
  bool ReadKept(off_t size_seen, std::string& bytes);
  void Close();

  int fd_ = -1;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  mode_t mode_ = 0;
};

#endif
