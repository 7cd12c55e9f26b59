/*
** TWWFile: the system's one small wrapper over a file handle. Every side file (field
** scripts, saved title items, bundle scripts, the 1099 export, the settings files) is read
** and written through it.
*/
#ifndef ZARNE_TABLEACCESS_WW_FILE_H
#define ZARNE_TABLEACCESS_WW_FILE_H

#include "platform/kernel/wintypes.h"

class TWWFile {
 public:
  TWWFile() = default;
  ~TWWFile();
  TWWFile(const TWWFile&) = delete;
  TWWFile& operator=(const TWWFile&) = delete;

  /* Opens name with the OpenFile style, creating it when missing (never truncating an
     existing file); closes any open file first. Failure shows "Could not open file." */
  bool Open(LPCSTR name, UINT mode);
  /* Whether the file can be found; leaves this object's handle alone. */
  bool Exists(LPCSTR name);
  /* Bytes read or written, -1 on error. A write of 0 bytes cuts the file at the position. */
  long Read(void* buffer, UINT count);
  long Write(const void* buffer, UINT count);
  /* Moves to an absolute offset; false on error. */
  bool Seek(long offset);
  /* Length in bytes with the position kept, -1 when the position cannot be read. */
  long Size();
  /* True when nothing was open or the close succeeded. */
  bool Close();

  HFILE Handle() const { return handle_; }

 private:
  HFILE handle_ = 0;
};

#endif
