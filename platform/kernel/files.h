/*
** Files by handle: OpenFile with its OFSTRUCT and style flags, and the _lcreat/_lopen/
** _lread/_lwrite/_llseek/_lclose family. Names are Windows paths (see paths.h).
**
** An HFILE is a small positive integer; only handles these calls opened are accepted,
** so closing a stale or made-up handle answers HFILE_ERROR and never touches a
** descriptor belonging to someone else. A file that cannot be opened, and a directory,
** give HFILE_ERROR.
**
** Styles: OF_READ / OF_WRITE / OF_READWRITE choose the access; OF_CREATE creates the
** file or empties an existing one; OF_EXIST opens, closes and answers a positive value
** when the file exists; OF_DELETE deletes; OF_PARSE only fills the OFSTRUCT; OF_REOPEN
** takes the name from the OFSTRUCT. The OF_SHARE_* modes are accepted and not enforced:
** the host has no mandatory sharing modes (records are locked by the database engine).
** _lwrite with a count of 0 cuts the file at the current position, as on the original
** platform.
*/
#ifndef ZARNE_PLATFORM_KERNEL_FILES_H
#define ZARNE_PLATFORM_KERNEL_FILES_H

#include "platform/kernel/wintypes.h"

#define OF_READ             0x0000
#define OF_WRITE            0x0001
#define OF_READWRITE        0x0002
#define OF_SHARE_COMPAT     0x0000
#define OF_SHARE_EXCLUSIVE  0x0010
#define OF_SHARE_DENY_WRITE 0x0020
#define OF_SHARE_DENY_READ  0x0030
#define OF_SHARE_DENY_NONE  0x0040
#define OF_PARSE            0x0100
#define OF_DELETE           0x0200
#define OF_VERIFY           0x0400
#define OF_CANCEL           0x0800
#define OF_CREATE           0x1000
#define OF_PROMPT           0x2000
#define OF_EXIST            0x4000
#define OF_REOPEN           0x8000

#define OFS_MAXPATHNAME 128

typedef struct _OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  CHAR szPathName[OFS_MAXPATHNAME];
} OFSTRUCT, *LPOFSTRUCT, *POFSTRUCT;

#define FILE_BEGIN   0
#define FILE_CURRENT 1
#define FILE_END     2

/* The file's full Windows path goes into szPathName (cut to 127 characters), and on
   failure the error code into nErrCode. */
HFILE OpenFile(LPCSTR file_name, LPOFSTRUCT open_info, UINT style);
/* Creates (or empties) a file for reading and writing; the attribute is ignored. */
HFILE _lcreat(LPCSTR path, int attribute);
/* Opens an existing file with OF_READ, OF_WRITE or OF_READWRITE (share bits ignored). */
HFILE _lopen(LPCSTR path, int style);
/* Both answer the count transferred, or HFILE_ERROR as a UINT. */
UINT _lread(HFILE file, LPVOID buffer, UINT count);
UINT _lwrite(HFILE file, LPCSTR buffer, UINT count);
/* Answers the new position, or HFILE_ERROR (also for a position beyond 2 GB). */
LONG _llseek(HFILE file, LONG offset, int origin);
/* Answers 0, or HFILE_ERROR for a handle that is not open. */
HFILE _lclose(HFILE file);

/* Raises the process's open-file limit to at least count where the host allows it;
   answers the number available up to count. */
UINT SetHandleCount(UINT count);

#endif
